// The combination ("Assembly Key") dialog as a state machine: the four modifier boxes, up
// to two keys typed into the text field, the text shown and the code it confirms to.
#pragma once

#include "image/codes.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace nivra {

enum class Modifier { Ctrl, Shift, Alt, Win };

class AssemblyKeyDialog {
public:
    // A fresh dialog: empty text, no keys, no boxes ticked.
    void reset() { *this = AssemblyKeyDialog{}; }

    // A key pressed in the text field: `captureIndex` is its row of the key capture table;
    // `shiftHeld`/`ctrlHeld`/`altHeld` tell which modifiers were down. Returns whether the
    // key was taken. The Windows keys, keys pressed with Shift, Ctrl or Alt held (the
    // modifier keys themselves among them) and keys that give no keyboard usage are ignored.
    // A key after two keys starts again from the modifiers alone.
    bool keyPressed(std::size_t captureIndex, bool shiftHeld, bool ctrlHeld, bool altHeld);
    // A modifier box ticked or cleared: the text is rebuilt.
    void setModifier(Modifier m, bool on);
    bool modifier(Modifier m) const { return boxes_[static_cast<std::size_t>(m)]; }
    // Clear ("Str502"): text, keys and boxes reset; the dialog stays open.
    void clear() { reset(); }

    const std::string& text() const { return text_; }
    int keyCount() const { return count_; }
    std::uint8_t key1() const { return key1_; }
    std::uint8_t key2() const { return key2_; }
    std::uint8_t modifierByte() const;
    // Confirm: 02 + modifier byte + key 1 + key 2, or Key Off when the text is empty.
    ButtonCode confirmCode() const;

private:
    std::string modifierText() const;
    void rebuildText();

    bool boxes_[4]{};
    int count_ = 0;
    std::uint8_t key1_ = 0, key2_ = 0;
    std::string name1_, name2_;
    std::string text_;
};

}  // namespace nivra
