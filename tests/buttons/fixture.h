// The simulated mouse, connected and read, with the one ImageEditor the models build on.
#pragma once

#include "image/code_texts.h"
#include "image/codes.h"
#include "settings/image_editor.h"
#include "tests/transfer/transfer_rig.h"

#include <string>
#include <vector>

namespace nivra::testing {

struct EditorRig : Rig {
    EditorRig() : editor(session->editor()) {
        connect();
        mark();
    }

    // Code text of button k of profile p in the working copy / in the mouse's memory.
    std::string work(int p, int k) const { return hexCodeText(std::span(state.work.bytes).subspan(buttonCodeOffset(p, k), 4)); }
    std::string slot(int n) const { return hexCodeText(std::span(state.work.bytes).subspan(comboKeyOffset(n), 4)); }
    std::string inMouse(int p, int k) { return memoryAt(buttonCodeOffset(p, k), 4); }
    std::string slotInMouse(int n) { return memoryAt(comboKeyOffset(n), 4); }
    std::string memoryAt(std::size_t offset, std::size_t count) {
        const Image m = mouse.memory();
        return hexCodeText(std::span(m).subspan(offset, count));
    }

    // Writes code text `code` straight into the working copy (setting up a case).
    void put(int p, int k, const std::string& code) {
        auto c = *parseCodeText(code);
        std::copy(c.bytes.begin(), c.bytes.end(), state.work.bytes.begin() + static_cast<std::ptrdiff_t>(buttonCodeOffset(p, k)));
    }
    void putSlot(int n, const std::string& code) {
        auto c = *parseCodeText(code);
        std::copy(c.bytes.begin(), c.bytes.end(), state.work.bytes.begin() + static_cast<std::ptrdiff_t>(comboKeyOffset(n)));
    }
    // Every button of the three profiles as Key Off.
    void clearButtons() {
        for (int p = 1; p <= 3; ++p)
            for (int k = 1; k <= 12; ++k) put(p, k, "00000000");
    }

    ImageEditor& editor;
};

// A device macro area of packed records: 16-byte name (UTF-16 big-endian), a body ending
// in 0x00.
inline void putMacroArea(WorkingCopy& work, const std::vector<std::pair<std::string, std::vector<std::uint8_t>>>& macros) {
    auto area = work.deviceMacros();
    std::fill(area.begin(), area.end(), 0x00);
    std::size_t at = 0;
    for (const auto& [name, body] : macros) {
        for (std::size_t i = 0; i < name.size() && i < 8; ++i) area[at + 2 * i + 1] = static_cast<std::uint8_t>(name[i]);
        at += 16;
        for (std::uint8_t b : body) area[at++] = b;
    }
}

}  // namespace nivra::testing
