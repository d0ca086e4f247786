// The code texts of the working copy: the 36 profile button codes and the nine combo keys
// as 8 upper-case hex digits, derived from the bytes whenever they are needed.
#pragma once

#include "image/image.h"
#include "image/types.h"
#include "image/working_copy.h"

#include <array>
#include <span>
#include <string>

namespace nivra {

inline constexpr std::size_t kKeysPerProfile = 12;
inline constexpr std::size_t kComboKeyCount = 9;
inline constexpr std::size_t kComboKeyOffset = 127;

// Image offset of button k (1..12) of profile p (1..3), and of combo key n (1..9).
std::size_t buttonCodeOffset(int profile, int key);
std::size_t comboKeyOffset(int n);

struct CodeTexts {
    std::array<std::array<std::string, kKeysPerProfile>, 3> profile;  // [p-1][k-1]
    std::array<std::string, kComboKeyCount> combo;                     // [n-1]

    void clear();
};

// Four bytes as 8 upper-case hex digits, byte 0 first ("01010000").
std::string hexCodeText(std::span<const std::uint8_t> fourBytes);

// Clears and rebuilds every code text from the working copy.
void rebuildCodeTexts(const WorkingCopy& work, CodeTexts& texts);

// The code texts of a working copy, derived on demand (never stored beside it).
CodeTexts codeTexts(const WorkingCopy& work);

}  // namespace nivra
