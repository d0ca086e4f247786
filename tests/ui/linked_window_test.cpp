// The window over the shipped skin and the real device flows with the simulated mouse:
// connection, key labels, unplugging, refusal, restores, profile files and languages.
#include "fakes.h"
#include "qt_app.h"

#include "device/clock.h"
#include "device/simulated_mouse.h"
#include "image/builtin.h"
#include "image/working_copy.h"
#include "skin/language_table.h"
#include "ui/loading_splash.h"
#include "ui/main_window.h"
#include "ui/table_skin.h"
#include "settings/mouse_session.h"

#include <QAbstractButton>
#include <QFile>
#include <QLabel>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace nivra::ui::test {
namespace {

QString lang(int n, const char* id) { return skin::builtInLanguages()->table(n).text(QString::fromLatin1(id)); }

class LinkedWindowTest : public ::testing::Test {
protected:
    LinkedWindowTest() { qtApp(); }
    void SetUp() override { start(builtinImage(1)); }
    void TearDown() override {
        window.reset();
        device.reset();
        mouse.reset();
    }
    void start(const Image& memory) {
        window.reset();
        device.reset();
        mouse = std::make_unique<SimulatedMouse>(clock, memory);
        device = std::make_unique<MouseSession>(*mouse, clock);
        window = std::make_unique<MainWindow>(skin, *device, desktop);
        window->show();
    }
    template <class T = QWidget>
    T* w(const QString& name) {
        T* found = window->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    QString text(const QString& name) { return w<QLabel>(name)->text(); }
    // Builds pages 2-5 where they are not built yet, as opening them would.
    void buildPages() {
        window->advancedPage();
        window->lightPage();
        window->macroPage();
        window->updatePage();
    }
    // A page not built yet is built first: it takes the covers' state then.
    bool covered(int page) {
        buildPages();
        return w(QStringLiteral("Disable_All_%1").arg(page))->isVisibleTo(w(QStringLiteral("gbPage%1").arg(page)));
    }
    void click(const QString& name) { QTest::mouseClick(w(name), Qt::LeftButton); }

    VirtualClock clock;
    TableSkin skin;
    FakeDesktop desktop;
    std::unique_ptr<SimulatedMouse> mouse;
    std::unique_ptr<MouseSession> device;
    std::unique_ptr<MainWindow> window;
};

TEST_F(LinkedWindowTest, FirstPollReadsTheMouseAndPageOneShowsItsKeyLabels) {
    EXPECT_TRUE(device->pollRunning());  // the presence poll runs from start
    EXPECT_TRUE(device->noDevice());
    // Without a mouse the key labels already name built-in image 1's functions.
    EXPECT_EQ(text(QStringLiteral("Key1")), lang(1, "Str210"));
    click(QStringLiteral("Btn_Adv_1"));
    EXPECT_EQ(desktop.messages, QStringList{lang(1, "Str022")});
    EXPECT_TRUE(w(QStringLiteral("gbPage1"))->isVisible());
    desktop.messages.clear();

    device->pollNow();
    EXPECT_TRUE(device->mouseOpen());
    EXPECT_FALSE(device->noDevice());
    EXPECT_FALSE(device->busy());
    EXPECT_EQ(device->state().transfer, mouse->memory());
    EXPECT_EQ(text(QStringLiteral("Key1")), lang(1, "Str210"));
    for (int k = 1; k <= 7; ++k) EXPECT_FALSE(text(QStringLiteral("Key%1").arg(k)).isEmpty()) << k;
    for (int n = 1; n <= 5; ++n) EXPECT_FALSE(covered(n)) << n;
    EXPECT_FALSE(window->splash()->isVisible());
    EXPECT_TRUE(desktop.messages.isEmpty());

    click(QStringLiteral("Btn_Adv_1"));
    EXPECT_TRUE(w(QStringLiteral("gbPage2"))->isVisible());
}

TEST_F(LinkedWindowTest, UnpluggingShowsWaitingToReconnectAndTheCoveringLabels) {
    device->pollNow();
    click(QStringLiteral("Btn_Breath_1"));
    mouse->unplug();
    device->pollNow();
    ASSERT_EQ(desktop.messages.size(), 1);
    EXPECT_TRUE(desktop.messages.front().startsWith(lang(1, "Str100")));
    EXPECT_TRUE(device->noDevice());
    EXPECT_FALSE(device->mouseOpen());
    for (int n = 1; n <= 5; ++n) EXPECT_TRUE(covered(n)) << n;
    EXPECT_TRUE(w(QStringLiteral("gbPage1"))->isVisible());
    EXPECT_FALSE(w(QStringLiteral("gbPage3"))->isVisible());

    mouse->plugIn();
    device->pollNow();
    EXPECT_FALSE(device->noDevice());
    for (int n = 1; n <= 5; ++n) EXPECT_FALSE(covered(n)) << n;
}

// A button whose function has no name shows an empty caption, not the name the label
// had on the profile shown before.
TEST_F(LinkedWindowTest, KeyLabelOfAnUnnamedFunctionIsEmptyAfterAProfileSwitch) {
    Image memory = builtinImage(1);
    constexpr std::size_t kGameMode = 241;
    const std::uint8_t unnamed[] = {0x07, 0x83, 0x00, 0x00};  // a profile code with no name
    std::copy(std::begin(unnamed), std::end(unnamed), memory.begin() + kGameMode);
    setSectionCheckByte(std::span(memory).subspan(kGameMode, 49));
    start(memory);
    device->pollNow();
    ASSERT_EQ(text(QStringLiteral("Key1")), lang(1, "Str210"));
    click(QStringLiteral("Btn_Switch_1"));
    EXPECT_TRUE(text(QStringLiteral("Key1")).isEmpty()) << text(QStringLiteral("Key1")).toStdString();
    click(QStringLiteral("Btn_Main_1"));
    EXPECT_EQ(text(QStringLiteral("Key1")), lang(1, "Str210"));
}

TEST_F(LinkedWindowTest, AMouseWithForeignIdBytesIsRefusedAndNotRead) {
    Image foreign = builtinImage(1);
    foreign[484] = 0x12;
    foreign[485] = 0x34;
    start(foreign);
    device->pollNow();
    EXPECT_EQ(desktop.plainMessages, QStringList{lang(1, "Str107")});
    EXPECT_TRUE(device->noDevice());
    EXPECT_TRUE(device->pollRunning());  // started again once the box was closed
    desktop.messages.clear();
    click(QStringLiteral("Btn_Adv_1"));  // open but refused: the page buttons stay idle
    EXPECT_TRUE(w(QStringLiteral("gbPage1"))->isVisible());
}

TEST_F(LinkedWindowTest, LanguageButtonChangesEveryCaptionOfThePass) {
    device->pollNow();
    buildPages();
    skin.applyLanguage(1, skin::Page::Office, {});
    const ControlSkinMap chinese = skin.layout();
    window->Btn_LangClick(3);
    std::size_t changed = 0;
    for (const auto& [name, c] : skin.layout()) {
        if (!c.caption) continue;
        for (QWidget* widget : window->findChildren<QWidget*>(name)) {
            const QString shown = qobject_cast<QLabel*>(widget) ? static_cast<QLabel*>(widget)->text()
                                                                : qobject_cast<QAbstractButton*>(widget)->text();
            EXPECT_EQ(shown, *c.caption) << name.toStdString();
            auto before = chinese.find(name);
            if (before != chinese.end() && before->second.caption != c.caption) ++changed;
        }
    }
    EXPECT_GT(changed, 20u);
    EXPECT_EQ(text(QStringLiteral("Btn_Main_3")), QStringLiteral("Office Mode"));
    EXPECT_EQ(text(QStringLiteral("Key1")), QStringLiteral("Left Key"));
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), lang(3, "Title"));
    window->Btn_LangClick(1);
    EXPECT_EQ(text(QStringLiteral("Key1")), lang(1, "Str210"));
}

TEST_F(LinkedWindowTest, ConfirmWritesTheBuiltInImageAndReadsTheMouseBackAfterTheRestart) {
    device->pollNow();
    Image edited = mouse->memory();
    edited[200] ^= 0xFF;
    mouse->setMemory(edited);
    const int restarts = mouse->restartCount();
    click(QStringLiteral("Btn_Confirm1_1"));
    EXPECT_EQ(mouse->restartCount(), restarts + 1);
    EXPECT_EQ(mouse->memory()[200], builtinImage(1)[200]);
    EXPECT_FALSE(device->busy());
    EXPECT_FALSE(device->noDevice());
    EXPECT_FALSE(window->splash()->isVisible());
    for (int n = 1; n <= 5; ++n) EXPECT_FALSE(covered(n)) << n;
}

TEST_F(LinkedWindowTest, SaveProfileWritesTheMouseImageAndLoadRefusesAForeignFile) {
    device->pollNow();
    QTemporaryDir dir;
    desktop.fileAnswer = dir.filePath(QStringLiteral("mine"));
    click(QStringLiteral("Btn_Save_1"));
    QFile saved(dir.filePath(QStringLiteral("mine.bin")));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    ASSERT_EQ(bytes.size(), 2048);
    const Image memory = mouse->memory();
    EXPECT_TRUE(std::equal(memory.begin(), memory.end(), reinterpret_cast<const std::uint8_t*>(bytes.constData())));

    QFile bad(dir.filePath(QStringLiteral("short.bin")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(QByteArray(100, '\0'));
    bad.close();
    desktop.fileAnswer = bad.fileName();
    const int restarts = mouse->restartCount();
    click(QStringLiteral("Btn_Load_1"));
    EXPECT_EQ(desktop.messages, QStringList{QStringLiteral("Loading .bin is error!")});
    EXPECT_EQ(mouse->restartCount(), restarts);
    EXPECT_FALSE(device->busy());
}

TEST_F(LinkedWindowTest, SaveProfileThatCannotReadOrWriteSaysSoAndLeavesNoFile) {
    device->pollNow();
    QTemporaryDir dir;
    // The mouse stops answering data reports: no file, and the user is told.
    mouse->failDataReads(true);
    desktop.fileAnswer = dir.filePath(QStringLiteral("partial"));
    click(QStringLiteral("Btn_Save_1"));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("partial.bin"))));
    // The read says the mouse's configuration did not arrive whole (nothing can be changed
    // until it does), then Save Profile says no file was written.
    EXPECT_EQ(desktop.messages, (QStringList{lang(1, "Str821"), lang(1, "Str109")}));

    // The file cannot be written (its folder does not exist).
    mouse->failDataReads(false);
    desktop.messages.clear();
    desktop.fileAnswer = dir.filePath(QStringLiteral("missing/mine"));
    click(QStringLiteral("Btn_Save_1"));
    EXPECT_EQ(desktop.messages, QStringList{lang(1, "Str110")});
}

// A click the UI handles while the splash of a transfer repaints (Confirm, Save, Load, a mode
// button) does nothing: no flow starts inside another.
TEST_F(LinkedWindowTest, ClicksWhileTheSplashRepaintsStartNothing) {
    device->pollNow();
    QTemporaryDir dir;
    desktop.fileAnswer = dir.filePath(QStringLiteral("during"));
    bool clicked = false;
    QObject::connect(device.get(), &MouseSession::splash, window.get(), [&](bool shown) {
        if (!shown || clicked) return;
        clicked = true;
        for (const char* name : {"Btn_Confirm2_1", "Btn_Save_1", "Btn_Load_1", "Btn_Switch_1"})
            click(QLatin1String(name));
    });
    const int restarts = mouse->restartCount();
    ASSERT_TRUE(device->readImage());
    EXPECT_TRUE(clicked);
    EXPECT_EQ(mouse->restartCount(), restarts);
    EXPECT_TRUE(desktop.filters.isEmpty());  // no file dialog was opened
    EXPECT_FALSE(w<QRadioButton>(QStringLiteral("rb_2"))->isChecked());
    EXPECT_FALSE(device->busy());
    EXPECT_TRUE(device->acceptsClicks());
}

}  // namespace
}  // namespace nivra::ui::test
