// The button model: menu leaves to codes, the keep-a-left-key rule, macro binding, the
// combination dialog's gate and result, and the exact reports of an assignment.
#include "settings/button_model.h"

#include "image/image.h"
#include "tests/buttons/fixture.h"

#include <gtest/gtest.h>

namespace nivra::testing {
namespace {

struct ButtonRig : EditorRig {
    ButtonRig() : buttons(editor) {}
    ButtonModel buttons;
};

TEST(ButtonModel, DpiUpOnGameModeButton3StoresCommitsAndReselectsTheProfile) {
    ButtonRig rig;
    rig.buttons.setProfileShown(2);
    rig.buttons.selectLabel(3);
    rig.mark();
    ASSERT_EQ(rig.buttons.KeyStatusOnClick(2001), AssignResult::Done);

    EXPECT_EQ(rig.work(2, 3), "09010000");
    EXPECT_EQ(buttonCodeOffset(2, 3), 249u);
    const std::vector<std::string> lines = rig.lines();
    ASSERT_EQ(lines.size(), 1u + 21u + 1u + 4u + 2u);
    EXPECT_EQ(lines[0], "SET 40 07 00 C0 00 93 00 00");  // block write 147 bytes at 192
    EXPECT_EQ(countPrefix(lines, "SET 41 "), 21u);
    EXPECT_EQ(lines[22], "SET 40 06 00 A4 00 1C 00 00");  // user section read back
    EXPECT_EQ(countPrefix({lines.begin() + 23, lines.begin() + 27}, "GET 41 "), 4u);
    EXPECT_EQ(lines[27], "SET 40 05 00 A4 0F 00 00 01");  // 0x0F, then the profile byte read back
    char expected[40];
    std::snprintf(expected, sizeof expected, "SET 40 05 00 A4 %02X 00 00 01", rig.state.work.bytes[164]);
    EXPECT_EQ(lines[28], expected);

    // The mouse holds the three profile sections with fresh check bytes.
    const Image m = rig.mouse.memory();
    EXPECT_EQ(rig.inMouse(2, 3), "09010000");
    for (int p = 1; p <= 3; ++p) {
        const Region r = WorkingCopy::profileRegion(p);
        std::span<const std::uint8_t> section(m.data() + r.offset, r.length);
        EXPECT_EQ(section.back(), sectionCheckByte(section)) << "profile " << p;
    }
    EXPECT_EQ(rig.buttons.name(2, 3).id, "Str222");
}

TEST(ButtonModel, AnAimKeyTakesTheAimLevelOfItsOwnProfile) {
    // Profile 1 (shown) has an AIM key at level 3, profile 2 one at level 7.
    ButtonRig rig;
    rig.put(1, 9, "05030000");
    rig.put(2, 9, "05070000");
    ASSERT_EQ(rig.buttons.profileShown(), 1);
    ASSERT_EQ(rig.buttons.assignMenuFunction({2, 10}, 1000), AssignResult::Done);
    EXPECT_EQ(rig.work(2, 10), "05070000");
    ASSERT_EQ(rig.buttons.assignMenuFunction({1, 10}, 1000), AssignResult::Done);
    EXPECT_EQ(rig.work(1, 10), "05030000");
}

// Keep-a-left-key: a table of (profile, start codes, button, menu id) -> outcome.
TEST(ButtonModel, KeepALeftKeyOnlyInProfileOne) {
    struct Case {
        const char* what;
        int profile;
        int leftKeys;  // buttons 1..n are Left Key, the rest Right Key
        int key;
        int menuId;
        AssignResult result;
    };
    const Case cases[] = {
        {"last left key of profile 1 to Right Key", 1, 1, 1, 901, AssignResult::RefusedKeepLeft},
        {"last left key of profile 1 to Key Off", 1, 1, 1, 1007, AssignResult::RefusedKeepLeft},
        {"one of two left keys of profile 1", 1, 2, 1, 901, AssignResult::Done},
        {"another button of profile 1", 1, 1, 5, 901, AssignResult::Done},
        {"last left key of profile 2", 2, 1, 1, 901, AssignResult::Done},
        {"last left key of profile 3", 3, 1, 1, 1007, AssignResult::Done},
    };
    for (const Case& c : cases) {
        ButtonRig rig;
        for (int k = 1; k <= 12; ++k) rig.put(c.profile, k, k <= c.leftKeys ? "01010000" : "01020000");
        rig.buttons.setProfileShown(c.profile);
        rig.buttons.selectLabel(c.key);
        rig.mark();
        EXPECT_EQ(rig.buttons.KeyStatusOnClick(c.menuId), c.result) << c.what;
        if (c.result == AssignResult::RefusedKeepLeft) {
            EXPECT_EQ(rig.work(c.profile, c.key), "01010000") << c.what;
            EXPECT_TRUE(rig.lines().empty()) << c.what;
            EXPECT_EQ(messageIdOf(c.result), "Str108");
        }
    }
}

TEST(ButtonModel, LeftKeyMovedFirstThenTheOldOneMayChange) {
    ButtonRig rig;
    for (int k = 1; k <= 12; ++k) rig.put(1, k, k == 1 ? "01010000" : "01020000");
    EXPECT_EQ(rig.buttons.assignMenuFunction({1, 1}, 901), AssignResult::RefusedKeepLeft);
    EXPECT_EQ(rig.buttons.assignMenuFunction({1, 2}, 900), AssignResult::Done);
    EXPECT_EQ(rig.buttons.assignMenuFunction({1, 1}, 901), AssignResult::Done);
    EXPECT_EQ(rig.inMouse(1, 1), "01020000");
    EXPECT_EQ(rig.inMouse(1, 2), "01010000");
}

TEST(ButtonModel, CombinationDialogOpensExceptOnProfileOnesOnlyLeftKey) {
    ButtonRig rig;
    for (int p = 1; p <= 3; ++p)
        for (int k = 1; k <= 12; ++k) rig.put(p, k, k == 1 ? "01010000" : "00000000");
    EXPECT_FALSE(rig.buttons.assemblyOpensFor({1, 1}));
    EXPECT_TRUE(rig.buttons.assemblyOpensFor({1, 2}));
    EXPECT_TRUE(rig.buttons.assemblyOpensFor({2, 1}));
    EXPECT_TRUE(rig.buttons.assemblyOpensFor({3, 1}));
    EXPECT_TRUE(rig.buttons.assemblyOpensFor(ButtonRef::slot(3)));
    // The dialog's result is stored without the rule (profile 2's only Left Key may go).
    rig.buttons.setProfileShown(2);
    rig.buttons.selectLabel(1);
    EXPECT_EQ(rig.buttons.ApplyAssemblyKey(ButtonCode{{0x02, 0x01, 0x04, 0x00}}), AssignResult::Done);
    EXPECT_EQ(rig.inMouse(2, 1), "02010400");
}

TEST(ButtonModel, ComboSlotGetsTheFourByteLiveWriteAndTheExtendedProfileForm) {
    ButtonRig rig;
    rig.buttons.selectEngineer(ButtonRef::slot(3));
    rig.mark();
    ASSERT_EQ(rig.buttons.KeyStatusOnClick(2300), AssignResult::Done);
    // Office Mode on a slot: the extended form with the default offset 0x20.
    EXPECT_EQ(rig.slot(3).substr(0, 4), "0780");
    EXPECT_NE(rig.slot(3), "07800000");
    const std::vector<std::string> lines = rig.lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "SET 40 05 01 87 07 80 00 20");  // four bytes at 135
    EXPECT_EQ(rig.slotInMouse(3), rig.slot(3));
    EXPECT_EQ(countPrefix(lines, "SET 40 07 00 C0 00 93"), 1u);  // then the profiles commit

    // A profile button gets the plain form.
    EXPECT_EQ(rig.buttons.assignMenuFunction({2, 4}, 2300), AssignResult::Done);
    EXPECT_EQ(rig.work(2, 4), "07800000");
}

TEST(ButtonModel, DeviceMacroBinding) {
    ButtonRig rig;
    for (int k = 1; k <= 12; ++k) rig.put(1, k, k == 1 ? "01010000" : "00000000");
    putMacroArea(rig.state.work, {{"Alpha", {0x00}}, {"Beta", {0x00}}});
    ASSERT_EQ(rig.buttons.deviceMacros().size(), 2u);
    // The only Left Key: nothing happens, without a message.
    EXPECT_EQ(rig.buttons.bindDeviceMacro({1, 1}, 1), AssignResult::Ignored);
    EXPECT_EQ(rig.work(1, 1), "01010000");
    EXPECT_EQ(rig.buttons.bindDeviceMacro({1, 2}, 1), AssignResult::Done);
    EXPECT_EQ(rig.inMouse(1, 2), "10021100");
    EXPECT_EQ(rig.buttons.name(1, 2).text, "Beta");
    EXPECT_EQ(rig.buttons.bindDeviceMacro({1, 3}, 2), AssignResult::Ignored);  // no third macro
}

TEST(ButtonModel, NothingChangesWhileBusy) {
    ButtonRig rig;
    rig.transfer->setBusy(true);
    rig.mark();
    EXPECT_EQ(rig.buttons.assignMenuFunction({2, 3}, 2001), AssignResult::Busy);
    rig.transfer->setBusy(false);
    EXPECT_TRUE(rig.lines().empty());
    EXPECT_NE(rig.work(2, 3), "09010000");
}

TEST(ButtonModel, FireMacroKeyNeedsI2c) {
    ButtonRig rig;
    rig.state.deviceMemory = MemoryType::Flash;
    rig.mark();
    EXPECT_EQ(rig.buttons.assignMenuFunction({2, 3}, 1005), AssignResult::NoCode);
    EXPECT_TRUE(rig.lines().empty());
}

}  // namespace
}  // namespace nivra::testing

namespace nivra::testing {
namespace {

TEST(ButtonModel, GunKeyListEntriesGoToEngineerProfileButtonsOnly) {
    ButtonRig rig;
    std::array<ButtonCode, 10> list{};
    list[0] = ButtonCode{{0x0B, 0x00, 0x01, 0x00}};
    list[3] = ButtonCode{{0x0B, 0x03, 0x02, 0x00}};  // the second non-empty entry
    rig.buttons.setGunKeyList(list);
    rig.buttons.selectEngineer({3, 7});
    EXPECT_EQ(rig.buttons.LB_ScriptClick(1), AssignResult::Done);
    EXPECT_EQ(rig.inMouse(3, 7), "0B030200");
    EXPECT_EQ(rig.buttons.name(3, 7).text, "Fire Macro4");
    EXPECT_EQ(rig.buttons.LB_ScriptClick(2), AssignResult::Ignored);  // no third entry
    rig.buttons.selectEngineer(ButtonRef::slot(2));
    EXPECT_EQ(rig.buttons.LB_ScriptClick(0), AssignResult::Ignored);
}

}  // namespace
}  // namespace nivra::testing
