// nivractl commands of the Advanced page: CPI levels, the AIM level, the report rate, the
// CPI option fields and the fire keys through the models the window uses (so their reports
// are the window's), the PC's pointer settings, and their part of `show --json`.
#include "image/code_texts.h"
#include "image/codes.h"
#include "image/fields.h"
#include "settings/cpi_model.h"
#include "settings/fire_key_model.h"
#include "settings/pointer_backends.h"
#include "settings/pointer_settings.h"
#include "tools/nivractl/cli.h"
#include "tools/nivractl/command.h"
#include "tools/nivractl/image_json.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

namespace {

using namespace nivra;

using nivractl::Connected;
using nivractl::english;
using nivractl::Result;
using nivractl::parseInteger;

// A CPI value of the list ("1600") as its index.
std::optional<int> cpiIndex(const std::string& s) {
    const std::optional<int> v = parseInteger(s, 0, 100000);
    if (!v) return std::nullopt;
    const auto it = std::find(kCpiValues.begin(), kCpiValues.end(), *v);
    return it == kCpiValues.end() ? std::nullopt : std::optional<int>(static_cast<int>(it - kCpiValues.begin()));
}

// ---------------------------------------------------------------- set cpi, aim, rate, options

Result runSetCpi(const nivractl::Invocation& inv) {
    const auto& a = inv.args;
    const std::string what = a.empty() ? "" : a[0];
    std::optional<int> n = a.size() >= 2 ? parseInteger(a[1], 1, kMaxCpiLevels) : std::nullopt;
    if (!n || (what == "count" && a.size() != 2) || (what == "current" && a.size() != 2) ||
        ((what == "level" || what == "color") && a.size() != 3) ||
        (what != "count" && what != "current" && what != "level" && what != "color"))
        return nivractl::usageError("set cpi");
    std::optional<int> index;
    std::optional<Rgb> colour;
    if (what == "level" && !(index = cpiIndex(a[2])))
        return nivractl::fail("not a CPI value of the list: " + a[2] + " (200 400 600 800 1000 1200 1600 2000 2400 3200 4800 6400)");
    if (what == "color") {
        std::string error;
        if (!(colour = nivractl::parseColour(a[2], &error))) return nivractl::fail(error);
    }
    return nivractl::withMouse(inv, [&](Connected& s) {
        CpiModel& cpi = s.cpi();
        if (s.editor().busy()) return nivractl::busy();
        if ((what == "current" || what == "color") && !cpi.levelEnabled(*n))
            return nivractl::fail("CPI level " + a[1] + " is not enabled (levels 1.." + std::to_string(cpi.levelCount()) + ")");
        if (what == "count") cpi.setLevelCount(*n);
        else if (what == "current") cpi.setCurrentLevel(*n);
        else if (what == "level") cpi.setLevelValue(*n, *index);
        else cpi.chooseLevelColour(*n, *colour);
        return nivractl::ok();
    });
}

Result runSetAim(const nivractl::Invocation& inv) {
    if (inv.args.size() != 1) return nivractl::usageError("set aim");
    const std::optional<int> index = cpiIndex(inv.args[0]);
    if (!index) return nivractl::fail("not a CPI value of the list: " + inv.args[0]);
    return nivractl::withMouse(inv, [&](Connected& s) {
        CpiModel& cpi = s.cpi();
        if (s.editor().busy()) return nivractl::busy();
        return cpi.setAimLevel(*index, false) ? nivractl::ok() : nivractl::fail(english("Str105"));
    });
}

Result runSetRate(const nivractl::Invocation& inv) {
    const std::optional<int> hz = inv.args.size() == 1 ? parseInteger(inv.args[0], 125, 1000) : std::nullopt;
    if (!hz || (*hz != 125 && *hz != 250 && *hz != 500 && *hz != 1000)) return nivractl::usageError("set rate");
    return nivractl::withMouse(inv, [&](Connected& s) {
        if (s.editor().busy()) return nivractl::busy();
        s.cpi().setReportRate(*hz);
        return s.restartsCameBack() ? nivractl::ok()
                        : nivractl::fail("the report rate was written but the mouse was not found again after its restart");
    });
}

Result runSetCpiOption(const nivractl::Invocation& inv) {
    const auto& a = inv.args;
    if (a.size() != 2) return nivractl::usageError("set cpi-option");
    std::optional<CpiOption> option;
    if (a[0] == "indication") option = CpiOption::Indication;
    else if (a[0] == "set") option = CpiOption::Set;
    else if (a[0] == "level") option = CpiOption::Level;
    else if (a[0] == "prescale") option = CpiOption::Prescale;
    if (!option) return nivractl::usageError("set cpi-option");
    // The item by its text ("Flash", "1.25x", "2nd") or its number in the list.
    const QStringList items = cpiOptionItems(*option).items;
    int item = -1;
    for (int i = 0; i < items.size(); ++i)
        if (items[i].trimmed().compare(QString::fromStdString(a[1]).trimmed(), Qt::CaseInsensitive) == 0) item = i;
    if (item < 0) item = parseInteger(a[1], 0, static_cast<int>(items.size()) - 1).value_or(-1);
    if (item < 0)
        return nivractl::fail("not an item of " + a[0] + ": " + a[1] + " (" +
                              items.join(QStringLiteral(" | ")).toStdString() + ")");
    return nivractl::withMouse(inv, [&](Connected& s) {
        CpiModel& cpi = s.cpi();
        if (s.editor().busy()) return nivractl::busy();
        cpi.setOption(*option, item);
        return nivractl::ok();
    });
}

Result runSetFire(const nivractl::Invocation& inv) {
    const auto& a = inv.args;
    if (a.size() != 3 && a.size() != 4) return nivractl::usageError("set fire");
    const std::optional<int> n = parseInteger(a[0], 1, 3);
    const std::optional<int> count = parseInteger(a[1], 1, 15);
    const std::optional<int> interval = parseInteger(a[2], 1, 4094);
    if (!n || (a.size() == 4 && a[3] != "continue")) return nivractl::usageError("set fire");
    if (!count) return nivractl::fail("clicks per press must be 1..15: " + a[1]);
    if (!interval) return nivractl::fail("the interval must be 1..4094 ms: " + a[2]);
    return nivractl::withMouse(inv, [&](Connected& s) {
        FireKeyModel& fire = s.fireKeys();
        if (s.editor().busy()) return nivractl::busy();
        fire.setFireKey(*n, *count, *interval, a.size() == 4);
        return nivractl::ok();
    });
}

// ---------------------------------------------------------------- pointer

const char* pointerSettingName(PointerSetting s) {
    switch (s) {
    case PointerSetting::Speed: return "speed";
    case PointerSetting::Precision: return "precision";
    case PointerSetting::DoubleClick: return "double-click";
    case PointerSetting::WheelLines: return "wheel";
    case PointerSetting::WholeScreen: return "whole-screen";
    }
    return "";
}

// "step 7, 480 ms", "on", "-" while nothing is known.
std::string pointerValueText(const PointerSettings& p, PointerSetting s) {
    const auto step = [](int n, std::optional<int> value, const char* unit) {
        if (n <= 0) return std::string("-");
        std::string t = "step " + std::to_string(n);
        if (value) t += ", " + std::to_string(*value) + unit;
        return t;
    };
    const PointerValues& v = p.values();
    switch (s) {
    case PointerSetting::Speed: return step(p.speedStep(), v.speed, " of 20");
    case PointerSetting::Precision: return v.precision ? (*v.precision ? "on" : "off") : "-";
    case PointerSetting::DoubleClick: return step(p.doubleClickStep(), v.doubleClickMs, " ms");
    case PointerSetting::WheelLines: return step(p.wheelStep(), v.wheelLines, " lines");
    case PointerSetting::WholeScreen: return v.wheelLines ? (p.wholeScreenOn() ? "on" : "off") : "-";
    }
    return "-";
}

Result runPointer(const nivractl::Invocation& inv) {
    const auto& a = inv.args;
    const std::unique_ptr<PointerBackend> desktop = systemPointerBackend();
    PointerSettings settings{PointerStore(PointerStore::defaultPath()), desktop.get()};
    settings.refresh();
    if (a.empty()) {
        // Each setting, its value and where it lives.
        for (const PointerSetting s : kPointerSettings) {
            const bool here = settings.holds(s);
            std::cout << pointerSettingName(s) << ": " << (here ? pointerValueText(settings, s) : std::string("-")) << " ("
                      << (here ? desktop->name().toStdString() : std::string("not on this desktop")) << ")\n";
        }
        return nivractl::ok();
    }
    if (a.size() != 3 || a[0] != "set") return nivractl::usageError("pointer");
    const std::string& what = a[1];
    PointerSetting setting{};
    std::optional<int> step;
    std::optional<bool> on;
    if (what == "speed" || what == "double-click" || what == "wheel") {
        setting = what == "speed" ? PointerSetting::Speed : what == "double-click" ? PointerSetting::DoubleClick : PointerSetting::WheelLines;
        if (!(step = parseInteger(a[2], 1, 11))) return nivractl::fail("a step is 1..11: " + a[2]);
    } else if (what == "precision" || what == "whole-screen") {
        setting = what == "precision" ? PointerSetting::Precision : PointerSetting::WholeScreen;
        if (!(on = nivractl::parseOnOff(a[2]))) return nivractl::usageError("pointer");
    } else {
        return nivractl::usageError("pointer");
    }
    const std::string where = desktop ? desktop->name().toStdString() : runningDesktopName().toStdString();
    if (!settings.holds(setting)) return nivractl::fail(what + " is not a pointer setting of " + where);
    if (setting == PointerSetting::WheelLines && settings.wholeScreenOn())
        return nivractl::fail("whole-screen scrolling is on: switch it off first");
    bool applied = true;
    switch (setting) {
    case PointerSetting::Speed: applied = settings.MseSpd_OnClick(*step); break;
    case PointerSetting::DoubleClick: applied = settings.MseDbSpd_OnClick(*step); break;
    case PointerSetting::WheelLines: applied = settings.MseScrSpd_OnClick(*step); break;
    case PointerSetting::Precision:
        if (settings.precisionOn() != *on || !settings.values().precision) applied = settings.lbl_IsControlClick();
        // Unknown before: the flip set it from off; once more when that was the wrong way.
        if (applied && settings.precisionOn() != *on) applied = settings.lbl_IsControlClick();
        break;
    case PointerSetting::WholeScreen:
        if (settings.wholeScreenOn() != *on) applied = settings.lbl_IsScreenClick();
        break;
    }
    if (!applied) return nivractl::fail("could not apply " + what + " to " + where);
    return nivractl::ok();
}

// The AIM level the AIM keys hold: the last one over profiles 1, 2, 3 and then the profile in
// effect; nullopt without an AIM key or for a level byte outside the list.
std::optional<int> aimValue(const Image& w, const NameInputs& naming) {
    std::optional<int> aim;
    const int shown = std::min(w[offset::kModeByte] & 0x0F, 2) + 1;
    for (int p : {1, 2, 3, shown}) {
        for (int k = 1; k <= static_cast<int>(kKeysPerProfile); ++k) {
            const ButtonCode c = codeFromBytes(std::span<const std::uint8_t>(w.data() + buttonCodeOffset(p, k), 4));
            if (NameOfCode(c, naming).id != "Str260") continue;
            aim = c[1] < kCpiValues.size() ? std::optional<int>(kCpiValues[c[1]]) : std::nullopt;
        }
    }
    return aim;
}

}  // namespace

std::string nivractl::advancedJson(const nivra::Image& w) {
    const NameInputs naming = nameInputsFromImage(w, MemoryType::I2C);
    const auto orNull = [](std::optional<int> v) { return v ? std::to_string(*v) : std::string("null"); };
    std::ostringstream out;
    const int current = w[offset::kCurrentCpi];
    out << "  \"cpi\": {\"count\": " << cpiLevelCount(w) << ", \"current\": "
        << (current < kMaxCpiLevels ? std::to_string(current + 1) : std::string("null")) << ", \"levels\": [";
    for (int n = 1; n <= kMaxCpiLevels; ++n) out << (n > 1 ? ", " : "") << orNull(cpiValue(w, n));
    out << "], \"colors\": [";
    for (int n = 1; n <= kMaxCpiLevels; ++n) {
        const Rgb c = cpiColour(w, n);
        char hex[8];
        std::snprintf(hex, sizeof hex, "%02X%02X%02X", c.r, c.g, c.b);
        out << (n > 1 ? ", \"" : "\"") << hex << '"';
    }
    out << "], \"aim\": " << orNull(aimValue(w, naming)) << "},\n";
    static constexpr int kRates[] = {125, 250, 500, 1000};
    out << "  \"report_rate\": " << kRates[getField(w, field::kRepRate)] << ",\n";
    // Continue lives in the buttons: the last button of a fire key over the three profiles.
    std::array<bool, 3> continueOn{};
    for (int p = 1; p <= 3; ++p)
        for (int k = 1; k <= static_cast<int>(kKeysPerProfile); ++k) {
            const CodeName name =
                NameOfCode(codeFromBytes(std::span<const std::uint8_t>(w.data() + buttonCodeOffset(p, k), 4)), naming);
            if (name.fireKey >= 1) continueOn[static_cast<std::size_t>(name.fireKey - 1)] = name.fireContinue;
        }
    out << "  \"fire_keys\": [";
    for (int n = 1; n <= 3; ++n) {
        const FireKeyBlockEntry e = fireKeyEntry(w, n);
        out << (n > 1 ? ", " : "") << "{\"count\": " << e.countMinusOne + 1 << ", \"interval\": " << e.delay
            << ", \"continue\": " << (continueOn[static_cast<std::size_t>(n - 1)] ? "true" : "false") << '}';
    }
    out << "],\n";
    return out.str();
}

NIVRACTL_COMMAND("set cpi",
                 "set cpi count N | level N VALUE | current N | color N RRGGBB   CPI levels (N 1..8, VALUE 200..6400)",
                 runSetCpi);
NIVRACTL_COMMAND("set aim", "set aim VALUE           the AIM level of every AIM key (a CPI value, 200..6400)", runSetAim);
NIVRACTL_COMMAND("set rate", "set rate 125|250|500|1000   the report rate; the mouse restarts when it changes", runSetRate);
NIVRACTL_COMMAND("set cpi-option", "set cpi-option indication|set|level|prescale ITEM   a CPI option field", runSetCpiOption);
NIVRACTL_COMMAND("set fire", "set fire N COUNT INTERVAL [continue]   fire key N (1..3): clicks 1..15, interval 1..4094 ms",
                 runSetFire);
NIVRACTL_COMMAND("pointer",
                 "pointer | pointer set speed|double-click|wheel STEP | pointer set precision|whole-screen on|off\n"
                 "                          the desktop's pointer settings (steps 1..11): GNOME, KDE or X11",
                 runPointer);
