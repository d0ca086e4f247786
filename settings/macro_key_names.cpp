#include "settings/macro_key_names.h"

#include "image/code_texts.h"
#include "image/codes.h"
#include "settings/image_editor.h"

namespace nivra {

bool NotedMacroKeys::any() const {
    for (const auto& profile : names)
        for (const auto& n : profile)
            if (n) return true;
    return false;
}

MemoryType namingMemory(const ImageState& state) {
    return state.deviceMemory == MemoryType::None ? state.systemMemory : state.deviceMemory;
}

namespace {
bool isBaseMacroKey(const ButtonCode& c) {
    return c.typeByte() == static_cast<std::uint8_t>(CodeType::MacroKey) && c[3] == 0x00;
}
}  // namespace

NotedMacroKeys InitKeysParameters(const WorkingCopy& work, MemoryType memory) {
    NotedMacroKeys noted;
    const NameInputs in = nameInputsFromImage(work.bytes, memory);
    for (int p = 1; p <= 3; ++p) {
        for (int k = 1; k <= 12; ++k) {
            const ButtonCode code = codeFromBytes(std::span(work.bytes).subspan(buttonCodeOffset(p, k), 4));
            if (!isBaseMacroKey(code)) continue;
            const CodeName name = NameOfCode(code, in);
            if (!name.text.empty()) noted.names[static_cast<std::size_t>(p - 1)][static_cast<std::size_t>(k - 1)] = name.text;
        }
    }
    return noted;
}

bool RefreshKeysParameters(ImageEditor& editor, const NotedMacroKeys& noted, MemoryType memory) {
    if (!noted.any()) return true;
    if (editor.busy()) return false;
    const NameInputs in = nameInputsFromImage(editor.work().bytes, memory);
    for (int p = 1; p <= 3; ++p) {
        for (int k = 1; k <= 12; ++k) {
            const auto& name = noted.names[static_cast<std::size_t>(p - 1)][static_cast<std::size_t>(k - 1)];
            if (!name) continue;
            ButtonCode code{};  // Key Off when the macro is gone
            for (const DeviceMacroEntry& m : in.deviceMacros) {
                if (m.present && m.name == *name) {
                    code = ButtonCode{{0x10, static_cast<std::uint8_t>(m.bodyAddress >> 8),
                                       static_cast<std::uint8_t>(m.bodyAddress & 0xFF), 0x00}};
                    break;
                }
            }
            editor.setButtonCode(p, k, code.bytes, Write::None);
        }
    }
    return editor.CommitProfileSections();
}

}  // namespace nivra
