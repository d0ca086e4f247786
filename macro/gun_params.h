// The recoil parameters the gun page shows for one fire macro: the shot count of its loop,
// the pointer move made per shot, the time after that move, and where each of these values
// lies in the 32-byte body so that an edit overwrites exactly those bytes.
#pragma once

#include "image/working_copy.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace nivra::macro {

struct GunParams {
    std::size_t length = 0;  // the body's length (fireMacroLength)
    // Body offsets of the operands; empty when the macro has no such value.
    std::optional<std::size_t> countAt;  // the loop start's repeat count (1 byte)
    std::optional<std::size_t> moveAt;   // the last move's X; its Y follows (signed bytes)
    std::optional<std::size_t> timeAt;   // the delay right after the last move (2 bytes, big-endian)
    int count = 0;
    int x = 0;
    int y = 0;
    int time = 0;
};

// Walks the body up to its end marker: a loop start gives the count, a move the X and Y, and
// the first delay after a move the time (a later move without a delay of its own has none).
// When several occur the last one counts. Left presses and releases and loop ends are stepped
// over; the walk ends at a byte that is no fire opcode and at an instruction the slot cuts off.
GunParams readGunParams(std::span<const std::uint8_t, kFireMacroBodySize> body);

}  // namespace nivra::macro
