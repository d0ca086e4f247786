#include "settings/macro_key_binding.h"

namespace nivra {

MemoryType namingMemory(const ImageState& state) {
    return state.deviceMemory == MemoryType::None ? state.systemMemory : state.deviceMemory;
}

namespace {
void applyCodes(ImageEditor& editor, const std::vector<macro::ButtonCodeChange>& changes) {
    for (const macro::ButtonCodeChange& c : changes) {
        if (c.profile == 0) editor.setComboKeyCode(c.key, c.code, Write::None);
        else editor.setButtonCode(c.profile, c.key, c.code, Write::None);
    }
}
}  // namespace

std::vector<macro::KeyBinding> InitKeysParameters(const ImageEditor& editor, const macro::DeviceMacros& macros) {
    return macro::InitKeysParameters(editor.work().bytes, macros);
}

void RefreshKeysParameters(ImageEditor& editor, const std::vector<macro::KeyBinding>& bindings,
                           const macro::DeviceMacros& macros) {
    applyCodes(editor, macro::RefreshKeysParameters(bindings, macros));
}

void RefreshMacroAddr(ImageEditor& editor, const macro::DeviceMacros& macros) {
    applyCodes(editor, macro::RefreshMacroAddr(editor.work().bytes, macros));
}

}  // namespace nivra
