// The Breathing Light page: what it shows for the model, and that each click reaches the
// model (report traces on the simulated mouse).
#include "tests/light/light_window.h"
#include "tests/ui/qt_app.h"

#include <gtest/gtest.h>

#include <QTest>

namespace nivra {
namespace {

using testing::imageWithLighting;
using testing::LightWindow;
using ui::skinPictureOf;

QString name(const char* fmt, int n) { return QString::fromLatin1(fmt).arg(n); }

struct PageTest : ::testing::Test {
    void SetUp() override { ui::test::qtApp(); }
};

void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center()); }

TEST_F(PageTest, ShowsTheEffectsOfTheTypeAndTheSpeedBarState) {
    struct Case {
        std::uint8_t byte165, mask;
        int language;
        std::array<bool, 6> shown;
        int current;
        QString currentName;
        bool bar, colours;
    } cases[] = {
        {0xF5, 0x37, 3, {true, true, true, false, true, true}, 6, QStringLiteral("CPI Breath"), false, true},
        {0xC4, 0x37, 3, {true, true, true, false, true, true}, 5, QStringLiteral("Fixed"), true, true},
        {0x41, 0x07, 3, {true, true, true, false, false, false}, 2, QStringLiteral("Sync Breath"), true, false},
        {0x41, 0x07, 1, {true, true, true, false, false, false}, 2, QStringLiteral("同步渐变呼吸"), true, false},
        {0x03, 0x0B, 2, {true, true, false, true, false, false}, 4, QStringLiteral("固定单色呼吸"), true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.byte165));
        LightWindow w(imageWithLighting(c.byte165, c.mask), c.language);
        w.page.show();
        for (int k = 1; k <= 6; ++k) {
            EXPECT_EQ(w.find(name("lbl_LED%1", k))->isVisible(), c.shown[k - 1]) << k;
            EXPECT_EQ(w.find(name("Img_LED%1", k))->isVisible(), c.shown[k - 1]) << k;
            EXPECT_EQ(skinPictureOf(w.find(name("Img_LED%1", k))), k == c.current ? "RdS_E" : "RdS_D");
        }
        EXPECT_EQ(w.find<QLabel>(name("lbl_LED%1", c.current))->text(), c.currentName);
        EXPECT_EQ(w.find(QStringLiteral("Img_Fall1"))->isEnabled(), c.bar);
        EXPECT_EQ(w.find(QStringLiteral("lbl_LightSpeedNote"))->isVisible(), !c.bar);
        EXPECT_EQ(w.find(QStringLiteral("cs_Col1"))->isVisible(), c.colours);
        EXPECT_EQ(w.find(QStringLiteral("lbl_Col10"))->isVisible(), c.colours);
        EXPECT_EQ(w.find(QStringLiteral("lbl_LightSyncNote"))->isVisible(), !c.colours);
        EXPECT_FALSE(w.find<QLabel>(QStringLiteral("lbl_LightEffectTitle"))->text().isEmpty());
    }
}

TEST_F(PageTest, ControlsSitWhereTheLayoutPutsThem) {
    LightWindow w(builtinImage(1));
    // The effect label covers its row from the layout's place; sizing the page for the
    // window leaves it alone.
    EXPECT_EQ(w.find(QStringLiteral("lbl_LED2"))->geometry(), QRect(218, 216, 260, 22));
    EXPECT_EQ(w.find(QStringLiteral("Img_LED2"))->pos(), QPoint(222, 218));
    EXPECT_EQ(w.find(QStringLiteral("lbl_Col6"))->geometry(), w.find(QStringLiteral("cs_Col6"))->geometry());
    EXPECT_EQ(w.find(QStringLiteral("Img_Fall2"))->pos(), QPoint(563, 190));
}

TEST_F(PageTest, ClicksReachTheModelAndThePageFollows) {
    LightWindow w(imageWithLighting(0xF5, 0x37));  // ZK, CPI Breath: the bar is off
    w.page.show();
    click(w.find(QStringLiteral("Img_Fall3")));
    EXPECT_TRUE(w.rig.lines().empty());

    click(w.find(QStringLiteral("lbl_LED2")));
    EXPECT_EQ(w.rig.lines(), std::vector<std::string>{"SET 40 05 00 A5 F1 00 00 01"});
    EXPECT_TRUE(w.find(QStringLiteral("Img_Fall3"))->isEnabled());
    EXPECT_EQ(skinPictureOf(w.find(QStringLiteral("Img_LED2"))), "RdS_E");
    EXPECT_EQ(skinPictureOf(w.find(QStringLiteral("Img_LED6"))), "RdS_D");

    // "DPILED_Status" is 1 in the shipped layout: the current segment alone is lit.
    w.rig.mark();
    click(w.find(QStringLiteral("Img_Fall3")));
    EXPECT_EQ(w.rig.lines(), std::vector<std::string>{"SET 40 05 00 38 0F 00 00 01"});
    for (int n = 1; n <= 10; ++n)
        EXPECT_EQ(skinPictureOf(w.find(name("Img_Fall%1", n))), n == 3 ? "Bar1_E" : "Bar1_D") << n;
}

TEST_F(PageTest, ColourDialogAnswerGoesToTheMouseAndTheSwatch) {
    LightWindow w(builtinImage(1));
    std::optional<QColor> answer = QColor(0x12, 0xFF, 0x34);
    QColor offered;
    w.page.chooseColour = [&](const QColor& initial) {
        offered = initial;
        return answer;
    };
    w.page.show();
    click(w.find(QStringLiteral("lbl_Col4")));
    EXPECT_EQ(offered, QColor(0, 255, 0));
    const auto lines = w.rig.lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "SET 40 05 00 42 12 FF 34 03");
    EXPECT_EQ(w.find<ui::ColourSwatch>(QStringLiteral("cs_Col4"))->colour(), QColor(0x12, 0xFF, 0x34));

    // Cancelled: nothing is sent.
    answer.reset();
    w.rig.mark();
    click(w.find(QStringLiteral("lbl_Col4")));
    EXPECT_TRUE(w.rig.lines().empty());
}

}  // namespace
}  // namespace nivra
