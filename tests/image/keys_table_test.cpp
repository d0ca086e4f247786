// Keyboard usage names and the key capture table: order, settled usages, PC keys.
#include "image/keys.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

TEST(KeyUsageName, NamedAndUnnamedUsages) {
    const struct {
        std::uint8_t usage;
        const char* name;
    } cases[] = {
        {0x00, ""}, {0x03, ""}, {0x04, "A"}, {0x1D, "Z"}, {0x1E, "1"}, {0x26, "9"}, {0x27, "0"},
        {0x2C, "Space bar"}, {0x2F, "OEM_4"}, {0x31, "OEM_5"}, {0x32, ""}, {0x38, "OEM_2"},
        {0x3A, "F1"}, {0x45, "F12"}, {0x48, "Pause"}, {0x4F, "Right Arrow"}, {0x58, "Separator (numeric pad)"},
        {0x59, "1 (numeric pad)"}, {0x61, "9 (numeric pad)"}, {0x62, "0 (numeric pad)"},
        {0x63, "Decimal (numeric pad)"}, {0x64, ""}, {0x65, "Applications"}, {0x66, ""}, {0x67, ""},
        {0x68, "F13"}, {0x73, "F24"}, {0x74, ""}, {0x75, "Help"}, {0x76, ""}, {0x77, "Select"},
        {0x9C, "Clear"}, {0xBF, ""}, {0xC0, "Media_Next_Track"}, {0xC7, "Launch_Mail"},
        {0xCE, "Browser_Favorites"}, {0xCF, ""}, {0xD0, ""}, {0xD1, "Launch_Media_Select"},
        {0xE0, "Left Ctrl"}, {0xE3, "Win"}, {0xE6, "Right Alt"}, {0xE7, "Win"}, {0xE8, ""}, {0xFF, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(nivra::keyUsageName(c.usage), c.name) << int(c.usage);
}

TEST(CaptureTable, RowsInIndexOrder) {
    const struct {
        std::size_t index;
        const char* name;
    } cases[] = {
        {0, "None"}, {1, "Demo"}, {2, "255"}, {3, "Backspace"}, {7, "Shift"}, {13, "Space bar"},
        {27, "Left Windows"}, {29, "Applications"}, {30, "0 (numeric pad)"}, {39, "9 (numeric pad)"},
        {40, "Multiply (numeric pad)"}, {45, "Divide (numeric pad)"}, {46, "F1"}, {69, "F24"},
        {70, "Num Lock"}, {77, "Right Alt"}, {78, "A"}, {103, "Z"}, {104, "0"}, {113, "9"},
        {114, "OEM_1"}, {121, "OEM_8"}, {122, "OEM_Plus"}, {125, "OEM_Period"}, {126, "Browser_Back"},
        {133, "Volume_Mute"}, {136, "Media_Next_Track"}, {140, "Launch_Mail"}, {142, "Launch_App1"},
        {143, "Launch_App2"},
    };
    for (const auto& c : cases) EXPECT_EQ(nivra::captureRow(c.index).name, c.name) << c.index;
    EXPECT_EQ(nivra::captureRow(144).name, "None");
    EXPECT_EQ(nivra::captureRow(static_cast<std::size_t>(-1)).name, "None");

    std::set<std::string_view> names;
    for (const nivra::CaptureRow& r : nivra::captureTable()) EXPECT_TRUE(names.insert(r.name).second) << r.name;
}

TEST(CaptureTable, SettledUsages) {
    const struct {
        const char* name;
        std::uint8_t usage;
    } cases[] = {
        {"Shift", 0xE1}, {"Ctrl", 0xE0}, {"Alt", 0xE2}, {"Left Windows", 0xE3}, {"Right Windows", 0xE7},
        {"Separator (numeric pad)", 0x58}, {"Clear", 0x9C}, {"Select", 0x77}, {"Help", 0x75},
        {"Browser_Back", 0xCA}, {"Browser_Forward", 0xCB}, {"Browser_Refresh", 0xCD}, {"Browser_Stop", 0xCC},
        {"Browser_Search", 0xC8}, {"Browser_Favorites", 0xCE}, {"Browser_Home", 0xC9}, {"Volume_Mute", 0xC4},
        {"Volume_Down", 0xC6}, {"Volume_Up", 0xC5}, {"Media_Next_Track", 0xC0}, {"Media_Prev_Track", 0xC1},
        {"Media_Stop", 0xC2}, {"Media_Play_Pause", 0xC3}, {"Launch_Mail", 0xC7}, {"Launch_Media_Select", 0xD1},
        {"None", 0x00}, {"Demo", 0x00}, {"255", 0x00}, {"OEM_8", 0x00}, {"Launch_App1", 0x00}, {"Launch_App2", 0x00},
        {"0", 0x27}, {"1", 0x1E}, {"0 (numeric pad)", 0x62}, {"1 (numeric pad)", 0x59}, {"F13", 0x68},
        {"Print Screen", 0x46}, {"Right Ctrl", 0xE4},
    };
    for (const auto& c : cases) {
        const auto index = nivra::captureIndexForName(c.name);
        ASSERT_TRUE(index) << c.name;
        EXPECT_EQ(nivra::captureRow(*index).usage, c.usage) << c.name;
    }
}

// Every row that gives a usage is named like that usage, so a captured key reads back
// under its own name; only the side-less modifiers and the two Windows keys differ.
TEST(CaptureTable, RowNamesMatchTheUsageNames) {
    const std::set<std::string_view> sideless = {"Shift", "Ctrl", "Alt", "Left Windows", "Right Windows"};
    for (const nivra::CaptureRow& r : nivra::captureTable()) {
        if (r.usage == 0 || sideless.count(r.name)) continue;
        EXPECT_EQ(nivra::keyUsageName(r.usage), r.name) << int(r.usage);
    }
    EXPECT_EQ(nivra::keyUsageName(nivra::captureRow(nivra::capture::kShift).usage), "Left Shift");
}

TEST(CaptureTable, PcKeysSelectRows) {
    const struct {
        unsigned virtualKey;
        const char* name;
    } cases[] = {
        {0x08, "Backspace"}, {0x0D, "Enter"}, {0x10, "Shift"}, {0x11, "Ctrl"}, {0x12, "Alt"},
        {0x5B, "Left Windows"}, {0x5C, "Right Windows"}, {0x2C, "Print Screen"}, {0x60, "0 (numeric pad)"},
        {0x6C, "Separator (numeric pad)"}, {0x87, "F24"}, {0xA0, "Left Shift"}, {0xA5, "Right Alt"},
        {0x41, "A"}, {0x30, "0"}, {0xBA, "OEM_1"}, {0xDF, "OEM_8"}, {0xBB, "OEM_Plus"},
        {0xA6, "Browser_Back"}, {0xB3, "Media_Play_Pause"}, {0xB6, "Launch_App1"}, {0xFF, "255"},
        // keys outside the table
        {0x00, "None"}, {0x01, "None"}, {0x07, "None"}, {0x88, "None"}, {0xE2, "None"}, {0x1FF, "None"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(nivra::captureRow(nivra::captureIndexForVirtualKey(c.virtualKey)).name, c.name)
            << std::hex << c.virtualKey;
    }
    EXPECT_EQ(nivra::captureRow(nivra::captureIndexForVirtualKey(0xB6)).usage, 0x00);  // Launch_App1
}

}  // namespace
