// profile_page_tour LANGUAGE OUT.png: the Game Mode page with the function menu and two of
// its sub-menus open, drawn to a picture, for looking at the menu in each language.
#include "tests/buttons_ui/page_host.h"

#include <QApplication>
#include <QEnterEvent>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: profile_page_tour LANGUAGE OUT.png\n");
        return 2;
    }
    nivra::testing::PageHost h(std::atoi(argv[1]));
    h.profiles.showProfile(2);
    h.host.show();
    h.page->ShowPnlMain_OnClick(3);
    for (const char* entry : {"Key_Special", "Key_CPIKey"}) {
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QCoreApplication::sendEvent(h.host.findChild<QWidget*>(QLatin1String(entry)), &enter);
    }
    QCoreApplication::processEvents();
    return h.host.grab().save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
