#include "macro/macro_name.h"

#include "image/fields.h"

#include <vector>

namespace nivra::macro {

namespace {

// Code points of UTF-8 text; a malformed sequence gives U+FFFD and decoding goes on after
// its first byte.
std::vector<char32_t> codePoints(std::string_view s) {
    std::vector<char32_t> out;
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        std::size_t n = 0;
        char32_t cp = 0;
        if (b < 0x80) { n = 1; cp = b; }
        else if ((b & 0xE0) == 0xC0) { n = 2; cp = b & 0x1F; }
        else if ((b & 0xF0) == 0xE0) { n = 3; cp = b & 0x0F; }
        else if ((b & 0xF8) == 0xF0) { n = 4; cp = b & 0x07; }
        bool ok = n > 0 && i + n <= s.size();
        for (std::size_t k = 1; ok && k < n; ++k) {
            const auto c = static_cast<unsigned char>(s[i + k]);
            if ((c & 0xC0) != 0x80) ok = false;
            cp = cp << 6 | (c & 0x3F);
        }
        static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
        if (ok && (cp < kMin[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) ok = false;
        if (!ok) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        out.push_back(cp);
        i += n;
    }
    return out;
}

std::vector<char16_t> utf16(std::string_view text) {
    std::vector<char16_t> units;
    for (char32_t cp : codePoints(text)) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            units.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            units.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            units.push_back(static_cast<char16_t>(cp));
        }
    }
    return units;
}

}  // namespace

std::string nameText(std::span<const std::uint8_t, kNameSize> name) { return utf16NameUtf8(name); }

NameBytes nameBytes(std::string_view text) {
    NameBytes out{};
    const std::vector<char16_t> units = utf16(text);
    std::size_t n = std::min(units.size(), kNameUnits);
    // A high surrogate whose low half would be cut off is dropped with it.
    if (n > 0 && n < units.size() && units[n - 1] >= 0xD800 && units[n - 1] <= 0xDBFF) --n;
    for (std::size_t i = 0; i < n; ++i) {
        out[2 * i] = static_cast<std::uint8_t>(units[i] >> 8);
        out[2 * i + 1] = static_cast<std::uint8_t>(units[i] & 0xFF);
    }
    return out;
}

std::size_t utf16Units(std::string_view text) { return utf16(text).size(); }

}  // namespace nivra::macro
