// Buttons bound to device macros follow their macro by name when the macro area is packed.
#include "settings/macro_key_binding.h"

#include "tests/buttons/fixture.h"

#include <gtest/gtest.h>

namespace nivra::testing {
namespace {

const std::vector<std::uint8_t> kBody{0x00};  // an empty macro: its end marker alone

macro::DeviceMacros parsed(const WorkingCopy& work) {
    macro::DeviceMacros m;
    m.ReadAndRefreshMacro3740(work.deviceMacros());
    return m;
}

TEST(MacroKeyBinding, DeletedMacroGivesKeyOffAndLaterMacrosMoveWithTheirButtons) {
    EditorRig rig;
    rig.clearButtons();
    rig.put(1, 1, "01010000");
    // Alpha body at 0x0200, Beta at 0x0211, Gamma at 0x0222.
    putMacroArea(rig.state.work, {{"Alpha", kBody}, {"Beta", kBody}, {"Gamma", kBody}});
    rig.put(1, 4, "10020000");  // Alpha
    rig.put(1, 3, "10021100");  // Beta
    rig.put(2, 5, "10021100");  // Beta
    rig.put(3, 2, "10022200");  // Gamma on profile 3
    rig.putSlot(4, "10022200");  // and on combo key slot 4
    rig.put(2, 6, "10021200");  // no macro body starts there: not a binding
    rig.put(2, 7, "1006A0FF");  // the fire macro key is no device macro binding
    rig.put(2, 3, "02000400");  // the key A, named like the macro added below: not a binding
    macro::DeviceMacros macros = parsed(rig.state.work);

    const std::vector<macro::KeyBinding> bound = InitKeysParameters(rig.editor, macros);
    ASSERT_EQ(bound.size(), 5u);
    ASSERT_TRUE(macros.remove(0));  // Alpha deleted: Beta now at 0x0200, Gamma at 0x0211
    rig.mark();
    RefreshKeysParameters(rig.editor, bound, macros);

    EXPECT_EQ(rig.work(1, 4), "00000000");
    EXPECT_EQ(rig.work(1, 3), "10020000");
    EXPECT_EQ(rig.work(2, 5), "10020000");
    EXPECT_EQ(rig.work(3, 2), "10021100");
    EXPECT_EQ(rig.slot(4), "10021100");
    for (const auto& [p, k, code] : std::vector<std::tuple<int, int, std::string>>{
             {2, 6, "10021200"}, {2, 7, "1006A0FF"}, {2, 3, "02000400"}, {1, 1, "01010000"}})
        EXPECT_EQ(rig.work(p, k), code) << p << "/" << k;
    EXPECT_TRUE(rig.lines().empty());  // working copy only: the caller commits
}

TEST(MacroKeyBinding, RefreshMacroAddrPointsEachButtonAtTheFirstMacroOfItsName) {
    EditorRig rig;
    rig.clearButtons();
    // Two records of the same name: a button on the second one moves to the first.
    putMacroArea(rig.state.work, {{"Same", kBody}, {"Same", kBody}, {"Other", kBody}});
    rig.put(1, 2, "10021100");
    rig.put(2, 9, "10022200");
    rig.put(3, 1, "10021100");  // profile 3: untouched
    RefreshMacroAddr(rig.editor, parsed(rig.state.work));
    EXPECT_EQ(rig.work(1, 2), "10020000");
    EXPECT_EQ(rig.work(2, 9), "10022200");
    EXPECT_EQ(rig.work(3, 1), "10021100");
}

}  // namespace
}  // namespace nivra::testing
