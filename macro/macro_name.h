// Macro names: 16 bytes holding up to eight UTF-16 code units, big-endian, zero-filled. In
// the program names are UTF-8 text.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace nivra::macro {

inline constexpr std::size_t kNameSize = 16;
inline constexpr std::size_t kNameUnits = 8;
using NameBytes = std::array<std::uint8_t, kNameSize>;

// The units up to the first zero unit, as UTF-8; a lone surrogate becomes U+FFFD.
std::string nameText(std::span<const std::uint8_t, kNameSize> name);

// MacroNameStrToUnicode: the text's UTF-16 units from the first byte, the rest zero. Text
// beyond eight units is cut (never inside a surrogate pair); malformed UTF-8 becomes U+FFFD.
NameBytes nameBytes(std::string_view text);

// Number of UTF-16 units the text takes.
std::size_t utf16Units(std::string_view text);

// A name whose first two bytes are not both zero.
inline bool nameUsed(std::span<const std::uint8_t, kNameSize> name) { return name[0] != 0 || name[1] != 0; }

// A name a device macro record can carry. The device area's records end at the first one
// whose name starts with a 0xFF byte, so a name whose first unit holds one (U+FF21 "Ａ",
// U+4EFF "仿") would hide its record and every later one, and the next add would write over
// them.
inline bool nameFitsDeviceArea(std::span<const std::uint8_t, kNameSize> name) {
    return name[0] != 0xFF && name[1] != 0xFF;
}

}  // namespace nivra::macro
