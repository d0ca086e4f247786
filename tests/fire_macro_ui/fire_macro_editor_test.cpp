// The fire macro editor in the window with the simulated mouse: the reveal on the gun page's
// background, the pop-ups and the insert panel, fire recording and the engineer page's import.
#include "tests/ui/fakes.h"
#include "tests/ui/qt_app.h"

#include "device/clock.h"
#include "files/file_bytes.h"
#include "device/simulated_mouse.h"
#include "image/builtin.h"
#include "image/keys.h"
#include "settings/fire_macro_model.h"
#include "settings/mouse_session.h"
#include "ui/fire_macro_editor.h"
#include "ui/engineer_page.h"
#include "ui/main_window.h"
#include "ui/table_skin.h"

#include <QComboBox>

#include <algorithm>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QCursor>
#include <QTest>

#include <gtest/gtest.h>

namespace nivra::ui::test {
namespace {

struct FakeSource : RecordingInputSource {
    RecordingInputSink* sink = nullptr;
    Kind kind() const override { return Kind::Window; }
    bool start(RecordingInputSink& s) override {
        sink = &s;
        return true;
    }
    void stop() override { sink = nullptr; }
};

class FireMacroEditorTest : public ::testing::Test {
protected:
    FireMacroEditorTest() {
        qtApp();
        mouse = std::make_unique<SimulatedMouse>(clock, builtinImage(1));
        device = std::make_unique<MouseSession>(*mouse, clock);
        window = std::make_unique<MainWindow>(skin, *device, desktop);
        window->show();
        device->pollNow();
        window->showFireMacroPage();
    }
    ~FireMacroEditorTest() override {
        window.reset();
        device.reset();
    }

    QWidget* w(const char* name) { return window->findChild<QWidget*>(QLatin1String(name)); }
    QListWidget* list(const char* name) { return window->findChild<QListWidget*>(QLatin1String(name)); }
    void click(const char* name) { QTest::mouseClick(w(name), Qt::LeftButton); }
    void doubleClickBase(const char* base, int times) {
        for (int i = 0; i < times; ++i) QTest::mouseDClick(w(base), Qt::LeftButton);
    }
    void pressRow(const char* listName, int row, Qt::MouseButton button) {
        QListWidget* l = list(listName);
        const QPoint at = l->visualItemRect(l->item(row)).center();
        QTest::mousePress(l->viewport(), button, {}, at);
        QTest::mouseRelease(l->viewport(), button, {}, at);
    }
    void reveal() {
        desktop.passwords = {QStringLiteral("QorvinTek")};
        doubleClickBase("Img_Base_6", 5);
    }
    std::vector<std::uint8_t> mouseFireArea() const {
        const Image m = mouse->memory();
        return {m.begin() + 1536, m.end()};
    }

    VirtualClock clock;
    TableSkin skin;
    FakeDesktop desktop;
    std::unique_ptr<SimulatedMouse> mouse;
    std::unique_ptr<MouseSession> device;
    std::unique_ptr<MainWindow> window;
};

TEST_F(FireMacroEditorTest, ControlsShownExactlyWhenRevealed) {
    // The editor's frame goes with it: hidden, nothing of the editor is drawn on the page.
    const char* controls[] = {"LB_FireMacroName", "LB_FireMacro",  "Btn_FireStart", "Img_FireStart",
                              "GB_FireDelay",     "Img_FireDelay", "Edt_FireDelay", "FireMacroEditorBox"};
    for (const char* c : controls) EXPECT_FALSE(w(c)->isVisible()) << c;
    // Three double-clicks on the main page count towards the prompt of the gun page.
    window->state().doubleClicks = 3;
    desktop.passwords = {QStringLiteral("QorvinTekWLP")};
    doubleClickBase("Img_Base_6", 2);
    EXPECT_EQ(desktop.passwordPrompts, 1);
    for (const char* c : controls) EXPECT_FALSE(w(c)->isVisible()) << c;
    reveal();
    EXPECT_EQ(desktop.passwordPrompts, 2);
    EXPECT_TRUE(window->state().reveal);
    for (const char* c : controls) EXPECT_TRUE(w(c)->isVisible()) << c;
    EXPECT_FALSE(w("Gb_InsertFire")->isVisible());
    EXPECT_EQ(list("LB_FireMacroName")->count(), 10);
    // The gun page's Confirm or Cancel hides them; a double-click then clears the flag.
    window->fireMacroModel().hideEditor();
    for (const char* c : controls) EXPECT_FALSE(w(c)->isVisible()) << c;
    doubleClickBase("Img_Base_6", 1);
    EXPECT_FALSE(window->state().reveal);
    EXPECT_EQ(desktop.passwordPrompts, 2);
}

TEST_F(FireMacroEditorTest, InsertAMoveThroughThePopupAndThePanel) {
    reveal();
    const auto before = mouseFireArea();
    pressRow("LB_FireMacroName", 0, Qt::LeftButton);
    ASSERT_EQ(list("LB_FireMacro")->count(), 8);
    EXPECT_EQ(list("LB_FireMacro")->item(2)->text(), QStringLiteral("Rep-Start  0"));
    pressRow("LB_FireMacro", 3, Qt::RightButton);
    ASSERT_TRUE(w("Pnl_DevFireContent")->isVisible());
    click("Btn_FireInsert");
    EXPECT_FALSE(w("Pnl_DevFireContent")->isVisible());
    EXPECT_TRUE(w("Gb_InsertFire")->isVisible());
    EXPECT_TRUE(w("Img_FireInsert")->isVisible());
    EXPECT_FALSE(w("GB_FireDelay")->isVisible());
    EXPECT_FALSE(w("LB_FireMacroName")->isEnabled());

    auto* choice = window->findChild<QComboBox*>(QStringLiteral("CB_InsertFire"));
    ASSERT_EQ(choice->count(), 6);
    choice->setCurrentIndex(3);
    emit choice->activated(3);
    EXPECT_TRUE(w("edt_FireXAxisValue")->isVisible());
    EXPECT_FALSE(w("Edt_InsertFireDelay")->isVisible());
    auto* x = window->findChild<QLineEdit*>(QStringLiteral("edt_FireXAxisValue"));
    auto* y = window->findChild<QLineEdit*>(QStringLiteral("edt_FireYAxisValue"));
    x->setText(QStringLiteral("-3"));
    y->setText(QStringLiteral("-4"));
    click("Btn_FireOK");
    EXPECT_FALSE(w("Gb_InsertFire")->isVisible());
    EXPECT_TRUE(w("GB_FireDelay")->isVisible());
    ASSERT_EQ(list("LB_FireMacro")->count(), 9);
    EXPECT_EQ(list("LB_FireMacro")->item(4)->text(), QStringLiteral("X: -3  Y: -4"));
    EXPECT_EQ(list("LB_FireMacro")->currentRow(), 4);
    const FireMacroBody& body = device->editor().work().fireMacroBodies[0];
    EXPECT_EQ(body[9], 0x04);
    EXPECT_EQ(body[10], 0xFD);
    EXPECT_EQ(body[11], 0xFC);
    EXPECT_EQ(mouseFireArea(), before) << "edits stay in the program until the gun page's Confirm";

    // The repeat field keeps 0..255.
    pressRow("LB_FireMacro", 0, Qt::RightButton);
    click("Btn_FireInsert");
    choice->setCurrentIndex(4);
    emit choice->activated(4);
    auto* repeat = window->findChild<QLineEdit*>(QStringLiteral("edt_FireRepeat"));
    repeat->clear();
    QTest::keyClicks(repeat, QStringLiteral("256"));
    EXPECT_EQ(repeat->text(), QStringLiteral("255"));
    click("Btn_FireCancel");
    EXPECT_EQ(list("LB_FireMacro")->count(), 9);
}

TEST_F(FireMacroEditorTest, RecordingTakesOnlyTheLeftButton) {
    reveal();
    auto* source = new FakeSource;
    window->fireMacroEditor().replaceInput([] { return std::uint64_t{1000}; }, std::unique_ptr<RecordingInputSource>(source));
    click("Btn_FireStart");  // nothing selected: nothing starts
    EXPECT_EQ(source->sink, nullptr);
    pressRow("LB_FireMacroName", 6, Qt::LeftButton);
    window->fireMacroModel().setFireDelayMode(macro::DelayMode::None);
    const FireMacroBody next = device->editor().work().fireMacroBodies[7];
    click("Btn_FireStart");
    ASSERT_NE(source->sink, nullptr);
    EXPECT_FALSE(device->discovery().devTimerRunning());
    EXPECT_FALSE(w("LB_FireMacroName")->isEnabled());
    EXPECT_FALSE(w("GB_FireDelay")->isEnabled());
    source->sink->keyMessage(captureIndexForName("A").value(), true);
    source->sink->keyMessage(captureIndexForName("A").value(), false);
    for (MouseButton b : {MouseButton::Right, MouseButton::Middle, MouseButton::Forward, MouseButton::Backward}) {
        source->sink->mouseButton(b, true);
        source->sink->mouseButton(b, false);
    }
    source->sink->mouseButton(MouseButton::Left, true);
    source->sink->mouseButton(MouseButton::Left, false);
    QDeadlineTimer deadline(5000);
    while (list("LB_FireMacro")->count() < 2 && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    click("Btn_FireStart");
    EXPECT_EQ(source->sink, nullptr);
    EXPECT_TRUE(w("LB_FireMacroName")->isEnabled());
    EXPECT_EQ(window->fireMacroModel().listing(),
              (macro::Listing{"00", "1 LeftKey CODE:00A1", "2 LeftKey CODE:0021"}));
    const FireMacroBody expected{0xA1, 0x21, 0x00};
    EXPECT_EQ(device->editor().work().fireMacroBodies[6], expected);
    EXPECT_EQ(device->editor().work().fireMacroBodies[7], next);
}

// The click on Stop is not recorded even when no enter event told that the pointer is over
// the record button: the pointer's place is asked at the click.
TEST_F(FireMacroEditorTest, TheClickOnStopIsNotRecorded) {
    reveal();
    auto* source = new FakeSource;
    window->fireMacroEditor().replaceInput([] { return std::uint64_t{1000}; }, std::unique_ptr<RecordingInputSource>(source));
    pressRow("LB_FireMacroName", 6, Qt::LeftButton);
    window->fireMacroModel().setFireDelayMode(macro::DelayMode::None);
    QWidget* stop = w("Btn_FireStart");
    QCursor::setPos(stop->mapToGlobal(stop->rect().center()));
    QCoreApplication::processEvents();
    click("Btn_FireStart");
    ASSERT_NE(source->sink, nullptr);
    QEvent leave(QEvent::Leave);  // the pointer left for a cover and came back without an event
    QApplication::sendEvent(stop, &leave);
    MacroRecording& recording = window->fireMacroEditor().recording();
    const std::uint32_t flagged = recording.recorder().wakeups().load();
    // The press and release of the click on Stop, as the source delivers them first.
    source->sink->mouseButton(MouseButton::Left, true);
    source->sink->mouseButton(MouseButton::Left, false);
    EXPECT_EQ(recording.recorder().wakeups().load(), flagged);
    click("Btn_FireStart");
    const macro::Listing listing = window->fireMacroModel().listing();
    EXPECT_TRUE(std::none_of(listing.begin(), listing.end(),
                             [](const std::string& l) { return l.find("LeftKey") != std::string::npos; }));
    QCursor::setPos(0, 0);
}

TEST_F(FireMacroEditorTest, EngineerImportRefusesAForeignFile) {
    const auto path = (std::filesystem::temp_directory_path() / "nivra_fire_short.bin").string();
    ASSERT_TRUE(writeFileAtomically(path, std::vector<std::uint8_t>(479, 0)));
    desktop.fileAnswer = QString::fromStdString(path);
    const auto before = device->editor().work().fireMacroBodies;
    emit window->engineerPage()->button(QStringLiteral("Btn_ImportGunMacro"))->clicked();
    EXPECT_EQ(desktop.messages, QStringList{skin.text(QStringLiteral("Str791"))});
    EXPECT_EQ(device->editor().work().fireMacroBodies, before);
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace nivra::ui::test
