// Macro listings from outside (`macro compile FILE`, the library's code slots): any text
// compiled without fault; any code built into a listing and compiled back to the same bytes
// (the round trip the Macro page makes on every edit); the compiled listing of any text,
// built and compiled again, is a fixed point.
#include "fuzz/fuzz_check.h"
#include "macro/byte_code.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <sstream>
#include <string>

using namespace nivra::macro;

namespace {

// The code up to and including its end marker, as `macro build` takes it; nothing when the
// bytes have none.
std::optional<std::vector<std::uint8_t>> terminated(std::span<const std::uint8_t> code) {
    const std::optional<std::size_t> len = scanMacroLength(code);
    if (!len || code[*len - 1] != op::kEnd) return std::nullopt;
    return std::vector<std::uint8_t>(code.begin(), code.begin() + static_cast<std::ptrdiff_t>(*len));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The bytes as listing text, one line per line break.
    Listing listing;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    for (std::string line; std::getline(in, line);) listing.push_back(line);
    const std::vector<std::uint8_t> compiled = CompileMacroListing(listing);
    if (const auto code = terminated(compiled)) {
        const BuiltListing built = BuildMacroListing(*code, code->size());
        const std::vector<std::uint8_t> again = CompileMacroListing(built.lines);
        const BuiltListing rebuilt = BuildMacroListing(again, again.size());
        FUZZ_CHECK(rebuilt.lines == built.lines);
    }

    // The bytes as byte code (a library slot, `macro build HEX`).
    if (const auto code = terminated(std::span(data, size))) {
        const BuiltListing built = BuildMacroListing(*code, code->size());
        FUZZ_CHECK(CompileMacroListing(built.lines) == *code);
    }
    return 0;
}
