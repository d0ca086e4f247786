// The CPI model against the simulated mouse: level clicks, values, the level in effect,
// colours, the AIM level, the report rate with its restart, the option fields and the
// refresh after a CPI key event; checked on the working copy, the mouse and the report trace.
#include "tests/advanced/advanced_rig.h"

#include "device/notification_thread.h"

#include <QSignalSpy>

namespace nivra {
namespace {

using namespace nivra::testing;
using std::chrono::milliseconds;

// Built-in image 1 has four levels (byte 43 = 3), level 2 in effect (166 = 1), 1000 Hz.
TEST(CpiLevels, LabelClicksEnableTheNextLevelOrDisableTheLastOnly) {
    struct Step {
        int click;
        int count;    // levels enabled afterwards
        int current;  // level marked in effect afterwards
        std::vector<std::string> trace;
    };
    const std::vector<Step> steps{
        {6, 4, 2, {}},                                                             // predecessor disabled
        {5, 5, 5, {setBytesLine(43, {4}), setBytesLine(166, {4})}},                // enables, marks 5
        {4, 5, 5, {}},                                                             // level 5 follows it
        {1, 5, 5, {}},                                                             // not the last
        {5, 4, 4, {setBytesLine(43, {3}), setBytesLine(166, {3})}},                // disables, marks 4
        {3, 4, 4, {}},
    };
    AdvancedRig r;
    ASSERT_EQ(r.cpi.levelCount(), 4);
    ASSERT_EQ(r.cpi.currentLevel(), 2);
    for (const Step& s : steps) {
        SCOPED_TRACE("click on level " + std::to_string(s.click));
        r.rig.mark();
        r.cpi.clickLevel(s.click);
        EXPECT_EQ(r.cpi.levelCount(), s.count);
        EXPECT_EQ(r.cpi.currentLevel(), s.current);
        EXPECT_EQ(r.rig.lines(), s.trace);
    }
    EXPECT_EQ(r.mouse()[43], 3);
    EXPECT_EQ(r.cpi.currentLevelItems(), (QStringList{"CPI1", "CPI2", "CPI3", "CPI4"}));
}

TEST(CpiLevels, TheOnlyEnabledLevelStaysEnabled) {
    AdvancedRig r(imageWith({{43, 0}, {166, 0}}));
    ASSERT_EQ(r.cpi.levelCount(), 1);
    r.cpi.clickLevel(1);
    EXPECT_EQ(r.cpi.levelCount(), 1);
    EXPECT_TRUE(r.rig.lines().empty());
    // The page stays usable: the next level still enables.
    r.cpi.clickLevel(2);
    EXPECT_EQ(r.cpi.levelCount(), 2);
}

TEST(CpiLevels, ValueWritesThePairByteThenByte166AwayAndBack) {
    // Level 3 holds 200 (index 0), level 4 3200 (index 9); level 3 is in effect.
    AdvancedRig r(imageWith({{45, 0x90}, {166, 2}}));
    r.cpi.setLevelValue(3, 6);  // 1600
    EXPECT_EQ(r.rig.lines(), (std::vector<std::string>{setBytesLine(45, {0x96}), setBytesLine(166, {1}),
                                                       setBytesLine(166, {2})}));
    EXPECT_EQ(r.cpi.levelValue(3), 6);
    EXPECT_EQ(r.mouse()[45], 0x96);
    EXPECT_EQ(r.mouse()[166], 2);

    // With level 1 in effect the mouse goes to level 2 and back.
    r.cpi.setCurrentLevel(1);
    r.rig.mark();
    r.cpi.setLevelValue(4, 2);  // the neighbour: both new values in one byte
    EXPECT_EQ(r.rig.lines(), (std::vector<std::string>{setBytesLine(45, {0x26}), setBytesLine(166, {1}),
                                                       setBytesLine(166, {0})}));
}

TEST(CpiLevels, AnUnsetLevelKeepsItsNibbleAndShowsNoValue) {
    AdvancedRig r(imageWith({{46, 0xF3}}));  // level 5 = 800, level 6 unset
    EXPECT_EQ(r.cpi.levelValue(6), -1);
    r.cpi.setLevelValue(5, 11);
    EXPECT_EQ(r.mouse()[46], 0xFB);
}

TEST(CpiLevels, CurrentLevelOnlyForEnabledLevels) {
    AdvancedRig r;
    r.cpi.setCurrentLevel(6);  // disabled: no reaction
    EXPECT_TRUE(r.rig.lines().empty());
    r.cpi.setCurrentLevel(3);
    EXPECT_EQ(r.rig.lines(), std::vector<std::string>{setBytesLine(166, {2})});
    EXPECT_EQ(r.cpi.currentLevel(), 3);
}

TEST(CpiLevels, StepsListSetsTheCountAndMarksTheHighestLevel) {
    AdvancedRig r;
    r.cpi.setLevelCount(7);
    EXPECT_EQ(r.rig.lines(), (std::vector<std::string>{setBytesLine(43, {6}), setBytesLine(166, {6})}));
    EXPECT_EQ(r.cpi.currentLevel(), 7);
    EXPECT_EQ(r.cpi.currentLevelItems().size(), 7);
}

TEST(CpiColours, EditsHoldTo255AndTheDialogWritesEachByteThenAllThree) {
    AdvancedRig r;
    EXPECT_EQ(r.cpi.setLevelColourComponent(2, 1, 300), 255);
    EXPECT_EQ(r.rig.lines(), std::vector<std::string>{setBytesLine(91, {255})});
    EXPECT_EQ(r.editor.work().bytes[91], 255);
    EXPECT_EQ(r.mouse()[91], 255);

    r.rig.mark();
    r.cpi.chooseLevelColour(8, Rgb{1, 2, 3});
    EXPECT_EQ(r.rig.lines(), (std::vector<std::string>{setBytesLine(108, {1}), setBytesLine(109, {2}),
                                                       setBytesLine(110, {3}), setBytesLine(108, {1, 2, 3})}));
    EXPECT_EQ(r.cpi.levelColour(8), (Rgb{1, 2, 3}));
}

// Button 11 of Game Mode (profile 2) is an AIM key at level 9; Game Mode is shown.
constexpr std::size_t kGameKey11 = 241 + 4 * 10;

TEST(CpiAim, TheAimKeyOfTheProfileShownGivesTheLevel) {
    AdvancedRig r(imageWith({{164, 0xF1}, {kGameKey11, 0x05}, {kGameKey11 + 1, 9}, {kGameKey11 + 2, 0}, {kGameKey11 + 3, 0}}));
    EXPECT_EQ(r.cpi.aimLevel(), 9);
    EXPECT_EQ(r.cpi.engineerAimLevel(), 9);

    // Office Mode has no AIM key: level 0 is shown there; the engineer list still finds it.
    r.editor.setField(field::kCurrentMode, 0);
    EXPECT_EQ(r.cpi.aimLevel(), 0);
    r.cpi.TLRefreshAIMKey(1);
    EXPECT_EQ(r.cpi.engineerAimLevel(), 9);
}

TEST(CpiAim, SettingTheLevelRewritesEveryAimKeyAndCommitsTheProfiles) {
    AdvancedRig r(imageWith({{164, 0xF1}, {kGameKey11, 0x05}, {kGameKey11 + 1, 9}, {kGameKey11 + 2, 0}, {kGameKey11 + 3, 0},
                             {192 + 4 * 2, 0x05}, {192 + 4 * 2 + 1, 3}, {192 + 4 * 2 + 2, 0}, {192 + 4 * 2 + 3, 0}}));
    EXPECT_TRUE(r.cpi.setAimLevel(4, false));
    const Image m = r.mouse();
    EXPECT_EQ(m[kGameKey11 + 1], 4);
    EXPECT_EQ(m[192 + 4 * 2 + 1], 4);
    const auto lines = r.rig.lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), setLine(protocol::blockCommand(protocol::Command::BlockWrite, 192, 147)));
    EXPECT_EQ(r.cpi.aimLevel(), 4);
}

TEST(CpiAim, NoAimKeyGivesTheMessageOfEachViewAndSendsNothing) {
    AdvancedRig r;
    QSignalSpy messages(&r.cpi, &CpiModel::message);
    QSignalSpy plain(&r.cpi, &CpiModel::plainMessage);

    EXPECT_FALSE(r.cpi.setAimLevel(5, false));
    EXPECT_EQ(r.cpi.aimLevel(), 0);
    EXPECT_EQ(r.cpi.engineerAimLevel(), 0);
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.at(0).at(0).toString(), "Str105");

    EXPECT_FALSE(r.cpi.setAimLevel(7, true));
    EXPECT_EQ(r.cpi.engineerAimLevel(), 0);  // back to the level last shown
    ASSERT_EQ(plain.count(), 1);
    EXPECT_EQ(plain.at(0).at(0).toString(), "Please select a AIM Key in Profile1 to Profile3!");
    EXPECT_TRUE(r.rig.lines().empty());
}

TEST(CpiReportRate, TheSameRateWritesByte4OnlyAnotherRestartsTheMouse) {
    AdvancedRig r;  // 1000 Hz: byte 4 = 0xBF
    ASSERT_EQ(r.cpi.lastKnownRate(), 1000);
    r.cpi.setReportRate(1000);
    EXPECT_EQ(r.rig.lines(), std::vector<std::string>{setBytesLine(4, {0xBF})});
    EXPECT_EQ(r.rig.mouse.restartCount(), 0);

    r.rig.mark();
    bool restartingSeen = false;
    QObject::connect(&r.cpi, &CpiModel::changed, [&] { restartingSeen = restartingSeen || r.cpi.restarting(); });
    const auto before = r.rig.clock.now();
    r.cpi.setReportRate(250);
    const auto lines = r.rig.lines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], setBytesLine(4, {0x9F}));
    EXPECT_EQ(lines[1], setLine(protocol::commandReport(static_cast<std::uint8_t>(protocol::Command::Restart))));
    EXPECT_EQ(r.rig.mouse.restartCount(), 1);
    EXPECT_GE(r.rig.clock.now() - before, milliseconds(1010 + 6010 + 10010));
    EXPECT_TRUE(restartingSeen);
    EXPECT_FALSE(r.cpi.restarting());
    // Found again and read: the rate comes from the mouse.
    EXPECT_EQ(r.mouse()[4], 0x9F);
    EXPECT_EQ(r.rig.transfer->readRuns(), 2u);
    EXPECT_EQ(r.cpi.reportRate(), 250);
    EXPECT_EQ(r.cpi.lastKnownRate(), 250);
}

TEST(CpiOptions, EachItemSetsItsBitsAndKeepsTheOthers) {
    struct Case {
        CpiOption option;
        int item;
        std::size_t offset;
        std::uint8_t byte;  // from 0xFF (byte 5) or 0x7F (byte 6)
    };
    const Case cases[] = {
        {CpiOption::Indication, 0, 5, 0xDF}, {CpiOption::Indication, 1, 5, 0xEF}, {CpiOption::Indication, 2, 5, 0xFF},
        {CpiOption::Set, 0, 5, 0xFF},        {CpiOption::Set, 3, 5, 0xF3},        {CpiOption::Set, 2, 5, 0xF7},
        {CpiOption::Level, 1, 5, 0xFF},      {CpiOption::Level, 3, 5, 0xFD},      {CpiOption::Level, 0, 5, 0xFC},
        {CpiOption::Prescale, 3, 6, 0x4F},   {CpiOption::Prescale, 1, 6, 0x5F},   {CpiOption::Prescale, 2, 6, 0x6F},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(cpiOptionItems(c.option).items[c.item].toStdString());
        AdvancedRig r;
        r.cpi.setOption(c.option, c.item);
        EXPECT_EQ(r.rig.lines(), std::vector<std::string>{setBytesLine(static_cast<std::uint8_t>(c.offset), {c.byte})});
        EXPECT_EQ(r.cpi.optionItem(c.option), c.item);
    }
}

TEST(CpiRefresh, ACpiKeyEventMarksTheLevelTheMouseReports200msAfterTheRelease) {
    AdvancedRig r;
    struct Events : DeviceEvents {
        CpiModel* cpi;
        void RefreshCurrentDPIStatus(std::uint8_t level) override { cpi->RefreshCurrentDPIStatus(level); }
    } events;
    events.cpi = &r.cpi;
    NotificationThread nt(*r.rig.discovery, *r.rig.link, r.rig.clock, events);
    r.rig.mouse.pressCpiButton(3, 2);
    nt.handleReport(std::vector<std::uint8_t>{0x42, 0, 0, 2, 0, 0, 0, 0});
    EXPECT_EQ(r.cpi.currentLevel(), 2);
    const auto before = r.rig.clock.now();
    nt.handleReport(std::vector<std::uint8_t>{0x42, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(r.rig.clock.now() - before, milliseconds(200));
    EXPECT_EQ(r.cpi.currentLevel(), 4);
}

TEST(CpiBusy, NothingIsSentOrChangedWhileATransferRuns) {
    AdvancedRig r;
    r.rig.transfer->setBusy(true);
    r.cpi.clickLevel(5);
    r.cpi.setLevelValue(1, 3);
    r.cpi.setReportRate(125);
    EXPECT_EQ(r.cpi.levelCount(), 4);
    EXPECT_TRUE(r.rig.lines().empty());
    EXPECT_EQ(r.rig.mouse.restartCount(), 0);
    r.rig.transfer->setBusy(false);
}

}  // namespace
}  // namespace nivra
