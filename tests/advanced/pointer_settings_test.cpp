// The pointer settings: reading the store into steps and toggles, what each click writes to
// the store and hands the desktop backends, and the store file itself.
#include "settings/pointer_settings.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <QFile>

#include <fstream>

namespace nivra {
namespace {

using namespace pointer_store;

struct FakeBackend : PointerBackend {
    std::vector<PointerApply> applied;
    void apply(const PointerApply& v) override { applied.push_back(v); }
};

class PointerTest : public ::testing::Test {
protected:
    QString path() const { return QString::fromStdString((dir.path() / "nivra" / "pointer-settings.ini").string()); }
    // Writes the store file as another program (or an earlier run) left it.
    void storeFile(const std::string& text) {
        std::filesystem::create_directories(dir.path() / "nivra");
        std::ofstream(dir.path() / "nivra" / "pointer-settings.ini") << text;
    }
    std::string mouse(const char* name) const { return value(kMouse, name); }
    std::string value(const char* section, const char* name) const {
        const auto s = PointerStore(path()).readSection(QLatin1String(section));
        if (!s) return "<no section>";
        const auto it = s->find(QLatin1String(name));
        return it == s->end() ? "<none>" : it->second.toStdString();
    }
    PointerSettings& settings() {
        if (!model) {
            model = std::make_unique<PointerSettings>(PointerStore(path()));
            model->addBackend(&backend);
        }
        return *model;
    }

    nivra::testing::TempDir dir;
    FakeBackend backend;
    std::unique_ptr<PointerSettings> model;
};

TEST_F(PointerTest, StoredValuesShowAsStepsAndToggles) {
    storeFile("[Control Panel\\Mouse]\nMouseSensitivity=10\nDoubleClickSpeed=500\nMouseSpeed=1\n"
              "MouseThreshold1=6\nMouseThreshold2=10\n[Control Panel\\Desktop]\nWheelScrollLines=3\n");
    PointerSettings& s = settings();
    s.refresh();
    EXPECT_EQ(s.speedStep(), 6);
    EXPECT_EQ(s.doubleClickStep(), 7);
    EXPECT_EQ(s.wheelStep(), 3);
    EXPECT_EQ(s.wheelBarStep(), 3);
    EXPECT_TRUE(s.precisionOn());
    EXPECT_FALSE(s.wholeScreenOn());
    EXPECT_TRUE(backend.applied.empty());  // reading applies nothing
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
}

TEST_F(PointerTest, OutOfRangeOrMalformedValuesLeaveTheStep) {
    storeFile("[Control Panel\\Mouse]\nMouseSensitivity=4\nDoubleClickSpeed=830\n[Control Panel\\Desktop]\nWheelScrollLines=5\n");
    PointerSettings& s = settings();
    s.refresh();
    for (const char* text : {"[Control Panel\\Mouse]\nMouseSensitivity=25\nDoubleClickSpeed=950\n[Control Panel\\Desktop]\nWheelScrollLines=0\n",
                             "[Control Panel\\Mouse]\nMouseSensitivity=ten\nDoubleClickSpeed=99\n[Control Panel\\Desktop]\nWheelScrollLines=12\n",
                             "[Control Panel\\Mouse]\nMouseSensitivity=0x10\nDoubleClickSpeed=\n"}) {
        storeFile(text);
        s.refresh();
        EXPECT_EQ(s.speedStep(), 3) << text;
        EXPECT_EQ(s.doubleClickStep(), 2) << text;
        EXPECT_EQ(s.wheelStep(), 5) << text;
    }
}

TEST_F(PointerTest, AMissingStoreReadsNothingAndTheFirstClickCreatesIt) {
    PointerSettings& s = settings();
    s.refresh();
    EXPECT_EQ(s.speedStep(), 0);
    EXPECT_EQ(s.wheelStep(), 0);
    s.MseSpd_OnClick(11);
    EXPECT_EQ(mouse(kMouseSensitivity), "20");
    // Steps still unknown write nothing; the precision values are always written.
    EXPECT_EQ(mouse(kDoubleClickSpeed), "<none>");
    EXPECT_EQ(mouse(kMouseSpeed), "0");
    EXPECT_EQ(value(kDesktop, kWheelScrollLines), "<no section>");
    ASSERT_EQ(backend.applied.size(), 1u);
    EXPECT_EQ(backend.applied[0], (PointerApply{20, 0, 0, 0, 0, 0}));
}

TEST_F(PointerTest, EveryClickRewritesTheKnownValuesAndAppliesAllOfThem) {
    storeFile("[Control Panel\\Mouse]\nMouseSensitivity=10\nDoubleClickSpeed=500\nMouseSpeed=1\n"
              "MouseThreshold1=6\nMouseThreshold2=10\nOther=keep\n[Control Panel\\Desktop]\nWheelScrollLines=3\n");
    PointerSettings& s = settings();
    s.refresh();
    struct Click {
        const char* what;
        std::function<void()> click;
        PointerApply applied;
        std::vector<std::pair<const char*, const char*>> stored;
    };
    const std::vector<Click> clicks{
        {"speed 1", [&] { s.MseSpd_OnClick(1); }, {1, 6, 10, 1, 480, 3}, {{kMouseSensitivity, "1"}, {kDoubleClickSpeed, "480"}}},
        {"speed 2", [&] { s.MseSpd_OnClick(2); }, {2, 6, 10, 1, 480, 3}, {{kMouseSensitivity, "2"}}},
        {"double-click 1", [&] { s.MseDbSpd_OnClick(1); }, {2, 6, 10, 1, 900, 3}, {{kDoubleClickSpeed, "900"}}},
        {"precision off", [&] { s.lbl_IsControlClick(); }, {2, 0, 0, 0, 900, 3},
         {{kMouseSpeed, "0"}, {kMouseThreshold1, "0"}, {kMouseThreshold2, "0"}}},
        {"precision on", [&] { s.lbl_IsControlClick(); }, {2, 6, 10, 1, 900, 3},
         {{kMouseSpeed, "1"}, {kMouseThreshold1, "6"}, {kMouseThreshold2, "10"}}},
        {"wheel 9", [&] { s.MseScrSpd_OnClick(9); }, {2, 6, 10, 1, 900, 9}, {{kMouseSensitivity, "2"}}},
    };
    for (const Click& c : clicks) {
        SCOPED_TRACE(c.what);
        backend.applied.clear();
        c.click();
        ASSERT_EQ(backend.applied.size(), 1u);
        EXPECT_EQ(backend.applied[0], c.applied);
        for (const auto& [name, text] : c.stored) EXPECT_EQ(mouse(name), text) << name;
        EXPECT_EQ(value(kDesktop, kWheelScrollLines), std::to_string(c.applied.wheelLines));
    }
    EXPECT_EQ(mouse("Other"), "keep");
}

TEST_F(PointerTest, WholeScreenWritesMinusOneGreysTheWheelAndRestoresTheSavedStep) {
    storeFile("[Control Panel\\Desktop]\nWheelScrollLines=4\n");
    PointerSettings& s = settings();
    s.refresh();
    s.lbl_IsScreenClick();
    EXPECT_TRUE(s.wholeScreenOn());
    EXPECT_FALSE(s.wheelEnabled());
    EXPECT_EQ(value(kDesktop, kWheelScrollLines), "-1");
    EXPECT_EQ(backend.applied.back().wheelLines, -1);
    EXPECT_EQ(s.wheelBarStep(), 4);  // the bar keeps its pictures
    s.MseScrSpd_OnClick(7);          // greyed segments take no clicks
    EXPECT_EQ(s.wheelStep(), -1);
    s.lbl_IsScreenClick();
    EXPECT_EQ(value(kDesktop, kWheelScrollLines), "4");
    EXPECT_TRUE(s.wheelEnabled());

    // Found on at a read: switching it off writes the saved step 1.
    storeFile("[Control Panel\\Desktop]\nWheelScrollLines=-1\n");
    s.refresh();
    EXPECT_TRUE(s.wholeScreenOn());
    EXPECT_EQ(s.savedWheelStep(), 1);
    EXPECT_EQ(s.wheelBarStep(), 4);
    s.lbl_IsScreenClick();
    EXPECT_EQ(value(kDesktop, kWheelScrollLines), "1");
}

TEST_F(PointerTest, WheelLinesOutsideTheScaleAfterWholeScreenLeaveNothingToWrite) {
    storeFile("[Control Panel\\Desktop]\nWheelScrollLines=-1\n");
    PointerSettings& s = settings();
    s.refresh();
    storeFile("[Control Panel\\Desktop]\nWheelScrollLines=0\n");
    s.refresh();
    EXPECT_FALSE(s.wholeScreenOn());
    EXPECT_EQ(s.wheelStep(), 0);
    s.MseSpd_OnClick(5);
    EXPECT_EQ(value(kDesktop, kWheelScrollLines), "0");  // not rewritten as "-1"
}

TEST_F(PointerTest, AStoreThatCannotBeWrittenLeavesTheValuesButStillApplies) {
    std::ofstream(dir.path() / "nivra") << "a file where the folder should be";
    PointerSettings& s = settings();
    s.MseDbSpd_OnClick(3);
    EXPECT_EQ(s.doubleClickStep(), 3);
    ASSERT_EQ(backend.applied.size(), 1u);
    EXPECT_EQ(backend.applied[0].doubleClickMs, 0);  // nothing written, nothing new known
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
