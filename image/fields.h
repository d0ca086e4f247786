// Field accessors over an image (or the working copy's bytes, which sit at image offsets):
// 16-bit big-endian values, signed offsets, CPI nibbles, option-byte bit fields, colours,
// the USB text, the mode and LED bytes, fire keys and fire-macro names.
#pragma once

#include "image/image.h"
#include "image/types.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace nivra {

// 16-bit values are big-endian: high byte at the lower offset.
std::uint16_t be16(const Image& img, std::size_t offset);
void setBe16(Image& img, std::size_t offset, std::uint16_t value);

// A bit field of one byte: `width` bits starting at bit `shift`.
struct BitField {
    std::size_t offset;
    std::uint8_t shift;
    std::uint8_t width;
    constexpr std::uint8_t mask() const { return static_cast<std::uint8_t>(((1u << width) - 1u) << shift); }
};

std::uint8_t getField(const Image& img, BitField f);
// Stores the low `width` bits of value; the other bits of the byte keep their values.
void setField(Image& img, BitField f, std::uint8_t value);

// The option bytes 4..8, named after the controls that show them.
namespace field {
inline constexpr BitField kICType{4, 6, 2};
inline constexpr BitField kRepRate{4, 4, 2};
inline constexpr BitField kSensorEnhance{4, 3, 1};
inline constexpr BitField kPackage{5, 7, 1};
inline constexpr BitField kKbdType{5, 6, 1};
inline constexpr BitField kCPIIndication{5, 4, 2};
inline constexpr BitField kCPISet{5, 2, 2};
inline constexpr BitField kCPILevel{5, 0, 2};
inline constexpr BitField kSensorRotation{6, 6, 2};
inline constexpr BitField kCPIPrescaleSel{6, 4, 2};
inline constexpr BitField kFireKeyFreq{6, 2, 2};
inline constexpr BitField kFireKeyCount{6, 0, 2};
inline constexpr BitField kLEDCtrl0{7, 7, 1};
inline constexpr BitField kLEDCtrl1{7, 6, 1};
inline constexpr BitField kLEDModeFuse{7, 4, 2};
inline constexpr BitField kComboKeyTime{7, 3, 1};
inline constexpr BitField kUSBCDR{7, 2, 1};
inline constexpr BitField kSensorSleep{7, 1, 1};
inline constexpr BitField kLEDPower{7, 0, 1};
inline constexpr BitField kEFTrelyNAK{8, 3, 1};
inline constexpr BitField kEFTrelug{8, 2, 1};
inline constexpr BitField kKeepProfileInfo{8, 1, 1};
inline constexpr BitField kProfileLEDFlash{8, 0, 1};

// User section bytes 164 and 165.
inline constexpr BitField kCurrentMode{164, 0, 4};
inline constexpr BitField kModeColour{164, 4, 4};
inline constexpr BitField kLedType{165, 6, 2};
inline constexpr BitField kNtLedCount{165, 4, 3};  // NT only: number of LEDs minus 1
inline constexpr BitField kLightingMode{165, 0, 4};
}  // namespace field

// Offsets of single fields.
namespace offset {
inline constexpr std::size_t kVid = 0;
inline constexpr std::size_t kPid = 2;
inline constexpr std::size_t kSensorRegisters = 9;  // 31 bytes
inline constexpr std::size_t kLedInit0 = 40;
inline constexpr std::size_t kLedInit1 = 41;
inline constexpr std::size_t kModeEnableMask = 42;
inline constexpr std::size_t kCpiLevelCount = 43;  // levels minus 1
inline constexpr std::size_t kCpiNibbles = 44;
inline constexpr std::size_t kBreathLower = 48;
inline constexpr std::size_t kBreathUpper = 50;
inline constexpr std::size_t kBreathLowerTime = 52;
inline constexpr std::size_t kBreathUpperTime = 54;
inline constexpr std::size_t kBreathStepTime = 56;
inline constexpr std::size_t kColours = 57;     // 10 x RGB
inline constexpr std::size_t kCpiColours = 87;  // 8 x RGB
inline constexpr std::size_t kUsbText = 111;    // 16 bytes
inline constexpr std::size_t kModeByte = 164;
inline constexpr std::size_t kLedByte = 165;
inline constexpr std::size_t kCurrentCpi = 166;
inline constexpr std::size_t kButtonFlash = 167;
inline constexpr std::size_t kGameModeA = 168;
inline constexpr std::size_t kGameModeB = 169;
inline constexpr std::size_t kGameOffset = 170;
inline constexpr std::size_t kXOffsets = 171;
inline constexpr std::size_t kYOffsets = 181;
inline constexpr std::size_t kManufacturerId = 484;
inline constexpr std::size_t kProductId = 485;
inline constexpr std::size_t kFireKeys = 486;  // 3 x (count - 1, 16-bit delay)
inline constexpr std::size_t kMemoryMarker = 495;
inline constexpr std::size_t kPatchCheck = 1014;
inline constexpr std::size_t kFireMacroNames = 1536;
inline constexpr std::size_t kFireMacroBodies = 1696;
}  // namespace offset

// The CPI values a level nibble 0..11 selects.
inline constexpr std::array<int, 12> kCpiValues{200, 400, 600, 800, 1000, 1200, 1600, 2000, 2400, 3200, 4800, 6400};
inline constexpr std::uint8_t kCpiNotSet = 0x0F;
inline constexpr int kMaxCpiLevels = 8;

// Number of CPI levels, 1..8 (byte 43 + 1, its low three bits).
int cpiLevelCount(const Image& img);
void setCpiLevelCount(Image& img, int levels);  // 1..8
// The nibble of level 1..8.
std::uint8_t cpiNibble(const Image& img, int level);
void setCpiNibble(Image& img, int level, std::uint8_t nibble);
// The CPI value of level 1..8; nullopt for "not set" (0xF) and the unused nibbles 12..14.
std::optional<int> cpiValue(const Image& img, int level);

// X and Y offsets 1..10: signed bytes at 171 + n - 1 and 181 + n - 1.
int xOffset(const Image& img, int n);
int yOffset(const Image& img, int n);
void setXOffset(Image& img, int n, int value);  // -128..127, held to that range
void setYOffset(Image& img, int n, int value);
// A byte read as two's complement, and a value written as one.
constexpr int signedByte(std::uint8_t b) { return b < 0x80 ? b : b - 256; }
std::uint8_t toSignedByte(int value);  // held to -128..127

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};
Rgb colour(const Image& img, int n);  // 1..10
void setColour(Image& img, int n, Rgb c);
Rgb cpiColour(const Image& img, int level);  // 1..8
void setCpiColour(Image& img, int level, Rgb c);

// The USB descriptor text: up to 16 single-byte characters, the rest 0x00.
std::string usbText(const Image& img);
void setUsbText(Image& img, std::string_view text);  // longer texts are cut at 16

// Which item cb_BtnEFT shows for byte 167: the value itself below 2, else the value
// minus 4 (the gun display bit 2 set); other values give nullopt.
std::optional<int> buttonFlashItem(std::uint8_t byte167);

// Fire key n (1..3) of the identity and fire-key block.
struct FireKeyBlockEntry {
    std::uint8_t countMinusOne = 0;  // shots - 1
    std::uint16_t delay = 0;
};
FireKeyBlockEntry fireKeyEntry(const Image& img, int n);
void setFireKeyEntry(Image& img, int n, FireKeyBlockEntry e);

// The patch-code check as stored (1014-1015) and as computed from the patch code.
std::uint16_t storedPatchCheck(const Image& img);
std::uint16_t patchCheckOf(std::span<const std::uint8_t> patchCode);

// Names of 16 bytes: UTF-16 big-endian, read up to the first zero unit.
std::u16string utf16NameText(std::span<const std::uint8_t> name16);
std::string utf16NameUtf8(std::span<const std::uint8_t> name16);
// Appends one code point as UTF-8; a surrogate or a value past U+10FFFF appends U+FFFD.
void appendUtf8(std::string& out, char32_t c);
// A fire-macro name whose first two bytes are 0xFF 0xFF or 0x00 0x00 marks an empty slot.
bool isEmptyNameSlot(std::span<const std::uint8_t> name16);

}  // namespace nivra
