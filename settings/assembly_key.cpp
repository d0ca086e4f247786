#include "settings/assembly_key.h"

#include "image/keys.h"

namespace nivra {

namespace {
constexpr const char* kModifierWords[4] = {"Ctrl", "Shift", "Alt", "Win"};

void join(std::string& text, std::string_view word) {
    if (!text.empty()) text += '+';
    text += word;
}
}  // namespace

std::string AssemblyKeyDialog::modifierText() const {
    std::string t;
    for (std::size_t i = 0; i < 4; ++i)
        if (boxes_[i]) join(t, kModifierWords[i]);
    return t;
}

void AssemblyKeyDialog::rebuildText() {
    text_ = modifierText();
    if (count_ >= 1) join(text_, name1_);
    if (count_ >= 2) join(text_, name2_);
}

bool AssemblyKeyDialog::keyPressed(std::size_t captureIndex, bool shiftHeld, bool ctrlHeld, bool altHeld) {
    if (captureIndex == capture::kLeftWindows || captureIndex == capture::kRightWindows) return false;
    if (shiftHeld || ctrlHeld || altHeld) return false;
    const CaptureRow& row = captureRow(captureIndex);
    // A row without a keyboard usage would show a name the code cannot carry.
    if (row.usage == 0x00) return false;
    if (count_ == 2) {
        count_ = 0;
        key1_ = key2_ = 0;
        name1_.clear();
        name2_.clear();
        text_ = modifierText();
    }
    join(text_, row.name);
    if (count_ == 0) {
        key1_ = row.usage;
        name1_ = std::string(row.name);
    } else {
        key2_ = row.usage;
        name2_ = std::string(row.name);
    }
    ++count_;
    return true;
}

void AssemblyKeyDialog::setModifier(Modifier m, bool on) {
    boxes_[static_cast<std::size_t>(m)] = on;
    rebuildText();
}

std::uint8_t AssemblyKeyDialog::modifierByte() const {
    std::uint8_t b = 0;
    for (std::size_t i = 0; i < 4; ++i)
        if (boxes_[i]) b |= static_cast<std::uint8_t>(1u << i);
    return b;
}

ButtonCode AssemblyKeyDialog::confirmCode() const {
    if (text_.empty()) return ButtonCode{};
    return ButtonCode{{0x02, modifierByte(), key1_, key2_}};
}

}  // namespace nivra
