// Measuring a HID report descriptor: the byte length of the largest input, output and
// feature report, for the whole descriptor and for each top-level collection (a HID class
// driver that gives each top-level collection an interface of its own measures these).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

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

// One top-level collection: its usage page and usage and the lengths of its own reports.
struct CollectionLengths {
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
    ReportLengths lengths;
    bool operator==(const CollectionLengths&) const = default;
};

// The whole descriptor (a Linux hidraw node) and its top-level collections in order. A
// malformed descriptor gives zero whole lengths and no collections.
struct DescriptorLengths {
    ReportLengths whole;
    std::vector<CollectionLengths> collections;
};

DescriptorLengths measureCollections(std::span<const std::uint8_t> descriptor);

// The whole descriptor's lengths (measureCollections(descriptor).whole).
ReportLengths measureReportDescriptor(std::span<const std::uint8_t> descriptor);

}  // namespace nivra
