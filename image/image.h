// The 2048-byte configuration image: its regions and the section check byte.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace nivra {

inline constexpr std::size_t kImageSize = 2048;
using Image = std::array<std::uint8_t, kImageSize>;

// Regions of the image (offset, length).
struct Region {
    std::size_t offset;
    std::size_t length;
    constexpr std::size_t end() const { return offset + length; }
};

namespace region {
inline constexpr Region kVendor{0, 164};
inline constexpr Region kUser{164, 28};
inline constexpr Region kProfile1{192, 49};
inline constexpr Region kProfile2{241, 49};
inline constexpr Region kProfile3{290, 49};
inline constexpr Region kReserved{339, 41};
inline constexpr Region kSpare1{380, 104};
inline constexpr Region kIdentity{484, 12};
inline constexpr Region kDeviceMacros{496, 512};
inline constexpr Region kPatchHeader{1008, 16};
inline constexpr Region kPatchCode{1024, 512};
inline constexpr Region kFireMacroNames{1536, 160};
inline constexpr Region kFireMacroBodies{1696, 320};
inline constexpr Region kFireMacroBlock{1536, 512};
inline constexpr Region kSpare2{2016, 32};
}  // namespace region

// The check byte of a section of n bytes: the 8-bit sum of its first n-1 bytes XOR 0x5A.
constexpr std::uint8_t sectionCheckByte(std::span<const std::uint8_t> section) {
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i + 1 < section.size(); ++i) sum = static_cast<std::uint8_t>(sum + section[i]);
    return static_cast<std::uint8_t>(sum ^ 0x5A);
}

}  // namespace nivra
