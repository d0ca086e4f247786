// Buttons bound to device macros follow their macro by name when the macro area is packed.
#include "settings/macro_key_names.h"

#include "tests/buttons/fixture.h"

#include <gtest/gtest.h>

namespace nivra::testing {
namespace {

const std::vector<std::uint8_t> kBody{0x00};  // an empty macro: its end marker alone

TEST(MacroKeyBinding, DeletedMacroGivesKeyOffAndLaterMacrosMoveWithTheirButtons) {
    EditorRig rig;
    rig.clearButtons();
    rig.put(1, 1, "01010000");
    // Alpha body at 0x0200, Beta at 0x0211, Gamma at 0x0222.
    putMacroArea(rig.state.work, {{"Alpha", kBody}, {"Beta", kBody}, {"Gamma", kBody}});
    rig.put(1, 4, "10020000");  // Alpha
    rig.put(1, 3, "10021100");  // Beta
    rig.put(2, 5, "10021100");  // Beta
    rig.put(3, 2, "10022200");  // Gamma (profile 3 follows its macro too)
    rig.put(2, 6, "10021200");  // no macro body there: not a binding
    rig.put(2, 7, "1006A0FF");  // the fire macro key is no base-macro binding

    const NotedMacroKeys noted = InitKeysParameters(rig.state.work, MemoryType::I2C);
    EXPECT_EQ(noted.names[0][3], "Alpha");
    EXPECT_EQ(noted.names[1][4], "Beta");
    EXPECT_FALSE(noted.names[1][5]);
    EXPECT_FALSE(noted.names[1][6]);

    putMacroArea(rig.state.work, {{"Beta", kBody}, {"Gamma", kBody}});  // Alpha deleted
    rig.mark();
    ASSERT_TRUE(RefreshKeysParameters(rig.editor, noted, MemoryType::I2C));

    EXPECT_EQ(rig.work(1, 4), "00000000");
    EXPECT_EQ(rig.work(1, 3), "10020000");
    EXPECT_EQ(rig.work(2, 5), "10020000");
    EXPECT_EQ(rig.work(3, 2), "10021100");
    EXPECT_EQ(rig.work(2, 6), "10021200");
    EXPECT_EQ(rig.work(2, 7), "1006A0FF");
    // Committed: the mouse holds the new codes.
    EXPECT_EQ(rig.inMouse(1, 3), "10020000");
    EXPECT_EQ(rig.inMouse(3, 2), "10021100");
    EXPECT_EQ(countPrefix(rig.lines(), "SET 40 07 00 C0 00 93"), 1u);  // the 147-byte block at 192
}

TEST(MacroKeyBinding, AKeyboardKeyNamedLikeAMacroIsNotABinding) {
    EditorRig rig;
    putMacroArea(rig.state.work, {{"A", kBody}});
    rig.put(2, 3, "02000400");  // the key A
    const NotedMacroKeys noted = InitKeysParameters(rig.state.work, MemoryType::I2C);
    EXPECT_FALSE(noted.any());
    rig.mark();
    EXPECT_TRUE(RefreshKeysParameters(rig.editor, noted, MemoryType::I2C));
    EXPECT_TRUE(rig.lines().empty());  // nothing noted, nothing sent
    EXPECT_EQ(rig.work(2, 3), "02000400");
}

}  // namespace
}  // namespace nivra::testing
