// The gun page in the window over the simulated mouse: opened from a Game Mode button's
// function menu, Confirm gives that button the gun and returns to the main page.
#include "tests/ui/fakes.h"
#include "tests/ui/qt_app.h"

#include "device/clock.h"
#include "device/simulated_mouse.h"
#include "image/builtin.h"
#include "settings/mouse_session.h"
#include "skin/language_table.h"
#include "ui/main_window.h"
#include "ui/skin_button.h"
#include "ui/table_skin.h"

#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

namespace nivra::ui::test {
namespace {

TEST(GunWindow, FireMacroFromAGameModeButtonThenConfirmGivesItTheGun) {
    qtApp();
    VirtualClock clock;
    TableSkin skin;
    FakeDesktop desktop;
    SimulatedMouse mouse(clock, builtinImage(1));
    MouseSession session(mouse, clock);
    MainWindow window(skin, session, desktop);
    window.show();
    session.pollNow();
    const auto w = [&](const char* name) {
        QWidget* found = window.findChild<QWidget*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    };
    const auto click = [&](const char* name) { QTest::mouseClick(w(name), Qt::LeftButton, {}, QPoint(4, 4)); };

    click("Btn_Switch_1");
    click("Key3");
    ASSERT_TRUE(w("Key_FireMacro")->isVisible());
    click("Key_FireMacro");
    EXPECT_TRUE(w("gbPage6")->isVisible());
    EXPECT_FALSE(w("gbPage1")->isVisible());
    // The page, built when first opened, carries its start pictures as the others do.
    EXPECT_EQ(skinPictureOf(w("Img_FireColor1")), QStringLiteral("Col_F"));
    click("Btn_Fire6");
    click("Btn_FireConfirm");
    EXPECT_TRUE(w("gbPage1")->isVisible());
    EXPECT_FALSE(w("gbPage6")->isVisible());
    const Image m = mouse.memory();
    EXPECT_EQ((std::vector<std::uint8_t>{m[249], m[250], m[251]}), (std::vector<std::uint8_t>{0x0B, 0x15, 0x02}));
    EXPECT_EQ(static_cast<QLabel*>(w("Key3"))->text(), skin::builtInLanguages()->table(1).text(QStringLiteral("Str605")));
}

}  // namespace
}  // namespace nivra::ui::test
