// Button function codes: text form, menu codes and the names shown on buttons.
#include "image/codes.h"

#include "image/keys.h"

#include <algorithm>

namespace nivra {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

constexpr ButtonCode code(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3) {
    return ButtonCode{{b0, b1, b2, b3}};
}

// The menu functions whose code does not depend on any setting, with their names.
struct FixedFunction {
    int id;
    std::string_view control;
    std::string_view nameId;
    ButtonCode code;
};

// Every leaf of the function menu in id order. Entries whose code is built from settings
// carry a placeholder code; CodeForMenuFunction builds those.
constexpr FixedFunction kFunctions[] = {
    {900, "Key_Left", "Str210", code(0x01, 0x01, 0x00, 0x00)},
    {901, "Key_Right", "Str211", code(0x01, 0x02, 0x00, 0x00)},
    {902, "Key_Middle", "Str212", code(0x01, 0x04, 0x00, 0x00)},
    {903, "Key_B4", "Str213", code(0x01, 0x08, 0x00, 0x00)},
    {904, "Key_B5", "Str214", code(0x01, 0x10, 0x00, 0x00)},
    {1000, "Key_AIM", "Str260", code(0x05, 0x00, 0x00, 0x00)},
    {1001, "Key_LEDMode", "Str261", code(0x0E, 0x00, 0x00, 0x00)},
    {1002, "Key_LEDSwitch", "Str262", code(0x08, 0x00, 0x00, 0x00)},
    {1003, "Key_BtnEFT", "Str263", code(0x08, 0x01, 0x00, 0x00)},
    {1004, "Key_ReportRate", "Str264", code(0x0C, 0x00, 0x00, 0x00)},
    {1005, "Key_FireMacroKey", "Str265", code(0x10, 0x06, 0xA0, 0xFF)},
    {1006, "Key_FireMacroOff", "Str266", code(0x0B, 0x8F, 0x00, 0x00)},
    {1007, "Key_KeyOff", "Str277", code(0x00, 0x00, 0x00, 0x00)},
    {1100, "Key_PlayPause", "Str270", code(0x03, 0x00, 0xCD, 0x00)},
    {1101, "Key_Stop", "Str271", code(0x03, 0x00, 0xB7, 0x00)},
    {1102, "Key_PreviousTrack", "Str272", code(0x03, 0x00, 0xB6, 0x00)},
    {1103, "Key_NextTrack", "Str273", code(0x03, 0x00, 0xB5, 0x00)},
    {1104, "Key_VolumePlus", "Str274", code(0x03, 0x00, 0xE9, 0x00)},
    {1105, "Key_VolumeMinus", "Str275", code(0x03, 0x00, 0xEA, 0x00)},
    {1106, "Key_Mute", "Str276", code(0x03, 0x00, 0xE2, 0x00)},
    {1200, "Key_WWWHome", "Str280", code(0x03, 0x02, 0x23, 0x00)},
    {1201, "Key_WWWSearch", "Str281", code(0x03, 0x02, 0x21, 0x00)},
    {1202, "Key_WWWBack", "Str282", code(0x03, 0x02, 0x24, 0x00)},
    {1203, "Key_WWWForward", "Str283", code(0x03, 0x02, 0x25, 0x00)},
    {1204, "Key_WWWStop", "Str284", code(0x03, 0x02, 0x26, 0x00)},
    {1205, "Key_WWWRefresh", "Str285", code(0x03, 0x02, 0x27, 0x00)},
    {1206, "Key_WWWFavorites", "Str286", code(0x03, 0x02, 0x2A, 0x00)},
    {1300, "Key_Computer", "Str290", code(0x03, 0x01, 0x94, 0x00)},
    {1301, "Key_Calculator", "Str291", code(0x03, 0x01, 0x92, 0x00)},
    {1302, "Key_EMail", "Str292", code(0x03, 0x01, 0x8A, 0x00)},
    {1303, "Key_Desktop", "Str293", code(0x02, 0x08, 0x07, 0x00)},  // Win + D
    {2000, "Key_CPI", "Str221", code(0x09, 0x00, 0x00, 0x00)},
    {2001, "Key_CPII", "Str222", code(0x09, 0x01, 0x00, 0x00)},
    {2002, "Key_CPID", "Str223", code(0x09, 0x02, 0x00, 0x00)},
    {2100, "Key_Fire1", "Str231", code(0x06, 0x00, 0x00, 0x00)},
    {2101, "Key_Fire2", "Str232", code(0x06, 0x00, 0x00, 0x00)},
    {2102, "Key_Fire3", "Str233", code(0x06, 0x00, 0x00, 0x00)},
    {2200, "Key_PowerDown", "Str241", code(0x04, 0x01, 0x00, 0x00)},
    {2201, "Key_Sleep", "Str242", code(0x04, 0x02, 0x00, 0x00)},
    {2202, "Key_WakeUp", "Str243", code(0x04, 0x03, 0x00, 0x00)},
    {2300, "Key_Profile1", "Str251", code(0x07, 0x80, 0x00, 0x00)},
    {2301, "Key_Profile2", "Str252", code(0x07, 0x81, 0x00, 0x00)},
    {2302, "Key_Profile3", "Str253", code(0x07, 0x82, 0x00, 0x00)},
    {2303, "Key_Profile", "Str254", code(0x07, 0x00, 0x00, 0x00)},
    {2400, "Key_AdjustXYFn", "Str268", code(0x0A, 0x00, 0x00, 0x00)},
    {2401, "Key_AdjustXYSwitch", "Str269", code(0x0A, 0x01, 0x00, 0x00)},
};

constexpr std::array<MenuFunction, std::size(kFunctions)> buildMenuFunctions() {
    std::array<MenuFunction, std::size(kFunctions)> out{};
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = {kFunctions[i].id, kFunctions[i].control, kFunctions[i].nameId};
    return out;
}

constexpr auto kMenuFunctions = buildMenuFunctions();

const FixedFunction* findFunction(int id) {
    const auto it = std::find_if(std::begin(kFunctions), std::end(kFunctions),
                                 [id](const FixedFunction& f) { return f.id == id; });
    return it == std::end(kFunctions) ? nullptr : &*it;
}

// Codes named by an exact match of the whole code (the media, browser and PC keys,
// the adjust-XY keys and fire macro off), taken from the menu table.
bool isExactNamedFunction(int id) {
    return (id >= 1100 && id <= 1106) || (id >= 1200 && id <= 1206) || (id >= 1300 && id <= 1303) ||
           id == 2400 || id == 2401 || id == 1006;
}

struct GunName {
    std::uint8_t byte1;
    std::uint8_t byte2;
    std::string_view nameId;
};

// The guns by their first fire-data slot (with or without the keep-left-key bit 0x10)
// and slot count.
constexpr GunName kGunNames[] = {
    {0x00, 0x01, "Str600"}, {0x10, 0x01, "Str600"},  // AKM
    {0x01, 0x01, "Str601"}, {0x11, 0x01, "Str601"},  // M16A4
    {0x02, 0x01, "Str602"}, {0x12, 0x01, "Str602"},  // M416
    {0x03, 0x01, "Str603"}, {0x13, 0x01, "Str603"},  // UMP9
    {0x04, 0x01, "Str604"}, {0x14, 0x01, "Str604"},  // SCAR-L
    {0x05, 0x01, "Str605"}, {0x15, 0x01, "Str605"},  // 5.56 mm, one or two slots
    {0x05, 0x02, "Str605"}, {0x15, 0x02, "Str605"},
    {0x07, 0x01, "Str606"}, {0x17, 0x01, "Str606"},  // 7.62 mm, one to three slots
    {0x07, 0x02, "Str606"}, {0x17, 0x02, "Str606"},
    {0x07, 0x03, "Str606"}, {0x17, 0x03, "Str606"},
};

CodeName named(std::string_view id, const NameInputs& in) {
    CodeName n;
    n.id = std::string(id);
    if (in.language) n.text = in.language(id);
    return n;
}

CodeName composed(std::string text) {
    CodeName n;
    n.text = std::move(text);
    return n;
}

// "Ctrl+Shift+Alt+Win" for the set modifier bits, then the names of the two keys.
// A key byte 0x00, or a usage without a name, adds nothing (no dangling "+").
std::string composeCombination(const ButtonCode& c) {
    std::string text;
    auto add = [&text](std::string_view part) {
        if (part.empty()) return;
        if (!text.empty()) text += '+';
        text += part;
    };
    if (c[1] & modifier_bit::kCtrl) add("Ctrl");
    if (c[1] & modifier_bit::kShift) add("Shift");
    if (c[1] & modifier_bit::kAlt) add("Alt");
    if (c[1] & modifier_bit::kWin) add("Win");
    if (c[2] != 0) add(keyUsageName(c[2]));
    if (c[3] != 0) add(keyUsageName(c[3]));
    return text;
}

}  // namespace

std::string codeText(const ButtonCode& c) {
    std::string text(8, '0');
    for (std::size_t i = 0; i < 4; ++i) {
        text[2 * i] = kHexDigits[c[i] >> 4];
        text[2 * i + 1] = kHexDigits[c[i] & 0x0F];
    }
    return text;
}

std::optional<ButtonCode> parseCodeText(std::string_view text) {
    if (text.size() != 8) return std::nullopt;
    ButtonCode c;
    for (std::size_t i = 0; i < 4; ++i) {
        const int hi = hexValue(text[2 * i]);
        const int lo = hexValue(text[2 * i + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        c.bytes[i] = static_cast<std::uint8_t>(hi << 4 | lo);
    }
    return c;
}

ButtonCode codeFromBytes(std::span<const std::uint8_t> bytes) {
    return code(bytes[0], bytes[1], bytes[2], bytes[3]);
}

void storeCode(const ButtonCode& c, std::span<std::uint8_t> out) {
    std::copy(c.bytes.begin(), c.bytes.end(), out.begin());
}

std::uint8_t fireRepeatByte(int count, bool continueOn) {
    const int field = std::clamp(count - 1, 0, 0x0F);
    return static_cast<std::uint8_t>(0x10 + field + (continueOn ? 0x80 : 0x00));
}

std::uint8_t profileColourCode(int choice) {
    if (choice == kFixedColorChoice) return 0xF0;
    if (choice < 0 || choice > 9) return 0x00;
    return static_cast<std::uint8_t>(choice * 16);
}

std::optional<int> profileColourChoice(std::uint8_t colourCodeByte) {
    const int nibble = colourCodeByte >> 4;
    if (nibble <= 9) return nibble;
    if (nibble == 15) return kFixedColorChoice;
    return std::nullopt;
}

ButtonCode extendedProfileCode(int profile, const ExtendedProfileInputs& in) {
    const int p = std::clamp(profile, 0, 2);
    const unsigned offset = std::min(in.offset, 0xFFFu);
    std::uint8_t b1 = static_cast<std::uint8_t>(0x80 + p);
    if (in.returnToZero) b1 |= 0x40;
    if (in.adjustXY) b1 |= 0x20;
    if (in.changeColor) b1 |= 0x10;
    const std::uint8_t colour = in.syncLed ? 0xF0 : profileColourCode(in.colourChoice[static_cast<std::size_t>(p)]);
    return code(0x07, b1, static_cast<std::uint8_t>(colour + (offset >> 8)), static_cast<std::uint8_t>(offset & 0xFF));
}

std::uint8_t comboEnableByteOfItem(int item) {
    if (item < 1 || item > 8) return 0x00;
    return static_cast<std::uint8_t>(1u << (item - 1));
}

int comboEnableItemOfByte(std::uint8_t value) {
    if (value == 0) return 0;
    for (int item = 1; item <= 8; ++item) {
        if (value == comboEnableByteOfItem(item)) return item;
    }
    return -1;
}

std::span<const MenuFunction> menuFunctions() { return kMenuFunctions; }

std::string CodeForMenuFunction(int menuId, const MenuCodeInputs& in) {
    if (menuId == 0) return std::string(kKeyOffText);
    const FixedFunction* f = findFunction(menuId);
    if (f == nullptr) return {};
    ButtonCode c = f->code;
    switch (menuId) {
        case 902: c.bytes[3] = in.combo.middle; break;
        case 903: c.bytes[3] = in.combo.backward; break;
        case 904: c.bytes[3] = in.combo.forward; break;
        case 1000: c.bytes[1] = static_cast<std::uint8_t>(std::clamp(in.aimLevel, 0, 11)); break;
        case 1005:
            if (in.memory != MemoryType::I2C) return {};
            break;
        case 2000: c.bytes[3] = in.combo.cpiLoop; break;
        case 2001: c.bytes[3] = in.combo.cpiUp; break;
        case 2002: c.bytes[3] = in.combo.cpiDown; break;
        case 2100:
        case 2101:
        case 2102: {
            const FireKeySetting& k = in.fireKeys[static_cast<std::size_t>(menuId - 2100)];
            const int interval = std::clamp(k.interval, 0, 0xFFFF);
            c.bytes[1] = fireRepeatByte(k.count, k.continueOn);
            c.bytes[2] = static_cast<std::uint8_t>(interval >> 8);
            c.bytes[3] = static_cast<std::uint8_t>(interval & 0xFF);
            break;
        }
        case 2300:
        case 2301:
        case 2302:
            if (in.editingComboSlot) c = extendedProfileCode(menuId - 2300, in.extended);
            break;
        default: break;
    }
    return codeText(c);
}

CodeName NameOfCode(std::string_view text, const NameInputs& in) {
    const std::optional<ButtonCode> c = parseCodeText(text);
    if (!c) return {};
    return NameOfCode(*c, in);
}

CodeName NameOfCode(const ButtonCode& c, const NameInputs& in) {
    const std::string t = codeText(c);
    const std::uint8_t b0 = c[0];
    const std::uint8_t b1 = c[1];

    // The first test that applies decides, so the order matters: the Desktop code
    // (Win + D) is named before combinations are composed, fire macro off before gun keys
    // and the fire macro key before macro keys.

    // Key off, left and right key, by the whole code.
    if (t == kKeyOffText) return named("Str277", in);
    if (t == kLeftKeyText) return named("Str210", in);
    if (t == "01020000") return named("Str211", in);
    // Middle, backward and forward, whatever bytes 2 and 3 hold.
    if (b0 == 0x01) {
        if (b1 == mouse_button::kMiddle) return named("Str212", in);
        if (b1 == mouse_button::kBackward) return named("Str213", in);
        if (b1 == mouse_button::kForward) return named("Str214", in);
    }
    // AIM key at any level.
    if (b0 == 0x05) return named("Str260", in);
    // LED, report rate and fire macro keys by the whole code.
    if (t == "0E000000") return named("Str261", in);
    if (t == "08000000") return named("Str262", in);
    if (t == "08010000") return named("Str263", in);
    if (t == "0C000000") return named("Str264", in);
    if (t == kFireMacroKeyText || t == kFireMacroKeyAltText) return named("Str265", in);
    // CPI keys with any combination-enable byte.
    if (b0 == 0x09) {
        if (b1 == 0x00) return named("Str221", in);
        if (b1 == 0x01) return named("Str222", in);
        if (b1 == 0x02) return named("Str223", in);
    }
    // A fire key is named after the first fire key with the same count and interval.
    if (b0 == 0x06) {
        const int count = (b1 & 0x0F) + 1;
        const int interval = c.word23();
        static constexpr std::string_view kFireIds[] = {"Str231", "Str232", "Str233"};
        for (std::size_t k = 0; k < 3; ++k) {
            if (in.fireKeys[k].count == count && in.fireKeys[k].interval == interval) {
                CodeName n = named(kFireIds[k], in);
                n.fireKey = static_cast<int>(k) + 1;
                n.fireContinue = (b1 & 0x80) != 0;
                return n;
            }
        }
        return {};
    }
    // Power keys.
    if (t == "04010000") return named("Str241", in);
    if (t == "04020000") return named("Str242", in);
    if (t == "04030000") return named("Str243", in);
    // Profile keys; a direct one reports its colour choice.
    if (b0 == 0x07) {
        if (b1 == 0x00) return named("Str254", in);
        static constexpr std::string_view kProfileIds[] = {"Str251", "Str252", "Str253"};
        const int profile = b1 & 0x87;
        if (profile >= 0x80 && profile <= 0x82) {
            CodeName n = named(kProfileIds[profile - 0x80], in);
            n.profileColourChoice = profileColourChoice(c[2]);
            return n;
        }
        return {};
    }
    // Media, browser and PC keys, adjust-XY keys and fire macro off, by the whole code.
    for (const FixedFunction& f : kFunctions) {
        if (isExactNamedFunction(f.id) && f.code == c) return named(f.nameId, in);
    }
    // Key combinations.
    if (b0 == 0x02) {
        std::string text = composeCombination(c);
        if (text.empty()) return named("Str205", in);
        return composed(std::move(text));
    }
    // Gun keys, by the gun key list when its file is present, else by the fixed guns.
    if (b0 == 0x0B) {
        if (in.gunKeyList) {
            for (std::size_t k = 0; k < in.gunKeyList->size(); ++k) {
                const ButtonCode& g = (*in.gunKeyList)[k];
                if (g[0] == c[0] && g[1] == c[1] && g[2] == c[2]) {
                    return composed("Fire Macro" + std::to_string(k + 1));
                }
            }
            return {};
        }
        for (const GunName& g : kGunNames) {
            if (g.byte1 == c[1] && g.byte2 == c[2]) return named(g.nameId, in);
        }
        return {};
    }
    // Device macros by body address.
    if (b0 == 0x10) {
        if (in.memory != MemoryType::I2C) return {};
        const std::uint16_t address = c.word12();
        for (const DeviceMacroEntry& m : in.deviceMacros) {
            if (m.present && m.bodyAddress == address) return composed(m.name);
        }
        return {};
    }
    return {};
}

CodeDescription describeCode(std::string_view text, const NameInputs& context) {
    CodeName n = NameOfCode(text, context);
    return {std::move(n.id), std::move(n.text)};
}

}  // namespace nivra
