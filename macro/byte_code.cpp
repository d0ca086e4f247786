#include "macro/byte_code.h"

#include "image/keys.h"
#include "macro/listing.h"

#include <algorithm>
#include <charconv>

namespace nivra::macro {

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

std::string hex2(std::uint8_t b) { return {kHex[b >> 4], kHex[b & 0x0F]}; }

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Appends the bytes of an even run of hex digits; false (nothing appended) when one is not hex.
bool appendHex(std::string_view digits, std::vector<std::uint8_t>& out) {
    if (digits.size() % 2 != 0) return false;
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        const int hi = hexDigit(digits[i]);
        const int lo = hexDigit(digits[i + 1]);
        if (hi < 0 || lo < 0) return false;
        bytes.push_back(static_cast<std::uint8_t>(hi << 4 | lo));
    }
    out.insert(out.end(), bytes.begin(), bytes.end());
    return true;
}

// Appends the instruction the hex digits spell when they are exactly one instruction other
// than the end marker, so that a compiled macro always scans to its full length.
void appendInstruction(std::string_view digits, std::vector<std::uint8_t>& out) {
    std::vector<std::uint8_t> bytes;
    if (!appendHex(digits, bytes) || bytes.empty()) return;
    if (bytes[0] == op::kEnd || instructionLength(bytes[0]) != bytes.size()) return;
    out.insert(out.end(), bytes.begin(), bytes.end());
}

std::string_view lastChars(std::string_view s, std::size_t n) { return s.substr(s.size() - n); }

}  // namespace

std::size_t instructionLength(std::uint8_t opcode) {
    switch (opcode) {
    case op::kEnd:
    case op::kLoopEnd:
        return 1;
    case op::kModifierPress:
    case op::kModifierRelease:
    case op::kKeyPress:
    case op::kKeyRelease:
    case op::kLoopStart:
        return 2;
    case op::kMove:
    case op::kDelay:
        return 3;
    default:
        break;
    }
    if (mouseButtonName(opcode)) return 1;
    return 0;
}

std::optional<std::size_t> scanMacroLength(std::span<const std::uint8_t> code) {
    const std::size_t limit = std::min(code.size(), kSlotSize);
    std::size_t at = 0;
    while (at < limit) {
        const std::uint8_t b = code[at];
        const std::size_t len = instructionLength(b);
        if (b == op::kEnd || len == 0) return at + 1;
        at += len;
    }
    return std::nullopt;
}

std::vector<std::uint8_t> terminatedCode(std::span<const std::uint8_t> code, std::size_t length) {
    length = std::min(length, code.size());
    std::vector<std::uint8_t> out(code.begin(), code.begin() + static_cast<std::ptrdiff_t>(length));
    if (!out.empty()) out.back() = op::kEnd;
    return out;
}

std::vector<std::uint8_t> CompileMacroListing(const Listing& listing) {
    std::vector<std::uint8_t> out;
    for (std::size_t i = 1; i < listing.size(); ++i) {
        const std::string_view line = listing[i];
        if (line.size() < 2) continue;
        switch (line[0]) {
        case '1':
        case '2': {
            if (line.size() < 6) break;
            std::string_view code = lastChars(line, 4);
            if (code.substr(0, 2) == "00") code = code.substr(2);
            appendInstruction(code, out);
            break;
        }
        case '3':
            if (line.size() >= 8) appendInstruction(lastChars(line, 6), out);
            break;
        case '7':
            if (line.size() >= 6) appendInstruction(lastChars(line, 4), out);
            break;
        case '8':
            if (line.size() >= 4) appendInstruction(lastChars(line, 2), out);
            break;
        case '0': {
            const std::uint16_t ms = delayValueOf(line);
            out.push_back(op::kDelay);
            out.push_back(static_cast<std::uint8_t>(ms >> 8));
            out.push_back(static_cast<std::uint8_t>(ms & 0xFF));
            break;
        }
        default:
            break;
        }
    }
    out.push_back(op::kEnd);
    return out;
}

std::optional<std::size_t> CompileMacroListing(const Listing& listing, std::array<std::uint8_t, kSlotSize>& slot) {
    const std::vector<std::uint8_t> code = CompileMacroListing(listing);
    if (code.size() > kSlotSize) return std::nullopt;
    slot.fill(0);
    std::copy(code.begin(), code.end(), slot.begin());
    return code.size();
}

std::string inferHeader(std::span<const unsigned> firstDelays, DelayMode* mode, unsigned* value) {
    std::array<unsigned, 4> d{};
    for (std::size_t i = 0; i < d.size() && i < firstDelays.size(); ++i) d[i] = firstDelays[i];
    const bool allEqual = std::all_of(d.begin(), d.end(), [&](unsigned v) { return v == d[0]; });
    DelayMode m = DelayMode::Record;
    unsigned v = 0;
    std::string header = "10";
    if (allEqual && d[0] == 0) {
        m = DelayMode::None;
        header = "00";
    } else if (allEqual) {
        m = DelayMode::Default;
        v = d[0];
        header = "01" + std::to_string(v);
    }
    if (mode) *mode = m;
    if (value) *value = v;
    return header;
}

BuiltListing BuildMacroListing(std::span<const std::uint8_t> code, std::size_t length) {
    BuiltListing out;
    out.lines.push_back("00");
    length = std::min({length, code.size(), kSlotSize});
    std::vector<unsigned> delays;
    std::size_t at = 0;
    while (at + 1 < length) {
        const std::uint8_t b = code[at];
        const std::size_t len = instructionLength(b);
        if (b == op::kEnd || len == 0 || at + len > length - 1) break;
        switch (b) {
        case op::kModifierPress:
        case op::kModifierRelease:
            out.lines.push_back(keyLine(b == op::kModifierPress, modifierName(code[at + 1]),
                                        hex2(b) + hex2(code[at + 1])));
            break;
        case op::kKeyPress:
        case op::kKeyRelease:
            out.lines.push_back(keyLine(b == op::kKeyPress, usageName(code[at + 1]), hex2(b) + hex2(code[at + 1])));
            break;
        case op::kMove:
            out.lines.push_back(moveLine(code[at + 1], code[at + 2]));
            break;
        case op::kLoopStart:
            out.lines.push_back(loopStartLine(code[at + 1]));
            break;
        case op::kLoopEnd:
            out.lines.push_back(loopEndLine());
            break;
        case op::kDelay: {
            const unsigned ms = static_cast<unsigned>(code[at + 1] << 8 | code[at + 2]);
            if (delays.size() < 4) delays.push_back(ms);
            out.lines.push_back(delayLine(ms));
            break;
        }
        default:  // a mouse button
            out.lines.push_back(keyLine((b & op::kButtonPress) == op::kButtonPress, *mouseButtonName(b), "00" + hex2(b)));
            break;
        }
        at += len;
    }
    out.lines[0] = inferHeader(delays, &out.mode, &out.defaultDelay);
    return out;
}

}  // namespace nivra::macro
