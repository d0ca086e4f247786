// The pointer settings over a desktop that keeps its values in memory: what a read shows as
// steps and toggles, that a click writes its own setting only, what happens when the desktop
// refuses or lacks a setting, and whole-screen scrolling with the step kept in our file.
#include "settings/pointer_settings.h"
#include "tests/advanced/pointer_fakes.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

namespace nivra {
namespace {

using namespace pointer_store;
using nivra::testing::FakeDesktop;

class PointerTest : public ::testing::Test {
protected:
    QString path() const { return QString::fromStdString((dir.path() / "nivra" / "pointer-settings.ini").string()); }
    PointerSettings& settings() {
        if (!model) model = std::make_unique<PointerSettings>(PointerStore(path()), &desktop);
        return *model;
    }

    nivra::testing::TempDir dir;
    FakeDesktop desktop;
    std::unique_ptr<PointerSettings> model;
};

TEST_F(PointerTest, DesktopValuesShowAsStepsAndToggles) {
    desktop.stored = {.speed = 10, .precision = true, .doubleClickMs = 500, .wheelLines = 3};
    PointerSettings& s = settings();
    s.refresh();
    EXPECT_EQ(s.speedStep(), 6);
    EXPECT_EQ(s.doubleClickStep(), 7);
    EXPECT_EQ(s.wheelStep(), 3);
    EXPECT_EQ(s.wheelBarStep(), 3);
    EXPECT_TRUE(s.precisionOn());
    EXPECT_FALSE(s.wholeScreenOn());
    EXPECT_TRUE(desktop.written.empty());  // reading writes nothing
    // A change made on the desktop shows at the next read.
    desktop.stored = {.speed = 19, .precision = false, .doubleClickMs = 900, .wheelLines = 11};
    s.refresh();
    EXPECT_EQ(s.speedStep(), 10);
    EXPECT_EQ(s.doubleClickStep(), 1);
    EXPECT_EQ(s.wheelStep(), 11);
    EXPECT_FALSE(s.precisionOn());
}

TEST_F(PointerTest, StepTablesBothWays) {
    struct Case {
        int value;
        std::optional<int> step;
    };
    for (const Case c : {Case{0, 1}, {1, 1}, {2, 2}, {19, 10}, {20, 11}, {21, {}}, {-1, {}}})
        EXPECT_EQ(stepOfSensitivity(c.value), c.step) << "sensitivity " << c.value;
    for (const Case c : {Case{900, 1}, {899, 2}, {830, 2}, {829, 3}, {340, 9}, {339, 10}, {270, 10}, {269, 11},
                         {100, 11}, {99, {}}, {950, {}}})
        EXPECT_EQ(stepOfDoubleClick(c.value), c.step) << "double-click " << c.value;
    EXPECT_EQ(sensitivityOfStep(1), 1);
    EXPECT_EQ(sensitivityOfStep(2), 2);
    EXPECT_EQ(sensitivityOfStep(11), 20);
    EXPECT_EQ(doubleClickOfStep(1), 900);
    EXPECT_EQ(doubleClickOfStep(11), 200);
    // The desktop's -1..1: every step comes back, also through single precision.
    for (int step = 1; step <= 11; ++step) {
        const double d = desktopSpeedOf(sensitivityOfStep(step));
        EXPECT_EQ(stepOfSensitivity(speedOfDesktop(d)), step) << step;
        EXPECT_EQ(stepOfSensitivity(speedOfDesktop(static_cast<float>(d))), step) << step;
    }
    EXPECT_EQ(speedOfDesktop(-1.0), 0);
    EXPECT_EQ(speedOfDesktop(0.0), 10);
    EXPECT_EQ(speedOfDesktop(0.9), 19);
    EXPECT_EQ(speedOfDesktop(7.0), 20);  // beyond the range: its end
}

TEST_F(PointerTest, OutOfRangeValuesLeaveTheStep) {
    desktop.stored = {.speed = 4, .doubleClickMs = 830, .wheelLines = 5};
    PointerSettings& s = settings();
    s.refresh();
    for (const PointerValues& v : {PointerValues{.speed = 25, .doubleClickMs = 950, .wheelLines = 0},
                                   PointerValues{.speed = -3, .doubleClickMs = 99, .wheelLines = 12}}) {
        desktop.stored = v;
        s.refresh();
        EXPECT_EQ(s.speedStep(), 3);
        EXPECT_EQ(s.doubleClickStep(), 2);
        EXPECT_EQ(s.wheelStep(), 5);
    }
}

TEST_F(PointerTest, AClickWritesItsOwnSettingOnly) {
    // The precision toggle has never been read (the desktop gave nothing for it): a speed
    // click must not write it as "off".
    desktop.stored = {.speed = 10, .doubleClickMs = 500, .wheelLines = 3};
    PointerSettings& s = settings();
    s.refresh();
    std::vector<PointerValues> followed;
    s.setFollower([&](const PointerValues& v) { followed.push_back(v); });
    struct Click {
        const char* what;
        std::function<bool()> click;
        PointerValues written;
    };
    const std::vector<Click> clicks{
        {"speed 1", [&] { return s.MseSpd_OnClick(1); }, {.speed = 1}},
        {"speed 2", [&] { return s.MseSpd_OnClick(2); }, {.speed = 2}},
        {"speed 11", [&] { return s.MseSpd_OnClick(11); }, {.speed = 20}},
        {"double-click 1", [&] { return s.MseDbSpd_OnClick(1); }, {.doubleClickMs = 900}},
        {"precision on", [&] { return s.lbl_IsControlClick(); }, {.precision = true}},
        {"precision off", [&] { return s.lbl_IsControlClick(); }, {.precision = false}},
        {"wheel 9", [&] { return s.MseScrSpd_OnClick(9); }, {.wheelLines = 9}},
    };
    for (const Click& c : clicks) {
        SCOPED_TRACE(c.what);
        desktop.written.clear();
        followed.clear();
        EXPECT_TRUE(c.click());
        ASSERT_EQ(desktop.written.size(), 1u);
        EXPECT_EQ(desktop.written[0], c.written);
        EXPECT_EQ(followed, std::vector<PointerValues>{c.written});
    }
    EXPECT_EQ(s.speedStep(), 11);
    EXPECT_EQ(s.doubleClickStep(), 1);
    EXPECT_EQ(s.wheelStep(), 9);
    EXPECT_EQ(desktop.stored, (PointerValues{.speed = 20, .precision = false, .doubleClickMs = 900, .wheelLines = 9}));
}

TEST_F(PointerTest, ARefusedChangeShowsWhatTheDesktopHoldsAndSaysSo) {
    desktop.stored = {.speed = 10, .precision = true, .doubleClickMs = 500, .wheelLines = 3};
    PointerSettings& s = settings();
    s.refresh();
    desktop.refuse = true;
    EXPECT_FALSE(s.MseSpd_OnClick(2));
    EXPECT_FALSE(s.lbl_IsControlClick());
    EXPECT_FALSE(s.MseScrSpd_OnClick(7));
    EXPECT_EQ(s.speedStep(), 6);
    EXPECT_TRUE(s.precisionOn());
    EXPECT_EQ(s.wheelStep(), 3);
    EXPECT_EQ(s.values().speed, 10);
}

TEST_F(PointerTest, ASettingWithNoHomeTakesNoClicks) {
    desktop.held = {PointerSetting::Speed};
    desktop.stored = {.speed = 10, .doubleClickMs = 500, .wheelLines = 3};
    PointerSettings& s = settings();
    s.refresh();
    EXPECT_TRUE(s.holds(PointerSetting::Speed));
    EXPECT_FALSE(s.holds(PointerSetting::WheelLines));
    EXPECT_FALSE(s.wheelEnabled());
    EXPECT_FALSE(s.MseDbSpd_OnClick(3));
    EXPECT_FALSE(s.MseScrSpd_OnClick(3));
    EXPECT_FALSE(s.lbl_IsScreenClick());
    EXPECT_TRUE(desktop.written.empty());
    EXPECT_FALSE(s.wholeScreenOn());

    // No desktop at all: nothing is read, nothing taken.
    PointerSettings none(PointerStore(path()), nullptr);
    none.refresh();
    EXPECT_EQ(none.speedStep(), 0);
    EXPECT_FALSE(none.MseSpd_OnClick(5));
    EXPECT_EQ(none.speedStep(), 0);
}

TEST_F(PointerTest, WholeScreenWritesMinusOneAndComesBackToTheKeptStep) {
    desktop.held.insert(PointerSetting::WholeScreen);
    desktop.stored = {.wheelLines = 4};
    PointerSettings& s = settings();
    s.refresh();
    ASSERT_TRUE(s.lbl_IsScreenClick());
    EXPECT_TRUE(s.wholeScreenOn());
    EXPECT_FALSE(s.wheelEnabled());
    EXPECT_EQ(desktop.stored.wheelLines, -1);
    EXPECT_EQ(s.wheelBarStep(), 4);  // the bar keeps its pictures
    EXPECT_FALSE(s.MseScrSpd_OnClick(7));  // greyed segments take no clicks
    EXPECT_EQ(s.wheelStep(), -1);
    ASSERT_TRUE(s.lbl_IsScreenClick());
    EXPECT_EQ(desktop.stored.wheelLines, 4);
    EXPECT_TRUE(s.wheelEnabled());

    // The desktop forgets the lines while whole-screen scrolling is on; our file keeps the
    // last step clicked, for this run and the next.
    ASSERT_TRUE(s.MseScrSpd_OnClick(8));
    desktop.stored.wheelLines = -1;
    PointerSettings next(PointerStore(path()), &desktop);
    next.refresh();
    EXPECT_TRUE(next.wholeScreenOn());
    EXPECT_EQ(next.savedWheelStep(), 8);
    ASSERT_TRUE(next.lbl_IsScreenClick());
    EXPECT_EQ(desktop.stored.wheelLines, 8);

    // Nothing kept: the saved step is 1.
    std::filesystem::remove_all(dir.path() / "nivra");
    desktop.stored.wheelLines = -1;
    s.refresh();
    EXPECT_EQ(s.savedWheelStep(), 1);
    ASSERT_TRUE(s.lbl_IsScreenClick());
    EXPECT_EQ(desktop.stored.wheelLines, 1);
}

TEST_F(PointerTest, WheelLinesOutsideTheScaleAfterWholeScreenLeaveTheStepUnknown) {
    desktop.stored = {.wheelLines = -1};
    PointerSettings& s = settings();
    s.refresh();
    desktop.stored = {.wheelLines = 0};
    s.refresh();
    EXPECT_FALSE(s.wholeScreenOn());
    EXPECT_EQ(s.wheelStep(), 0);
}

TEST_F(PointerTest, AKeptStepThatCannotBeWrittenIsReported) {
    desktop.held.insert(PointerSetting::WholeScreen);
    std::ofstream(dir.path() / "nivra") << "a file where the folder should be";
    PointerSettings& s = settings();
    EXPECT_FALSE(s.MseScrSpd_OnClick(3));
    EXPECT_EQ(desktop.stored.wheelLines, 3);  // the desktop took it
}

TEST(PointerBars, OneLitOrProgressStyle) {
    EXPECT_TRUE(barSegmentLit(true, 5, 5));
    EXPECT_FALSE(barSegmentLit(true, 5, 4));
    EXPECT_TRUE(barSegmentLit(false, 5, 4));
    EXPECT_FALSE(barSegmentLit(false, 5, 6));
    // A double-click time of 1000 ms gives no step: every segment dim in either style.
    for (int seg = 1; seg <= 11; ++seg) EXPECT_FALSE(barSegmentLit(true, 0, seg));
}

}  // namespace
}  // namespace nivra
