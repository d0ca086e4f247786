// The three built-in configuration images NivraData_Cfg1..NivraData_Cfg3 carried inside
// the program: image 1 is the no-device image and gives the device identity at start.
#pragma once

#include "image/image.h"
#include "image/types.h"

#include <cstdint>

#include <string>

namespace nivra {

inline constexpr int kBuiltinImageCount = 3;

// Built-in image n (1..3). Throws std::out_of_range for any other n.
const Image& builtinImage(int n);

// "NivraData_Cfg1".."NivraData_Cfg3"; empty for any other n.
std::string builtinImageName(int n);

// What the program takes from built-in image 1 at start: the USB vendor and product ID
// of the mouse it looks for (bytes 0-3), the manufacturer and product ID bytes it compares
// at connection (484, 485) and the system-wide memory type (byte 495).
struct DeviceIdentity {
    std::uint16_t vid = 0;
    std::uint16_t pid = 0;
    std::uint8_t manufacturerId = 0;
    std::uint8_t productId = 0;
    MemoryType systemMemory = MemoryType::None;
};
DeviceIdentity builtinIdentity();

}  // namespace nivra
