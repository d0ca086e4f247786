// The main window driven by objectName: page buttons, picture states, covering labels,
// the engineer state, closing and dragging.
#include "fakes.h"
#include "qt_app.h"

#include "ui/loading_splash.h"
#include "ui/engineer_page.h"
#include "ui/function_menu.h"
#include "ui/main_window.h"
#include "ui/profile_page.h"

#include <QByteArray>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "tests/support/temp_dir.h"
#include <QComboBox>
#include <QFile>

#include <algorithm>
#include <functional>

#include <gtest/gtest.h>

namespace nivra::ui::test {
namespace {

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() { qtApp(); }
    void SetUp() override {
        window = std::make_unique<MainWindow>(skin, device.session, desktop);
        window->show();
    }

    template <class T = QWidget>
    T* w(const QString& name) {
        T* found = window->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    QString picture(const QString& name) { return w<QLabel>(name)->property("skinPicture").toString(); }
    void click(const QString& name) { QTest::mouseClick(w(name), Qt::LeftButton); }
    void hover(const QString& name) {
        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QApplication::sendEvent(w(name), &enter);
    }
    void leave(const QString& name) {
        QEvent ev(QEvent::Leave);
        QApplication::sendEvent(w(name), &ev);
    }
    void doubleClickBase() { QTest::mouseDClick(w(QStringLiteral("Img_Base_1")), Qt::LeftButton); }
    std::vector<QString> visiblePages() {
        std::vector<QString> out;
        if (w(QStringLiteral("gbPage1"))->isVisible()) out.push_back(QStringLiteral("gbPage1"));
        // Pages 2-7 exist once they have been needed.
        for (int n = 2; n <= 7; ++n)
            if (QWidget* page = window->findChild<QWidget*>(QStringLiteral("gbPage%1").arg(n)); page && page->isVisible())
                out.push_back(QStringLiteral("gbPage%1").arg(n));
        return out;
    }
    // Builds pages 2-5 where they are not built yet: each then shows the window's state.
    void buildPages() {
        window->advancedPage();
        window->lightPage();
        window->macroPage();
        window->updatePage();
    }

    FakeSkin skin;
    SimulatedDevice device;
    FakeDesktop desktop;
    std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowTest, StartsInTheNoDeviceStateOnPageOneInLanguageOne) {
    // The window manager shows the application title of the language once.
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Gaming Mouse"));
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), window->windowTitle());
    EXPECT_EQ(window->size(), QSize(1030, 662));
    // The window takes the shape of its background: the transparent colour is see-through.
    EXPECT_FALSE(window->mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(window->mask().contains(QPoint(4, 0)));
    EXPECT_TRUE(window->mask().contains(QPoint(515, 331)));
    EXPECT_EQ(visiblePages(), std::vector<QString>{QStringLiteral("gbPage1")});
    EXPECT_TRUE(device.session.pollRunning());
    EXPECT_EQ(skin.language, 1);
    EXPECT_EQ(w<QLabel>(QStringLiteral("Btn_Main_1"))->text(), QStringLiteral("办公模式"));
    // Pages 2-5 are built when first needed, with the state they would have had from the start.
    EXPECT_EQ(window->findChild<QWidget*>(QStringLiteral("gbPage2")), nullptr);
    buildPages();
    for (int n = 1; n <= 5; ++n) {
        EXPECT_EQ(picture(QStringLiteral("Img_Main_%1").arg(n)), "SetS_03");
        EXPECT_EQ(picture(QStringLiteral("Img_Lang1_%1").arg(n)), "SetS_03");
        EXPECT_EQ(picture(QStringLiteral("Img_Adv_%1").arg(n)), "SetS_01");
    }
    // Pressing the language button at start hid page 1's cover; the others stay up.
    EXPECT_FALSE(w(QStringLiteral("Disable_All_1"))->isVisibleTo(window.get()));
    for (int n = 2; n <= 5; ++n) {
        QWidget* page = w(QStringLiteral("gbPage%1").arg(n));
        EXPECT_TRUE(w(QStringLiteral("Disable_All_%1").arg(n))->isVisibleTo(page));
        EXPECT_FALSE(w(QStringLiteral("Btn_Engineer_%1").arg(n))->isVisibleTo(page));  // outside the engineer state
    }
}

// Every control the window's design names exists under that objectName.
TEST_F(MainWindowTest, NamedControlsExist) {
    QStringList names{QStringLiteral("gbPage7"), QStringLiteral("ts_Operator"), QStringLiteral("ts_Engineer"),
                      QStringLiteral("ts_Gun"), QStringLiteral("Img_Logo4"), QStringLiteral("Btn_Close"),
                      QStringLiteral("lbl_Content"), QStringLiteral("Disable_All_4_1"), QStringLiteral("Gb_Delay"),
                      QStringLiteral("Gb_Insert"), QStringLiteral("Img_InsertBase"), QStringLiteral("IB_ComboKey8"),
                      QStringLiteral("Btn_LoadBIN"), QStringLiteral("Img_LoadBIN"), QStringLiteral("Btn_Program"),
                      QStringLiteral("Img_Program"), QStringLiteral("Btn_WebLink"), QStringLiteral("lbl_LoadBIN"),
                      QStringLiteral("Btn_Default"), QStringLiteral("Btn_ImportBaseMacro"),
                      QStringLiteral("Btn_ImportGunMacro"), QStringLiteral("Btn_PatchCode"),
                      QStringLiteral("lbl_LEDMode"), QStringLiteral("cb_LEDMode")};
    for (int n = 1; n <= 8; ++n) names << QStringLiteral("rb_%1").arg(n);
    for (int n = 1; n <= 3; ++n) names << QStringLiteral("rb_Lang%1").arg(n);
    for (int n = 1; n <= 6; ++n) names << QStringLiteral("gbPage%1").arg(n) << QStringLiteral("Img_Base_%1").arg(n);
    for (int n : {1, 2, 3, 4, 5, 6}) names << QStringLiteral("Img_P%1").arg(n);
    for (int k = 1; k <= 12; ++k) names << QStringLiteral("Key%1").arg(k) << QStringLiteral("Img_Key%1").arg(k);
    for (const char* stem : {"Main", "Switch", "Fixed", "Adv", "Breath", "Macro", "Update", "Engineer", "Load", "Save"})
        names << QStringLiteral("Btn_%1_6").arg(QLatin1String(stem));
    for (int n = 1; n <= 5; ++n) {
        names << QStringLiteral("Disable_All_%1").arg(n);
        for (const char* stem : {"Main", "Switch", "Fixed", "Adv", "Breath", "Macro", "Update", "Engineer", "Load",
                                 "Save", "Lang1", "Lang2", "Lang3", "Confirm1", "Confirm2", "Confirm3", "Exit1",
                                 "Exit2", "Web"})
            names << QStringLiteral("Btn_%1_%2").arg(QLatin1String(stem)).arg(n)
                  << QStringLiteral("Img_%1_%2").arg(QLatin1String(stem)).arg(n);
    }
    // Pages 2-7 are built when they are first needed; asking for them builds them.
    buildPages();
    ASSERT_NE(window->engineerPage(), nullptr);
    window->fireMacroEditor();
    for (const QString& name : names) EXPECT_NE(window->findChild<QObject*>(name), nullptr) << name.toStdString();
    EXPECT_EQ(window->objectName(), QStringLiteral("TForm1"));
    EXPECT_EQ(window->splash()->objectName(), QStringLiteral("TFormLoadingUI"));
    EXPECT_EQ(window->trayIcon()->objectName(), QStringLiteral("TrayIcon1"));
}

TEST_F(MainWindowTest, EveryDeviceButtonWithoutAMouseShowsFindingTheDeviceAndKeepsThePage) {
    const char* buttons[] = {"Btn_Switch_1", "Btn_Fixed_1", "Btn_Adv_1", "Btn_Breath_1", "Btn_Macro_1",
                             "Btn_Update_1", "Btn_Engineer_1", "Btn_Save_1", "Btn_Load_1", "Btn_Confirm1_1"};
    for (const char* name : buttons) {
        desktop.messages.clear();
        window->findChild<QWidget*>(QLatin1String(name))->show();  // Engineer is hidden by default
        click(QLatin1String(name));
        EXPECT_EQ(desktop.messages, QStringList{QStringLiteral("Finding the specified device")}) << name;
        EXPECT_EQ(visiblePages(), std::vector<QString>{QStringLiteral("gbPage1")}) << name;
    }
    EXPECT_TRUE(desktop.filters.isEmpty());
    EXPECT_EQ(device.mouse.restartCount(), 0);
}

TEST_F(MainWindowTest, InTheNoDeviceStateAnOpenMouseStillLeavesPageButtonsIdle) {
    device.openWithoutReading();
    click(QStringLiteral("Btn_Adv_1"));
    EXPECT_TRUE(desktop.messages.isEmpty());
    EXPECT_EQ(visiblePages(), std::vector<QString>{QStringLiteral("gbPage1")});
}

TEST_F(MainWindowTest, PageButtonsOpenTheirContainerAndMarkTheirFiveCopies) {
    device.connect();
    struct Case { const char* button; const char* stem; const char* container; const char* selector; };
    const Case cases[] = {
        {"Btn_Adv_1", "Adv", "gbPage2", "rb_4"},       {"Btn_Breath_2", "Breath", "gbPage3", "rb_5"},
        {"Btn_Macro_3", "Macro", "gbPage4", "rb_6"},   {"Btn_Update_4", "Update", "gbPage5", "rb_7"},
        {"Btn_Switch_5", "Switch", "gbPage1", "rb_2"}, {"Btn_Main_1", "Main", "gbPage1", "rb_1"},
    };
    for (const Case& c : cases) {
        click(QLatin1String(c.button));
        EXPECT_EQ(visiblePages(), std::vector<QString>{QLatin1String(c.container)}) << c.button;
        buildPages();  // the copies on pages not opened yet
        EXPECT_TRUE(w<QRadioButton>(QLatin1String(c.selector))->isChecked()) << c.button;
        for (int n = 1; n <= 5; ++n) {
            EXPECT_EQ(picture(QStringLiteral("Img_%1_%2").arg(QLatin1String(c.stem)).arg(n)), "SetS_03") << c.button;
            if (QLatin1String(c.stem) != QLatin1String("Fixed")) {
                EXPECT_EQ(picture(QStringLiteral("Img_Fixed_%1").arg(n)), "SetS_01") << c.button;
            }
        }
        for (int n = 1; n <= 5; ++n)
            EXPECT_FALSE(w(QStringLiteral("Disable_All_%1").arg(n))->isVisibleTo(w(QStringLiteral("gbPage%1").arg(n))));
    }
    EXPECT_TRUE(desktop.messages.isEmpty());
}

TEST_F(MainWindowTest, GunKeyToggleShowsOnlyInGameModeWithBothSwitchesOn) {
    device.connect();
    auto toggleShown = [&] { return w(QStringLiteral("IB_ComboKey8"))->isVisibleTo(w(QStringLiteral("gbPage1"))); };
    struct Case { bool enabled; bool gunDisplay; bool shown; };
    for (const Case c : {Case{true, true, true}, Case{true, false, false}, Case{false, true, false}}) {
        skin.comboKey8 = c.enabled;
        skin.global.gunDisplay = c.gunDisplay;
        click(QStringLiteral("Btn_Switch_1"));
        EXPECT_EQ(toggleShown(), c.shown) << c.enabled << c.gunDisplay;
        click(QStringLiteral("Btn_Main_1"));
        EXPECT_FALSE(toggleShown());
    }
}

TEST_F(MainWindowTest, ProfileButtonsWaitWhileBusyButOtherPagesOpen) {
    device.connect();
    device.session.transfer().setBusy(true);
    click(QStringLiteral("Btn_Switch_1"));
    EXPECT_FALSE(w<QRadioButton>(QStringLiteral("rb_2"))->isChecked());
    click(QStringLiteral("Btn_Adv_1"));
    EXPECT_EQ(visiblePages(), std::vector<QString>{QStringLiteral("gbPage2")});
}

TEST_F(MainWindowTest, HoveringAndLeavingTheButtonOfThePageInViewKeepsItsSelectedPicture) {
    hover(QStringLiteral("Btn_Main_1"));
    EXPECT_EQ(picture(QStringLiteral("Img_Main_1")), "SetS_02");
    leave(QStringLiteral("Btn_Main_1"));
    EXPECT_EQ(picture(QStringLiteral("Img_Main_1")), "SetS_03");
    hover(QStringLiteral("Btn_Adv_1"));
    EXPECT_EQ(picture(QStringLiteral("Img_Adv_1")), "SetS_02");
    leave(QStringLiteral("Btn_Adv_1"));
    EXPECT_EQ(picture(QStringLiteral("Img_Adv_1")), "SetS_01");
    hover(QStringLiteral("Btn_Lang1_1"));
    leave(QStringLiteral("Btn_Lang1_1"));
    EXPECT_EQ(picture(QStringLiteral("Img_Lang1_1")), "SetS_03");
    hover(QStringLiteral("Btn_Web_1"));
    EXPECT_EQ(picture(QStringLiteral("Img_Web_1")), "WebS_03");
    hover(QStringLiteral("Btn_Exit1_1"));
    EXPECT_EQ(picture(QStringLiteral("Img_Exit1_1")), "ExitS_02");
    hover(QStringLiteral("Key1"));
    EXPECT_EQ(picture(QStringLiteral("Img_Key1")), "KeyS_02");
    // Kinds A (Confirm, Exit) and E (update page): hover picture, then the normal one.
    buildPages();
    struct Case { const char* label; const char* picture; const char* hovered; const char* normal; };
    const Case cases[] = {{"Btn_Confirm2_3", "Img_Confirm2_3", "BtnS_02", "BtnS_01"},
                          {"Btn_Exit2_4", "Img_Exit2_4", "BtnS_02", "BtnS_01"},
                          {"Btn_LoadBIN", "Img_LoadBIN", "KeyS_02", "KeyS_01"},
                          {"Btn_Program", "Img_Program", "KeyS_02", "KeyS_01"}};
    for (const Case& c : cases) {
        hover(QLatin1String(c.label));
        EXPECT_EQ(picture(QLatin1String(c.picture)), QLatin1String(c.hovered)) << c.label;
        leave(QLatin1String(c.label));
        EXPECT_EQ(picture(QLatin1String(c.picture)), QLatin1String(c.normal)) << c.label;
    }
}

TEST_F(MainWindowTest, FifthDoubleClickAsksForThePasswordAndOnlyTheEngineerPasswordShowsTheTabs) {
    window->engineerPage();  // built on first use; its tabs follow the engineer state from then on
    QTabWidget* tabs = w<QTabWidget>(QStringLiteral("tabs_Engineer"));
    auto shown = [&](const char* tab) {
        return tabs->isTabVisible(tabs->indexOf(w(QLatin1String(tab))));
    };
    desktop.passwords = {QStringLiteral("QorvinTek"), QStringLiteral("wrong"), QStringLiteral("QorvinTekWLP")};
    for (int i = 0; i < 4; ++i) doubleClickBase();
    EXPECT_EQ(desktop.passwordPrompts, 0);
    doubleClickBase();
    EXPECT_EQ(desktop.passwordPrompts, 1);
    EXPECT_TRUE(window->state().reveal);
    EXPECT_FALSE(shown("ts_Engineer"));
    EXPECT_FALSE(w(QStringLiteral("Btn_Default"))->isVisibleTo(w(QStringLiteral("gbPage7"))));

    // With the reveal flag set one double-click turns it off again.
    doubleClickBase();
    EXPECT_FALSE(window->state().reveal);
    EXPECT_EQ(desktop.passwordPrompts, 1);

    for (int i = 0; i < 5; ++i) doubleClickBase();  // a wrong password changes nothing
    EXPECT_EQ(desktop.passwordPrompts, 2);
    EXPECT_FALSE(window->state().reveal);

    for (int i = 0; i < 5; ++i) doubleClickBase();
    EXPECT_EQ(desktop.passwordPrompts, 3);
    EXPECT_TRUE(shown("ts_Engineer"));
    EXPECT_TRUE(shown("ts_Gun"));
    for (const char* b : {"Btn_Default", "Btn_ImportBaseMacro", "Btn_ImportGunMacro", "Btn_PatchCode"})
        EXPECT_TRUE(w(QLatin1String(b))->isVisibleTo(w(QStringLiteral("gbPage7")))) << b;
    EXPECT_TRUE(w(QStringLiteral("cb_LEDMode"))->isEnabled());
    // The engineer state is how a factory user reaches the engineer page.
    EXPECT_TRUE(w(QStringLiteral("Btn_Engineer_1"))->isVisibleTo(w(QStringLiteral("gbPage1"))));

    doubleClickBase();
    EXPECT_FALSE(shown("ts_Gun"));
    EXPECT_FALSE(w(QStringLiteral("Btn_Engineer_1"))->isVisibleTo(w(QStringLiteral("gbPage1"))));
    EXPECT_FALSE(w(QStringLiteral("cb_LEDMode"))->isEnabled());
}

// Pictures are decoded when their control comes into view: at start only the shown page
// holds pixels, a hidden page's labels already have their pictures' sizes, and a language
// switch lets go of the pictures a hidden page showed before.
TEST_F(MainWindowTest, PicturesArePutOnWhenShownAndLetGoWhenHiddenAtALanguageSwitch) {
    auto holds = [&](const char* name) { return !w<QLabel>(QLatin1String(name))->pixmap().isNull(); };
    EXPECT_TRUE(holds("Img_Base_1"));
    EXPECT_TRUE(holds("Img_Main_1"));
    window->lightPage();  // built hidden
    EXPECT_FALSE(holds("Img_Main_3"));
    EXPECT_FALSE(holds("Img_Adv_3"));
    EXPECT_EQ(w(QStringLiteral("Img_Main_3"))->size(), QSize(100, 30));
    EXPECT_EQ(window->findChild<QWidget*>(QStringLiteral("gbPage7")), nullptr);  // built on first use

    device.connect();
    click(QStringLiteral("Btn_Breath_1"));
    EXPECT_EQ(visiblePages(), std::vector<QString>{QStringLiteral("gbPage3")});
    EXPECT_TRUE(holds("Img_Main_3"));
    EXPECT_TRUE(holds("Img_Adv_3"));
    EXPECT_EQ(picture(QStringLiteral("Img_Breath_3")), "SetS_03");

    window->Btn_LangClick(3);
    EXPECT_TRUE(holds("Img_Main_3"));
    EXPECT_FALSE(holds("Img_Base_1"));  // page 1 is out of view
    EXPECT_FALSE(holds("Img_Main_1"));
    EXPECT_EQ(picture(QStringLiteral("Img_Lang3_1")), "SetS_03");  // the names still follow the state
    click(QStringLiteral("Btn_Main_3"));
    EXPECT_TRUE(holds("Img_Base_1"));
    EXPECT_TRUE(holds("Img_Lang3_1"));
}

TEST_F(MainWindowTest, EngineerPageUsesItsOwnSizeWithoutCoversAndItsCopiesLeadBack) {
    device.connect();
    window->advancedPage();
    window->findChild<QWidget*>(QStringLiteral("Btn_Engineer_2"))->show();
    click(QStringLiteral("Btn_Engineer_2"));
    EXPECT_EQ(visiblePages(), std::vector<QString>{QStringLiteral("gbPage7")});
    EXPECT_EQ(window->size(), QSize(1256, 680));
    EXPECT_TRUE(window->mask().isEmpty());
    EXPECT_EQ(w<QPushButton>(QStringLiteral("Btn_Main_6"))->text(), QStringLiteral("row 0"));
    for (int i = 0; i < 5; ++i) QTest::mouseDClick(w(QStringLiteral("Img_Logo4")), Qt::LeftButton);
    EXPECT_EQ(desktop.passwordPrompts, 1);  // the logo counts like the page 1 background
    QTest::mouseClick(w(QStringLiteral("Btn_Breath_6")), Qt::LeftButton);
    EXPECT_EQ(visiblePages(), std::vector<QString>{QStringLiteral("gbPage3")});
    EXPECT_EQ(window->size(), QSize(1030, 662));
    EXPECT_FALSE(window->mask().contains(QPoint(0, 0)));
}

TEST_F(MainWindowTest, UnpluggingShowsWaitingToReconnectAndCoversEveryPage) {
    device.connect();
    click(QStringLiteral("Btn_Adv_1"));
    device.mouse.unplug();
    device.session.pollNow();
    ASSERT_EQ(desktop.messages.size(), 1);
    EXPECT_TRUE(desktop.messages.front().startsWith(QStringLiteral("Waiting to reconnect device")));
    EXPECT_EQ(visiblePages(), std::vector<QString>{QStringLiteral("gbPage1")});
    buildPages();  // pages built while the covers are up show them too
    for (int n = 1; n <= 5; ++n)
        EXPECT_TRUE(w(QStringLiteral("Disable_All_%1").arg(n))->isVisibleTo(w(QStringLiteral("gbPage%1").arg(n))));
    EXPECT_EQ(picture(QStringLiteral("Img_Main_3")), "SetS_03");
    EXPECT_EQ(picture(QStringLiteral("Img_Adv_3")), "SetS_01");
    // The cover swallows the click: no message this time.
    click(QStringLiteral("Disable_All_1"));
    EXPECT_EQ(desktop.messages.size(), 1);
}

// A mouse whose node may not be opened gets the box that names the udev rule, once while it
// stays refused; a new refusal after a connection is told again.
TEST_F(MainWindowTest, AMouseThatMayNotBeOpenedNamesTheUdevRuleOnce) {
    device.mouse.denyOpen(true);
    device.session.pollNow();
    ASSERT_EQ(desktop.plainMessages.size(), 1);
    EXPECT_TRUE(desktop.plainMessages.front().contains(QStringLiteral("70-nivra-mouse.rules")));
    EXPECT_TRUE(desktop.plainMessages.front().contains(QString::fromLatin1(SimulatedMouse::kVendorPath)));
    device.mouse.addOtherDevice(0x046D, 0xC077);
    device.session.pollNow();
    EXPECT_EQ(desktop.plainMessages.size(), 1);

    device.mouse.denyOpen(false);
    device.mouse.addOtherDevice(0x046D, 0xC078);
    device.session.pollNow();
    EXPECT_TRUE(device.session.mouseOpen());
    device.mouse.unplug();
    device.session.pollNow();
    device.mouse.denyOpen(true);
    device.mouse.plugIn();
    device.session.pollNow();
    EXPECT_EQ(desktop.plainMessages.size(), 2);
}

// The configuration read at connection could not be kept as a backup (its folder cannot
// be made): the window says so, naming the folder and the reason.
TEST(MainWindowBackups, ABackupThatCannotBeWrittenIsShown) {
    qtApp();
    nivra::testing::TempDir dir;
    dir.file("blocker", {1});
    MouseSessionConfig config;
    config.backupDirectory = dir.path() / "blocker" / "backups";
    VirtualClock clock;
    SimulatedMouse mouse(clock, builtinImage(1));
    MouseSession session(mouse, clock, config);
    FakeSkin skin;
    FakeDesktop desktop;
    MainWindow window(skin, session, desktop);
    session.pollNow();
    ASSERT_TRUE(session.mouseOpen());
    ASSERT_EQ(desktop.plainMessages.size(), 1);
    EXPECT_TRUE(desktop.plainMessages[0].startsWith(QStringLiteral("No backup of the mouse's configuration was kept: ")));
    EXPECT_TRUE(desktop.plainMessages[0].contains(QString::fromStdString(config.backupDirectory.string())))
        << desktop.plainMessages[0].toStdString();
    EXPECT_FALSE(session.backupFailure().empty());
}

// The footer says what the window knows of the mouse: absent, plugged in but not openable
// (the fix in its tooltip), connected with its USB name, IDs and memory type; the engineer
// page has its own layout and no footer.
TEST_F(MainWindowTest, TheFooterShowsTheConnectionInEachState) {
    QLabel* footer = w<QLabel>(QStringLiteral("lbl_Connection"));
    auto text = [&] { return footer->property("plainText").toString(); };
    EXPECT_EQ(text(), QStringLiteral("No mouse found: plug the mouse in"));
    EXPECT_TRUE(footer->isVisibleTo(window.get()));

    device.mouse.denyOpen(true);
    device.session.pollNow();
    EXPECT_EQ(text(), skin.text(QStringLiteral("Str882")));
    EXPECT_TRUE(footer->toolTip().contains(QString::fromLatin1(SimulatedMouse::kVendorPath)));
    EXPECT_TRUE(footer->toolTip().contains(QStringLiteral("70-nivra-mouse.rules")));
    // A mouse that was never opened is not "waiting to reconnect": the footer and the udev
    // message say what is wrong.
    EXPECT_TRUE(desktop.messages.isEmpty());

    device.mouse.denyOpen(false);
    device.mouse.addOtherDevice(0x046D, 0xC077);  // the interface count changes: the poll opens the mouse
    device.session.pollNow();
    EXPECT_EQ(text(), QStringLiteral("Mouse connected: Nivra Gaming Mouse (1BCF:08B8), memory I2C"));

    window->engineerPage();
    window->findChild<QWidget*>(QStringLiteral("Btn_Engineer_1"))->show();
    click(QStringLiteral("Btn_Engineer_1"));
    EXPECT_FALSE(footer->isVisibleTo(window.get()));
    QTest::mouseClick(w(QStringLiteral("Btn_Main_6")), Qt::LeftButton);
    EXPECT_TRUE(footer->isVisibleTo(window.get()));

    device.mouse.unplug();
    device.session.pollNow();
    EXPECT_EQ(text(), QStringLiteral("No mouse found: plug the mouse in"));
}

// Without a mouse the key menus and the toggles of page 1 change nothing and say why.
TEST_F(MainWindowTest, AnEditWithoutAMouseIsRefusedWithAMessageThatSaysSo) {
    const Image memory = device.mouse.memory();
    const auto work = device.session.state().work.bytes;
    auto* page = dynamic_cast<ProfilePage*>(w(QStringLiteral("gbPage1")));
    ASSERT_NE(page, nullptr);
    click(QStringLiteral("Key1"));
    page->IB_ComboKeyClick(1);
    EXPECT_EQ(desktop.messages, QStringList(2, QStringLiteral("No mouse is connected, so the change was not made.")));
    EXPECT_FALSE(page->menu()->isOpen());
    EXPECT_EQ(device.session.state().work.bytes, work);
    EXPECT_EQ(device.mouse.memory(), memory);

    device.connect();
    desktop.messages.clear();
    click(QStringLiteral("Key1"));
    EXPECT_TRUE(desktop.messages.isEmpty());
    EXPECT_TRUE(page->menu()->isOpen());
}

// A shown covering label spans its page and lies above every control but the ones that
// close the window, also after a language change has raised the page buttons again.
TEST_F(MainWindowTest, ShownCoveringLabelsSpanTheirPageAboveThePageButtons) {
    device.connect();
    for (int n = 1; n <= 5; ++n) {  // the close picture and Exit in their own places, as the shipped layout has them
        for (const char* name : {"Img_Exit1_%1", "Btn_Exit1_%1"}) skin.extraLayout[QString::fromLatin1(name).arg(n)].pos = QPoint(900, 20);
        for (const char* name : {"Img_Exit2_%1", "Btn_Exit2_%1"}) skin.extraLayout[QString::fromLatin1(name).arg(n)].pos = QPoint(880, 620);
    }
    click(QStringLiteral("Btn_Lang3_1"));
    struct Case { const char* cover; int page; const char* opens; };
    for (const Case c : {Case{"Disable_All_1", 1, "Btn_Main_1"}, Case{"Disable_All_3", 3, "Btn_Breath_1"},
                         Case{"Disable_All_4_1", 4, "Btn_Macro_3"}}) {
        click(QLatin1String(c.opens));
        QWidget* page = w(QStringLiteral("gbPage%1").arg(c.page));
        QWidget* cover = w(QLatin1String(c.cover));
        cover->show();
        EXPECT_EQ(cover->geometry(), page->rect()) << c.cover;
        for (const char* button : {"Btn_Main_%1", "Btn_Save_%1", "Btn_Exit1_%1"}) {
            QWidget* b = w(QString::fromLatin1(button).arg(c.page));
            // The page cover leaves the close picture usable; the Macro page's dialog cover
            // (a modal dialog is open then) covers it too.
            const bool exitStaysUsable = QLatin1String(button).startsWith(QLatin1String("Btn_Exit")) &&
                                         QLatin1String(c.cover) != QLatin1String("Disable_All_4_1");
            EXPECT_EQ(page->childAt(b->geometry().center()), exitStaysUsable ? b : cover) << c.cover << " over " << button;
        }
        cover->hide();
    }
}

TEST_F(MainWindowTest, LanguageButtonAppliesTheLanguageAndKeepsThePage) {
    device.connect();
    click(QStringLiteral("Btn_Adv_1"));
    window->findChild<QWidget*>(QStringLiteral("Btn_Lang3_2"))->show();
    click(QStringLiteral("Btn_Lang3_2"));
    EXPECT_EQ(skin.language, 3);
    EXPECT_TRUE(w<QRadioButton>(QStringLiteral("rb_Lang3"))->isChecked());
    EXPECT_TRUE(w<QRadioButton>(QStringLiteral("rb_4"))->isChecked());
    buildPages();  // pages built after the switch show its captions and pictures
    EXPECT_EQ(w<QLabel>(QStringLiteral("Btn_Main_4"))->text(), QStringLiteral("Office Mode"));
    EXPECT_EQ(visiblePages(), std::vector<QString>{QStringLiteral("gbPage2")});
    for (int n = 1; n <= 5; ++n) {
        EXPECT_EQ(picture(QStringLiteral("Img_Lang3_%1").arg(n)), "SetS_03");
        EXPECT_EQ(picture(QStringLiteral("Img_Lang1_%1").arg(n)), "SetS_01");
        EXPECT_EQ(picture(QStringLiteral("Img_Adv_%1").arg(n)), "SetS_03");
    }
}

TEST_F(MainWindowTest, ALanguageNumberWithoutATableChangesNothing) {
    for (int language : {0, 4, -1}) {
        window->Btn_LangClick(language);
        EXPECT_EQ(skin.language, 1) << language;
        EXPECT_TRUE(w<QRadioButton>(QStringLiteral("rb_Lang1"))->isChecked()) << language;
    }
}

TEST_F(MainWindowTest, ConfirmButtonsRestoreTheirBuiltInImage) {
    device.connect();
    for (int c : {3, 1}) {
        window->findChild<QWidget*>(QStringLiteral("Btn_Confirm%1_1").arg(c))->show();
        click(QStringLiteral("Btn_Confirm%1_1").arg(c));
        buildPages();
        for (int n = 1; n <= 5; ++n) EXPECT_EQ(picture(QStringLiteral("Img_Confirm%1_%2").arg(c).arg(n)), "BtnS_03");
    }
    EXPECT_EQ(device.mouse.restartCount(), 2);
    EXPECT_EQ(device.mouse.memory(), builtinImage(1));
}

// Every action that replaces the mouse's whole configuration asks first, naming what it
// replaces; Cancel sends nothing, OK does it and then says how it went.
TEST_F(MainWindowTest, ActionsThatReplaceTheConfigurationAskFirstAndCancelSendsNothing) {
    device.connect();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("cfg.bin"));
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        const Image& image = builtinImage(3);
        out.write(reinterpret_cast<const char*>(image.data()), static_cast<qsizetype>(image.size()));
    }
    desktop.fileAnswer = file;
    const QString whole = QStringLiteral("This replaces the whole configuration.");
    struct Case {
        std::function<void()> act;
        QString question;
        QString result;
    };
    // The engineer page's LED type choice shows the type in effect (1 RGB, 2 Sync, 3 NT).
    window->engineerPage();
    auto* ledType = w<QComboBox>(QStringLiteral("cb_LEDMode"));
    const int otherLed = ledType->currentIndex() == 0 ? 2 : 1;
    const Case cases[] = {
        {[&] { click(QStringLiteral("Btn_Confirm2_1")); }, QStringLiteral("Restore built-in configuration 2?|") + whole,
         QStringLiteral("Restored built-in configuration 2.")},
        {[&] { click(QStringLiteral("Btn_Load_1")); }, QStringLiteral("Load cfg.bin into the mouse?|") + whole,
         QStringLiteral("Loaded cfg.bin.")},
        {[&] { window->Btn_DefaultClick(); }, QStringLiteral("Restore the defaults?|") + whole,
         QStringLiteral("The defaults are restored.")},
        {[&] { window->cb_LEDModeChange(otherLed); },
         QStringLiteral("Change the LED type to %1?|This replaces the whole configuration by the type's defaults.")
             .arg(otherLed == 1 ? QStringLiteral("RGB") : QStringLiteral("Sync")),
         QStringLiteral("The LED type is now %1.").arg(otherLed == 1 ? QStringLiteral("RGB") : QStringLiteral("Sync"))},
    };
    window->findChild<QWidget*>(QStringLiteral("Btn_Confirm2_1"))->show();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.question.toStdString());
        desktop.questions.clear();
        desktop.messages.clear();
        const std::size_t reports = device.mouse.reportCount();
        const Image memory = device.mouse.memory();
        desktop.confirmAnswers = {false};
        c.act();
        EXPECT_EQ(desktop.questions, QStringList{c.question});
        EXPECT_EQ(device.mouse.reportCount(), reports);
        EXPECT_EQ(device.mouse.memory(), memory);
        EXPECT_TRUE(desktop.messages.isEmpty());

        const int restarts = device.mouse.restartCount();
        c.act();  // answered OK
        EXPECT_EQ(device.mouse.restartCount(), restarts + 1);
        EXPECT_EQ(desktop.messages, QStringList{c.result});
        EXPECT_FALSE(window->splash()->isVisible());
    }
    EXPECT_EQ(ledType->currentIndex(), otherLed - 1);
}

// During a restart the splash names what happens and counts the seconds down on the
// session's clock; the read after it says so.
TEST_F(MainWindowTest, TheSplashNamesTheRestartAndCountsItsSecondsDown) {
    device.connect();
    window->findChild<QWidget*>(QStringLiteral("Btn_Confirm3_1"))->show();
    QStringList seen;
    device.clock.setPump([&] {
        window->refreshSplashText();
        const QString line = window->splash()->what() + QStringLiteral(" / ") + window->splash()->progress();
        if (seen.isEmpty() || seen.back() != line) seen << line;
    });
    click(QStringLiteral("Btn_Confirm3_1"));
    device.clock.setPump({});
    const QString task = QStringLiteral("Restoring built-in configuration 3 / ");
    ASSERT_FALSE(seen.isEmpty());
    EXPECT_EQ(seen.front(), task + QStringLiteral("The mouse restarts: 17 s"));
    QStringList expected;
    for (int s = 17; s >= 1; --s) expected << task + QStringLiteral("The mouse restarts: %1 s").arg(s);
    expected << task + QStringLiteral("Reading the mouse");
    EXPECT_EQ(seen.mid(0, expected.size()), expected);
    EXPECT_EQ(device.mouse.restartCount(), 1);
    EXPECT_FALSE(window->splash()->isVisible());
    // A read of its own (a mouse plugged in) says only that the mouse is read.
    window->refreshSplashText();
    EXPECT_EQ(window->splash()->what(), QStringLiteral("Reading the mouse"));
    EXPECT_TRUE(window->splash()->progress().isEmpty());
}

// From the restore's write to the read after the restart the footer says the mouse
// restarts: neither "connected" while it is away nor "no mouse" while it comes back. Once
// it is read again the footer names it.
TEST_F(MainWindowTest, TheFooterSaysTheMouseRestartsUntilItIsReadAgain) {
    device.connect();
    window->findChild<QWidget*>(QStringLiteral("Btn_Confirm3_1"))->show();
    QLabel* footer = w<QLabel>(QStringLiteral("lbl_Connection"));
    auto text = [&] { return footer->property("plainText").toString(); };
    const QString connected = text();
    ASSERT_TRUE(connected.startsWith(QStringLiteral("Mouse connected: "))) << connected.toStdString();
    QStringList seen;
    device.clock.setPump([&] {
        if (seen.isEmpty() || seen.back() != text()) seen << text();
    });
    click(QStringLiteral("Btn_Confirm3_1"));
    device.clock.setPump({});
    ASSERT_EQ(device.mouse.restartCount(), 1);
    EXPECT_EQ(seen, QStringList{QStringLiteral("The mouse is restarting")});
    EXPECT_TRUE(footer->isVisibleTo(window.get()));
    EXPECT_EQ(text(), connected);
}

TEST_F(MainWindowTest, WebButtonOpensTheAddressOnlyWhenEnabledButTheLinkAlways) {
    skin.global.web = QStringLiteral("https://example.invalid/nivra");
    click(QStringLiteral("Btn_Web_1"));
    buildPages();
    EXPECT_EQ(picture(QStringLiteral("Img_Web_4")), "WebS_02");
    EXPECT_TRUE(desktop.urls.isEmpty());
    window->Btn_WebLinkClick();
    EXPECT_EQ(desktop.urls, QStringList{skin.global.web});
    skin.global.webEnabled = true;
    click(QStringLiteral("Btn_Web_1"));
    EXPECT_EQ(desktop.urls.size(), 2);
}

TEST_F(MainWindowTest, ClosingInvalidatesTheHandlesAndRemovesTheTrayIcon) {
    device.connect();
    ASSERT_TRUE(device.session.mouseOpen());
    click(QStringLiteral("Btn_Adv_1"));
    click(QStringLiteral("Btn_Exit1_2"));
    EXPECT_FALSE(device.session.mouseOpen());
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->trayIcon()->isVisible());
}

TEST_F(MainWindowTest, DraggingTheBackgroundMovesTheWindowButDraggingAControlDoesNot) {
    const QPoint start = window->pos();
    QWidget* base = w(QStringLiteral("Img_Base_1"));
    QTest::mousePress(base, Qt::LeftButton, {}, QPoint(500, 500));
    QMouseEvent move(QEvent::MouseMove, QPointF(540, 520), base->mapToGlobal(QPointF(540, 520)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(base, &move);
    QTest::mouseRelease(base, Qt::LeftButton, {}, QPoint(540, 520));
    EXPECT_EQ(window->pos(), start + QPoint(40, 20));

    const QPoint after = window->pos();
    QWidget* button = w(QStringLiteral("Btn_Adv_1"));
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(5, 5));
    QMouseEvent move2(QEvent::MouseMove, QPointF(45, 25), button->mapToGlobal(QPointF(45, 25)), Qt::NoButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(button, &move2);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(45, 25));
    EXPECT_EQ(window->pos(), after);
}

TEST_F(MainWindowTest, SaveProfileAppendsBinAndAsksBeforeReplacingTheAppendedName) {
    device.connect();
    QTemporaryDir dir;
    QFile existing(dir.filePath(QStringLiteral("mine.bin")));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    buildPages();  // the Save copies of pages 2 and 3

    desktop.fileAnswer = dir.filePath(QStringLiteral("fresh"));
    click(QStringLiteral("Btn_Save_1"));
    EXPECT_EQ(desktop.filters, QStringList{QStringLiteral("SaveFile (*.bin)")});
    EXPECT_EQ(QFileInfo(dir.filePath(QStringLiteral("fresh.bin"))).size(), 2048);
    EXPECT_EQ(desktop.overwriteQuestions, 0);

    desktop.fileAnswer = dir.filePath(QStringLiteral("mine"));
    click(QStringLiteral("Btn_Save_2"));
    EXPECT_EQ(desktop.overwriteQuestions, 1);
    EXPECT_EQ(QFileInfo(dir.filePath(QStringLiteral("mine.bin"))).size(), 0);  // declined
    desktop.overwrite = true;
    click(QStringLiteral("Btn_Save_2"));
    EXPECT_EQ(QFileInfo(dir.filePath(QStringLiteral("mine.bin"))).size(), 2048);

    desktop.fileAnswer.reset();  // cancelled
    click(QStringLiteral("Btn_Save_3"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);
}

TEST_F(MainWindowTest, LoadProfileAndTheUpdatePageUseTheLoadFilter) {
    device.connect();
    QTemporaryDir dir;
    const QString profile = dir.filePath(QStringLiteral("profile.bin"));
    QFile file(profile);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const Image image2 = builtinImage(2);
    file.write(reinterpret_cast<const char*>(image2.data()), static_cast<qint64>(image2.size()));
    file.close();
    desktop.fileAnswer = profile;
    click(QStringLiteral("Btn_Load_1"));
    EXPECT_EQ(device.mouse.memory(), image2);
    click(QStringLiteral("Btn_Update_1"));
    buildPages();
    EXPECT_EQ(picture(QStringLiteral("Img_Update_2")), "SetS_03");
    EXPECT_EQ(desktop.filters, (QStringList{QStringLiteral("LoadFile (*.bin)")}));
}

// Only a patch file is programmed, and only after the user agreed, in the window's language.
TEST_F(MainWindowTest, TheUpdatePageProgramsOnlyAConfirmedPatchFile) {
    device.connect();
    QTemporaryDir dir;
    const auto fileOf = [&dir](const char* name, const Image& image, std::size_t from, std::size_t size) {
        const QString path = dir.filePath(QLatin1String(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(image.data() + from), static_cast<qint64>(size));
        return path;
    };
    Image other = builtinImage(1);
    std::fill(other.begin() + 1024, other.begin() + 1536, 0x11);
    const QString patch = fileOf("patch.bin", other, 1008, 528);
    click(QStringLiteral("Btn_Update_1"));
    const auto memory = [this] { return device.mouse.memory(); };
    const Image before = memory();
    const int restarts = device.mouse.restartCount();

    // A configuration file, and files a byte too short or too long, are not patch files.
    for (const auto& [name, size] : {std::pair{"profile.bin", std::size_t{2048}}, {"short.bin", std::size_t{527}},
                                     {"long.bin", std::size_t{529}}}) {
        desktop.messages.clear();
        desktop.fileAnswer = fileOf(name, other, 0, size);
        click(QStringLiteral("Btn_LoadBIN"));
        EXPECT_EQ(desktop.messages, QStringList{skin.text(QStringLiteral("Str802"))}) << name;
        EXPECT_TRUE(w<QLabel>(QStringLiteral("lbl_LoadBIN"))->text().isEmpty()) << name;
        click(QStringLiteral("Btn_Program"));
        EXPECT_TRUE(desktop.confirmQuestions.isEmpty()) << name;
    }
    EXPECT_EQ(memory(), before);
    EXPECT_EQ(device.mouse.restartCount(), restarts);

    desktop.messages.clear();
    desktop.fileAnswer = patch;
    click(QStringLiteral("Btn_LoadBIN"));
    EXPECT_TRUE(desktop.messages.isEmpty());
    EXPECT_EQ(w<QLabel>(QStringLiteral("lbl_LoadBIN"))->text(), patch);
    // Cancel sends nothing; the question names the file in the window's language.
    desktop.confirmAnswer = false;
    skin.language = 1;
    click(QStringLiteral("Btn_Program"));
    EXPECT_EQ(desktop.confirmQuestions,
              QStringList{skin.text(QStringLiteral("Str803")).arg(QDir::toNativeSeparators(patch))});
    EXPECT_TRUE(desktop.confirmQuestions.value(0).startsWith(QStringLiteral("鼠标")));
    EXPECT_EQ(memory(), before);
    EXPECT_EQ(device.mouse.restartCount(), restarts);
    // OK programs it.
    desktop.confirmAnswer = true;
    click(QStringLiteral("Btn_Program"));
    EXPECT_EQ(desktop.confirmQuestions.size(), 2);
    EXPECT_EQ(device.mouse.restartCount(), restarts + 1);
    EXPECT_TRUE(std::equal(other.begin() + 1024, other.begin() + 1536, memory().begin() + 1024));
    // Opening the page again forgets the loaded path: Program then asks nothing.
    click(QStringLiteral("Btn_Update_1"));
    EXPECT_TRUE(w<QLabel>(QStringLiteral("lbl_LoadBIN"))->text().isEmpty());
    click(QStringLiteral("Btn_Program"));
    EXPECT_EQ(desktop.confirmQuestions.size(), 2);
}

// The engineer page's Import Base Macro puts a device macro export file into the mouse.
TEST_F(MainWindowTest, ImportBaseMacroWritesTheChosenFileIntoTheMousesMacroArea) {
    device.connect();
    // An empty area imported: every macro of the mouse is gone.
    const Image before = device.mouse.memory();
    QTemporaryDir dir;
    const QString empty = dir.filePath(QStringLiteral("empty.bin"));
    QFile file(empty);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(512, '\0'));
    file.close();
    desktop.fileAnswer = empty;
    window->engineerPage()->button(QStringLiteral("Btn_ImportBaseMacro"))->click();
    Image after = device.mouse.memory();
    EXPECT_TRUE(std::all_of(after.begin() + 496, after.begin() + 1008, [](std::uint8_t b) { return b == 0; }));
    EXPECT_TRUE(std::equal(after.begin(), after.begin() + 496, before.begin()));
    EXPECT_TRUE(desktop.plainMessages.isEmpty());
    // A file shorter than the area changes nothing.
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QByteArray(100, '\1'));
    file.close();
    window->engineerPage()->button(QStringLiteral("Btn_ImportBaseMacro"))->click();
    EXPECT_EQ(device.mouse.memory(), after);
    EXPECT_EQ(desktop.plainMessages, QStringList{QStringLiteral("Loading .bin is error!")});
}

}  // namespace
}  // namespace nivra::ui::test
