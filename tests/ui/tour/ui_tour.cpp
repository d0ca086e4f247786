// ui_tour LANGUAGE PAGE: shows the window with the simulated mouse attached, in a language
// (1..3), on one page (office, game, adv, light, macro, update, fire, engineer), for
// screenshots of every page.
#include "device/clock.h"
#include "device/simulated_mouse.h"
#include "image/builtin.h"
#include "ui/desktop.h"
#include "ui/desktop_style.h"
#include "ui/main_window.h"
#include "ui/table_skin.h"
#include "settings/mouse_session.h"

#include <QApplication>
#include <QFontInfo>

#include <cstdio>

namespace {
// Answers the password prompt with the engineer password.
class TourDesktop : public nivra::ui::QtDesktop {
public:
    std::optional<QString> password(QWidget*, const QString&) override { return QStringLiteral("QorvinTekWLP"); }
};
}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    nivra::ui::applyDesktopStyle(app);
    const QStringList args = QApplication::arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: ui_tour LANGUAGE PAGE\n");
        return 2;
    }
    const int language = args[1].toInt();
    const QString page = args[2];

    nivra::VirtualClock clock;
    nivra::SimulatedMouse mouse(clock, nivra::builtinImage(1));
    nivra::ui::TableSkin skin;
    nivra::MouseSession device(mouse, clock);
    TourDesktop desktop;
    nivra::ui::MainWindow window(skin, device, desktop);
    window.show();
    device.pollNow();
    window.Btn_LangClick(language);
    for (int i = 0; i < 5; ++i) window.Img_Base_1DblClick();  // engineer state: Engineer buttons shown

    if (page == QLatin1String("game")) window.Btn_Switch_0Click();
    else if (page == QLatin1String("adv")) window.Btn_Adv_0Click();
    else if (page == QLatin1String("light")) window.Btn_Breath_0Click();
    else if (page == QLatin1String("macro")) window.Btn_Macro_0Click();
    else if (page == QLatin1String("update")) window.Btn_Update_0Click();
    else if (page == QLatin1String("engineer")) window.Btn_Engineer_0Click();
    else if (page == QLatin1String("fire")) window.showFireMacroPage();
    else if (page == QLatin1String("splash")) window.showSplash(true);
    if (auto* label = window.findChild<QWidget*>(QStringLiteral("Btn_Main_1")))
        std::fprintf(stderr, "ui_tour: caption font %s (%s) %d\n", qPrintable(QFontInfo(label->font()).family()), qPrintable(skin.fontName()),
                     label->font().pointSize());
    return QApplication::exec();
}
