// The ten fire macros of the fire-macro area: short byte-code programs of left presses and
// releases, moves, delays and loops that the mouse's fire and gun functions play. Each lives
// in a 32-byte slot (the working copy keeps them as fireMacroNames / fireMacroBodies); the
// gun page edits their operands in place and the fire macro editor line by line.
#pragma once

#include "image/working_copy.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace nivra::macro {

// The opcodes a fire macro may hold (besides the end marker 0x00).
namespace fire_op {
inline constexpr std::uint8_t kLeftPress = 0xA1;
inline constexpr std::uint8_t kLeftRelease = 0x21;
inline constexpr std::uint8_t kMove = 0x04;       // + X, Y (signed bytes)
inline constexpr std::uint8_t kLoopStart = 0xFD;  // + repeat count (0 allowed)
inline constexpr std::uint8_t kLoopEnd = 0xFC;
inline constexpr std::uint8_t kDelay = 0xFE;      // + milliseconds, big-endian
}  // namespace fire_op

// Length of the fire instruction an opcode starts (opcode included); 0 for any other byte.
std::size_t fireInstructionLength(std::uint8_t opcode);

// The body's length: one more than the first offset p at which bytes p, p+1 and p+2 are all
// zero. A body with no three zero bytes in its slot has no end marker; it counts as the
// whole slot (32), and readers still stop at the first byte that is no fire opcode or at an
// instruction the slot cuts off.
std::size_t fireMacroLength(std::span<const std::uint8_t, kFireMacroBodySize> body);

}  // namespace nivra::macro
