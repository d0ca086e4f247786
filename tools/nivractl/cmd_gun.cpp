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
#include "tools/nivractl/cli.h"
#include "tools/nivractl/command.h"

#include <cstdio>
#include <iostream>
#include <optional>
#include <string>

namespace {

using namespace nivra;

using nivractl::Connected;
using nivractl::parseInteger;
using nivractl::Result;

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

Result confirmed(const GunModel& m) {
    return m.confirmOk() ? nivractl::ok() : nivractl::fail("the mouse did not accept every write");
}

Result runShow(const nivractl::Invocation& inv) {
    const auto g = inv.args.size() == 1 ? parseInteger(inv.args[0], 1, kGuns) : std::nullopt;
    if (!g) return nivractl::usageError("gun show");
    return nivractl::withMouse(inv, [&](Connected& s) {
        GunModel& gun = s.gun();
        gun.selectGun(*g);
        printColumns(gun);
        return nivractl::ok();
    });
}

Result runSet(const nivractl::Invocation& inv) {
    const auto& a = inv.args;
    const auto g = a.size() == 4 ? parseInteger(a[0], 1, kGuns) : std::nullopt;
    const auto c = g ? parseInteger(a[1], 1, gunColumns(*g)) : std::nullopt;
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
        if (!(value = parseInteger(a[3], w.lo, w.hi)))
            return nivractl::fail(what + " must be a number from " + std::to_string(w.lo) + " to " + std::to_string(w.hi));
    }
    std::string error;
    if (what == "color" && !(colour = nivractl::parseColour(a[3], &error))) return nivractl::fail(error);
    if (!param && !colour) return nivractl::usageError("gun set");
    return nivractl::withMouse(inv, [&](Connected& s) {
        GunModel& gun = s.gun();
        if (s.editor().busy()) return nivractl::busy();
        gun.open();
        gun.selectGun(*g);
        if (param && !gun.has(*c, *param))
            return nivractl::fail("fire macro " + std::to_string(gun.slot(*c) + 1) + " has no " + what + " to set");
        const QString text = value ? QString::number(*value) : QString();
        if (colour) gun.chooseColour(*c, *colour);
        else if (*param == GunParam::Count) gun.setCount(*c, text);
        else if (*param == GunParam::X || *param == GunParam::Y) gun.setMove(*c, *param == GunParam::X ? Axis::X : Axis::Y, text);
        else if (*param == GunParam::Time) gun.setTime(*c, text);
        else gun.setOffset(*c, *param == GunParam::XOffset ? Axis::X : Axis::Y, text);
        printColumns(gun);
        gun.confirm();
        return confirmed(gun);
    });
}

Result runAssign(const nivractl::Invocation& inv) {
    std::vector<std::string> a;
    bool keepLeft = false;
    for (const std::string& w : inv.args) {
        if (w == "--keep-left") keepLeft = true;
        else a.push_back(w);
    }
    const auto g = a.size() == 3 ? parseInteger(a[0], 1, kGuns) : std::nullopt;
    const auto profile = a.size() == 3 ? parseInteger(a[1], 1, 3) : std::nullopt;
    const auto key = a.size() == 3 ? parseInteger(a[2], 1, 12) : std::nullopt;
    if (!g || !profile || !key) return nivractl::usageError("gun assign");
    if (*profile != 2)
        return nivractl::fail("gun keys are given to buttons of Game Mode (profile 2) only; other profiles keep their buttons");
    return nivractl::withMouse(inv, [&](Connected& s) {
        GunModel& gun = s.gun();
        if (s.editor().busy()) return nivractl::busy();
        s.buttons().setProfileShown(*profile);
        s.buttons().selectLabel(*key);
        gun.open();
        gun.selectGun(*g);
        if (gun.keepLeft() != keepLeft) gun.toggleKeepLeft();
        gun.confirm();
        return confirmed(gun);
    });
}

NIVRACTL_COMMAND("gun show", "gun show G              the columns of gun G (1..7): count, x, y, time, color", runShow);
NIVRACTL_COMMAND("gun set",
                 "gun set G COLUMN count|x|y|xoffset|yoffset|time|color VALUE   change one column of gun G and send it",
                 runSet);
NIVRACTL_COMMAND("gun assign", "gun assign G PROFILE KEY [--keep-left]   give button KEY of Game Mode (PROFILE 2) gun G",
                 runAssign);

}  // namespace
