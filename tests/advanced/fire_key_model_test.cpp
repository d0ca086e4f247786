// The fire keys: the user page's input rules, the rewrite of every matching button in all
// profiles, the profile and fire-key block writes, and Continue from the buttons.
#include "tests/advanced/advanced_rig.h"

namespace nivra {
namespace {

using namespace nivra::testing;

std::size_t button(int profile, int key) { return buttonCodeOffset(profile, key); }

std::vector<std::uint8_t> codeAt(const Image& img, std::size_t at) { return {img.begin() + at, img.begin() + at + 4}; }

// Fire keys 2/60, 4/120 and 8/200; Fire Key 2 on button 3 of Office Mode, button 5 of Game
// Mode (Continue on) and button 7 of Third Mode; Fire Key 1 on button 4 of Office Mode.
Image fireImage() {
    return imageWith({{486, 0x01}, {487, 0x00}, {488, 0x3C}, {489, 0x03}, {490, 0x00}, {491, 0x78},
                      {492, 0x07}, {493, 0x00}, {494, 0xC8},
                      {button(1, 3), 0x06}, {button(1, 3) + 1, 0x13}, {button(1, 3) + 2, 0x00}, {button(1, 3) + 3, 0x78},
                      {button(2, 5), 0x06}, {button(2, 5) + 1, 0x93}, {button(2, 5) + 2, 0x00}, {button(2, 5) + 3, 0x78},
                      {button(3, 7), 0x06}, {button(3, 7) + 1, 0x13}, {button(3, 7) + 2, 0x00}, {button(3, 7) + 3, 0x78},
                      {button(1, 4), 0x06}, {button(1, 4) + 1, 0x11}, {button(1, 4) + 2, 0x00}, {button(1, 4) + 3, 0x3C},
                      {button(2, 3), 0x00}, {button(2, 3) + 1, 0x00}, {button(2, 3) + 2, 0x00}, {button(2, 3) + 3, 0x00}});
}

TEST(FireKeys, ChangingFireKey2RewritesEveryFireKey2ButtonInAllProfiles) {
    AdvancedRig r(fireImage());
    ASSERT_EQ(r.fire.count(2), 4);
    ASSERT_FALSE(r.fire.continueOn(2));  // Office Mode is shown; its Fire Key 2 button has it off
    // Interval and count changes keep each rewritten button's own Continue: Game Mode's
    // button 5 keeps it on although the profile shown has it off.
    r.fire.setUserDelay(2, "80");
    Image m = r.mouse();
    EXPECT_EQ(codeAt(m, button(2, 5)), (std::vector<std::uint8_t>{0x06, 0x93, 0x00, 0x50}));
    EXPECT_EQ(codeAt(m, button(1, 3)), (std::vector<std::uint8_t>{0x06, 0x13, 0x00, 0x50}));
    r.fire.setUserRepeat(2, "5");
    r.fire.setEngineerCount(2, 4);   // the engineer tab's count: 5 clicks again
    const std::vector<std::uint8_t> off{0x06, 0x14, 0x00, 0x50}, on{0x06, 0x94, 0x00, 0x50};
    m = r.mouse();
    for (std::size_t at : {button(1, 3), button(3, 7)}) EXPECT_EQ(codeAt(m, at), off) << at;
    EXPECT_EQ(codeAt(m, button(2, 5)), on);
    EXPECT_EQ(codeAt(m, button(1, 4)), (std::vector<std::uint8_t>{0x06, 0x11, 0x00, 0x3C}));  // Fire Key 1 stays
    EXPECT_EQ(codeAt(m, 489), (std::vector<std::uint8_t>{0x04, 0x00, 0x50, 0x07}));

    // Continue chosen on: every button of the key takes it; the profiles, then the block,
    // then re-selection.
    r.rig.mark();
    r.fire.toggleUserContinue(2);
    m = r.mouse();
    for (std::size_t at : {button(1, 3), button(2, 5), button(3, 7)}) EXPECT_EQ(codeAt(m, at), on) << at;
    const auto lines = r.rig.lines();
    const auto profiles = std::find(lines.begin(), lines.end(), setLine(protocol::blockCommand(protocol::Command::BlockWrite, 192, 147)));
    const auto block = std::find(lines.begin(), lines.end(), setLine(protocol::blockCommand(protocol::Command::BlockWrite, 484, 12)));
    ASSERT_NE(profiles, lines.end());
    ASSERT_NE(block, lines.end());
    EXPECT_EQ(countPrefix({profiles + 1, block}, "SET 41 "), 21u);  // 147 bytes, 7 a report
    EXPECT_EQ(lines.end()[-2], setBytesLine(164, {0x0F}));
    EXPECT_EQ(lines.back(), setBytesLine(164, {m[164]}));
    EXPECT_TRUE(r.fire.continueOn(2));
}

TEST(FireKeys, UserPageInputRules) {
    struct Case {
        const char* typed;
        bool repeat;        // Edt_Repeat, else Edt_DelayTime
        const char* shown;  // while typing
        const char* left;   // after leaving the edit
    };
    const Case cases[] = {
        {"", true, "2", "2"},          {"0", true, "2", "2"},        {"1", true, "1", "2"},
        {"16", true, "15", "15"},      {"9", true, "9", "9"},        {"", false, "1", "1"},
        {"0", false, "1", "1"},        {"4095", false, "4094", "4094"}, {"80", false, "80", "80"},
    };
    AdvancedRig r(fireImage());
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.repeat ? "repeat " : "delay ") + c.typed);
        if (c.repeat) {
            r.fire.setUserRepeat(1, c.typed);
            EXPECT_EQ(r.fire.repeatText(1).toStdString(), c.shown);
            r.fire.leaveUserRepeat(1);
            EXPECT_EQ(r.fire.repeatText(1).toStdString(), c.left);
            EXPECT_EQ(r.fire.count(1), std::stoi(c.left));
            EXPECT_EQ(r.mouse()[486], std::stoi(c.left) - 1);
        } else {
            r.fire.setUserDelay(1, c.typed);
            EXPECT_EQ(r.fire.delayText(1).toStdString(), c.shown);
            EXPECT_EQ(r.fire.interval(1), std::stoi(c.shown));
        }
    }
    // The Office Mode button of Fire Key 1 followed every step.
    EXPECT_EQ(codeAt(r.mouse(), button(1, 4)), (std::vector<std::uint8_t>{0x06, 0x18, 0x00, 0x50}));
}

TEST(FireKeys, EngineerChangesShowOnTheUserPage) {
    AdvancedRig r(fireImage());
    r.fire.setEngineerCount(3, 0);  // 1 click: the engineer list offers it
    r.fire.setEngineerInterval(3, "5000");
    EXPECT_EQ(r.fire.repeatText(3), "1");
    EXPECT_EQ(r.fire.delayText(3), "4094");
    EXPECT_EQ(codeAt(r.mouse(), 492), (std::vector<std::uint8_t>{0x00, 0x0F, 0xFE, 0xE0}));
}

TEST(FireKeys, ContinueFollowsTheProfileShown) {
    AdvancedRig r(fireImage());
    EXPECT_FALSE(r.fire.continueOn(2));
    r.editor.setField(field::kCurrentMode, 1);  // Game Mode: its Fire Key 2 button has Continue on
    EXPECT_TRUE(r.fire.continueOn(2));
    r.fire.TLRefreshFireKey();  // over all profiles, Third Mode's button (off) is found last
    EXPECT_FALSE(r.fire.continueOn(2));
    EXPECT_FALSE(r.fire.continueOn(3));  // no button uses it
}

TEST(FireKeys, NothingIsSentWhileBusy) {
    AdvancedRig r(fireImage());
    r.rig.transfer->setBusy(true);
    r.fire.setUserRepeat(2, "9");
    r.fire.toggleUserContinue(1);
    r.rig.transfer->setBusy(false);
    EXPECT_TRUE(r.rig.lines().empty());
    EXPECT_EQ(r.fire.count(2), 4);
}

}  // namespace
}  // namespace nivra
