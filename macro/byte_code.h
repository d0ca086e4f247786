// The macro byte code the mouse plays, and the two translations between byte code and the
// macro listing the user edits (one header line for the delay mode, then one text line per
// instruction). Every scan here is bounded: a byte that is no opcode ends the macro, and
// nothing is read past the bytes handed in or a 256-byte slot.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace nivra::macro {

inline constexpr std::size_t kSlotSize = 256;  // a library code slot, a device code buffer

namespace op {
inline constexpr std::uint8_t kEnd = 0x00;
inline constexpr std::uint8_t kModifierPress = 0x81;
inline constexpr std::uint8_t kModifierRelease = 0x01;
inline constexpr std::uint8_t kKeyPress = 0x82;
inline constexpr std::uint8_t kKeyRelease = 0x02;
inline constexpr std::uint8_t kMove = 0x04;
inline constexpr std::uint8_t kLoopStart = 0xFD;
inline constexpr std::uint8_t kLoopEnd = 0xFC;
inline constexpr std::uint8_t kDelay = 0xFE;
inline constexpr std::uint8_t kButtonPress = 0xA0;    // + button bit
inline constexpr std::uint8_t kButtonRelease = 0x20;  // + button bit
}  // namespace op

// Length of the instruction an opcode starts (opcode included); 0 for a byte that is no opcode.
std::size_t instructionLength(std::uint8_t opcode);

// The macro length: bytes up to and including the end marker, found by stepping over the
// instructions of `code` (at most its first 256 bytes). A byte that is no opcode ends the
// macro where it stands (it counts as the end marker). Nothing when the bytes run out
// before an end: such a macro has no defined length.
std::optional<std::size_t> scanMacroLength(std::span<const std::uint8_t> code);

// The first `length` bytes of `code` with the last one made the end marker: what a macro
// whose scan stopped at a byte that is no opcode really holds. Empty for length 0.
std::vector<std::uint8_t> terminatedCode(std::span<const std::uint8_t> code, std::size_t length);

// A listing: line 0 is the header ("10", "01" + delay, "00"), lines 1..n the macro text lines.
using Listing = std::vector<std::string>;

// The delay mode a header stands for.
enum class DelayMode { Record, Default, None };

// CompileMacroListing: the byte code of lines 1..n, end marker included. Lines of an unknown
// kind, or too short or not hex where hex belongs, are skipped; a delay that cannot be read
// counts as 0 and one above 65535 as 65535. The header plays no part.
std::vector<std::uint8_t> CompileMacroListing(const Listing& listing);

// The byte code compiled into a 256-byte slot (the rest zero). Nothing, and the slot
// untouched, when the code does not fit.
std::optional<std::size_t> CompileMacroListing(const Listing& listing, std::array<std::uint8_t, kSlotSize>& slot);

// What BuildMacroListing gives besides the lines: the delay mode the header selects and,
// for Default Delay, the value for Edt_Delay.
struct BuiltListing {
    Listing lines;
    DelayMode mode = DelayMode::None;
    unsigned defaultDelay = 0;
};

// BuildMacroListing: one line per instruction of the first `length` bytes of `code`
// (`length` includes the end marker, so length - 1 bytes are decoded), then the header
// inferred from the first four delays. Decoding stops at a byte that is no opcode or an
// instruction that the length cuts off.
BuiltListing BuildMacroListing(std::span<const std::uint8_t> code, std::size_t length);

// The header for the first four delay values of a macro (missing ones count as 0): "00" when
// all are 0, "01" + the value when all four are equal, "10" otherwise.
std::string inferHeader(std::span<const unsigned> firstDelays, DelayMode* mode = nullptr,
                        unsigned* value = nullptr);

}  // namespace nivra::macro
