// Recording through the desktop-wide XInput2 source while another window has the focus,
// and through the window source with our own window in front; real key and button events
// made by xdotool on a private Xvfb server.
#include "macro/input_source.h"
#include "ui/recording_sources.h"
#include "xinput/xinput_source.h"

#include "../macro_record/recorder_support.h"
#include "image/keys.h"
#include "xvfb_server.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

// Last: Xlib's macros (None, Bool) would clash with the names above.
#include <X11/Xlib.h>
#include <X11/keysym.h>
#undef None
#undef KeyPress
#undef KeyRelease

namespace {

using nivra::KeyboardListener;
using nivra::MacroRecorder;
using nivra::RecordDelayMode;
using nivra::RecorderInput;
using nivra::test::XvfbServer;
using Lines = std::vector<std::string>;

#define SKIP_WITHOUT_X()                                                              \
    do {                                                                              \
        if (!XvfbServer::haveProgram("xdotool")) GTEST_SKIP() << "no xdotool";        \
        if (XvfbServer::display().empty()) GTEST_SKIP() << "no Xvfb";                 \
    } while (0)

void xdotool(const std::string& args) {
    const std::string cmd = "xdotool " + args;
    ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
}

struct Recording {
    nivra::test::VectorListing listing;
    nivra::test::TestClock clock;
    MacroRecorder recorder{listing, clock.fn()};
    KeyboardListener keys;
    RecorderInput sink{keys, recorder};

    Recording() {
        keys.setOnReceive([this](std::size_t k, int n, int s) { recorder.KeyboardHook1Receive(k, n, s); });
        keys.setEnabled(true);
        recorder.startFull({RecordDelayMode::None, 50});
    }
};

const Lines kExpected = {"00", "1 A CODE:8204", "2 A CODE:0204", "1 Shift CODE:8102", "1 B CODE:8205",
                         "2 B CODE:0205", "2 Shift CODE:0102", "1 LeftKey CODE:00A1", "2 LeftKey CODE:0021",
                         "1 RightKey CODE:00A2", "2 RightKey CODE:0022", "1 F5 CODE:823E", "2 F5 CODE:023E"};
// Shift held while B is typed: the chord records both presses and both releases.
const char* const kActions[] = {"key a", "keydown shift keydown b keyup b keyup shift", "click 1", "click 3", "key F5"};

TEST(DesktopInputSource, RecordsWhileAnotherWindowHasTheFocus) {
    SKIP_WITHOUT_X();
    const std::string& display = XvfbServer::display();
    Display* other = XOpenDisplay(display.c_str());
    ASSERT_NE(other, nullptr);
    const Window window = XCreateSimpleWindow(other, DefaultRootWindow(other), 0, 0, 300, 200, 0, 0, 0);
    // A window that takes button events, as most programs' windows do: each click on it
    // starts an implicit grab, during which the server withholds raw events from clients
    // that announced XInput 2.0.
    XSelectInput(other, window, ButtonPressMask | ButtonReleaseMask | KeyPressMask | KeyReleaseMask);
    XMapWindow(other, window);
    XSync(other, False);
    XSetInputFocus(other, window, RevertToParent, CurrentTime);
    XSync(other, False);

    auto listener = nivra::XInputListener::open(display);
    ASSERT_NE(listener, nullptr);
    Recording rec;
    const std::string id = std::to_string(window);
    for (const char* action : kActions) {
        std::string args = action;
        if (args.rfind("click", 0) == 0) args = "mousemove --window " + id + " 40 40 " + args;
        xdotool(args);
        listener->sync();
        listener->dispatchPending(rec.sink);
        rec.recorder.pollOnce();
    }
    EXPECT_EQ(rec.listing.lines, kExpected);

    Window focus = 0;
    int revert = 0;
    XGetInputFocus(other, &focus, &revert);
    EXPECT_EQ(focus, window);  // the keys went to the other window all along
    XDestroyWindow(other, window);
    XCloseDisplay(other);
}

TEST(DesktopInputSource, SideButtonsAndKeypad) {
    SKIP_WITHOUT_X();
    auto listener = nivra::XInputListener::open(XvfbServer::display());
    ASSERT_NE(listener, nullptr);
    Recording rec;
    for (const char* action : {"click 8", "click 9", "click 4", "key KP_Add", "keydown ctrl key Delete keyup ctrl"}) {
        xdotool(action);
        listener->sync();
        listener->dispatchPending(rec.sink);
        rec.recorder.pollOnce();
    }
    EXPECT_EQ(rec.listing.lines, (Lines{"00", "1 Backward CODE:00B0", "2 Backward CODE:0030", "1 Forward CODE:00A8",
                                        "2 Forward CODE:0028", "1 Add (numeric pad) CODE:8257",
                                        "2 Add (numeric pad) CODE:0257", "1 Ctrl CODE:8101", "1 Delete CODE:824C",
                                        "2 Delete CODE:024C", "2 Ctrl CODE:0101"}));
}

TEST(KeysymIdentity, MapsToCaptureRows) {
    const struct {
        std::uint32_t keysym, keycode;
        const char* row;
    } cases[] = {
        {'a', 38, "A"}, {XK_Shift_R, 62, "Shift"}, {XK_Control_L, 37, "Ctrl"}, {XK_Alt_L, 64, "Alt"},
        {XK_Super_L, 133, "Left Windows"}, {XK_Super_R, 134, "Right Windows"}, {XK_F12, 96, "F12"},
        {XK_KP_0, 90, "0 (numeric pad)"}, {XK_KP_Add, 86, "Add (numeric pad)"}, {XK_Return, 36, "Enter"},
        {XK_KP_Enter, 104, "Enter"}, {XK_semicolon, 47, "OEM_1"}, {XK_1, 10, "1"}, {XK_space, 65, "Space bar"},
        {0x6c3, 38, "A"},  // a Cyrillic letter on the A key: by position
        {0, 255, "None"},
    };
    for (const auto& c : cases) {
        const std::size_t row = nivra::captureIndexForKeyEvent(nivra::keyIdentityOfKeysym(c.keysym, c.keycode));
        EXPECT_EQ(nivra::captureRow(row).name, c.row) << std::hex << c.keysym;
    }
}

// On the private X server; lives until the process ends (Qt's own globals go first).
QApplication& xcbApplication() {
    static QApplication* app = [] {
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        static int argc = 1;
        static char name[] = "test_record_x11";
        static char* argv[] = {name, nullptr};
        return new QApplication(argc, argv);
    }();
    return *app;
}

// Waits for Qt to deliver what the server sent, until `done` or five seconds.
template <typename Done>
bool processUntil(Done done) {
    QDeadlineTimer deadline(5000);
    while (!done() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return done();
}

struct KeyCounter : QObject {
    int releases = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::KeyRelease) ++releases;
        return false;
    }
};

TEST(WindowInputSource, RecordsWhileOurWindowIsInFront) {
    SKIP_WITHOUT_X();
    xcbApplication();
    QWidget window;
    window.setGeometry(10, 10, 300, 200);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    Recording rec;
    nivra::ui::WindowInputSource source;
    ASSERT_TRUE(source.start(rec.sink));
    const std::string id = std::to_string(window.winId());
    std::size_t expected = 1;
    for (const char* action : kActions) {
        std::string args = action;
        if (args.rfind("click", 0) == 0) args = "mousemove --window " + id + " 40 40 " + args;
        xdotool(args);
        expected += args.find("shift") != std::string::npos ? 4 : 2;
        EXPECT_TRUE(processUntil([&] {
            rec.recorder.pollOnce();
            return rec.listing.lines.size() >= expected;
        })) << action;
    }
    EXPECT_EQ(rec.listing.lines, kExpected);

    // Once the source is stopped the window still gets its keys, the recorder none.
    source.stop();
    KeyCounter counter;
    window.windowHandle()->installEventFilter(&counter);
    xdotool("key a");
    EXPECT_TRUE(processUntil([&] { return counter.releases > 0; }));
    EXPECT_EQ(rec.listing.lines.size(), kExpected.size());
}

}  // namespace
