#include "macro/fire_macro.h"

namespace nivra::macro {

std::size_t fireInstructionLength(std::uint8_t opcode) {
    switch (opcode) {
        case fire_op::kLeftPress:
        case fire_op::kLeftRelease:
        case fire_op::kLoopEnd: return 1;
        case fire_op::kLoopStart: return 2;
        case fire_op::kMove:
        case fire_op::kDelay: return 3;
        default: return 0;
    }
}

std::size_t fireMacroLength(std::span<const std::uint8_t, kFireMacroBodySize> body) {
    for (std::size_t p = 0; p + 2 < body.size(); ++p) {
        if (body[p] == 0 && body[p + 1] == 0 && body[p + 2] == 0) return p + 1;
    }
    return body.size();
}

}  // namespace nivra::macro
