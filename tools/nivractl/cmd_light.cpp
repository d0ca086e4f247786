// nivractl's lighting commands: `set led ...` makes the change the Breathing Light page and
// the engineer tab make, through the same LightingModel call, so the mouse receives the
// same reports.
#include "settings/lighting.h"
#include "skin/engineer_captions.h"
#include "tools/nivractl/cli.h"
#include "tools/nivractl/command.h"
#include "tools/nivractl/image_json.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace nivra;

using nivractl::Connected;
using nivractl::parseInteger;
using nivractl::Result;

// The English name of an effect, as the engineer caption table gives it.
std::string effectName(LedType type, int code) {
    const int row = lighting::effectCaptionRow(type, code);
    return row < 0 ? std::string() : skin::EngineerCaption(row, skin::EngineerColumn::English).toStdString();
}

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::string effectList(LedType type) {
    std::string out;
    for (int code : lighting::effectCodes(type)) out += (out.empty() ? "" : ", ") + effectName(type, code);
    return out;
}

// The end of a command that made one edit: the mouse took it, or say that it did not.
Result written(const ImageEditor& editor) {
    return editor.lastWriteOk() ? nivractl::ok() : nivractl::fail("the mouse did not accept the change");
}

Result setMode(LightingModel& m, const std::string& name) {
    const LightingView v = m.view();
    for (int code : lighting::effectCodes(v.type)) {
        if (lower(effectName(v.type, code)) != lower(name)) continue;
        if (!v.effectShown[static_cast<std::size_t>(code)])
            return nivractl::fail("the effect " + effectName(v.type, code) + " is not enabled on this mouse");
        m.RGBMode_OnClick(code + 1);
        return written(m.editor());
    }
    return nivractl::fail("no effect \"" + name + "\" for the " + std::string(lighting::typeWord(v.type)) +
                          " LED type; its effects: " + effectList(v.type));
}

Result setColour(LightingModel& m, const std::vector<std::string>& a) {
    const auto n = a.size() == 2 ? parseInteger(a[0], 1, kUserColours) : std::nullopt;
    const auto c = a.size() == 2 ? nivractl::parseColour(a[1]) : std::nullopt;
    if (!n || !c) return nivractl::usageError("set led");
    if (!m.view().coloursShown) return nivractl::fail("the Sync LED type has no colours to set");
    m.lbl_ColClick(*n, *c);
    return written(m.editor());
}

Result setSpeed(LightingModel& m, const std::vector<std::string>& a) {
    const auto n = a.size() == 1 ? parseInteger(a[0], 1, kSpeedBarSegments) : std::nullopt;
    if (!n) return nivractl::usageError("set led");
    if (!m.view().speedBarEnabled) return nivractl::fail("the speed does not apply to the effect CPI Breath");
    m.FallTime_OnClick(*n);
    return written(m.editor());
}

Result setCount(LightingModel& m, const std::vector<std::string>& a) {
    const auto n = a.size() == 1 ? parseInteger(a[0], 1, kMaxZkLeds) : std::nullopt;
    if (!n) return nivractl::usageError("set led");
    if (m.type() != LedType::Nt) return nivractl::fail("only the ZK LED type has an LED count");
    m.cb_LEDNumChange(*n - 1);
    return written(m.editor());
}

Result setType(LightingModel& m, const std::vector<std::string>& a) {
    std::optional<LedType> type;
    bool yes = false;
    for (const std::string& w : a) {
        if (w == "--yes") {
            yes = true;
            continue;
        }
        std::optional<LedType> named;
        for (LedType t : {LedType::Rgb, LedType::Sync, LedType::Nt})
            if (lower(w) == lower(std::string(lighting::typeWord(t)))) named = t;
        if (!named || type) return nivractl::usageError("set led");
        type = named;
    }
    if (!type) return nivractl::usageError("set led");
    if (*type == m.type()) {
        std::cout << "the LED type is already " << lighting::typeWord(*type) << "; nothing changed\n";
        return nivractl::ok();
    }
    if (!yes)
        return nivractl::fail("changing the LED type replaces the whole configuration with the defaults of the " +
                              std::string(lighting::typeWord(*type)) + " type; add --yes to go ahead");
    if (!m.cb_LEDModeChange(*type)) return nivractl::fail("the mouse is busy; nothing changed");
    if (!m.editor().lastWriteOk())
        return nivractl::fail("the mouse was written but not found again after its restart");
    return nivractl::ok();
}

Result setBreathing(LightingModel& m, const std::vector<std::string>& a) {
    if (a.size() != 2) return nivractl::usageError("set led");
    const std::string& what = a[0];
    if (what == "step") {
        const auto v = parseInteger(a[1], 0, 255);
        if (!v) return nivractl::fail("step must be a number from 0 to 255");
        m.edt_StepTimeChange(*v);
        return written(m.editor());
    }
    const struct { const char* word; Breathing field; } fields[] = {
        {"lower", Breathing::Lower},
        {"upper", Breathing::Upper},
        {"lower-delay", Breathing::LowerDelay},
        {"upper-delay", Breathing::UpperDelay},
    };
    for (const auto& f : fields) {
        if (what != f.word) continue;
        const int max = breathingField(f.field).max;
        const auto v = parseInteger(a[1], 0, max);
        if (!v) return nivractl::fail(what + " must be a number from 0 to " + std::to_string(max));
        m.breathingChange(f.field, *v);
        return written(m.editor());
    }
    return nivractl::usageError("set led");
}

Result runSetLed(const nivractl::Invocation& inv) {
    if (inv.args.size() < 2) return nivractl::usageError("set led");
    const std::string& what = inv.args[0];
    const std::vector<std::string> rest(inv.args.begin() + 1, inv.args.end());
    const std::vector<std::string> known{"mode", "color", "speed", "count", "type", "breathing"};
    if (std::find(known.begin(), known.end(), what) == known.end()) return nivractl::usageError("set led");
    return nivractl::withMouse(inv, [&](Connected& s) {
        LightingModel& m = s.lighting();
        if (what == "mode") {
            std::string name;
            for (const std::string& w : rest) name += (name.empty() ? "" : " ") + w;
            return setMode(m, name);
        }
        if (what == "color") return setColour(m, rest);
        if (what == "speed") return setSpeed(m, rest);
        if (what == "count") return setCount(m, rest);
        if (what == "type") return setType(m, rest);
        return setBreathing(m, rest);
    });
}

}  // namespace

std::string nivractl::ledJson(const Image& image, LedType current) {
    const LightingView v = decodeLighting(image, current);
    auto quoted = [](const std::string& s) { return "\"" + s + "\""; };
    std::string out = "{\"type\": " + quoted(std::string(lighting::typeWord(v.type)));
    const std::string mode = effectName(v.type, v.modeCode);
    out += ", \"mode\": " + (mode.empty() ? std::string("null") : quoted(mode));
    out += ", \"leds\": " + (v.type == LedType::Nt ? std::to_string(v.zkLedCount) : std::string("null"));
    out += ", \"enabled\": [";
    bool first = true;
    for (int code : lighting::effectCodes(v.type)) {
        if (!v.effectShown[static_cast<std::size_t>(code)]) continue;
        out += (first ? "" : ", ") + quoted(effectName(v.type, code));
        first = false;
    }
    out += "], \"colors\": [";
    for (std::size_t i = 0; i < v.colours.size(); ++i) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "%02X%02X%02X", v.colours[i].r, v.colours[i].g, v.colours[i].b);
        out += (i ? ", " : "") + quoted(hex);
    }
    return out + "], \"step_delay\": " + std::to_string(v.stepDelay) + "}";
}

namespace {

NIVRACTL_COMMAND("set led",
                 "set led mode NAME | color N RRGGBB | speed 1..10 | count 1..8 | type RGB|Sync|ZK --yes | "
                 "breathing lower|upper|lower-delay|upper-delay|step VALUE   change the lighting",
                 runSetLed);

}  // namespace
