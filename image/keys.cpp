// Keyboard usage names and the key capture table.
#include "image/keys.h"

#include <array>

namespace nivra {

namespace {

constexpr std::array<std::string_view, 26> kLetters = {
    "A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M",
    "N", "O", "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z"};
constexpr std::array<std::string_view, 10> kDigits = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
constexpr std::array<std::string_view, 10> kPadDigits = {
    "0 (numeric pad)", "1 (numeric pad)", "2 (numeric pad)", "3 (numeric pad)", "4 (numeric pad)",
    "5 (numeric pad)", "6 (numeric pad)", "7 (numeric pad)", "8 (numeric pad)", "9 (numeric pad)"};
constexpr std::array<std::string_view, 24> kFunctionKeys = {
    "F1",  "F2",  "F3",  "F4",  "F5",  "F6",  "F7",  "F8",  "F9",  "F10", "F11", "F12",
    "F13", "F14", "F15", "F16", "F17", "F18", "F19", "F20", "F21", "F22", "F23", "F24"};

struct UsageName {
    std::uint8_t usage;
    std::string_view name;
};

// Named usages outside the letter, digit and function-key runs.
constexpr UsageName kUsageNames[] = {
    {0x28, "Enter"},
    {0x29, "Esc"},
    {0x2A, "Backspace"},
    {0x2B, "Tab"},
    {0x2C, "Space bar"},
    {0x2D, "OEM_Minus"},
    {0x2E, "OEM_Plus"},
    {0x2F, "OEM_4"},
    {0x30, "OEM_6"},
    {0x31, "OEM_5"},
    {0x33, "OEM_1"},
    {0x34, "OEM_7"},
    {0x35, "OEM_3"},
    {0x36, "OEM_Comma"},
    {0x37, "OEM_Period"},
    {0x38, "OEM_2"},
    {0x39, "Caps Lock"},
    {0x46, "Print Screen"},
    {0x47, "Scroll Lock"},
    {0x48, "Pause"},
    {0x49, "Insert"},
    {0x4A, "Home"},
    {0x4B, "Page Up"},
    {0x4C, "Delete"},
    {0x4D, "End"},
    {0x4E, "Page Down"},
    {0x4F, "Right Arrow"},
    {0x50, "Left Arrow"},
    {0x51, "Down Arrow"},
    {0x52, "Up Arrow"},
    {0x53, "Num Lock"},
    {0x54, "Divide (numeric pad)"},
    {0x55, "Multiply (numeric pad)"},
    {0x56, "Subtract (numeric pad)"},
    {0x57, "Add (numeric pad)"},
    {0x58, "Separator (numeric pad)"},
    {0x63, "Decimal (numeric pad)"},
    {0x65, "Applications"},
    {0x75, "Help"},
    {0x77, "Select"},
    {0x9C, "Clear"},
    // The firmware's own assignments for media and browser keys.
    {0xC0, "Media_Next_Track"},
    {0xC1, "Media_Prev_Track"},
    {0xC2, "Media_Stop"},
    {0xC3, "Media_Play_Pause"},
    {0xC4, "Volume_Mute"},
    {0xC5, "Volume_Up"},
    {0xC6, "Volume_Down"},
    {0xC7, "Launch_Mail"},
    {0xC8, "Browser_Search"},
    {0xC9, "Browser_Home"},
    {0xCA, "Browser_Back"},
    {0xCB, "Browser_Forward"},
    {0xCC, "Browser_Stop"},
    {0xCD, "Browser_Refresh"},
    {0xCE, "Browser_Favorites"},
    {0xD1, "Launch_Media_Select"},
    {0xE0, "Left Ctrl"},
    {0xE1, "Left Shift"},
    {0xE2, "Left Alt"},
    {0xE3, "Win"},
    {0xE4, "Right Ctrl"},
    {0xE5, "Right Shift"},
    {0xE6, "Right Alt"},
    {0xE7, "Win"},
};

constexpr std::array<std::string_view, 256> buildUsageNames() {
    std::array<std::string_view, 256> names{};
    for (std::size_t i = 0; i < 26; ++i) names[0x04 + i] = kLetters[i];
    for (std::size_t i = 0; i < 9; ++i) names[0x1E + i] = kDigits[i + 1];
    names[0x27] = kDigits[0];
    for (std::size_t i = 0; i < 12; ++i) names[0x3A + i] = kFunctionKeys[i];
    for (std::size_t i = 0; i < 9; ++i) names[0x59 + i] = kPadDigits[i + 1];
    names[0x62] = kPadDigits[0];
    for (std::size_t i = 0; i < 12; ++i) names[0x68 + i] = kFunctionKeys[12 + i];
    for (const UsageName& u : kUsageNames) names[u.usage] = u.name;
    return names;
}

constexpr std::array<std::string_view, 256> kUsageNameTable = buildUsageNames();

// Rows before the keypad digits: name, usage, virtual key.
constexpr CaptureRow kHeadRows[] = {
    {"None", 0x00, 0x00},
    {"Demo", 0x00, 0x00},
    {"255", 0x00, 0xFF},
    {"Backspace", 0x2A, 0x08},
    {"Tab", 0x2B, 0x09},
    {"Clear", 0x9C, 0x0C},
    {"Enter", 0x28, 0x0D},
    {"Shift", 0xE1, 0x10},
    {"Ctrl", 0xE0, 0x11},
    {"Alt", 0xE2, 0x12},
    {"Pause", 0x48, 0x13},
    {"Caps Lock", 0x39, 0x14},
    {"Esc", 0x29, 0x1B},
    {"Space bar", 0x2C, 0x20},
    {"Page Up", 0x4B, 0x21},
    {"Page Down", 0x4E, 0x22},
    {"End", 0x4D, 0x23},
    {"Home", 0x4A, 0x24},
    {"Left Arrow", 0x50, 0x25},
    {"Up Arrow", 0x52, 0x26},
    {"Right Arrow", 0x4F, 0x27},
    {"Down Arrow", 0x51, 0x28},
    {"Select", 0x77, 0x29},
    {"Print Screen", 0x46, 0x2C},
    {"Insert", 0x49, 0x2D},
    {"Delete", 0x4C, 0x2E},
    {"Help", 0x75, 0x2F},
    {"Left Windows", 0xE3, 0x5B},
    {"Right Windows", 0xE7, 0x5C},
    {"Applications", 0x65, 0x5D},
};

// Rows between the keypad digits and F1.
constexpr CaptureRow kPadRows[] = {
    {"Multiply (numeric pad)", 0x55, 0x6A},
    {"Add (numeric pad)", 0x57, 0x6B},
    {"Separator (numeric pad)", 0x58, 0x6C},
    {"Subtract (numeric pad)", 0x56, 0x6D},
    {"Decimal (numeric pad)", 0x63, 0x6E},
    {"Divide (numeric pad)", 0x54, 0x6F},
};

// Rows between F24 and A.
constexpr CaptureRow kLockRows[] = {
    {"Num Lock", 0x53, 0x90},
    {"Scroll Lock", 0x47, 0x91},
    {"Left Shift", 0xE1, 0xA0},
    {"Right Shift", 0xE5, 0xA1},
    {"Left Ctrl", 0xE0, 0xA2},
    {"Right Ctrl", 0xE4, 0xA3},
    {"Left Alt", 0xE2, 0xA4},
    {"Right Alt", 0xE6, 0xA5},
};

// Rows after the digits 0..9, to the end of the table.
constexpr CaptureRow kTailRows[] = {
    {"OEM_1", 0x33, 0xBA},
    {"OEM_2", 0x38, 0xBF},
    {"OEM_3", 0x35, 0xC0},
    {"OEM_4", 0x2F, 0xDB},
    {"OEM_5", 0x31, 0xDC},
    {"OEM_6", 0x30, 0xDD},
    {"OEM_7", 0x34, 0xDE},
    {"OEM_8", 0x00, 0xDF},
    {"OEM_Plus", 0x2E, 0xBB},
    {"OEM_Comma", 0x36, 0xBC},
    {"OEM_Minus", 0x2D, 0xBD},
    {"OEM_Period", 0x37, 0xBE},
    {"Browser_Back", 0xCA, 0xA6},
    {"Browser_Forward", 0xCB, 0xA7},
    {"Browser_Refresh", 0xCD, 0xA8},
    {"Browser_Stop", 0xCC, 0xA9},
    {"Browser_Search", 0xC8, 0xAA},
    {"Browser_Favorites", 0xCE, 0xAB},
    {"Browser_Home", 0xC9, 0xAC},
    {"Volume_Mute", 0xC4, 0xAD},
    {"Volume_Down", 0xC6, 0xAE},
    {"Volume_Up", 0xC5, 0xAF},
    {"Media_Next_Track", 0xC0, 0xB0},
    {"Media_Prev_Track", 0xC1, 0xB1},
    {"Media_Stop", 0xC2, 0xB2},
    {"Media_Play_Pause", 0xC3, 0xB3},
    {"Launch_Mail", 0xC7, 0xB4},
    {"Launch_Media_Select", 0xD1, 0xB5},
    {"Launch_App1", 0x00, 0xB6},
    {"Launch_App2", 0x00, 0xB7},
};

constexpr std::array<CaptureRow, kCaptureRows> buildCaptureTable() {
    std::array<CaptureRow, kCaptureRows> rows{};
    std::size_t n = 0;
    for (const CaptureRow& r : kHeadRows) rows[n++] = r;
    for (std::uint8_t d = 0; d < 10; ++d) {
        const std::uint8_t usage = d == 0 ? 0x62 : static_cast<std::uint8_t>(0x59 + d - 1);
        rows[n++] = {kPadDigits[d], usage, static_cast<std::uint8_t>(0x60 + d)};
    }
    for (const CaptureRow& r : kPadRows) rows[n++] = r;
    for (std::uint8_t f = 0; f < 24; ++f) {
        const std::uint8_t usage = f < 12 ? static_cast<std::uint8_t>(0x3A + f) : static_cast<std::uint8_t>(0x68 + f - 12);
        rows[n++] = {kFunctionKeys[f], usage, static_cast<std::uint8_t>(0x70 + f)};
    }
    for (const CaptureRow& r : kLockRows) rows[n++] = r;
    for (std::uint8_t l = 0; l < 26; ++l) {
        rows[n++] = {kLetters[l], static_cast<std::uint8_t>(0x04 + l), static_cast<std::uint8_t>('A' + l)};
    }
    for (std::uint8_t d = 0; d < 10; ++d) {
        const std::uint8_t usage = d == 0 ? 0x27 : static_cast<std::uint8_t>(0x1E + d - 1);
        rows[n++] = {kDigits[d], usage, static_cast<std::uint8_t>('0' + d)};
    }
    for (const CaptureRow& r : kTailRows) rows[n++] = r;
    // A wrong count makes this constant expression ill-formed.
    if (n != kCaptureRows) throw "capture table row count";
    return rows;
}

constexpr std::array<CaptureRow, kCaptureRows> kCaptureTable = buildCaptureTable();

constexpr std::array<std::uint8_t, 256> buildVirtualKeyIndex() {
    std::array<std::uint8_t, 256> index{};
    for (std::size_t i = 1; i < kCaptureRows; ++i) {
        const std::uint8_t vk = kCaptureTable[i].virtualKey;
        if (vk != 0 && index[vk] == 0) index[vk] = static_cast<std::uint8_t>(i);
    }
    return index;
}

constexpr std::array<std::uint8_t, 256> kVirtualKeyIndex = buildVirtualKeyIndex();

}  // namespace

std::string_view keyUsageName(std::uint8_t usage) { return kUsageNameTable[usage]; }

std::span<const CaptureRow, kCaptureRows> captureTable() { return kCaptureTable; }

const CaptureRow& captureRow(std::size_t index) {
    return index < kCaptureRows ? kCaptureTable[index] : kCaptureTable[capture::kNone];
}

std::size_t captureIndexForVirtualKey(unsigned virtualKey) {
    return virtualKey < kVirtualKeyIndex.size() ? kVirtualKeyIndex[virtualKey] : capture::kNone;
}

std::optional<std::size_t> captureIndexForName(std::string_view name) {
    for (std::size_t i = 0; i < kCaptureRows; ++i) {
        if (kCaptureTable[i].name == name) return i;
    }
    return std::nullopt;
}

}  // namespace nivra
