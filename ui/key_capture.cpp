#include "ui/key_capture.h"

#include "macro/key_events.h"

#include <QKeyEvent>

namespace nivra::ui {

std::size_t captureIndexOf(const QKeyEvent& event) {
    KeyEventIdentity id;
    id.qtKey = event.key();
    id.keypad = event.modifiers().testFlag(Qt::KeypadModifier);
    id.keysym = event.nativeVirtualKey();
    id.scanCode = event.nativeScanCode();
    return captureIndexForKeyEvent(id);
}

HeldModifiers heldModifiersOf(const QKeyEvent& event) {
    const Qt::KeyboardModifiers m = event.modifiers();
    const int key = event.key();
    HeldModifiers h;
    h.shift = m.testFlag(Qt::ShiftModifier) || key == Qt::Key_Shift;
    h.ctrl = m.testFlag(Qt::ControlModifier) || key == Qt::Key_Control;
    h.alt = m.testFlag(Qt::AltModifier) || key == Qt::Key_Alt || key == Qt::Key_AltGr;
    return h;
}

}  // namespace nivra::ui
