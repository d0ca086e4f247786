// The report descriptor measurement on any bytes: no fault, and lengths a kernel report
// buffer can hold (a malformed descriptor measures zero with no collections).
#include "device/report_descriptor.h"
#include "fuzz/fuzz_check.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const nivra::DescriptorLengths d = nivra::measureCollections(bytes);
    constexpr std::size_t kMost = 16384 + 1;  // the kernel's largest report and its ID byte
    FUZZ_CHECK(d.whole.input <= kMost && d.whole.output <= kMost && d.whole.feature <= kMost);
    for (const nivra::CollectionLengths& c : d.collections) {
        FUZZ_CHECK(c.lengths.input <= d.whole.input);
        FUZZ_CHECK(c.lengths.output <= d.whole.output);
        FUZZ_CHECK(c.lengths.feature <= d.whole.feature);
    }
    FUZZ_CHECK(nivra::measureReportDescriptor(bytes) == d.whole);
    return 0;
}
