#include "macro/listing.h"

#include "image/keys.h"

#include <algorithm>

namespace nivra::macro {

namespace {

constexpr char kHex[] = "0123456789ABCDEF";
std::string hex2(std::uint8_t b) { return {kHex[b >> 4], kHex[b & 0x0F]}; }

std::optional<std::uint8_t> hexByte(std::string_view s) {
    if (s.size() != 2) return std::nullopt;
    int v = 0;
    for (char c : s) {
        int d = -1;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
        if (d < 0) return std::nullopt;
        v = v * 16 + d;
    }
    return static_cast<std::uint8_t>(v);
}

// Clamps a number text to [lo, hi]; an empty or unreadable text becomes `empty`.
std::string clampText(std::string_view text, long long lo, long long hi, long long empty) {
    const std::optional<long long> v = numberOf(text);
    if (!v) return std::to_string(empty);
    return std::to_string(std::clamp(*v, lo, hi));
}

}  // namespace

std::optional<std::string_view> mouseButtonName(std::uint8_t opcode) {
    switch (opcode & 0x7F) {
    case 0x21: return "LeftKey";
    case 0x22: return "RightKey";
    case 0x24: return "MiddleKey";
    case 0x28: return "Forward";
    case 0x30: return "Backward";
    default: return std::nullopt;
    }
}

std::string modifierName(std::uint8_t bit) {
    switch (bit) {
    case 0x01: return "Ctrl";
    case 0x02: return "Shift";
    case 0x04: return "Alt";
    case 0x08: return "Left Windows";
    case 0x80: return "Right Windows";
    default: return "Modifier " + hex2(bit);
    }
}

std::string usageName(std::uint8_t usage) {
    const std::string_view name = keyUsageName(usage);
    if (name.empty()) return "Key " + hex2(usage);
    return std::string(name);
}

std::string keyLine(bool press, std::string_view name, std::string_view code4) {
    std::string line = press ? "1 " : "2 ";
    line += name;
    line += " CODE:";
    line += code4;
    return line;
}

std::string capturedKeyLine(bool press, std::string_view name, std::uint8_t usage) {
    return keyLine(press, name, (press ? "82" : "02") + hex2(usage));
}

std::string delayLine(unsigned ms) { return "0 " + std::to_string(ms); }
std::string moveLine(std::uint8_t x, std::uint8_t y) { return "3 04" + hex2(x) + hex2(y); }
std::string loopStartLine(std::uint8_t count) { return "7 FD" + hex2(count); }
std::string loopEndLine() { return "8 FC"; }

char lineKind(std::string_view line) { return line.empty() ? '\0' : line[0]; }

std::string_view lineName(std::string_view line) {
    if (line.size() < 12) return {};
    return line.substr(2, line.size() - 12);
}

std::uint16_t delayValueOf(std::string_view line) {
    if (line.size() < 2) return 0;
    const std::optional<long long> v = numberOf(line.substr(2));
    if (!v || *v < 0) return 0;
    return static_cast<std::uint16_t>(std::min<long long>(*v, 65535));
}

std::string lineDisplayText(std::string_view line) {
    const std::string_view rest = line.size() > 2 ? line.substr(2) : std::string_view{};
    switch (lineKind(line)) {
    case '1':
    case '2':
        return std::string(line.size() >= 12 ? lineName(line) : rest);
    case '0':
        return std::string(rest) + " ms";
    case '3': {
        const auto x = line.size() >= 8 ? hexByte(line.substr(4, 2)) : std::nullopt;
        const auto y = line.size() >= 8 ? hexByte(line.substr(6, 2)) : std::nullopt;
        if (!x || !y) return std::string(rest);
        return "X: " + std::to_string(static_cast<std::int8_t>(*x)) + "  Y: " +
               std::to_string(static_cast<std::int8_t>(*y));
    }
    case '7': {
        const auto n = line.size() >= 6 ? hexByte(line.substr(4, 2)) : std::nullopt;
        if (!n) return std::string(rest);
        return "Rep-Start  " + std::to_string(*n);
    }
    case '8':
        return "Rep-Stop";
    default:
        return std::string(rest);
    }
}

DeleteResult deleteRow(Listing& listing, std::size_t row) {
    DeleteResult r;
    const std::size_t line = row + 1;
    if (line >= listing.size()) return r;
    const char kind = lineKind(listing[line]);
    auto selectAfter = [&](std::size_t back) {
        const std::size_t rows = listing.size() - 1;
        if (rows == 0) return;
        r.select = row >= back ? row - back : 0;
        if (*r.select >= rows) r.select = rows - 1;
    };
    if (kind == '1') {
        const std::string_view name = lineName(listing[line]);
        for (std::size_t j = line + 1; j < listing.size(); ++j) {
            if (lineKind(listing[j]) == '2' && lineName(listing[j]) == name) {
                listing.erase(listing.begin() + static_cast<std::ptrdiff_t>(j));
                listing.erase(listing.begin() + static_cast<std::ptrdiff_t>(line));
                selectAfter(1);
                return r;
            }
        }
        r.contentError = true;
        return r;
    }
    if (kind == '2') {
        const std::string_view name = lineName(listing[line]);
        for (std::size_t j = line - 1; j >= 1; --j) {
            if (lineKind(listing[j]) == '1' && lineName(listing[j]) == name) {
                listing.erase(listing.begin() + static_cast<std::ptrdiff_t>(line));
                listing.erase(listing.begin() + static_cast<std::ptrdiff_t>(j));
                selectAfter(2);
                return r;
            }
        }
        r.contentError = true;
        return r;
    }
    listing.erase(listing.begin() + static_cast<std::ptrdiff_t>(line));
    selectAfter(1);
    return r;
}

bool insertFits(std::size_t compiledLength, char kind) {
    const std::size_t add = kind == '8' ? 1 : 3;
    return compiledLength + add <= kMaxInsertLength;
}

std::optional<long long> numberOf(std::string_view text) {
    bool negative = false;
    if (!text.empty() && text[0] == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    long long v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        v = std::min<long long>(v * 10 + (c - '0'), 1'000'000'000LL);  // saturates: only the clamp matters
    }
    return negative ? -v : v;
}

std::string ruleDelayText(std::string_view text) { return clampText(text, 1, 65535, 1); }
std::string ruleRepeatText(std::string_view text) { return clampText(text, 1, 254, 1); }
std::string ruleAxisText(std::string_view text) {
    if (text == "-") return "-";
    return clampText(text, -128, 127, 0);
}

bool delayCharAllowed(char c) { return c >= '0' && c <= '9'; }
bool axisCharAllowed(char c) { return delayCharAllowed(c) || c == '-'; }

}  // namespace nivra::macro
