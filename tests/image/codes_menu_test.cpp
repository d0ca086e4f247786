// Codes of the function menu: every id, the settings they are built from, and the
// round trip from a menu entry to the name of its code.
#include "image/codes.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using nivra::CodeForMenuFunction;
using nivra::MenuCodeInputs;

// Distinct values everywhere, so that a byte read from the wrong setting shows.
MenuCodeInputs distinctInputs() {
    MenuCodeInputs in;
    in.combo = {0x01, 0x02, 0x04, 0x08, 0x10, 0x20};
    in.aimLevel = 11;
    in.fireKeys = {{{2, 60, false}, {4, 0x0ABC, true}, {15, 4094, false}}};
    in.extended.colourChoice = {3, 7, nivra::kFixedColorChoice};
    in.extended.offset = 0x123;
    return in;
}

TEST(CodeForMenuFunction, EveryMenuId) {
    struct Case {
        int id;
        const char* text;
    };
    const Case cases[] = {
        {0, "00000000"},
        {900, "01010000"}, {901, "01020000"}, {902, "01040001"}, {903, "01080002"}, {904, "01100004"},
        {1000, "050B0000"}, {1001, "0E000000"}, {1002, "08000000"}, {1003, "08010000"},
        {1004, "0C000000"}, {1005, "1006A0FF"}, {1006, "0B8F0000"}, {1007, "00000000"},
        {1100, "0300CD00"}, {1101, "0300B700"}, {1102, "0300B600"}, {1103, "0300B500"},
        {1104, "0300E900"}, {1105, "0300EA00"}, {1106, "0300E200"},
        {1200, "03022300"}, {1201, "03022100"}, {1202, "03022400"}, {1203, "03022500"},
        {1204, "03022600"}, {1205, "03022700"}, {1206, "03022A00"},
        {1300, "03019400"}, {1301, "03019200"}, {1302, "03018A00"}, {1303, "02080700"},
        {2000, "09000008"}, {2001, "09010010"}, {2002, "09020020"},
        {2100, "0611003C"}, {2101, "06930ABC"}, {2102, "061E0FFE"},
        {2200, "04010000"}, {2201, "04020000"}, {2202, "04030000"},
        {2300, "07800000"}, {2301, "07810000"}, {2302, "07820000"}, {2303, "07000000"},
        {2400, "0A000000"}, {2401, "0A010000"},
    };
    const MenuCodeInputs in = distinctInputs();
    for (const Case& c : cases) EXPECT_EQ(CodeForMenuFunction(c.id, in), c.text) << "id " << c.id;

    // The table above covers every entry the menu offers.
    std::set<int> covered;
    for (const Case& c : cases) covered.insert(c.id);
    for (const nivra::MenuFunction& f : nivra::menuFunctions()) EXPECT_TRUE(covered.count(f.id)) << f.id;
}

TEST(CodeForMenuFunction, UnknownIdsAndFireMacroKeyWithoutI2C) {
    const MenuCodeInputs in = distinctInputs();
    for (int id : {-1, 1, 899, 905, 999, 1008, 1107, 1304, 2003, 2103, 2203, 2304, 2402, 9999}) {
        EXPECT_EQ(CodeForMenuFunction(id, in), "") << "id " << id;
    }
    for (nivra::MemoryType memory : {nivra::MemoryType::Flash, nivra::MemoryType::None}) {
        MenuCodeInputs other = in;
        other.memory = memory;
        EXPECT_EQ(CodeForMenuFunction(1005, other), "");
        EXPECT_EQ(CodeForMenuFunction(1006, other), "0B8F0000");
    }
}

TEST(CodeForMenuFunction, ExtendedProfileKeysWhileAComboSlotIsEdited) {
    struct Case {
        const char* what;
        int id;
        bool rtz, axy, cc, sync;
        unsigned offset;
        const char* text;
    };
    const Case cases[] = {
        {"office, colour 4, no flags", 2300, false, false, false, false, 0x123, "07803123"},
        {"game, colour 8 from its own control", 2301, false, false, false, false, 0x123, "07817123"},
        {"third, fixed colour", 2302, false, false, false, false, 0x014, "0782F014"},
        {"game switch: return to zero and change colour", 2301, true, false, true, false, 0x014, "07D17014"},
        {"all three flags", 2300, true, true, true, false, 0x000, "07F03000"},
        {"sync LED: fixed colour for every profile", 2300, false, false, false, true, 0x014, "0780F014"},
        {"offset above FFF becomes FFF", 2300, false, false, false, false, 0x1234, "07803FFF"},
        {"fixed colour with the largest offset", 2302, false, false, false, false, 0xFFFF, "0782FFFF"},
    };
    for (const Case& c : cases) {
        MenuCodeInputs in = distinctInputs();
        in.editingComboSlot = true;
        in.extended.returnToZero = c.rtz;
        in.extended.adjustXY = c.axy;
        in.extended.changeColor = c.cc;
        in.extended.syncLed = c.sync;
        in.extended.offset = c.offset;
        EXPECT_EQ(CodeForMenuFunction(c.id, in), c.text) << c.what;
    }
    // "KB Switch Loop" has no extended form.
    MenuCodeInputs in = distinctInputs();
    in.editingComboSlot = true;
    EXPECT_EQ(CodeForMenuFunction(2303, in), "07000000");
}

TEST(CodeForMenuFunction, SettingsOutsideTheirFieldsStayInTheirBytes) {
    MenuCodeInputs in;
    in.aimLevel = 200;                        // CPI list index 0..11
    in.fireKeys[0] = {256, 70000, true};      // e.g. from an erased image
    in.fireKeys[1] = {0, -5, false};
    in.editingComboSlot = true;
    in.extended.colourChoice = {-1, 11, 0};   // no selection / out of range
    EXPECT_EQ(CodeForMenuFunction(1000, in), "050B0000");
    EXPECT_EQ(CodeForMenuFunction(2100, in), "069FFFFF");
    EXPECT_EQ(CodeForMenuFunction(2101, in), "06100000");
    EXPECT_EQ(CodeForMenuFunction(2300, in), "07800000");
    EXPECT_EQ(CodeForMenuFunction(2301, in), "07810000");
}

TEST(ComboEnableItems, ItemsAreZeroAndTheEightSingleBits) {
    const std::uint8_t bytes[] = {0x00, 0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80};
    for (int item = 0; item < 9; ++item) {
        EXPECT_EQ(nivra::comboEnableByteOfItem(item), bytes[item]) << item;
        EXPECT_EQ(nivra::comboEnableItemOfByte(bytes[item]), item) << item;
    }
    EXPECT_EQ(nivra::comboEnableByteOfItem(-1), 0x00);  // no selection
    EXPECT_EQ(nivra::comboEnableByteOfItem(9), 0x00);
    EXPECT_EQ(nivra::comboEnableItemOfByte(0x03), -1);
    EXPECT_EQ(nivra::comboEnableItemOfByte(0xFF), -1);
}

TEST(CodeForMenuFunction, EveryEntryIsNamedByItsOwnName) {
    MenuCodeInputs in = distinctInputs();
    nivra::NameInputs names;
    names.fireKeys = in.fireKeys;
    for (bool slot : {false, true}) {
        in.editingComboSlot = slot;
        for (const nivra::MenuFunction& f : nivra::menuFunctions()) {
            const std::string text = CodeForMenuFunction(f.id, in);
            EXPECT_EQ(nivra::NameOfCode(text, names).id, f.nameId) << f.control << " " << text;
        }
    }
}

}  // namespace
