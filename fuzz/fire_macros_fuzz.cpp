// The fire macros from outside (the 480-byte fire macro file, the mouse's fire-macro area):
// the file read and written back unchanged, each body's listing, length and gun parameters
// without fault and within the 32-byte slot, and a listing built from a body compiling back
// into a body whose listing is the same.
#include "fuzz/fuzz_check.h"
#include "macro/fire_listing.h"
#include "macro/gun_params.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

using namespace nivra;
using namespace nivra::macro;

namespace {

void checkBody(const FireMacroBody& body) {
    const std::size_t length = fireMacroLength(body);
    FUZZ_CHECK(length >= 1 && length <= kFireMacroBodySize);
    const GunParams gun = readGunParams(body);
    FUZZ_CHECK(gun.length == length);
    if (gun.countAt) FUZZ_CHECK(*gun.countAt < kFireMacroBodySize);
    if (gun.moveAt) FUZZ_CHECK(*gun.moveAt + 1 < kFireMacroBodySize);
    if (gun.timeAt) FUZZ_CHECK(*gun.timeAt + 1 < kFireMacroBodySize);

    const Listing listing = BuildFireMacroListing(body);
    FUZZ_CHECK(!listing.empty());
    FireMacroBody compiled{};
    const std::optional<std::size_t> used = CompileFireMacroListing(listing, compiled);
    FUZZ_CHECK(used.has_value() && *used <= kFireMacroBodySize);
    FUZZ_CHECK(fireListingLength(listing) == *used);
    FUZZ_CHECK(BuildFireMacroListing(compiled) == listing);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    if (const std::optional<FireMacroSet> set = readFireMacroFile(bytes)) {
        const auto written = fireMacroFileBytes(*set);
        FUZZ_CHECK(std::equal(written.begin(), written.end(), bytes.begin(), bytes.end()));
        for (std::size_t i = 0; i < kFireMacroCount; ++i) FUZZ_CHECK(isFireMacroBody(set->bodies[i]));
    }
    // Any bytes as the bodies of the fire-macro area, 32 at a time.
    for (std::size_t at = 0; at < size; at += kFireMacroBodySize) {
        FireMacroBody body{};
        std::copy_n(data + at, std::min(kFireMacroBodySize, size - at), body.begin());
        checkBody(body);
        FireMacroName name{};
        std::copy_n(data + at, std::min(name.size(), size - at), name.begin());
        if (!fireMacroNameListed(name)) FUZZ_CHECK(fireMacroNameText(name).empty());
    }
    return 0;
}
