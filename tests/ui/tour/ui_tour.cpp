// ui_tour LANGUAGE PAGE [SHOT.png]: shows the window with the simulated mouse attached, in a
// language (1..3), on one page (office, game, adv, light, macro, update, fire, firegun6,
// firemacro, fireinsert, engineer, nomouse, denied, restart, confirm, langmenu, keymenu, basemacro,
// splash, unplugged, openfile, colour) or with a small dialog open and text typed into it (form2 .. form7), for
// screenshots of every page. With SHOT.png it saves the whole screen there once the window
// has settled (only the window and its frame with NIVRA_TOUR_WINDOW_ONLY=1), and ends.
#include "device/clock.h"
#include "device/simulated_mouse.h"
#include "image/builtin.h"
#include "ui/desktop.h"
#include "ui/desktop_style.h"
#include "ui/fire_macro_page.h"
#include "ui/function_menu.h"
#include "ui/light_page.h"
#include "ui/main_window.h"
#include "ui/profile_page.h"
#include "ui/small_dialog.h"
#include "ui/table_skin.h"
#include "settings/fire_macro_model.h"
#include "settings/mouse_session.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QFontInfo>
#include <QScreen>
#include <QTest>
#include <QMenu>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
// Answers the password prompt with the engineer password; confirmations are answered OK
// unless the page shows one.
class TourDesktop : public nivra::ui::QtDesktop {
public:
    bool showConfirmations = false;
    std::optional<QString> password(QWidget*, const QString&) override { return QStringLiteral("QorvinTekWLP"); }
    bool confirm(QWidget* parent, const QString& question, const QString& detail, const QString& font) override {
        return !showConfirmations || QtDesktop::confirm(parent, question, detail, font);
    }
};
}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    nivra::ui::applyDesktopStyle(app);
    const QStringList args = QApplication::arguments();
    if (args.size() != 3 && args.size() != 4) {
        std::fprintf(stderr, "usage: ui_tour LANGUAGE PAGE [SHOT.png]\n");
        return 2;
    }
    const int language = args[1].toInt();
    const QString page = args[2];
    const QString shot = args.value(3);

    nivra::VirtualClock clock;
    nivra::Image memory = nivra::builtinImage(1);
    if (page == QLatin1String("basemacro")) {
        // Two macros in the mouse's macro area (names "Recoil" and "Burst", each only its end
        // marker), so that the Base Macro list has rows.
        std::size_t at = 496;
        for (const char* name : {"Recoil", "Burst"}) {
            for (std::size_t i = 0; i < 8; ++i) {
                memory[at + 2 * i] = 0;
                memory[at + 2 * i + 1] = i < std::strlen(name) ? static_cast<std::uint8_t>(name[i]) : 0;
            }
            memory[at + 16] = 0x00;
            at += 17;
        }
    }
    nivra::SimulatedMouse mouse(clock, memory);
    nivra::ui::TableSkin skin;
    nivra::MouseSession device(mouse, clock);
    TourDesktop desktop;
    nivra::ui::MainWindow window(skin, device, desktop, nullptr, language);
    window.show();
    // Set before anything that may open a modal dialog, whose own loop then runs the shot.
    if (!shot.isEmpty()) {
        // NIVRA_TOUR_WINDOW_ONLY=1: the window with its frame, for pictures of the program.
        const bool windowOnly = qEnvironmentVariableIntValue("NIVRA_TOUR_WINDOW_ONLY") == 1;
        QTimer::singleShot(1200, [&shot, &window, windowOnly] {
            const QRect frame = window.frameGeometry();
            const QPixmap screen = windowOnly ? QGuiApplication::primaryScreen()->grabWindow(
                                                    0, frame.x(), frame.y(), frame.width(), frame.height())
                                              : QGuiApplication::primaryScreen()->grabWindow(0);
            const bool saved = screen.save(shot);
            std::fprintf(stderr, "ui_tour: %s %s\n", saved ? "wrote" : "could not write", qPrintable(shot));
            // Also from inside a modal dialog's own loop, which would outlive a plain exit().
            std::fflush(stderr);
            std::_Exit(saved ? 0 : 1);
        });
    }
    // Without a mouse, or with one this user may not open, the window starts as it found it.
    if (page == QLatin1String("nomouse")) mouse.unplug();
    if (page == QLatin1String("denied")) mouse.denyOpen(true);
    device.pollNow();
    for (int i = 0; i < 5; ++i) window.Img_Base_1DblClick();  // engineer state: Engineer buttons shown

    if (page == QLatin1String("game")) window.Btn_Switch_0Click();
    else if (page == QLatin1String("adv")) window.Btn_Adv_0Click();
    else if (page == QLatin1String("light")) window.Btn_Breath_0Click();
    else if (page == QLatin1String("lightcpi")) {  // CPI Breath: the speed bar does not apply
        window.Btn_Breath_0Click();
        window.lightPage()->RGBMode_OnClick(6);
    }
    else if (page == QLatin1String("macro")) window.Btn_Macro_0Click();
    else if (page == QLatin1String("update")) window.Btn_Update_0Click();
    else if (page == QLatin1String("engineer")) window.Btn_Engineer_0Click();
    else if (page == QLatin1String("fire")) window.showFireMacroPage();
    else if (page == QLatin1String("firegun6")) {  // a gun with scopes: the scope row is shown
        window.showFireMacroPage();
        if (auto* gunPage = window.findChild<nivra::ui::FireMacroPage*>(QStringLiteral("gbPage6")))
            gunPage->Btn_FireClick(6);
    }
    else if (page == QLatin1String("keymenu") || page == QLatin1String("basemacro")) {
        // The first key's function menu with a sub-menu open: the standard keys, or the
        // mouse's macros (Base Macro).
        QTest::mouseClick(window.findChild<QWidget*>(QStringLiteral("Key1")), Qt::LeftButton);
        if (auto* profile = window.findChild<nivra::ui::ProfilePage*>(QStringLiteral("gbPage1")))
            profile->menu()->KeyByTagMouseEnter(page == QLatin1String("keymenu") ? QStringLiteral("Key_Standard")
                                                                               : QStringLiteral("Key_Macro"));
    }
    else if (page == QLatin1String("firemacro") || page == QLatin1String("fireinsert")) {
        // The fire macro editor revealed, the first fire macro shown, a line selected.
        window.showFireMacroPage();
        nivra::FireMacroModel& fire = window.fireMacroModel();
        fire.passwordEntered(std::string("QorvinTek"));
        fire.LB_FireMacroNameClick(0);
        fire.selectListingRow(3);
        if (page == QLatin1String("fireinsert")) {
            fire.Btn_FireInsertClick();
            fire.setInsertItem(nivra::macro::FireInsertItem::MoveBack);
        }
    }
    else if (page == QLatin1String("splash")) window.showSplash(true);
    else if (page == QLatin1String("restart")) {
        // Five seconds into the restart after a restore the window runs on its own for a while,
        // so the shot shows the splash and its countdown.
        const auto from = clock.now();
        bool held = false;
        clock.setPump([&] {
            if (held || clock.now() - from < std::chrono::seconds(5)) return;
            held = true;
            window.refreshSplashText();
            QTest::qWait(5000);
        });
        window.Btn_ConfirmClick(2);
    } else if (page == QLatin1String("confirm")) {
        desktop.showConfirmations = true;
        window.Btn_ConfirmClick(1);
    } else if (page == QLatin1String("langmenu")) {
        window.windowMenu()->popup(window.mapToGlobal(QPoint(300, 40)));
    }
    else if (page == QLatin1String("openfile")) desktop.openFile(&window, QLatin1String(nivra::ui::kLoadFilter));
    else if (page == QLatin1String("colour")) QColorDialog::getColor(Qt::red, &window);
    else if (page == QLatin1String("unplugged")) {
        mouse.unplug();
        device.pollNow();
    }
    std::unique_ptr<nivra::ui::SmallDialog> dialog;
    if (page.startsWith(QLatin1String("form"))) {
        const int form = page.mid(4).toInt();
        if (form < 2 || form > 7) {
            std::fprintf(stderr, "ui_tour: no dialog %s\n", qPrintable(page));
            return 2;
        }
        dialog = std::make_unique<nivra::ui::SmallDialog>(form, skin, &window);
        dialog->open();
        const char* typed[] = {"", "", "A", "Recoil", "K", "25", "-12", "3"};
        for (QLineEdit* edit : dialog->edits()) QTest::keyClicks(edit, QLatin1String(typed[form]));
        if (form == 2)
            if (auto* ctrl = dialog->findChild<QCheckBox*>(QStringLiteral("CB_Ctrl"))) ctrl->setChecked(true);
    }
    if (auto* label = window.findChild<QWidget*>(QStringLiteral("Btn_Main_1")))
        std::fprintf(stderr, "ui_tour: caption font %s (%s) %d\n", qPrintable(QFontInfo(label->font()).family()), qPrintable(skin.fontName()),
                     label->font().pointSize());
    return QApplication::exec();
}
