// nivractl commands that change buttons, combo key slots, the profile in effect and the
// switch settings, through the same models the window uses (so the same reports):
//   set button PROFILE KEY FUNCTION, set slot K FUNCTION, set profile N,
//   set switch METHOD, set led-chord on|off, set gun-switch on|off.
#include "image/keys.h"
#include "settings/assembly_key.h"
#include "settings/button_model.h"
#include "settings/function_menu.h"
#include "settings/profile_model.h"
#include "tools/nivractl/cli.h"
#include "tools/nivractl/command.h"

#include <optional>
#include <sstream>
#include <string>

namespace {

using namespace nivra;

using nivractl::Connected;
using nivractl::english;
using nivractl::Result;
using nivractl::parseInteger;

Result outcome(AssignResult r) {
    switch (r) {
        case AssignResult::Done: return nivractl::ok();
        case AssignResult::RefusedKeepLeft: return nivractl::fail(english("Str108"));
        case AssignResult::NoCode: return nivractl::fail("that function gives no code for this mouse");
        case AssignResult::Busy: return nivractl::busy();
        case AssignResult::Ignored: return nivractl::fail("nothing to change");
    }
    return nivractl::fail("nothing to change");
}

// A function-menu leaf by its English caption, or by "Menu/Entry" where the caption alone
// is ambiguous. An error text when none or several match.
std::optional<MenuEntry> findLeaf(const std::string& function, const MenuOffer& offer, std::string& error) {
    const std::vector<MenuPath> leaves = offeredLeaves(offer, [](std::string_view id) { return english(id); });
    std::vector<const MenuPath*> hits;
    for (const MenuPath& p : leaves)
        if (p.captions.back() == function) hits.push_back(&p);
    if (hits.empty()) {
        // "Menu/Entry": the entry may itself hold a slash ("Media Fn/Play/Pause").
        for (std::size_t at = function.find('/'); at != std::string::npos; at = function.find('/', at + 1))
            for (const MenuPath& p : leaves)
                if (p.captions.size() >= 2 && p.captions[p.captions.size() - 2] == function.substr(0, at) &&
                    p.captions.back() == function.substr(at + 1))
                    hits.push_back(&p);
    }
    if (hits.size() == 1) return hits.front()->leaf;
    if (hits.empty()) {
        error = "\"" + function + "\" is not an entry of the function menu offered here";
    } else {
        error = "\"" + function + "\" is ambiguous; say which:";
        for (const MenuPath* p : hits) error += " \"" + p->captions[p->captions.size() - 2] + "/" + p->captions.back() + "\"";
    }
    return std::nullopt;
}

// "Ctrl+Shift+A": modifier words, then up to two keys of the key capture table, through
// the combination dialog's own rules. "" is Key Off.
std::optional<ButtonCode> comboCode(const std::string& text, std::string& error) {
    AssemblyKeyDialog d;
    std::istringstream in(text);
    const char* words[4] = {"Ctrl", "Shift", "Alt", "Win"};
    for (std::string part; std::getline(in, part, '+');) {
        bool modifier = false;
        for (int i = 0; i < 4; ++i)
            if (part == words[i]) {
                d.setModifier(static_cast<Modifier>(i), true);
                modifier = true;
            }
        if (modifier) continue;
        const std::optional<std::size_t> row = captureIndexForName(part);
        if (!row) {
            error = "\"" + part + "\" is not a key name of the key capture table";
            return std::nullopt;
        }
        if (d.keyCount() == 2) {
            error = "a combination holds at most two keys";
            return std::nullopt;
        }
        if (!d.keyPressed(*row, false, false, false)) {
            error = "\"" + part + "\" cannot be part of a combination";
            return std::nullopt;
        }
    }
    return d.confirmCode();
}

// FUNCTION on a button or slot: the forms code:, combo:, macro: and menu captions.
Result assign(Connected& s, ButtonRef ref, const std::string& function, bool engineer) {
    ButtonModel& b = s.buttons();
    std::string error;
    if (function.rfind("code:", 0) == 0) {
        const std::optional<ButtonCode> code = parseCodeText(function.substr(5));
        if (!code) return nivractl::fail("code: needs eight hex digits");
        return outcome(b.assignCode(ref, *code));
    }
    if (function.rfind("combo:", 0) == 0) {
        const std::optional<ButtonCode> code = comboCode(function.substr(6), error);
        if (!code) return nivractl::fail(error);
        // As the dialog: it does not open on profile 1's only Left Key.
        if (!b.assemblyOpensFor(ref)) return nivractl::fail(english("Str108"));
        return outcome(b.applyAssemblyKey(ref, *code));
    }
    if (function.rfind("macro:", 0) == 0) {
        const std::string name = function.substr(6);
        const NameInputs in = b.nameInputs();
        for (std::size_t i = 0; i < in.deviceMacros.size(); ++i) {
            if (!in.deviceMacros[i].present || in.deviceMacros[i].name != name) continue;
            if (!ref.isSlot() && b.isOnlyLeftKey(ref.profile, ref.key)) return nivractl::fail(english("Str108"));
            return outcome(b.bindDeviceMacro(ref, static_cast<int>(i)));
        }
        return nivractl::fail("no device macro is named \"" + name + "\"");
    }
    const MenuOffer offer{engineer ? ButtonView::Engineer : ButtonView::User, ref.isSlot() ? 1 : ref.profile,
                          s.profiles().layout().gdEnable, !b.deviceMacros().empty()};
    const std::optional<MenuEntry> leaf = findLeaf(function, offer, error);
    if (!leaf) return nivractl::fail(error);
    if (leaf->action != MenuAction::Leaf) return nivractl::fail("\"" + function + "\" opens the combination dialog: use combo:KEYS");
    return outcome(b.assignMenuFunction(ref, leaf->menuId));
}

Result runSet(const nivractl::Invocation& inv) {
    const auto& a = inv.args;
    if (a.empty()) return nivractl::usageError("set");
    const std::string& what = a[0];
    if (what == "button" && a.size() == 4) {
        const auto p = parseInteger(a[1], 1, 3);
        const auto k = parseInteger(a[2], 1, 12);
        if (!p || !k) return nivractl::usageError("set");
        return nivractl::withMouse(inv, [&](Connected& s) { return assign(s, {*p, *k}, a[3], false); });
    }
    if (what == "slot" && a.size() == 3) {
        const auto k = parseInteger(a[1], 1, 9);
        if (!k) return nivractl::usageError("set");
        return nivractl::withMouse(inv, [&](Connected& s) {
            s.buttons().selectEngineer(ButtonRef::slot(*k));
            return assign(s, ButtonRef::slot(*k), a[2], true);
        });
    }
    if (what == "profile" && a.size() == 2) {
        const auto p = parseInteger(a[1], 1, 3);
        if (!p) return nivractl::usageError("set");
        return nivractl::withMouse(inv, [&](Connected& s) {
            return s.profiles().showProfile(*p) ? nivractl::ok() : nivractl::busy();
        });
    }
    if (what == "switch" && a.size() == 2) {
        const auto m = switchMethodFromWord(a[1]);
        if (!m) return nivractl::usageError("set");
        return nivractl::withMouse(inv, [&](Connected& s) {
            return s.profiles().setSwitchMethod(*m) ? nivractl::ok() : nivractl::busy();
        });
    }
    if ((what == "led-chord" || what == "gun-switch") && a.size() == 2) {
        const auto on = nivractl::parseOnOff(a[1]);
        if (!on) return nivractl::usageError("set");
        return nivractl::withMouse(inv, [&](Connected& s) {
            const bool ok = what == "led-chord" ? s.profiles().setLedChord(*on) : s.profiles().setGunSwitch(*on);
            return ok ? nivractl::ok() : nivractl::busy();
        });
    }
    return nivractl::usageError("set");
}

NIVRACTL_COMMAND("set",
                 "set button PROFILE KEY FUNCTION | slot K FUNCTION | profile 1|2|3 | switch "
                 "none|middle|cpi-loop|cpi-up|cpi-down|back-right|forward-right | led-chord on|off | gun-switch "
                 "on|off\n"
                 "                          FUNCTION: a menu caption (\"DPI Up\", \"WWW Fn/Forward\"), "
                 "combo:Ctrl+Shift+A, macro:NAME or code:XXXXXXXX",
                 runSet);

}  // namespace
