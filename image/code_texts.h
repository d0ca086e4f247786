// The code texts rebuilt from the working copy: the 36 profile button codes and the nine
// combo keys as 8 upper-case hex digits, and the refresh that rebuilds them (DataBufToUI).
#pragma once

#include "image/image.h"
#include "image/types.h"
#include "image/working_copy.h"

#include <array>
#include <functional>
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

// What the program holds about its image besides the bytes: the transfer buffer, the
// working copy, the code texts and the names derived from them.
struct ImageState {
    Image transfer{};
    WorkingCopy work;
    CodeTexts texts;
    LedType led = LedType::None;             // follows user byte 165 at each refresh
    MemoryType systemMemory = MemoryType::None;  // from built-in image 1, set once at start
    MemoryType deviceMemory = MemoryType::None;  // the connected mouse's; None when none is
    PackageChoice package = PackageChoice::None;  // the item shown in cb_Package

    DefaultInputs defaultInputs() const { return {deviceMemory, led, package}; }
};

// Rebuilds the code texts, takes the LED type from user byte 165, then calls refreshUI
// (which sets every control from the working copy) when given.
void DataBufToUI(ImageState& state, const std::function<void()>& refreshUI = {});

}  // namespace nivra
