// The profile page inside the main window over the session and the simulated mouse: the
// mode buttons' writes, a function chosen from the menu, and the page following the mouse.
#include "tests/ui/fakes.h"
#include "tests/ui/qt_app.h"

#include "device/clock.h"
#include "device/simulated_mouse.h"
#include "image/builtin.h"
#include "settings/mouse_session.h"
#include "skin/language_table.h"
#include "ui/main_window.h"
#include "ui/table_skin.h"

#include <QEnterEvent>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

namespace nivra::ui::test {
namespace {

QString lang(int n, const char* id) { return skin::builtInLanguages()->table(n).text(QString::fromLatin1(id)); }

class ProfileWindowTest : public ::testing::Test {
protected:
    ProfileWindowTest() {
        qtApp();
        mouse = std::make_unique<SimulatedMouse>(clock, builtinImage(1));
        session = std::make_unique<MouseSession>(*mouse, clock);
        window = std::make_unique<MainWindow>(skin, *session, desktop);
        window->show();
        session->pollNow();
    }
    QWidget* w(const char* name) {
        QWidget* found = window->findChild<QWidget*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QString text(const char* name) { return qobject_cast<QLabel*>(w(name))->text(); }
    void hover(const char* name) {
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QCoreApplication::sendEvent(w(name), &enter);
    }
    std::array<std::uint8_t, 4> memoryAt(std::size_t offset) {
        const Image m = mouse->memory();
        return {m[offset], m[offset + 1], m[offset + 2], m[offset + 3]};
    }

    VirtualClock clock;
    TableSkin skin;
    FakeDesktop desktop;
    std::unique_ptr<SimulatedMouse> mouse;
    std::unique_ptr<MouseSession> session;
    std::unique_ptr<MainWindow> window;
};

TEST_F(ProfileWindowTest, GameModeButtonWritesThenTheMenuSetsDpiUp) {
    ASSERT_FALSE(session->noDevice());
    QTest::mouseClick(w("Btn_Switch_1"), Qt::LeftButton);
    // 167 = item + 4 (the shipped layout shows guns), 168 = 15, 169 = 0, 170 = 32, 164 = 0xF1.
    EXPECT_EQ(memoryAt(167), (std::array<std::uint8_t, 4>{0x04, 15, 0, 32}));
    EXPECT_EQ(mouse->memory()[164], 0xF1);

    QTest::mouseClick(w("Key3"), Qt::LeftButton);
    ASSERT_TRUE(w("Pnl_Main")->isVisible());
    hover("Key_Special");
    hover("Key_CPIKey");
    QTest::mouseClick(w("Key_CPII"), Qt::LeftButton);
    EXPECT_EQ(text("Key3"), lang(1, "Str222"));
    const auto code = memoryAt(249);
    EXPECT_EQ(code[0], 0x09);
    EXPECT_EQ(code[1], 0x01);

    // HideAllMenu reaches the page's menu through the window's signal.
    QTest::mouseClick(w("Key3"), Qt::LeftButton);
    ASSERT_TRUE(w("Pnl_Main")->isVisible());
    window->HideAllMenu();
    EXPECT_FALSE(w("Pnl_Main")->isVisible());
}

TEST_F(ProfileWindowTest, TheMousesProfileKeySwitchesThePageWithoutWriting) {
    const Image before = mouse->memory();
    emit session->modeByteRead(0x02);
    EXPECT_EQ(window->state().page, Page::Third);
    EXPECT_TRUE(w("gbPage1")->isVisible());
    EXPECT_EQ(mouse->memory(), before);
    for (int k = 1; k <= 12; ++k) {
        const QString caption = text(QStringLiteral("Key%1").arg(k).toLatin1().constData());
        EXPECT_EQ(caption, window->keyCaption(3, k)) << k;
    }
}

}  // namespace
}  // namespace nivra::ui::test
