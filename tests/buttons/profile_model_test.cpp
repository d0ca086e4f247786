// Profiles and modes: the mode buttons' writes, the switch settings and their slots, the
// toggles, following the mouse, the combination-enable lists and the derivation from an image.
#include "settings/profile_model.h"

#include "image/fields.h"
#include "tests/buttons/fixture.h"

#include <gtest/gtest.h>

namespace nivra::testing {
namespace {

struct ProfileRig : EditorRig {
    ProfileRig() : buttons(editor), profiles(editor, buttons) {
        ProfileLayout l;
        l.comboKeyEnable.fill(true);
        profiles.setLayout(l);
    }
    // Profile 1: Left, Right, Middle, Backward, Forward, DPI Loop/Up/Down; profile 2 the
    // same with an AKM gun key on button 9; profile 3 all Key Off but a Backward button.
    void standardButtons() {
        clearButtons();
        const char* codes[] = {"01010000", "01020000", "01040000", "01080000", "01100000", "09000000", "09010000", "09020000"};
        for (int p = 1; p <= 2; ++p)
            for (int k = 1; k <= 8; ++k) put(p, k, codes[k - 1]);
        put(2, 9, "0B000100");
        put(3, 2, "01080000");
        putSlot(2, "00000000");
        putSlot(4, "00000000");
        // The buttons were written under the model: it derives from them as after a read.
        profiles.deriveFromImage();
    }
    ButtonModel buttons;
    ProfileModel profiles;
};

TEST(ProfileModel, ModeButtonsWriteInOrderThenSetThePageByte) {
    struct Case {
        int profile;
        bool gd;
        int colourItem;
        std::vector<std::string> lines;
        std::uint8_t pageByte;
    };
    const Case cases[] = {
        {1, false, 3,
         {"SET 40 05 00 A7 00 00 00 01", "SET 40 05 00 A8 00 00 00 01", "SET 40 05 00 A9 00 00 00 01",
          "SET 40 05 00 AA 00 00 00 01", "SET 40 05 00 A4 30 00 00 01"},
         0x00},
        {2, false, 10,
         {"SET 40 05 00 A7 00 00 00 01", "SET 40 05 00 A8 0F 00 00 01", "SET 40 05 00 A9 00 00 00 01",
          "SET 40 05 00 AA 20 00 00 01", "SET 40 05 00 A4 F1 00 00 01"},
         0xF1},
        // Game Mode with the gun display: 164 = 0xF1 whatever the colour, 167 = item + 4.
        {2, true, 3,
         {"SET 40 05 00 A7 04 00 00 01", "SET 40 05 00 A8 0F 00 00 01", "SET 40 05 00 A9 00 00 00 01",
          "SET 40 05 00 AA 20 00 00 01", "SET 40 05 00 A4 F1 00 00 01"},
         0xF1},
        {3, false, 1,
         {"SET 40 05 00 A7 00 00 00 01", "SET 40 05 00 A8 00 00 00 01", "SET 40 05 00 A9 00 00 00 01",
          "SET 40 05 00 AA 00 00 00 01", "SET 40 05 00 A4 12 00 00 01"},
         0x02},
    };
    for (const Case& c : cases) {
        ProfileRig rig;
        ProfileLayout l;
        l.gdEnable = c.gd;
        rig.profiles.setLayout(l);
        // The colour item comes from the engineer list; the mode byte it wrote is not in question here.
        rig.profiles.cb_ProfileChange(0, c.colourItem);
        rig.mark();
        ASSERT_TRUE(rig.profiles.showProfile(c.profile));
        EXPECT_EQ(rig.lines(), c.lines) << "profile " << c.profile;
        EXPECT_EQ(rig.state.work.bytes[164], c.pageByte);
        EXPECT_EQ(rig.buttons.profileShown(), c.profile);
        EXPECT_EQ(rig.profiles.profileItem(), c.profile - 1);
    }
}

TEST(ProfileModel, ProfileKeyOnTheMouseSwitchesThePageWithoutWriting) {
    ProfileRig rig;
    rig.profiles.showProfile(3);
    rig.mark();
    rig.profiles.RefreshCurrentProfileStatus(0x31);
    EXPECT_EQ(rig.buttons.profileShown(), 2);
    EXPECT_TRUE(rig.lines().empty());
    rig.profiles.RefreshCurrentProfileStatus(0x07);  // no such profile: ignored
    EXPECT_EQ(rig.buttons.profileShown(), 2);
}

TEST(ProfileModel, SwitchMethods) {
    struct Case {
        SwitchMethod m;
        const char* slot2;
        const char* slot4;
        std::vector<std::string> profile1;  // buttons 3..8: Middle, Backward, Forward, Loop, Up, Down
    };
    const Case cases[] = {
        {SwitchMethod::None, "00000000", "00000000", {"01040000", "01080000", "01100000", "09000000", "09010000", "09020000"}},
        {SwitchMethod::Middle, "00000000", "07D1F020", {"01040008", "01080000", "01100000", "09000000", "09010000", "09020000"}},
        {SwitchMethod::CpiLoop, "00000000", "07D1F020", {"01040000", "01080000", "01100000", "09000008", "09010000", "09020000"}},
        {SwitchMethod::CpiUp, "00000000", "07D1F020", {"01040000", "01080000", "01100000", "09000000", "09010008", "09020000"}},
        {SwitchMethod::CpiDown, "00000000", "07D1F020", {"01040000", "01080000", "01100000", "09000000", "09010000", "09020008"}},
        {SwitchMethod::BackRight, "07D1F020", "00000000", {"01040000", "01080002", "01100000", "09000000", "09010000", "09020000"}},
        {SwitchMethod::ForwardRight, "07D1F020", "00000000", {"01040000", "01080000", "01100002", "09000000", "09010000", "09020000"}},
    };
    for (const Case& c : cases) {
        ProfileRig rig;
        rig.standardButtons();
        rig.mark();
        ASSERT_TRUE(rig.profiles.setSwitchMethod(c.m));
        const int m = static_cast<int>(c.m);
        EXPECT_EQ(rig.slot(2), c.slot2) << m;
        EXPECT_EQ(rig.slot(4), c.slot4) << m;
        for (int k = 3; k <= 8; ++k) {
            EXPECT_EQ(rig.work(1, k), c.profile1[static_cast<std::size_t>(k - 3)]) << m << " key " << k;
            EXPECT_EQ(rig.work(2, k), c.profile1[static_cast<std::size_t>(k - 3)]) << m << " key " << k;
        }
        // The vendor section went whole (55 reports), then the profiles were committed.
        const auto lines = rig.lines();
        EXPECT_EQ(countPrefix(lines, "SET 40 05 00"), 55u + 2u) << m;
        EXPECT_EQ(countPrefix(lines, "SET 40 07 00 C0 00 93"), 1u) << m;
        EXPECT_EQ(rig.slotInMouse(2), c.slot2) << m;
        EXPECT_EQ(rig.slotInMouse(4), c.slot4) << m;
        // Reading the image back derives the same method.
        rig.profiles.deriveFromImage();
        EXPECT_EQ(rig.profiles.switchMethod(), c.m);
    }
}

TEST(ProfileModel, MethodOneToFiveMovesTheByteAndTheSlot) {
    ProfileRig rig;
    rig.standardButtons();
    rig.profiles.setSwitchMethod(SwitchMethod::Middle);
    rig.profiles.setSwitchMethod(SwitchMethod::BackRight);
    EXPECT_EQ(rig.work(1, 3), "01040000");
    EXPECT_EQ(rig.work(1, 4), "01080002");
    EXPECT_EQ(rig.work(3, 2), "01080002");
    EXPECT_EQ(rig.slot(4), "00000000");
    EXPECT_EQ(rig.slot(2), "07D1F020");
}

TEST(ProfileModel, LedChordAndTwoButtonMethodsShareSlotTwo) {
    ProfileRig rig;
    rig.standardButtons();
    rig.profiles.setSwitchMethod(SwitchMethod::ForwardRight);
    // The chord on while method 6 holds slot 2: the method becomes "No", its buttons too.
    ASSERT_TRUE(rig.profiles.setLedChord(true));
    EXPECT_EQ(rig.profiles.switchMethod(), SwitchMethod::None);
    EXPECT_EQ(rig.slot(2), "0E000000");
    EXPECT_EQ(rig.work(1, 4), "01080002");
    EXPECT_EQ(rig.work(1, 5), "01100000");
    EXPECT_FALSE(rig.profiles.toggleLit(7));
    EXPECT_TRUE(rig.profiles.toggleLit(1));
    // A long-press method keeps the chord (slot 2 and the Backward byte stay).
    rig.profiles.setSwitchMethod(SwitchMethod::Middle);
    EXPECT_TRUE(rig.profiles.ledChord());
    EXPECT_EQ(rig.slot(2), "0E000000");
    EXPECT_EQ(rig.work(1, 4), "01080002");
    EXPECT_EQ(rig.slot(4), "07D1F020");
    // Method 5 turns the chord off.
    rig.profiles.setSwitchMethod(SwitchMethod::BackRight);
    EXPECT_FALSE(rig.profiles.ledChord());
    EXPECT_EQ(rig.slot(2), "07D1F020");
    // "Off" while the chord is off changes nothing: method 5 keeps slot 2 and its Backward byte.
    rig.mark();
    EXPECT_TRUE(rig.profiles.setLedChord(false));
    EXPECT_EQ(rig.slot(2), "07D1F020");
    EXPECT_EQ(rig.work(1, 4), "01080002");
    EXPECT_EQ(rig.profiles.switchMethod(), SwitchMethod::BackRight);
    EXPECT_TRUE(rig.lines().empty());
    // The chord is read back from the image: a Backward button with 0x02 and slot 2 LED Mode.
    rig.profiles.setLedChord(true);
    rig.profiles.deriveFromImage();
    EXPECT_TRUE(rig.profiles.ledChord());
}

TEST(ProfileModel, GunSwitchCarriesTheMethodByte) {
    ProfileRig rig;
    rig.standardButtons();
    rig.put(1, 10, "0B010100");  // M16A4 in profile 1
    rig.profiles.setSwitchMethod(SwitchMethod::Middle);
    EXPECT_EQ(rig.work(2, 9), "0B000100");
    rig.profiles.setGunSwitch(true);
    EXPECT_EQ(rig.work(2, 9), "0B000108");
    EXPECT_EQ(rig.work(1, 10), "0B010108");
    rig.profiles.deriveFromImage();
    EXPECT_TRUE(rig.profiles.gunSwitch());
    EXPECT_EQ(rig.profiles.gunComboByte(), 0x08);
    // The fire-key guard ignores the box.
    EXPECT_FALSE(rig.profiles.setGunSwitch(false, true));
    EXPECT_EQ(rig.work(2, 9), "0B000108");
    rig.profiles.setGunSwitch(false);
    EXPECT_EQ(rig.work(1, 10), "0B010100");
}

TEST(ProfileModel, Toggles) {
    ProfileRig rig;
    rig.standardButtons();
    rig.profiles.showProfile(3);  // profile 3 has a Backward button only
    rig.mark();
    EXPECT_FALSE(rig.profiles.IB_ComboKeyClick(2));  // no Middle Key here
    EXPECT_FALSE(rig.profiles.IB_ComboKeyClick(4));
    EXPECT_FALSE(rig.profiles.IB_ComboKeyClick(8));  // not Game Mode
    EXPECT_TRUE(rig.lines().empty());
    EXPECT_TRUE(rig.profiles.IB_ComboKeyClick(6));   // Backward + Right
    EXPECT_EQ(rig.profiles.switchMethod(), SwitchMethod::BackRight);

    rig.profiles.showProfile(1);
    EXPECT_TRUE(rig.profiles.IB_ComboKeyClick(2));
    EXPECT_EQ(rig.profiles.switchMethod(), SwitchMethod::Middle);
    EXPECT_TRUE(rig.profiles.toggleLit(2));
    EXPECT_FALSE(rig.profiles.toggleLit(6));
    EXPECT_TRUE(rig.profiles.IB_ComboKeyClick(2));  // the lit toggle again: "No"
    EXPECT_EQ(rig.profiles.switchMethod(), SwitchMethod::None);
    EXPECT_EQ(rig.slot(4), "00000000");

    // Toggle 8: Game Mode only, profile 2's gun buttons only.
    rig.put(1, 10, "0B010100");
    rig.profiles.showProfile(2);
    rig.profiles.setSwitchMethod(SwitchMethod::CpiUp);
    EXPECT_TRUE(rig.profiles.IB_ComboKeyClick(8));
    EXPECT_TRUE(rig.profiles.gunSwitch());
    EXPECT_EQ(rig.work(2, 9), "0B000108");
    EXPECT_EQ(rig.work(1, 10), "0B010100");
}

TEST(ProfileModel, ToggleEightShownOnlyInGameModeWithTheGunDisplay) {
    ProfileRig rig;
    ProfileLayout l;
    l.comboKeyEnable.fill(true);
    rig.profiles.setLayout(l);
    rig.profiles.showProfile(2);
    EXPECT_FALSE(rig.profiles.toggleShown(8));
    l.gdEnable = true;
    rig.profiles.setLayout(l);
    EXPECT_TRUE(rig.profiles.toggleShown(8));
    rig.profiles.showProfile(1);
    EXPECT_FALSE(rig.profiles.toggleShown(8));
    EXPECT_TRUE(rig.profiles.toggleShown(1));
    l.comboKeyEnable[0] = false;
    rig.profiles.setLayout(l);
    EXPECT_FALSE(rig.profiles.toggleShown(1));
}

TEST(ProfileModel, CombinationEnableListsRewriteWholeKinds) {
    ProfileRig rig;
    rig.standardButtons();
    rig.mark();
    ASSERT_TRUE(rig.profiles.TLRefreshComboEn(ComboList::Mid, 3));  // "0x04"
    ASSERT_TRUE(rig.profiles.TLRefreshComboEn(ComboList::Gun, 8));   // "0x80"
    EXPECT_EQ(rig.work(1, 3), "01040004");
    EXPECT_EQ(rig.work(2, 3), "01040004");
    EXPECT_EQ(rig.work(2, 9), "0B000180");
    EXPECT_EQ(rig.profiles.comboEnableItem(ComboList::Mid), 3);
    EXPECT_EQ(countPrefix(rig.lines(), "SET 40 07 00 C0 00 93"), 2u);
    EXPECT_EQ(countPrefix(rig.lines(), "SET 40 05 01"), 0u);  // slots untouched
    // A Middle Key chosen from the menu now takes the list's byte.
    EXPECT_EQ(rig.buttons.assignMenuFunction({3, 5}, 902), AssignResult::Done);
    EXPECT_EQ(rig.work(3, 5), "01040004");
}

TEST(ProfileModel, ExtendedProfileKeys) {
    ProfileRig rig;
    rig.standardButtons();
    rig.put(1, 11, "07810000");  // Game Mode key in profile 1
    rig.put(2, 11, "07800000");  // Office Mode key in profile 2
    rig.profiles.setProfileColour(2, 10);
    EXPECT_EQ(rig.work(1, 11), "0781F020");  // its own profile's keys only
    EXPECT_EQ(rig.work(2, 11), "07800000");
    rig.profiles.setProfileKeyFlags(true, false, true);
    EXPECT_EQ(rig.work(1, 11), "07D1F020");
    EXPECT_EQ(rig.work(2, 11), "07D00020");
    rig.profiles.setOffset(0x1234);  // held to 0xFFF
    EXPECT_EQ(rig.work(1, 11), "07D1FFFF");
    EXPECT_EQ(rig.work(2, 11), "07D00FFF");
    EXPECT_EQ(rig.inMouse(1, 11), "07D1FFFF");
}

TEST(ProfileModel, UserSectionBitsAndButtonEffect) {
    ProfileRig rig;
    rig.mark();
    rig.profiles.cb_KeepProfileInfoChange(true);
    rig.profiles.cb_BtnEFTChange(1);
    EXPECT_TRUE(rig.profiles.keepProfileInfo());
    const auto lines = rig.lines();
    ASSERT_EQ(lines.size(), 2u);
    char expected[40];
    std::snprintf(expected, sizeof expected, "SET 40 05 00 08 %02X 00 00 01", rig.state.work.bytes[8]);
    EXPECT_EQ(lines[0], expected);
    EXPECT_EQ(rig.state.work.bytes[8] & 0x02, 0x02);
    EXPECT_EQ(lines[1], "SET 40 05 00 A7 01 00 00 01");
}

}  // namespace
}  // namespace nivra::testing
