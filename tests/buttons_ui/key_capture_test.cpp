// Window key events to rows of the key capture table, as the combination dialog reads them.
#include "image/keys.h"
#include "tests/ui/qt_app.h"
#include "ui/key_capture.h"

#include <QKeyEvent>

#include <gtest/gtest.h>

namespace nivra::ui {
namespace {

TEST(KeyCapture, EventsToRows) {
    // Key events register Qt's primary keyboard with the application that owns it.
    nivra::ui::test::qtApp();
    struct Case {
        int key;
        Qt::KeyboardModifiers mods;
        quint32 scanCode;  // XKB keycode (evdev + 8); 0 when the platform gives none
        const char* row;
    };
    const Case cases[] = {
        {Qt::Key_A, Qt::NoModifier, 0, "A"},
        {Qt::Key_1, Qt::NoModifier, 10, "1"},
        {Qt::Key_1, Qt::KeypadModifier, 87, "1 (numeric pad)"},
        {Qt::Key_Exclam, Qt::ShiftModifier, 10, "1"},  // the digit row by its position
        {Qt::Key_Super_L, Qt::NoModifier, 133, "Left Windows"},
        {Qt::Key_Super_R, Qt::NoModifier, 134, "Right Windows"},
        {Qt::Key_Enter, Qt::KeypadModifier, 104, "Enter"},
        {Qt::Key_F13, Qt::NoModifier, 0, "F13"},
        {Qt::Key_VolumeUp, Qt::NoModifier, 0, "Volume_Up"},
    };
    for (const Case& c : cases) {
        const QKeyEvent e(QEvent::KeyPress, c.key, c.mods, c.scanCode, 0, 0);
        EXPECT_EQ(captureRow(captureIndexOf(e)).name, c.row) << c.row;
    }
}

TEST(KeyCapture, AModifierKeyCountsAsHeldWhilePressed) {
    nivra::ui::test::qtApp();
    const QKeyEvent shift(QEvent::KeyPress, Qt::Key_Shift, Qt::NoModifier);
    EXPECT_TRUE(heldModifiersOf(shift).shift);
    const QKeyEvent a(QEvent::KeyPress, Qt::Key_A, Qt::AltModifier);
    EXPECT_TRUE(heldModifiersOf(a).alt);
    EXPECT_FALSE(heldModifiersOf(a).ctrl);
}

}  // namespace
}  // namespace nivra::ui
