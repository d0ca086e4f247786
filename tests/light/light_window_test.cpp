// The Breathing Light page inside the main window, on the window's MouseSession: a click
// reaches the mouse, and the effect names follow the window's language.
#include "tests/light/light_window.h"
#include "tests/ui/fakes.h"
#include "tests/ui/qt_app.h"
#include "ui/main_window.h"

#include <gtest/gtest.h>

#include <QTest>

namespace nivra {
namespace {

TEST(LightInWindow, ClickReachesTheMouseAndNamesFollowTheLanguage) {
    ui::test::qtApp();
    VirtualClock clock;
    SimulatedMouse mouse(clock, builtinImage(1));  // RGB, Blend
    MouseSession session(mouse, clock);
    ui::TableSkin skin;
    ui::test::FakeDesktop desktop;
    ui::MainWindow window(skin, session, desktop);
    window.show();
    session.pollNow();
    window.Btn_LangClick(3);
    window.Btn_Breath_0Click();

    auto* cpiBreath = window.findChild<QLabel*>(QStringLiteral("lbl_LED6"));
    ASSERT_NE(cpiBreath, nullptr);
    EXPECT_EQ(cpiBreath->text(), QStringLiteral("CPI Breath"));
    EXPECT_TRUE(cpiBreath->isVisible());
    QTest::mouseClick(cpiBreath, Qt::LeftButton, {}, cpiBreath->rect().center());
    EXPECT_EQ(mouse.memory()[offset::kLedByte], 0x05);
    EXPECT_FALSE(window.findChild<QWidget*>(QStringLiteral("Img_Fall1"))->isEnabled());
    EXPECT_EQ(ui::skinPictureOf(window.findChild<QLabel*>(QStringLiteral("Img_LED6"))), QStringLiteral("RdS_E"));

    window.Btn_LangClick(1);
    EXPECT_EQ(cpiBreath->text(), QStringLiteral("CPI颜色呼吸"));
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("lbl_LightEffectTitle"))->text(), QStringLiteral("灯光效果"));
}

}  // namespace
}  // namespace nivra
