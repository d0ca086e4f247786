// Keyboard tables of the keyboard codes: the names of keyboard usages and the 144-row key
// capture table (key index -> name -> usage, with the PC key that selects each row).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace nivra {

// Name of a USB HID Keyboard/Keypad usage as shown in key combinations ("A", "Page Up",
// "Media_Stop"); "" for a usage that has no name. Both 0xE3 and 0xE7 are "Win".
std::string_view keyUsageName(std::uint8_t usage);

// One row of the key capture table.
struct CaptureRow {
    std::string_view name;
    std::uint8_t usage;       // keyboard usage the row gives (0x00 = none)
    std::uint8_t virtualKey;  // the PC key of the row as a Windows virtual-key code; 0 = none
};

inline constexpr std::size_t kCaptureRows = 144;

// Rows the callers treat specially.
namespace capture {
inline constexpr std::size_t kNone = 0;
inline constexpr std::size_t k255 = 2;  // virtual key 0xFF; recorders ignore it
inline constexpr std::size_t kShift = 7;
inline constexpr std::size_t kCtrl = 8;
inline constexpr std::size_t kAlt = 9;
inline constexpr std::size_t kLeftWindows = 27;
inline constexpr std::size_t kRightWindows = 28;
}  // namespace capture

// The whole table in index order.
std::span<const CaptureRow, kCaptureRows> captureTable();
// Row `index`; an index outside the table gives row 0 ("None").
const CaptureRow& captureRow(std::size_t index);
// Index of the row whose PC key is `virtualKey`; a key outside the table gives 0.
std::size_t captureIndexForVirtualKey(unsigned virtualKey);
// Index of the row of that exact name.
std::optional<std::size_t> captureIndexForName(std::string_view name);

}  // namespace nivra
