// nivractl's gun commands, through the gun page's model so that the mouse receives the
// window's reports:
//   gun show G                       the columns of gun G: count, X, Y, time, colour
//   gun set G COLUMN WHAT VALUE      one column edit, then Confirm (as from Office Mode: no
//                                    button changes)
//   gun assign G PROFILE KEY [--keep-left]   Confirm for that button
#include "settings/button_model.h"
#include "settings/gun_model.h"
#include "settings/lighting.h"
#include "settings/profile_model.h"
#include "skin/skin_layout.h"
#include "tools/nivractl/command.h"
#include "tools/nivractl/mouse_editor.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>

namespace {

using namespace nivra;

std::optional<int> number(const std::string& s, int lo, int hi) {
    int v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size() || v < lo || v > hi) return std::nullopt;
    return v;
}

std::optional<Rgb> hexColour(std::string text) {
    if (!text.empty() && text[0] == '#') text.erase(0, 1);
    if (text.size() != 6 || !std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isxdigit(c); }))
        return std::nullopt;
    const auto v = static_cast<unsigned>(std::stoul(text, nullptr, 16));
    return Rgb{static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)};
}

// The gun page's model with the models it works with, on the connected mouse's editor, as
// the window builds them.
struct GunSession {
    explicit GunSession(ImageEditor& editor) : buttons(editor), profiles(editor, buttons), lighting(editor),
                                               gun(editor, buttons, profiles, lighting) {
        profiles.deriveFromImage();
        GunLayout layout;
        if (const auto global = skin::LoadGlobalLayout()) layout = GunLayout{global->gun6Scopes, global->gun7Scopes};
        gun.setLayout(layout);
    }
    ButtonModel buttons;
    ProfileModel profiles;
    LightingModel lighting;
    GunModel gun;
};

void printColumns(const GunModel& m) {
    const auto value = [&](int c, GunParam p) { return m.has(c, p) ? m.text(c, p).toStdString() : std::string("-"); };
    for (int c = 1; c <= m.columns(); ++c) {
        const Rgb rgb = m.colour(c);
        char colour[8];
        std::snprintf(colour, sizeof colour, "%02X%02X%02X", rgb.r, rgb.g, rgb.b);
        std::cout << "column " << c << " (fire macro " << m.slot(c) + 1 << "): count " << value(c, GunParam::Count)
                  << ", x " << value(c, GunParam::X) << " (offset " << value(c, GunParam::XOffset) << "), y "
                  << value(c, GunParam::Y) << " (offset " << value(c, GunParam::YOffset) << "), time "
                  << value(c, GunParam::Time) << " ms, color " << colour << '\n';
    }
}

int confirmed(const GunModel& m) {
    return m.confirmOk() ? nivractl::kOk : nivractl::fail("the mouse did not accept every write");
}

int runShow(const nivractl::Invocation& inv) {
    const auto g = inv.args.size() == 1 ? number(inv.args[0], 1, kGuns) : std::nullopt;
    if (!g) return nivractl::usageError("gun show");
    return nivractl::withImageEditor(inv, [&](ImageEditor& editor) {
        GunSession s(editor);
        s.gun.selectGun(*g);
        printColumns(s.gun);
        return nivractl::kOk;
    });
}

int runSet(const nivractl::Invocation& inv) {
    const auto& a = inv.args;
    const auto g = a.size() == 4 ? number(a[0], 1, kGuns) : std::nullopt;
    const auto c = g ? number(a[1], 1, gunColumns(*g)) : std::nullopt;
    if (!g || !c) return nivractl::usageError("gun set");
    const std::string& what = a[2];
    const struct { const char* word; GunParam param; int lo, hi; } words[] = {
        {"count", GunParam::Count, 0, 255},       {"x", GunParam::X, -128, 127}, {"y", GunParam::Y, -128, 127},
        {"xoffset", GunParam::XOffset, -128, 127}, {"yoffset", GunParam::YOffset, -128, 127},
        {"time", GunParam::Time, 0, 65535},
    };
    std::optional<GunParam> param;
    std::optional<int> value;
    std::optional<Rgb> colour;
    for (const auto& w : words) {
        if (what != w.word) continue;
        param = w.param;
        if (!(value = number(a[3], w.lo, w.hi)))
            return nivractl::fail(what + " must be a number from " + std::to_string(w.lo) + " to " + std::to_string(w.hi));
    }
    if (what == "color" && !(colour = hexColour(a[3])))
        return nivractl::fail("not a colour of six hex digits (RRGGBB): " + a[3]);
    if (!param && !colour) return nivractl::usageError("gun set");
    return nivractl::withImageEditor(inv, [&](ImageEditor& editor) {
        GunSession s(editor);
        if (editor.busy()) return nivractl::fail("the mouse is busy with a transfer");
        s.gun.open();
        s.gun.selectGun(*g);
        if (param && !s.gun.has(*c, *param))
            return nivractl::fail("fire macro " + std::to_string(s.gun.slot(*c) + 1) + " has no " + what + " to set");
        const QString text = value ? QString::number(*value) : QString();
        if (colour) s.gun.chooseColour(*c, *colour);
        else if (*param == GunParam::Count) s.gun.setCount(*c, text);
        else if (*param == GunParam::X || *param == GunParam::Y) s.gun.setMove(*c, *param == GunParam::X ? Axis::X : Axis::Y, text);
        else if (*param == GunParam::Time) s.gun.setTime(*c, text);
        else s.gun.setOffset(*c, *param == GunParam::XOffset ? Axis::X : Axis::Y, text);
        printColumns(s.gun);
        s.gun.confirm();
        return confirmed(s.gun);
    });
}

int runAssign(const nivractl::Invocation& inv) {
    std::vector<std::string> a;
    bool keepLeft = false;
    for (const std::string& w : inv.args) {
        if (w == "--keep-left") keepLeft = true;
        else a.push_back(w);
    }
    const auto g = a.size() == 3 ? number(a[0], 1, kGuns) : std::nullopt;
    const auto profile = a.size() == 3 ? number(a[1], 1, 3) : std::nullopt;
    const auto key = a.size() == 3 ? number(a[2], 1, 12) : std::nullopt;
    if (!g || !profile || !key) return nivractl::usageError("gun assign");
    if (*profile != 2)
        return nivractl::fail("gun keys are given to buttons of Game Mode (profile 2) only; other profiles keep their buttons");
    return nivractl::withImageEditor(inv, [&](ImageEditor& editor) {
        GunSession s(editor);
        if (editor.busy()) return nivractl::fail("the mouse is busy with a transfer");
        s.buttons.setProfileShown(*profile);
        s.buttons.selectLabel(*key);
        s.gun.open();
        s.gun.selectGun(*g);
        if (s.gun.keepLeft() != keepLeft) s.gun.toggleKeepLeft();
        s.gun.confirm();
        return confirmed(s.gun);
    });
}

NIVRACTL_COMMAND("gun show", "gun show G              the columns of gun G (1..7): count, x, y, time, color", runShow);
NIVRACTL_COMMAND("gun set",
                 "gun set G COLUMN count|x|y|xoffset|yoffset|time|color VALUE   change one column of gun G and send it",
                 runSet);
NIVRACTL_COMMAND("gun assign", "gun assign G PROFILE KEY [--keep-left]   give button KEY of Game Mode (PROFILE 2) gun G",
                 runAssign);

}  // namespace
