// The Macro page in the window with the simulated mouse: its lists, pop-ups and dialogs call
// the macro model, and a macro deleted from the mouse turns its button to Key Off.
#include "tests/ui/fakes.h"
#include "tests/ui/qt_app.h"
#include "tests/support/temp_dir.h"
#include "files/file_bytes.h"

#include "device/clock.h"
#include "device/simulated_mouse.h"
#include "image/builtin.h"
#include "image/code_texts.h"
#include "image/keys.h"
#include "macro/byte_code.h"
#include "settings/macro_model.h"
#include "settings/mouse_session.h"
#include "macro/library.h"
#include "ui/macro_page.h"
#include "ui/macro_page_recording.h"
#include "ui/main_window.h"
#include "ui/recording_sources.h"
#include "ui/skin_button.h"
#include "ui/small_dialog.h"
#include "ui/table_skin.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCursor>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

namespace nivra::ui::test {
namespace {

class MacroPageTest : public ::testing::Test {
protected:
    MacroPageTest() {
        qtApp();
        // Each window starts from the default library (the test's private data folder).
        std::filesystem::remove(macro::libraryFilePath(""));
        mouse = std::make_unique<SimulatedMouse>(clock, builtinImage(1));
        device = std::make_unique<MouseSession>(*mouse, clock);
        window = std::make_unique<MainWindow>(skin, *device, desktop);
        window->show();
        device->pollNow();
        editor = &device->editor();
        model = &window->macroModel();
        page = window->macroPage();
        page->showMessage = [this](const QString& id) { messages << id; };
        page->showMessageText = [this](const QString& t) { messages << t; };
        window->Btn_Macro_0Click();
    }
    ~MacroPageTest() override {
        window.reset();
        device.reset();
    }

    QListWidget* list(const char* name) { return window->findChild<QListWidget*>(QLatin1String(name)); }
    QWidget* w(const char* name) { return window->findChild<QWidget*>(QLatin1String(name)); }
    // A right-button press and release over a row, as a user opens a pop-up.
    void rightClickRow(const char* listName, int row) {
        QListWidget* l = list(listName);
        const QPoint at = l->visualItemRect(l->item(row)).center();
        QTest::mousePress(l->viewport(), Qt::RightButton, {}, at);
        QTest::mouseRelease(l->viewport(), Qt::RightButton, {}, at);
    }
    void click(const char* name) { QTest::mouseClick(w(name), Qt::LeftButton); }
    // What a click at the middle of the control meets: the topmost widget there, as the
    // window system finds it for a real click (a cover above the control takes it).
    QWidget* topAt(const char* name) {
        QWidget* control = w(name);
        return window->childAt(window->mapFromGlobal(control->mapToGlobal(control->rect().center())));
    }
    // A user's left click on the control: the pointer moves there and the window gets the
    // click, which goes to what lies on top at that point (and to a recording's source).
    void clickOn(const char* name) {
        QWidget* control = w(name);
        ASSERT_TRUE(control->isVisible()) << name;
        const QPoint global = control->mapToGlobal(control->rect().center());
        QCursor::setPos(global);
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, window->mapFromGlobal(global));
    }
    // Chooses an item of CB_Insert as a user does: a click opens the list, the item is
    // taken from it (by the keyboard: the list ignores a release that comes right after it
    // opened).
    void chooseInsertItem(int item) {
        auto* combo = window->findChild<QComboBox*>(QStringLiteral("CB_Insert"));
        clickOn("CB_Insert");
        QAbstractItemView* view = combo->view();
        ASSERT_TRUE(view->isVisible());
        view->setCurrentIndex(view->model()->index(item, 0));
        QTest::keyClick(view, Qt::Key_Return);
        QCoreApplication::processEvents();
        ASSERT_FALSE(view->isVisible());
        ASSERT_EQ(combo->currentIndex(), item);
    }
    void typeInto(const char* name, const QString& text) {
        auto* edit = window->findChild<QLineEdit*>(QLatin1String(name));
        clickOn(name);
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    std::array<std::uint8_t, 4> mouseCode(int profile, int key) const {
        const Image m = mouse->memory();
        std::array<std::uint8_t, 4> c{};
        std::copy_n(m.begin() + static_cast<std::ptrdiff_t>(buttonCodeOffset(profile, key)), 4, c.begin());
        return c;
    }

    VirtualClock clock;
    TableSkin skin;
    FakeDesktop desktop;
    std::unique_ptr<SimulatedMouse> mouse;
    std::unique_ptr<MouseSession> device;
    std::unique_ptr<MainWindow> window;
    ImageEditor* editor = nullptr;
    MacroModel* model = nullptr;
    MacroPage* page = nullptr;
    QStringList messages;
};

// The library is read at start, before the Macro page is first opened: a library that
// cannot be read is told then all the same.
TEST(MacroPageInWindow, ALibraryThatCannotBeReadAtStartIsToldBeforeThePageIsOpened) {
    qtApp();
    const std::filesystem::path library = macro::libraryFilePath("");
    std::filesystem::remove(library);
    std::filesystem::create_directories(library);  // a folder where the file should be
    VirtualClock clock;
    SimulatedMouse mouse(clock, builtinImage(1));
    MouseSession device(mouse, clock);
    TableSkin skin;
    FakeDesktop desktop;
    auto window = std::make_unique<MainWindow>(skin, device, desktop);
    EXPECT_EQ(desktop.plainMessages.size(), 1);
    EXPECT_EQ(window->findChild<QWidget*>(QStringLiteral("gbPage4")), nullptr);
    window.reset();
    std::filesystem::remove(library);
}

// A damaged library at start is told and then the user is asked whether to replace it: no
// keeps the file byte for byte (and the library empty), yes puts the default library there.
TEST(MacroPageInWindow, ADamagedLibraryIsKeptUnlessTheUserReplacesIt) {
    qtApp();
    const std::filesystem::path library = macro::libraryFilePath("");
    const std::vector<std::uint8_t> cut(macro::defaultLibraryData().begin(), macro::defaultLibraryData().end() - 272);
    for (const bool replace : {false, true}) {
        std::filesystem::create_directories(library.parent_path());
        ASSERT_TRUE(writeFileAtomically(library, cut));
        VirtualClock clock;
        SimulatedMouse mouse(clock, builtinImage(1));
        MouseSession device(mouse, clock);
        TableSkin skin;
        FakeDesktop desktop;
        desktop.overwrite = replace;
        auto window = std::make_unique<MainWindow>(skin, device, desktop);
        ASSERT_EQ(desktop.plainMessages.size(), 1) << replace;
        EXPECT_TRUE(desktop.plainMessages[0].contains(QStringLiteral("is damaged or not a macro library")))
            << desktop.plainMessages[0].toStdString();
        EXPECT_EQ(desktop.overwriteQuestions, 1);
        const auto now = nivra::testing::readBytes(library);
        if (replace) {
            EXPECT_EQ(now, std::vector<std::uint8_t>(macro::defaultLibraryData().begin(), macro::defaultLibraryData().end()));
            EXPECT_EQ(window->macroModel().libraryNames().front(), "Copy");
        } else {
            EXPECT_EQ(now, cut);
            EXPECT_TRUE(window->macroModel().libraryNames().empty());
        }
        window.reset();
    }
    std::filesystem::remove(library);
}

TEST_F(MacroPageTest, AddBindDeleteTurnsTheButtonKeyOff) {
    ASSERT_GT(list("LB_PCMacroName")->count(), 20);
    EXPECT_EQ(list("LB_MacroName")->count(), 0);

    rightClickRow("LB_PCMacroName", 0);
    ASSERT_TRUE(w("Pnl_PCMacro")->isVisible());
    click("Btn_AddMacro");
    EXPECT_FALSE(w("Pnl_PCMacro")->isVisible());
    ASSERT_EQ(list("LB_MacroName")->count(), 1);
    EXPECT_EQ(list("LB_MacroName")->item(0)->text(), list("LB_PCMacroName")->item(0)->text());

    // Bound as the function menu's device macro list binds it: the macro's address.
    const auto bound = macro::macroKeyCode(model->deviceMacros().slot(0).address);
    ASSERT_TRUE(editor->setButtonCode(1, 3, bound, Write::Profiles));
    EXPECT_EQ(mouseCode(1, 3), bound);

    rightClickRow("LB_MacroName", 0);
    ASSERT_TRUE(w("Pnl_DevMacro")->isVisible());
    EXPECT_EQ(list("LB_PCMacroName")->currentRow(), -1) << "the library selection is cleared";
    click("Btn_DelMacro");
    EXPECT_EQ(list("LB_MacroName")->count(), 0);
    EXPECT_EQ(mouseCode(1, 3), (std::array<std::uint8_t, 4>{0, 0, 0, 0}));
    EXPECT_EQ(hexCodeText(std::span(editor->work().bytes).subspan(buttonCodeOffset(1, 3), 4)), "00000000");
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(MacroPageTest, ListingPopupOnlyForLibraryMacrosAndEditThroughTheDelayDialog) {
    // "Copy" on the mouse: its listing offers no pop-up.
    rightClickRow("LB_PCMacroName", 0);
    click("Btn_AddMacro");
    rightClickRow("LB_MacroName", 0);
    ASSERT_GT(list("LB_macro")->count(), 0);
    rightClickRow("LB_macro", 1);
    EXPECT_FALSE(w("Pnl_DevContent")->isVisible());

    QTest::mouseClick(list("LB_PCMacroName")->viewport(), Qt::LeftButton, {},
                      list("LB_PCMacroName")->visualItemRect(list("LB_PCMacroName")->item(0)).center());
    EXPECT_EQ(list("LB_MacroName")->currentRow(), -1);
    rightClickRow("LB_macro", 1);  // line 2 of "Copy": a delay
    ASSERT_TRUE(w("Pnl_DevContent")->isVisible());
    click("Btn_Edit");
    auto* dlg = window->findChild<SmallDialog*>(QStringLiteral("TForm5"));
    ASSERT_NE(dlg, nullptr);
    ASSERT_TRUE(dlg->isVisible());
    EXPECT_TRUE(w("Disable_All_4_1")->isVisible()) << "the page is locked while the dialog is open";
    QTest::keyClicks(dlg->edits()[0], QStringLiteral("99999"));
    EXPECT_EQ(dlg->edits()[0]->text(), QStringLiteral("65535"));
    dlg->edits()[0]->setText(QStringLiteral("300"));
    QTest::mouseClick(dlg->findChild<QWidget*>(QStringLiteral("IB_Confirm")), Qt::LeftButton);
    EXPECT_FALSE(w("Disable_All_4_1")->isVisible());
    EXPECT_EQ(list("LB_macro")->item(1)->text(), QStringLiteral("300 ms"));
    EXPECT_EQ(model->library().listing(0).lines[2], "0 300");
}

TEST_F(MacroPageTest, InsertPanelReplacesTheDelayGroupAndInsertsAMove) {
    rightClickRow("LB_PCMacroName", 0);
    rightClickRow("LB_macro", 0);
    click("Btn_Insert");
    EXPECT_TRUE(w("CB_Insert")->isVisible());
    EXPECT_FALSE(w("IB_RecDelay")->isVisible());
    page->CB_InsertChange(4);
    EXPECT_TRUE(w("edt_XAxisValue")->isVisible());
    auto* x = window->findChild<QLineEdit*>(QStringLiteral("edt_XAxisValue"));
    x->setText(QStringLiteral("-1"));
    window->findChild<QLineEdit*>(QStringLiteral("edt_YAxisValue"))->setText(QStringLiteral("5"));
    click("Btn_OK");
    EXPECT_FALSE(w("CB_Insert")->isVisible());
    EXPECT_TRUE(w("IB_RecDelay")->isVisible());
    EXPECT_EQ(list("LB_macro")->item(0)->text(), QStringLiteral("X: -1  Y: 5"));
    EXPECT_EQ(model->listing()[1], "3 04FF05");
}

// Recording through the program's window with a clock the test moves: the page is locked
// but for the record button, the presence poll pauses, and Stop compiles and writes.
class MacroRecordPageTest : public MacroPageTest {
protected:
    MacroRecordPageTest() {
        window->macroRecording().replaceInput([this] { return now; }, std::make_unique<WindowInputSource>());
        window->activateWindow();
    }
    void key(Qt::Key k, std::uint64_t after) {
        now += after;
        QTest::keyPress(window->windowHandle(), k);
        now += 40;
        QTest::keyRelease(window->windowHandle(), k);
        QCoreApplication::processEvents();
    }
    static std::string line(const char* name, bool press) { return keyEventLine(*captureIndexForName(name), press); }
    QString caption(const char* name) { return window->findChild<QLabel*>(QLatin1String(name))->text(); }
    bool polling() { return device->discovery().devTimerRunning(); }

    std::uint64_t now = 1000;
};

TEST_F(MacroRecordPageTest, FullRecordingReplacesTheLibraryMacroAndRestartsThePoll) {
    rightClickRow("LB_PCMacroName", 1);
    const std::size_t sel = *model->librarySelection();
    ASSERT_TRUE(polling());
    click("Btn_Start");
    ASSERT_TRUE(window->macroRecording().recording().recording());
    EXPECT_FALSE(polling());
    EXPECT_EQ(caption("Btn_Start"), skin.text(QStringLiteral("Str401")));
    EXPECT_TRUE(w("Disable_All_4_1")->isVisible());
    EXPECT_FALSE(w("LB_PCMacroName")->isEnabled());
    EXPECT_FALSE(w("Gb_Delay")->isEnabled());
    EXPECT_FALSE(w("IB_NoDelay")->isEnabled());
    EXPECT_FALSE(w("Edt_Delay")->isEnabled());
    EXPECT_TRUE(w("lbl_RecordSource")->isVisible());
    EXPECT_EQ(caption("lbl_RecordSource"), skin.text(QStringLiteral("Str781")));
    const auto& slot = model->library().record(sel).code;
    EXPECT_TRUE(std::all_of(slot.begin(), slot.end(), [](std::uint8_t b) { return b == 0; })) << "zeroed at the start";
    EXPECT_TRUE(model->listing().empty());

    key(Qt::Key_A, 0);
    key(Qt::Key_B, 300);
    click("Btn_Start");

    EXPECT_FALSE(window->macroRecording().recording().recording());
    const macro::Listing expected{"10", line("A", true), "0 40", line("A", false), "0 300",
                                  line("B", true), "0 40", line("B", false)};
    EXPECT_EQ(model->listing(), expected);
    const std::vector<std::uint8_t> code = macro::CompileMacroListing(expected);
    EXPECT_TRUE(std::equal(code.begin(), code.end(), slot.begin())) << "compiled into the slot";
    // Written to the library file: a fresh load gives the same listing.
    model->CheckPCMacro();
    EXPECT_EQ(model->library().listing(sel).lines, expected);
    EXPECT_TRUE(polling());
    EXPECT_EQ(caption("Btn_Start"), skin.text(QStringLiteral("Str400")));
    EXPECT_FALSE(w("Disable_All_4_1")->isVisible());
    EXPECT_FALSE(w("lbl_RecordSource")->isVisible());
    EXPECT_TRUE(w("Gb_Delay")->isEnabled());
}

TEST_F(MacroRecordPageTest, InsertRecordingAfterARowUntilOK) {
    rightClickRow("LB_PCMacroName", 0);
    const macro::Listing before = model->listing();
    ASSERT_GT(before.size(), 3u);
    rightClickRow("LB_macro", 1);
    click("Btn_Insert");
    page->CB_InsertChange(3);  // a key after the row
    click("Btn_InsertStart");
    ASSERT_TRUE(window->macroRecording().recording().inserting());
    EXPECT_FALSE(polling());
    EXPECT_EQ(caption("Btn_InsertStart"), skin.text(QStringLiteral("Str401")));
    EXPECT_FALSE(w("CB_Insert")->isEnabled());
    EXPECT_TRUE(w("GB_Dis")->isVisible());
    EXPECT_FALSE(w("Btn_OK")->isEnabled());
    EXPECT_FALSE(w("Btn_Cancel")->isEnabled());

    key(Qt::Key_C, 200);
    click("Btn_InsertStart");
    EXPECT_TRUE(polling());
    EXPECT_TRUE(w("CB_Insert")->isEnabled());
    EXPECT_FALSE(w("GB_Dis")->isVisible());
    macro::Listing expected = before;
    const macro::Listing recorded{line("C", true), "0 40", line("C", false)};
    expected.insert(expected.begin() + 3, recorded.begin(), recorded.end());
    EXPECT_EQ(model->listing(), expected);
    EXPECT_EQ(model->library().listing(0).lines, before) << "nothing written before OK";
    click("Btn_OK");
    EXPECT_EQ(model->library().listing(0).lines, expected);
}

// The insert panel works above the page's cover, through real clicks on the window: a delay,
// a recorded key, an X/Y move, a repeat start and end, and a Cancel; after each the page is
// unlocked and its buttons take clicks again. While the panel is open, only the panel takes
// clicks.
TEST_F(MacroRecordPageTest, TheWholeInsertRoundThroughClicksOnTheWindow) {
    rightClickRow("LB_PCMacroName", 0);
    macro::Listing expected = model->listing();
    ASSERT_GT(expected.size(), 3u);
    struct Round {
        int item;
        std::function<void()> fill;
        std::vector<std::string> lines;
        bool after;
    };
    const Round rounds[] = {
        {0, [this] { typeInto("Edt_InsertDelay", QStringLiteral("120")); }, {"0 120"}, false},
        {3,
         [this] {
             clickOn("Btn_InsertStart");
             ASSERT_TRUE(window->macroRecording().recording().inserting());
             key(Qt::Key_Q, 0);
             clickOn("Btn_InsertStart");
             ASSERT_FALSE(window->macroRecording().recording().recording());
         },
         {line("Q", true), "0 40", line("Q", false)},
         true},
        {5,
         [this] {
             typeInto("edt_XAxisValue", QStringLiteral("-1"));
             typeInto("edt_YAxisValue", QStringLiteral("5"));
         },
         {"3 04FF05"},
         true},
        {6, [this] { typeInto("edt_Repeat", QStringLiteral("3")); }, {"7 FD03"}, false},
        {7, [] {}, {"8 FC"}, true},
    };
    int row = 1;
    for (const Round& r : rounds) {
        SCOPED_TRACE(r.item);
        rightClickRow("LB_macro", row);
        clickOn("Btn_Insert");
        ASSERT_TRUE(w("CB_Insert")->isVisible());
        EXPECT_EQ(topAt("Btn_Main_4"), w("Disable_All_4_1")) << "the page is locked";
        chooseInsertItem(r.item);
        r.fill();
        clickOn("Btn_OK");
        EXPECT_FALSE(w("CB_Insert")->isVisible());
        const std::size_t at = static_cast<std::size_t>(row + 1 + (r.after ? 1 : 0));
        expected.insert(expected.begin() + static_cast<std::ptrdiff_t>(at), r.lines.begin(), r.lines.end());
        EXPECT_EQ(model->listing(), expected);
        EXPECT_EQ(model->library().listing(0).lines, expected) << "committed";
        EXPECT_FALSE(w("Disable_All_4_1")->isVisible());
        EXPECT_EQ(topAt("Btn_Main_4"), w("Btn_Main_4"));
        row += 2;
    }
    // Cancel drops what the panel did.
    rightClickRow("LB_macro", 0);
    clickOn("Btn_Insert");
    chooseInsertItem(4);
    typeInto("edt_XAxisValue", QStringLiteral("7"));
    clickOn("Btn_Cancel");
    EXPECT_FALSE(w("CB_Insert")->isVisible());
    EXPECT_EQ(model->listing(), expected);
    EXPECT_EQ(topAt("Btn_Main_4"), w("Btn_Main_4"));
    QCursor::setPos(0, 0);
}

// The click on Stop is not recorded, also when the pointer reached the record button
// without an enter event (it was there when the cover of the recording came and left it
// there): the pointer's place is asked at the click. For both record buttons of the page.
TEST_F(MacroRecordPageTest, TheClickOnStopIsNotRecorded) {
    for (const char* button : {"Btn_Start", "Btn_InsertStart"}) {
        SCOPED_TRACE(button);
        const bool insert = std::string_view(button) == "Btn_InsertStart";
        rightClickRow("LB_PCMacroName", 0);
        if (insert) {
            rightClickRow("LB_macro", 0);
            click("Btn_Insert");
            page->CB_InsertChange(3);
        }
        QWidget* label = w(button);
        QCursor::setPos(label->mapToGlobal(label->rect().center()));
        QCoreApplication::processEvents();
        clickOn(button);
        MacroRecording& recording = window->macroRecording().recording();
        ASSERT_TRUE(recording.recording());
        // The pointer left the button for the cover and never came back by an event.
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(label, &leave);
        key(Qt::Key_Q, 0);
        clickOn(button);  // Stop, through the window: the source sees the press and release
        ASSERT_FALSE(recording.recording());
        const macro::Listing listing = model->listing();
        EXPECT_TRUE(std::none_of(listing.begin(), listing.end(),
                                 [](const std::string& l) { return l.find("LeftKey") != std::string::npos; }));
        EXPECT_NE(std::find(listing.begin(), listing.end(), line("Q", false)), listing.end());
        if (insert) click("Btn_Cancel");
    }
    QCursor::setPos(0, 0);
}

}  // namespace
}  // namespace nivra::ui::test
