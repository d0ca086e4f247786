// macro_page_tour LANGUAGE [popup|insert|record]: the window on the Macro page with the simulated
// mouse, the macro model attached, two library macros on the mouse and a listing shown;
// optionally with the listing's pop-up menu or the insert panel open, or a recording running
// (a few keys typed into the window). For screenshots.
#include "device/clock.h"
#include "device/simulated_mouse.h"
#include "image/builtin.h"
#include "settings/macro_model.h"
#include "settings/mouse_session.h"
#include "ui/desktop.h"
#include "ui/desktop_style.h"
#include "ui/macro_page.h"
#include "ui/macro_page_recording.h"
#include "ui/recording_sources.h"
#include "ui/skin_button.h"
#include "ui/main_window.h"
#include "ui/table_skin.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QWindow>
#include <QLabel>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    nivra::ui::applyDesktopStyle(app);
    const QStringList args = QApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: macro_page_tour LANGUAGE [popup|insert|record]\n");
        return 2;
    }
    const QString extra = args.value(2);

    nivra::VirtualClock clock;
    nivra::SimulatedMouse mouse(clock, nivra::builtinImage(1));
    nivra::ui::TableSkin skin;
    nivra::MouseSession device(mouse, clock);
    nivra::ui::QtDesktop desktop;
    nivra::ui::MainWindow window(skin, device, desktop);
    window.show();
    device.pollNow();
    window.Btn_LangClick(args[1].toInt());

    nivra::MacroModel& model = window.macroModel();
    window.Btn_Macro_0Click();
    auto* page = dynamic_cast<nivra::ui::MacroPage*>(window.findChild<QWidget*>(QStringLiteral("gbPage4")));
    for (std::size_t i : {std::size_t{0}, std::size_t{23}}) {
        model.LB_PCMacroNameClick(i);
        model.Btn_AddMacroClick();
    }
    model.LB_PCMacroNameClick(30);
    model.selectListingRow(3);
    if (extra == QLatin1String("insert")) {
        model.Btn_InsertClick();
        page->CB_InsertChange(4);
    }
    if (extra == QLatin1String("record")) {
        window.macroRecording().replaceInput(nivra::ui::steadyMilliseconds, std::make_unique<nivra::ui::WindowInputSource>());
        QTimer::singleShot(300, [page, &window] {
            page->startButton()->onClick();
            for (Qt::Key k : {Qt::Key_Shift, Qt::Key_H, Qt::Key_I}) {
                QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
                QCoreApplication::sendEvent(window.windowHandle(), &press);
                if (k == Qt::Key_Shift) continue;
                QKeyEvent release(QEvent::KeyRelease, k, Qt::NoModifier);
                QCoreApplication::sendEvent(window.windowHandle(), &release);
            }
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_Shift, Qt::NoModifier);
            QCoreApplication::sendEvent(window.windowHandle(), &release);
        });
    }
    if (extra == QLatin1String("popup")) {
        auto* list = page->findChild<QWidget*>(QStringLiteral("LB_macro"));
        QTimer::singleShot(300, [page, list] {
            auto* popup = page->findChild<QWidget*>(QStringLiteral("Pnl_DevContent"));
            popup->move(list->geometry().center() + QPoint(-20, 10));
            popup->show();
            popup->raise();
        });
    }
    if (qEnvironmentVariableIsSet("TOUR_DEBUG"))
        QTimer::singleShot(500, [&window] {
            for (QLabel* l : window.findChildren<QLabel*>())
                if (l->text().contains(QLatin1String("value")) || l->text().contains(QLatin1String("Delay")))
                    std::fprintf(stderr, "%s %s %d,%d %dx%d vis=%d\n", qPrintable(l->objectName()), qPrintable(l->text()), l->x(), l->y(), l->width(), l->height(), l->isVisible());
            QApplication::quit();
        });
    return QApplication::exec();
}
