// Measuring a HID report descriptor: the byte length of the largest input, output and
// feature report, counted as the HID class driver of Windows does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace nivra {

// Lengths in bytes including one byte for the report ID, also when the descriptor uses no
// report IDs; 0 for a kind the descriptor has no report of. A descriptor that is truncated
// or malformed gives 0 for all three.
struct ReportLengths {
    std::size_t input = 0;
    std::size_t output = 0;
    std::size_t feature = 0;
    bool operator==(const ReportLengths&) const = default;
};

// The longest report descriptor a USB device can give (its length is a 16-bit field).
inline constexpr std::size_t kMaxReportDescriptorBytes = 0xFFFF;

ReportLengths measureReportDescriptor(std::span<const std::uint8_t> descriptor);

}  // namespace nivra
