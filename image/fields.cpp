// Field accessors over the image bytes.
#include "image/fields.h"

#include <algorithm>
#include <stdexcept>

namespace nivra {

namespace {

void requireRange(int n, int lo, int hi, const char* what) {
    if (n < lo || n > hi) throw std::out_of_range(what);
}

}  // namespace

std::uint16_t be16(const Image& img, std::size_t at) {
    return static_cast<std::uint16_t>(img.at(at) << 8 | img.at(at + 1));
}

void setBe16(Image& img, std::size_t at, std::uint16_t value) {
    img.at(at) = static_cast<std::uint8_t>(value >> 8);
    img.at(at + 1) = static_cast<std::uint8_t>(value & 0xFF);
}

std::uint8_t getField(const Image& img, BitField f) {
    return static_cast<std::uint8_t>((img.at(f.offset) & f.mask()) >> f.shift);
}

void setField(Image& img, BitField f, std::uint8_t value) {
    std::uint8_t& b = img.at(f.offset);
    b = static_cast<std::uint8_t>((b & ~f.mask()) | ((value << f.shift) & f.mask()));
}

int cpiLevelCount(const Image& img) { return (img[offset::kCpiLevelCount] & 0x07) + 1; }

void setCpiLevelCount(Image& img, int levels) {
    requireRange(levels, 1, kMaxCpiLevels, "CPI level count must be 1..8");
    img[offset::kCpiLevelCount] = static_cast<std::uint8_t>(levels - 1);
}

std::uint8_t cpiNibble(const Image& img, int level) {
    requireRange(level, 1, kMaxCpiLevels, "CPI level must be 1..8");
    const std::uint8_t b = img[offset::kCpiNibbles + static_cast<std::size_t>(level - 1) / 2];
    return (level % 2 == 1) ? (b & 0x0F) : (b >> 4);
}

void setCpiNibble(Image& img, int level, std::uint8_t nibble) {
    requireRange(level, 1, kMaxCpiLevels, "CPI level must be 1..8");
    setField(img, BitField{offset::kCpiNibbles + static_cast<std::size_t>(level - 1) / 2,
                           static_cast<std::uint8_t>(level % 2 == 1 ? 0 : 4), 4},
             nibble);
}

std::optional<int> cpiValue(const Image& img, int level) {
    const std::uint8_t k = cpiNibble(img, level);
    if (k < kCpiValues.size()) return kCpiValues[k];
    return std::nullopt;
}

std::uint8_t toSignedByte(int value) {
    return static_cast<std::uint8_t>(std::clamp(value, -128, 127) & 0xFF);
}

int xOffset(const Image& img, int n) {
    requireRange(n, 1, 10, "offset number must be 1..10");
    return signedByte(img[offset::kXOffsets + static_cast<std::size_t>(n - 1)]);
}

int yOffset(const Image& img, int n) {
    requireRange(n, 1, 10, "offset number must be 1..10");
    return signedByte(img[offset::kYOffsets + static_cast<std::size_t>(n - 1)]);
}

void setXOffset(Image& img, int n, int value) {
    requireRange(n, 1, 10, "offset number must be 1..10");
    img[offset::kXOffsets + static_cast<std::size_t>(n - 1)] = toSignedByte(value);
}

void setYOffset(Image& img, int n, int value) {
    requireRange(n, 1, 10, "offset number must be 1..10");
    img[offset::kYOffsets + static_cast<std::size_t>(n - 1)] = toSignedByte(value);
}

namespace {
Rgb rgbAt(const Image& img, std::size_t at) { return {img[at], img[at + 1], img[at + 2]}; }
void putRgb(Image& img, std::size_t at, Rgb c) {
    img[at] = c.r;
    img[at + 1] = c.g;
    img[at + 2] = c.b;
}
}  // namespace

Rgb colour(const Image& img, int n) {
    requireRange(n, 1, 10, "colour number must be 1..10");
    return rgbAt(img, offset::kColours + 3 * static_cast<std::size_t>(n - 1));
}

void setColour(Image& img, int n, Rgb c) {
    requireRange(n, 1, 10, "colour number must be 1..10");
    putRgb(img, offset::kColours + 3 * static_cast<std::size_t>(n - 1), c);
}

Rgb cpiColour(const Image& img, int level) {
    requireRange(level, 1, kMaxCpiLevels, "CPI level must be 1..8");
    return rgbAt(img, offset::kCpiColours + 3 * static_cast<std::size_t>(level - 1));
}

void setCpiColour(Image& img, int level, Rgb c) {
    requireRange(level, 1, kMaxCpiLevels, "CPI level must be 1..8");
    putRgb(img, offset::kCpiColours + 3 * static_cast<std::size_t>(level - 1), c);
}

std::string usbText(const Image& img) {
    std::string text;
    for (std::size_t i = 0; i < 16 && img[offset::kUsbText + i] != 0x00; ++i)
        text += static_cast<char>(img[offset::kUsbText + i]);
    return text;
}

void setUsbText(Image& img, std::string_view text) {
    for (std::size_t i = 0; i < 16; ++i)
        img[offset::kUsbText + i] = i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0x00;
}

std::optional<int> buttonFlashItem(std::uint8_t byte167) {
    const int item = byte167 < 2 ? byte167 : byte167 - 4;
    if (item == 0 || item == 1) return item;
    return std::nullopt;
}

FireKeyBlockEntry fireKeyEntry(const Image& img, int n) {
    requireRange(n, 1, 3, "fire key number must be 1..3");
    const std::size_t at = offset::kFireKeys + 3 * static_cast<std::size_t>(n - 1);
    return {img[at], be16(img, at + 1)};
}

void setFireKeyEntry(Image& img, int n, FireKeyBlockEntry e) {
    requireRange(n, 1, 3, "fire key number must be 1..3");
    const std::size_t at = offset::kFireKeys + 3 * static_cast<std::size_t>(n - 1);
    img[at] = e.countMinusOne;
    setBe16(img, at + 1, e.delay);
}

std::uint16_t storedPatchCheck(const Image& img) { return be16(img, offset::kPatchCheck); }

std::uint16_t patchCheckOf(std::span<const std::uint8_t> patchCode) {
    unsigned sum = 0;
    for (std::uint8_t b : patchCode) sum += b;
    return static_cast<std::uint16_t>((sum & 0xFFFF) ^ 0x015A);
}

std::u16string utf16NameText(std::span<const std::uint8_t> name) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < name.size() && i < 16; i += 2) {
        const char16_t unit = static_cast<char16_t>(name[i] << 8 | name[i + 1]);
        if (unit == 0) break;
        text += unit;
    }
    return text;
}

void appendUtf8(std::string& out, char32_t c) {
    if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) c = 0xFFFD;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string utf16NameUtf8(std::span<const std::uint8_t> name) {
    const std::u16string units = utf16NameText(name);
    std::string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        unsigned c = units[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00u);
            ++i;
        }
        appendUtf8(out, c);  // a lone surrogate becomes U+FFFD
    }
    return out;
}

bool isEmptyNameSlot(std::span<const std::uint8_t> name) {
    if (name.size() < 2) return true;
    return (name[0] == 0xFF && name[1] == 0xFF) || (name[0] == 0x00 && name[1] == 0x00);
}

}  // namespace nivra
