// Names the image gives rise to: the memory type, the LED type and the LED package choice
// that the default generators take as inputs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace nivra {

// Memory type of the configuration memory. None: not known (no mouse connected).
enum class MemoryType : std::uint8_t { None, I2C, Flash };

inline constexpr std::uint8_t kI2cMarker = 0xE0;  // image byte 495
inline constexpr std::size_t kMemoryMarkerOffset = 495;

// "I2C", "Flash", or "" for None.
std::string_view memoryTypeName(MemoryType type);
// The system-wide memory type from built-in image 1's byte 495: "I2C" for 0xE0, else "Flash".
MemoryType memoryTypeFromMarker(std::uint8_t byte495);

// LED type from user byte 165. None until the UI is first refreshed from the working copy.
enum class LedType : std::uint8_t { None, Rgb, Sync, Nt };

// "RGB", "Sync", "NT", or "" for None.
std::string_view ledTypeName(LedType type);
// Bits 7-6 of byte 165: 0 "RGB", 1 "Sync", 2 and 3 "NT" (bit 7 alone marks "NT").
LedType ledTypeFromByte(std::uint8_t byte165);

// The item chosen in the LED package list (cb_Package); None is "no selection".
enum class PackageChoice : std::int8_t { None = -1, ATechLed = 0, RgbLed = 1 };

// From a list item index: 0, 1, anything else (-1 included) is no selection.
PackageChoice packageChoiceFromItem(int item);
// The package the lighting refresh shows for an LED type: "RGB LED" for RGB, "A-Tech LED"
// for Sync and NT; no selection while the LED type is not yet known.
PackageChoice packageChoiceForLedType(LedType led);

}  // namespace nivra
