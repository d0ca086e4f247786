// profile_page_tour LANGUAGE OUT.png: the window on the Game Mode page with the function
// menu and two of its sub-menus open, drawn to a picture, for looking at the menu in each
// language.
#include "tests/ui/fakes.h"

#include "device/clock.h"
#include "device/simulated_mouse.h"
#include "image/builtin.h"
#include "settings/mouse_session.h"
#include "ui/desktop_style.h"
#include "ui/main_window.h"
#include "ui/profile_page.h"
#include "ui/table_skin.h"

#include <QApplication>
#include <QEnterEvent>
#include <QLabel>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    nivra::ui::applyDesktopStyle(app);
    if (argc != 3) {
        std::fprintf(stderr, "usage: profile_page_tour LANGUAGE OUT.png\n");
        return 2;
    }
    nivra::VirtualClock clock;
    nivra::SimulatedMouse mouse(clock, nivra::builtinImage(1));
    nivra::MouseSession session(mouse, clock);
    nivra::ui::TableSkin skin;
    nivra::ui::test::FakeDesktop desktop;
    nivra::ui::MainWindow window(skin, session, desktop);
    window.show();
    session.pollNow();
    window.Btn_LangClick(std::atoi(argv[1]));
    window.Btn_Switch_0Click();
    window.findChild<nivra::ui::ProfilePage*>()->ShowPnlMain_OnClick(3);
    for (const char* entry : {"Key_Special", "Key_CPIKey"}) {
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QCoreApplication::sendEvent(window.findChild<QWidget*>(QLatin1String(entry)), &enter);
    }
    QCoreApplication::processEvents();
    if (std::getenv("TOUR_DEBUG"))
        for (QLabel* l : window.findChildren<QLabel*>())
            if (l->objectName().contains(QLatin1String("ComboKey")) && l->isVisible())
                std::fprintf(stderr, "%s '%s' %d,%d %dx%d\n", qPrintable(l->objectName()), qPrintable(l->text()), l->x(), l->y(),
                             l->width(), l->height());
    return window.grab().save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
