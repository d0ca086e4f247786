// Our own small HID report descriptor parser: walks the items, sums the bits of every
// Input, Output and Feature main item per report ID, and gives the byte length of the
// largest report of each kind plus the report ID byte, for the whole descriptor and for
// each top-level collection.
#include "device/report_descriptor.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <vector>

namespace nivra {
namespace {

enum ItemType : unsigned { kMain = 0, kGlobal = 1, kLocal = 2, kReservedType = 3 };

// Main item tags.
constexpr unsigned kInput = 0x8, kOutput = 0x9, kCollection = 0xA, kFeature = 0xB, kEndCollection = 0xC;
// Global item tags.
constexpr unsigned kUsagePage = 0x0, kReportSize = 0x7, kReportId = 0x8, kReportCount = 0x9, kPush = 0xA,
                   kPop = 0xB;
// Local item tags.
constexpr unsigned kUsage = 0x0;

constexpr std::uint8_t kLongItemPrefix = 0xFE;
// The kernel's largest report buffer; a longer report is not a real device's.
constexpr std::uint64_t kMaxReportBits = 16384ull * 8;
constexpr std::size_t kMaxGlobalStack = 32;

struct Globals {
    std::uint32_t usagePage = 0;
    std::uint64_t reportSize = 0;
    std::uint64_t reportCount = 0;
    unsigned reportId = 0;
};

// Bits of each report per kind (0 input, 1 output, 2 feature) and report ID.
using ReportBits = std::array<std::map<unsigned, std::uint64_t>, 3>;

// Whole bytes of the largest report of each kind, plus the report ID byte.
ReportLengths lengthsOf(const ReportBits& bits) {
    auto longest = [](const std::map<unsigned, std::uint64_t>& perId) -> std::size_t {
        if (perId.empty()) return 0;
        std::uint64_t most = 0;
        for (const auto& [id, b] : perId) most = std::max(most, b);
        return static_cast<std::size_t>((most + 7) / 8 + 1);
    };
    return ReportLengths{longest(bits[0]), longest(bits[1]), longest(bits[2])};
}

}  // namespace

DescriptorLengths measureCollections(std::span<const std::uint8_t> d) {
    ReportBits whole;
    struct Collection {
        std::uint16_t usagePage = 0;
        std::uint16_t usage = 0;
        ReportBits bits;
    };
    std::vector<Collection> collections;
    Globals g;
    std::vector<Globals> stack;
    std::optional<std::uint32_t> firstUsage;   // the first Usage since the last main item
    int depth = 0;
    bool dataWithoutId = false;   // a report item came before any Report ID item
    bool anyReportId = false;

    std::size_t i = 0;
    while (i < d.size()) {
        const std::uint8_t prefix = d[i];
        if (prefix == kLongItemPrefix) {
            // Long item: size byte, tag byte, data. No long item is defined; skip it.
            if (i + 2 >= d.size()) return {};
            const std::size_t size = d[i + 1];
            if (i + 3 + size > d.size()) return {};
            i += 3 + size;
            continue;
        }
        static constexpr std::array<std::size_t, 4> kSizes{0, 1, 2, 4};
        const std::size_t size = kSizes[prefix & 0x3];
        const unsigned type = (prefix >> 2) & 0x3;
        const unsigned tag = prefix >> 4;
        if (i + 1 + size > d.size()) return {};
        std::uint32_t value = 0;
        for (std::size_t k = 0; k < size; ++k) value |= std::uint32_t{d[i + 1 + k]} << (8 * k);
        i += 1 + size;

        switch (type) {
        case kMain:
            switch (tag) {
            case kInput:
            case kOutput:
            case kFeature: {
                const int kind = tag == kInput ? 0 : tag == kOutput ? 1 : 2;
                if (g.reportId == 0) dataWithoutId = true;
                const std::uint64_t itemBits = g.reportSize * g.reportCount;
                std::uint64_t& total = whole[kind][g.reportId];
                total += itemBits;
                if (total > kMaxReportBits) return {};
                // Items outside every collection belong to the node only.
                if (depth > 0) collections.back().bits[kind][g.reportId] += itemBits;
                break;
            }
            case kCollection:
                if (depth == 0) {
                    const std::uint32_t usage = firstUsage.value_or(g.usagePage << 16);
                    Collection c;
                    c.usagePage = static_cast<std::uint16_t>(usage >> 16);
                    c.usage = static_cast<std::uint16_t>(usage & 0xFFFF);
                    collections.push_back(std::move(c));
                }
                ++depth;
                break;
            case kEndCollection:
                if (--depth < 0) return {};
                break;
            default:
                return {};
            }
            firstUsage.reset();
            break;
        case kGlobal:
            switch (tag) {
            case kUsagePage:
                g.usagePage = value;
                break;
            case kReportSize:
                g.reportSize = value;
                break;
            case kReportCount:
                g.reportCount = value;
                break;
            case kReportId:
                if (value == 0 || value > 0xFF) return {};
                g.reportId = value;
                anyReportId = true;
                break;
            case kPush:
                if (stack.size() >= kMaxGlobalStack) return {};
                stack.push_back(g);
                break;
            case kPop:
                if (stack.empty()) return {};
                g = stack.back();
                stack.pop_back();
                break;
            default:
                break;   // logical and physical ranges, units: no effect on lengths
            }
            break;
        case kLocal:
            // A 4-byte usage carries its own page in the high half.
            if (tag == kUsage && !firstUsage) firstUsage = size == 4 ? value : (g.usagePage << 16 | value);
            break;       // other usages, strings, designators
        default:
            return {};   // reserved item type
        }
    }
    if (depth != 0) return {};
    // Reports with and without an ID in one descriptor cannot be told apart on the wire.
    if (dataWithoutId && anyReportId) return {};

    DescriptorLengths result;
    result.whole = lengthsOf(whole);
    for (const Collection& c : collections) result.collections.push_back({c.usagePage, c.usage, lengthsOf(c.bits)});
    return result;
}

ReportLengths measureReportDescriptor(std::span<const std::uint8_t> d) { return measureCollections(d).whole; }

}  // namespace nivra
