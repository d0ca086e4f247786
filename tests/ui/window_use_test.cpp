// The window as a user meets it over the shipped skin: controls keep their own size, a press
// on the background leaves double-clicks to the window until the pointer moves, closing and
// moving stay possible while the pages are covered, the small dialogs are readable, and the
// window starts in the desktop's language.
#include "fakes.h"
#include "qt_app.h"

#include "skin/language_table.h"
#include "ui/advanced_page.h"
#include "ui/light_page.h"
#include "ui/macro_page.h"
#include "ui/main_window.h"
#include "ui/qt_translations.h"
#include "ui/skin_button.h"
#include "ui/small_dialog.h"
#include "ui/start_language.h"
#include "ui/table_skin.h"
#include "ui/update_page.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QFile>
#include <QMenu>
#include <QRadioButton>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace nivra::ui::test {
namespace {

class WindowUseTest : public ::testing::Test {
protected:
    WindowUseTest() { qtApp(); }
    void start(int language = 1) {
        window = std::make_unique<MainWindow>(skin, device.session, desktop, nullptr, language);
        window->show();
    }
    template <class T = QWidget>
    T* w(const QString& name) {
        T* found = window->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    // The control a click at the centre of the named control reaches.
    QWidget* reachedAt(const QString& name) {
        QWidget* target = w(name);
        return window->childAt(target->mapTo(window.get(), target->rect().center()));
    }
    void send(QWidget* to, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
        QMouseEvent e(type, QPointF(at), to->mapToGlobal(QPointF(at)),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(to, &e);
    }

    TableSkin skin;
    SimulatedDevice device;
    FakeDesktop desktop;
    std::unique_ptr<MainWindow> window;
};

// Pictures are decoded as their pages come into view and let go at a language switch: after
// a switch every page looks as it does in a window started in that language.
TEST_F(WindowUseTest, AfterALanguageSwitchPagesLookAsInAWindowStartedInThatLanguage) {
    auto shots = [&] {
        std::vector<QImage> out;
        for (void (MainWindow::*open)() : {&MainWindow::Btn_Breath_0Click, &MainWindow::Btn_Main_0Click,
                                           &MainWindow::Btn_Adv_0Click, &MainWindow::Btn_Macro_0Click,
                                           &MainWindow::showFireMacroPage}) {
            (window.get()->*open)();
            QApplication::processEvents();
            out.push_back(window->grab().toImage());
        }
        return out;
    };
    start(1);
    device.connect();
    window->Btn_Breath_0Click();  // pages seen in language 1 before the switch
    window->showFireMacroPage();  // (the gun page is built when first opened)
    window->Btn_Adv_0Click();
    window->Btn_LangClick(3);
    const std::vector<QImage> switched = shots();
    window.reset();
    SimulatedDevice second;  // a session of its own, as a new start has
    window = std::make_unique<MainWindow>(skin, second.session, desktop, nullptr, 3);
    window->show();
    second.connect();
    const std::vector<QImage> fresh = shots();
    ASSERT_EQ(switched.size(), fresh.size());
    for (std::size_t i = 0; i < fresh.size(); ++i) {
        EXPECT_FALSE(fresh[i].isNull());
        EXPECT_TRUE(switched[i] == fresh[i]) << "page " << i;
    }
    window.reset();  // before the session it was built on
}

// Pages 2-5 are built when first needed. One built after a language switch, with the
// engineer state on, the covers up, the web button pressed and a patch file loaded holds
// what it would hold had it been built with the window: captions, pictures, places, fonts,
// colours, visibility and stacking of every control.
TEST_F(WindowUseTest, APageBuiltLateMatchesOneBuiltWithTheWindow) {
    auto describe = [](QWidget* page) {
        QStringList out;
        for (QWidget* c : page->findChildren<QWidget*>()) {
            QString text;
            if (auto* l = qobject_cast<QLabel*>(c)) text = l->text();
            else if (auto* e = qobject_cast<QLineEdit*>(c)) text = e->text();
            else if (auto* b = qobject_cast<QAbstractButton*>(c)) text = b->text();
            const QRect g = c->geometry();
            out << QStringLiteral("%1 %2 %3,%4 %5x%6 shown=%7 enabled=%8 [%9] %10 %11 %12 %13")
                       .arg(c->objectName(), QLatin1String(c->metaObject()->className()))
                       .arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height())
                       .arg(c->isVisibleTo(page)).arg(c->isEnabled())
                       .arg(text, skinPictureOf(c), skinFontOf(c).toString(),
                            c->palette().color(QPalette::WindowText).name(), c->toolTip());
        }
        return out;
    };
    auto pagesAfterUse = [&](bool builtFirst) {
        SimulatedDevice used;
        window = std::make_unique<MainWindow>(skin, used.session, desktop, nullptr, 1);
        window->show();
        const auto build = [this] {
            return std::vector<QWidget*>{window->advancedPage(), window->lightPage(), window->macroPage(),
                                         window->updatePage()};
        };
        std::vector<QWidget*> pages;
        if (builtFirst) pages = build();
        used.connect();
        window->Btn_LangClick(3);
        desktop.passwords = {QStringLiteral("QorvinTekWLP")};
        for (int i = 0; i < 5; ++i) window->Img_Base_1DblClick();
        EXPECT_TRUE(window->state().engineerShown);
        window->Btn_Web_0Click();
        window->showPatchFilePath(QStringLiteral("/media/patch.bin"));
        window->showCovers(true);
        if (!builtFirst) pages = build();
        QApplication::processEvents();  // style sheets are applied when the new controls are polished
        std::vector<QStringList> out;
        for (QWidget* page : pages) out.push_back(describe(page));
        window.reset();  // before the session it was built on
        return out;
    };
    const std::vector<QStringList> early = pagesAfterUse(true);
    const std::vector<QStringList> late = pagesAfterUse(false);
    ASSERT_EQ(early.size(), late.size());
    for (std::size_t p = 0; p < early.size(); ++p) {
        ASSERT_EQ(early[p].size(), late[p].size()) << "page " << p + 2;
        for (qsizetype i = 0; i < early[p].size(); ++i) EXPECT_EQ(late[p][i], early[p][i]) << "page " << p + 2;
    }
    // The state the late pages took over is there.
    EXPECT_TRUE(late[0].filter(QStringLiteral("Disable_All_2 ")).front().contains(QStringLiteral("shown=1")));
    EXPECT_TRUE(late[3].filter(QStringLiteral("lbl_LoadBIN ")).front().contains(QStringLiteral("/media/patch.bin")));
}

// Only the covering labels and the page backgrounds are as large as a page; any other
// control of that size hides what lies under it or catches clicks meant for the page.
TEST_F(WindowUseTest, NoShownControlButCoversAndBackgroundsSpansThePage) {
    start();
    device.connect();
    const char* pageButtons[] = {"Btn_Main_1", "Btn_Switch_1", "Btn_Adv_1", "Btn_Breath_1", "Btn_Macro_1",
                                 "Btn_Update_1"};
    for (int language : {1, 2, 3}) {
        window->Btn_LangClick(language);
        for (const char* button : pageButtons) {
            QTest::mouseClick(w(QLatin1String(button)), Qt::LeftButton);
            window->showCovers(true);  // the covers are among the shown controls
            for (int n = 1; n <= 6; ++n) {
                // The gun page is built when it is first opened.
                QWidget* page = window->findChild<QWidget*>(QStringLiteral("gbPage%1").arg(n));
                if (!page || !page->isVisible()) continue;
                for (QWidget* c : page->findChildren<QWidget*>()) {
                    if (!c->isVisibleTo(page)) continue;
                    const QString name = c->objectName();
                    if (name.startsWith(QLatin1String("Disable_All_")) || name.startsWith(QLatin1String("Img_Base_")))
                        continue;
                    const QSize size = c->size();
                    EXPECT_FALSE(size.width() >= page->width() && size.height() >= page->height())
                        << "language " << language << " after " << button << ": " << name.toStdString() << " "
                        << size.width() << "x" << size.height();
                }
            }
            window->showCovers(false);
        }
    }
}

TEST_F(WindowUseTest, APressAloneStartsNoSystemMoveSoTheFifthDoubleClickAsksForThePassword) {
    start();
    QWidget* base = w(QStringLiteral("Img_Base_1"));
    const QPoint at(600, 300);
    for (int i = 0; i < 5; ++i) {
        send(base, QEvent::MouseButtonPress, at, Qt::LeftButton);
        send(base, QEvent::MouseMove, at + QPoint(1, 0), Qt::LeftButton);  // a hand's tremble
        send(base, QEvent::MouseButtonRelease, at, Qt::NoButton);
        send(base, QEvent::MouseButtonDblClick, at, Qt::LeftButton);
        send(base, QEvent::MouseButtonRelease, at, Qt::NoButton);
    }
    EXPECT_EQ(desktop.systemMoves, 0);
    EXPECT_EQ(desktop.passwordPrompts, 1);

    // Past the drag distance the window manager takes the move over.
    desktop.systemMoveWorks = true;
    const QPoint start = window->pos();
    const int far = QApplication::startDragDistance() + 1;
    send(base, QEvent::MouseButtonPress, at, Qt::LeftButton);
    send(base, QEvent::MouseMove, at + QPoint(far, 0), Qt::LeftButton);
    send(base, QEvent::MouseMove, at + QPoint(far + 30, 0), Qt::LeftButton);
    send(base, QEvent::MouseButtonRelease, at + QPoint(far + 30, 0), Qt::NoButton);
    EXPECT_EQ(desktop.systemMoves, 1);
    EXPECT_EQ(window->pos(), start);  // the window manager moves it, not the window
}

// After an unplug the covers block the page controls, but the frameless window can still
// be closed and moved.
TEST_F(WindowUseTest, CoveredPagesStillCloseAndMoveTheWindow) {
    start();
    device.connect();
    QTest::mouseClick(w(QStringLiteral("Btn_Adv_1")), Qt::LeftButton);
    device.mouse.unplug();
    device.session.pollNow();
    desktop.messages.clear();

    for (const char* name : {"Btn_Exit1_1", "Btn_Exit2_1"}) EXPECT_EQ(reachedAt(QLatin1String(name)), w(QLatin1String(name)));
    for (const char* name : {"Key1", "Btn_Switch_1", "Btn_Save_1", "IB_ComboKey2"})
        EXPECT_EQ(reachedAt(QLatin1String(name)), w(QStringLiteral("Disable_All_1"))) << name;

    QWidget* cover = w(QStringLiteral("Disable_All_1"));
    const QPoint start = window->pos();
    send(cover, QEvent::MouseButtonPress, QPoint(500, 300), Qt::LeftButton);
    send(cover, QEvent::MouseMove, QPoint(560, 340), Qt::LeftButton);
    send(cover, QEvent::MouseButtonRelease, QPoint(560, 340), Qt::NoButton);
    EXPECT_EQ(window->pos(), start + QPoint(60, 40));
    EXPECT_TRUE(desktop.messages.isEmpty());

    QTest::mouseClick(reachedAt(QStringLiteral("Btn_Exit1_1")), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
}

// The combination dialog names its modifier boxes, and every small dialog draws its dark
// edit text on a light field.
TEST_F(WindowUseTest, SmallDialogsCaptionTheModifiersAndShowTheirEditTextOnALightField) {
    start();
    for (int language : {1, 2, 3}) {
        window->Btn_LangClick(language);
        for (int form = 2; form <= 7; ++form) {
            SmallDialog dialog(form, skin, window.get());
            dialog.open();
            for (QLineEdit* edit : dialog.edits()) {
                const QPalette pal = edit->palette();
                EXPECT_GT(pal.color(QPalette::Base).lightness(), 200) << "TForm" << form;
                EXPECT_LT(pal.color(QPalette::Text).lightness(), 80) << "TForm" << form;
            }
            if (form == 2) {
                QStringList captions;
                for (const char* box : {"CB_Ctrl", "CB_Shift", "CB_Alt", "CB_Win"})
                    captions << dialog.findChild<QCheckBox*>(QLatin1String(box))->text();
                EXPECT_EQ(captions, (QStringList{QStringLiteral("Ctrl"), QStringLiteral("Shift"), QStringLiteral("Alt"),
                                                 QStringLiteral("Win")}))
                    << "language " << language;
            }
            dialog.reject();
        }
    }
}

TEST(StartLanguage, FollowsTheDesktopLocale) {
    const struct { const char* locale; int language; } cases[] = {
        {"zh_CN.UTF-8", 1}, {"zh_SG", 1},       {"zh_CN", 1},       {"zh-Hans-CN", 1}, {"zh_TW.UTF-8", 2},
        {"zh_HK", 2},       {"zh_MO.UTF-8", 2}, {"zh-Hant-TW", 2},  {"en_US.UTF-8", 3}, {"de_DE@euro", 3},
        {"ja_JP", 3},       {"C", 3},           {"POSIX", 3},       {"", 3},
    };
    for (const auto& c : cases) EXPECT_EQ(languageForLocale(QLatin1String(c.locale)), c.language) << c.locale;
}

TEST(StartLanguage, TheLanguageOptionOverridesAndLeavesTheOtherArguments) {
    struct Case {
        QStringList args;
        std::optional<int> language;
        bool error;
        QStringList rest;
    };
    const QString sim = QStringLiteral("--simulate");
    const Case cases[] = {
        {{sim}, std::nullopt, false, {sim}},
        {{QStringLiteral("--language"), QStringLiteral("3"), sim}, 3, false, {sim}},
        {{sim, QStringLiteral("--language=2")}, 2, false, {sim}},
        {{QStringLiteral("--language"), QStringLiteral("4")}, std::nullopt, true, {}},
        {{QStringLiteral("--language=")}, std::nullopt, true, {}},
        {{QStringLiteral("--language")}, std::nullopt, true, {}},
        {{QStringLiteral("--language"), QStringLiteral("en")}, std::nullopt, true, {}},
    };
    for (const Case& c : cases) {
        QStringList args = c.args;
        const LanguageOption got = takeLanguageOption(args);
        EXPECT_EQ(got.language, c.language) << c.args.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(!got.error.isEmpty(), c.error) << c.args.join(QLatin1Char(' ')).toStdString();
        if (!c.error) {
            EXPECT_EQ(args, c.rest);
        }
    }
}

TEST_F(WindowUseTest, StartsInTheLanguageItIsGiven) {
    start(3);
    EXPECT_EQ(w<QLabel>(QStringLiteral("Btn_Main_1"))->text(),
              skin::builtInLanguages()->table(3).text(QStringLiteral("Str004")));
    EXPECT_TRUE(w<QRadioButton>(QStringLiteral("rb_Lang3"))->isChecked());
    EXPECT_EQ(w<QLabel>(QStringLiteral("Img_Lang3_1"))->property("skinPicture").toString(), QStringLiteral("SetS_03"));
}

// From every start language the three languages are offered in the tray menu and the
// window's own menu, named in their own scripts; the choice applies at once and is kept for
// the next start, where it wins over the locale and --language wins over it.
TEST_F(WindowUseTest, ALanguageChosenFromTheTrayInEachStartLanguageIsKeptForTheNextStart) {
    QTemporaryDir dir;
    const QString kept = dir.filePath(QStringLiteral("nivra/language"));
    const QStringList names{QStringLiteral("简体中文"), QStringLiteral("繁體中文"), QStringLiteral("English")};
    for (int first : {1, 2, 3}) {
        SCOPED_TRACE(first);
        const int chosen = first % 3 + 1;
        start(first);
        window->setLanguageFile(kept);
        for (QMenu* menu : {window->trayMenu(), window->windowMenu()}) {
            for (int n = 1; n <= 3; ++n) {
                auto* action = menu->findChild<QAction*>(QStringLiteral("act_Lang%1").arg(n));
                ASSERT_NE(action, nullptr);
                EXPECT_EQ(action->text(), names[n - 1]);
                EXPECT_EQ(action->isChecked(), n == first);
            }
        }
        EXPECT_EQ(window->trayIcon()->contextMenu(), window->trayMenu());
        window->trayMenu()->findChild<QAction*>(QStringLiteral("act_Lang%1").arg(chosen))->trigger();
        EXPECT_TRUE(w<QRadioButton>(QStringLiteral("rb_Lang%1").arg(chosen))->isChecked());
        EXPECT_EQ(w<QLabel>(QStringLiteral("Btn_Main_1"))->text(),
                  skin::builtInLanguages()->table(chosen).text(QStringLiteral("Str004")));
        EXPECT_TRUE(window->windowMenu()->findChild<QAction*>(QStringLiteral("act_Lang%1").arg(chosen))->isChecked());
        EXPECT_EQ(readSavedLanguage(kept), chosen);
        EXPECT_EQ(chooseStartLanguage(std::nullopt, kept, QStringLiteral("de_DE.UTF-8")), chosen);
        EXPECT_EQ(chooseStartLanguage(first, kept, QStringLiteral("de_DE.UTF-8")), first);
        window.reset();
    }
    // The window's own menu does the same; a file that holds no language leaves it to the locale.
    start(3);
    window->setLanguageFile(kept);
    window->windowMenu()->findChild<QAction*>(QStringLiteral("act_Lang2"))->trigger();
    EXPECT_EQ(readSavedLanguage(kept), 2);
    QFile garbage(kept);
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("7\n");
    garbage.close();
    EXPECT_EQ(chooseStartLanguage(std::nullopt, kept, QStringLiteral("zh_TW.UTF-8")), 2);
    EXPECT_EQ(chooseStartLanguage(std::nullopt, dir.filePath(QStringLiteral("none")), QStringLiteral("zh_CN")), 1);
}

// Qt's own buttons speak the window's language.
TEST_F(WindowUseTest, QtsOwnTextsFollowTheLanguage) {
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!QFileInfo::exists(dir + QStringLiteral("/qtbase_zh_CN.qm")))
        GTEST_SKIP() << "Qt's translations are not installed (scripts/deps.sh installs them)";
    start(1);
    const QString ok = QCoreApplication::translate("QPlatformTheme", "OK");
    EXPECT_NE(ok, QStringLiteral("OK"));
    window->Btn_LangClick(2);
    EXPECT_NE(QCoreApplication::translate("QPlatformTheme", "OK"), QStringLiteral("OK"));
    EXPECT_NE(QCoreApplication::translate("QPlatformTheme", "OK"), ok);
    window->Btn_LangClick(3);
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "OK"), QStringLiteral("OK"));
}

}  // namespace
}  // namespace nivra::ui::test
