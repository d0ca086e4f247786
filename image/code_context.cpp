// The naming context an image carries: its fire keys and its device macro table.
#include "image/codes.h"
#include "image/fields.h"

#include <algorithm>
#include <cstddef>

namespace nivra {

namespace {

constexpr std::size_t kFireKeyBlock = 486;    // three fire keys of 3 bytes: count - 1, interval
constexpr std::size_t kMacroArea = 496;       // device macro area, 512 bytes
constexpr std::size_t kMacroAreaSize = 512;
constexpr std::size_t kMacroNameSize = 16;
constexpr std::size_t kMacroSlotSize = 256;   // a macro body is scanned no further than this

// Length in bytes of the instruction that starts with `opcode`.
std::size_t instructionLength(std::uint8_t opcode) {
    switch (opcode) {
        case 0x81: case 0x01: case 0x82: case 0x02: case 0xFD: return 2;
        case 0x04: case 0xFE: return 3;
        default: return 1;  // end marker, mouse buttons, loop end, and anything unknown
    }
}

// Bytes up to and including the end marker, within the slot and the bytes at hand; 0 when
// no end marker lies there (such a record is then its 16 name bytes alone, as the device
// macro parse counts it, so the addresses of the records after it agree with that parse).
std::size_t macroLength(std::span<const std::uint8_t> body) {
    const std::size_t limit = std::min(body.size(), kMacroSlotSize);
    std::size_t at = 0;
    while (at < limit) {
        if (body[at] == 0x00) return at + 1;
        at += instructionLength(body[at]);
    }
    return 0;
}

// A 16-byte name: eight big-endian UTF-16 units up to the first zero unit, as UTF-8.
// A lone surrogate becomes U+FFFD.
std::string macroName(std::span<const std::uint8_t> name) {
    std::string out;
    for (std::size_t i = 0; i + 1 < name.size(); i += 2) {
        const char32_t unit = static_cast<char32_t>(name[i] << 8 | name[i + 1]);
        if (unit == 0) break;
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < name.size()) {
            const char32_t low = static_cast<char32_t>(name[i + 2] << 8 | name[i + 3]);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        appendUtf8(out, (unit >= 0xD800 && unit <= 0xDFFF) ? 0xFFFD : unit);
    }
    return out;
}

}  // namespace

NameInputs nameInputsFromImage(std::span<const std::uint8_t> image, MemoryType memory) {
    NameInputs in;
    in.memory = memory;
    if (image.size() < kMacroArea + kMacroAreaSize) return in;

    for (std::size_t k = 0; k < 3; ++k) {
        const std::size_t at = kFireKeyBlock + 3 * k;
        in.fireKeys[k].count = image[at] + 1;
        in.fireKeys[k].interval = image[at + 1] << 8 | image[at + 2];
    }

    // Records are packed from the start of the area; the first absent record ends them.
    // A record's body address is its image offset plus the 16 name bytes.
    const auto area = image.subspan(kMacroArea, kMacroAreaSize);
    std::size_t at = 0;
    for (DeviceMacroEntry& m : in.deviceMacros) {
        if (at + kMacroNameSize > area.size()) break;
        const std::uint8_t a = area[at];
        const std::uint8_t b = area[at + 1];
        if ((a == 0x00 && b == 0x00) || a == 0xFF || b == 0xFF) break;
        m.present = true;
        m.name = macroName(area.subspan(at, kMacroNameSize));
        m.bodyAddress = static_cast<std::uint16_t>(kMacroArea + at + kMacroNameSize);
        at += kMacroNameSize + macroLength(area.subspan(at + kMacroNameSize));
    }
    return in;
}

}  // namespace nivra
