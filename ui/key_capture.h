// A key event of the window turned into a row of the key capture table, for the
// combination dialog and the macro key dialogs.
#pragma once

#include <cstddef>

class QKeyEvent;

namespace nivra::ui {

// The capture row of the pressed key (0 "None" for a key outside the table).
std::size_t captureIndexOf(const QKeyEvent& event);

// Which of Shift, Ctrl and Alt are held as the key goes down; a modifier key counts as
// held while it is being pressed.
struct HeldModifiers {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};
HeldModifiers heldModifiersOf(const QKeyEvent& event);

}  // namespace nivra::ui
