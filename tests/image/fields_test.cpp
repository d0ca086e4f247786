// Field accessors: signed offsets, CPI nibbles, option-byte bit fields, the derived names,
// the button-flash reader and the 16-byte UTF-16 names.
#include "image/builtin.h"
#include "image/code_texts.h"
#include "image/defaults.h"
#include "image/fields.h"
#include "image/types.h"

#include <gtest/gtest.h>

namespace {

using namespace nivra;

Image blank(std::uint8_t fill = 0x00) {
    Image img;
    img.fill(fill);
    return img;
}

TEST(Fields, SignedOffsets) {
    const std::pair<std::uint8_t, int> cases[] = {{0x00, 0}, {0x7F, 127}, {0x80, -128}, {0xF6, -10}, {0xFF, -1}};
    for (auto [b, v] : cases) {
        Image img = blank();
        img[171] = b;  // X offset 1
        img[190] = b;  // Y offset 10
        EXPECT_EQ(xOffset(img, 1), v) << int(b);
        EXPECT_EQ(yOffset(img, 10), v) << int(b);
        Image back = blank();
        setXOffset(back, 1, v);
        EXPECT_EQ(back[171], b);
    }
    Image img = blank();
    setYOffset(img, 3, -300);  // held to the byte's range
    EXPECT_EQ(img[183], 0x80);
    setYOffset(img, 3, 300);
    EXPECT_EQ(img[183], 0x7F);
}

TEST(Fields, CpiNibblesAndLevelCount) {
    const Image& first = builtinImage(1);  // 44..47 = 63 B9 98 BA, four levels
    EXPECT_EQ(cpiLevelCount(first), 4);
    const std::pair<int, int> values[] = {{1, 800}, {2, 1600}, {3, 3200}, {4, 6400}, {5, 2400}, {6, 3200}};
    for (auto [level, cpi] : values) EXPECT_EQ(cpiValue(first, level), cpi) << level;

    Image img = blank();
    img[43] = 7;
    EXPECT_EQ(cpiLevelCount(img), 8);
    img[47] = 0xF0;  // level 8 not set, level 7 nibble 0
    EXPECT_EQ(cpiValue(img, 8), std::nullopt);
    EXPECT_EQ(cpiValue(img, 7), 200);
    img[46] = 0xC0;  // nibble 12 selects no value either
    EXPECT_EQ(cpiValue(img, 6), std::nullopt);

    setCpiNibble(img, 3, 0x9);
    setCpiNibble(img, 4, 0xA);
    EXPECT_EQ(img[45], 0xA9);
    setCpiNibble(img, 3, kCpiNotSet);
    EXPECT_EQ(img[45], 0xAF);
    EXPECT_THROW(cpiNibble(img, 9), std::out_of_range);
}

TEST(Fields, BitFieldsChangeOnlyTheirBits) {
    struct Case {
        BitField field;
        std::uint8_t before, value, after;
    };
    const Case cases[] = {
        {field::kRepRate, 0xBF, 0, 0x8F},         // byte 4 bits 5-4
        {field::kRepRate, 0x8F, 3, 0xBF},
        {field::kICType, 0x07, 2, 0x87},          // bits 2-0 carried as they are
        {field::kPackage, 0xFF, 0, 0x7F},
        {field::kCPILevel, 0xFC, 3, 0xFF},
        {field::kLEDPower, 0xFF, 0, 0xFE},
        {field::kProfileLEDFlash, 0xF0, 1, 0xF1},  // byte 8 bits 7-4 carried
        {field::kCurrentMode, 0xF0, 2, 0xF2},
        {field::kModeColour, 0x01, 0x0F, 0xF1},
        {field::kRepRate, 0x00, 0x07, 0x30},       // a too-wide value is cut to the field
    };
    for (const Case& c : cases) {
        Image img = blank();
        img[c.field.offset] = c.before;
        setField(img, c.field, c.value);
        EXPECT_EQ(img[c.field.offset], c.after) << "offset " << c.field.offset << " shift " << int(c.field.shift);
        EXPECT_EQ(getField(img, c.field), c.value & (c.field.mask() >> c.field.shift));
    }
    const Image& first = builtinImage(1);  // option bytes BF FF 7F FF AF
    EXPECT_EQ(getField(first, field::kRepRate), 3);        // 1000 Hz
    EXPECT_EQ(getField(first, field::kPackage), 1);        // RGB LED
    EXPECT_EQ(getField(first, field::kSensorRotation), 1);
    EXPECT_EQ(getField(first, field::kKeepProfileInfo), 1);
}

TEST(DerivedNames, LedAndMemoryTypes) {
    const std::pair<std::uint8_t, LedType> leds[] = {
        {0x05, LedType::Rgb}, {0x41, LedType::Sync}, {0x80, LedType::Nt}, {0xF5, LedType::Nt}, {0xC0, LedType::Nt}};
    for (auto [b, led] : leds) EXPECT_EQ(ledTypeFromByte(b), led) << int(b);
    EXPECT_EQ(ledTypeName(LedType::Rgb), "RGB");
    EXPECT_EQ(ledTypeName(LedType::Sync), "Sync");
    EXPECT_EQ(ledTypeName(LedType::Nt), "NT");
    EXPECT_EQ(ledTypeName(LedType::None), "");

    EXPECT_EQ(memoryTypeFromMarker(0xE0), MemoryType::I2C);
    EXPECT_EQ(memoryTypeFromMarker(0xFF), MemoryType::Flash);
    EXPECT_EQ(memoryTypeName(MemoryType::I2C), "I2C");
    EXPECT_EQ(memoryTypeName(MemoryType::Flash), "Flash");
    EXPECT_EQ(memoryTypeFromMarker(builtinImage(1)[495]), MemoryType::I2C);

    Image nt = blank();
    nt[165] = 0xF5;  // NT, bits 6-4 = 7: eight LEDs, mode 5
    EXPECT_EQ(getField(nt, field::kNtLedCount), 7);
    EXPECT_EQ(getField(nt, field::kLightingMode), 5);

    EXPECT_EQ(packageChoiceFromItem(0), PackageChoice::ATechLed);
    EXPECT_EQ(packageChoiceFromItem(1), PackageChoice::RgbLed);
    EXPECT_EQ(packageChoiceFromItem(-1), PackageChoice::None);
    EXPECT_EQ(packageChoiceForLedType(LedType::Rgb), PackageChoice::RgbLed);
    EXPECT_EQ(packageChoiceForLedType(LedType::Nt), PackageChoice::ATechLed);
    EXPECT_EQ(packageChoiceForLedType(LedType::None), PackageChoice::None);
}

TEST(Fields, ButtonFlashItem) {
    const std::pair<std::uint8_t, std::optional<int>> cases[] = {
        {0, 0}, {1, 1}, {4, 0}, {5, 1}, {2, std::nullopt}, {6, std::nullopt}};
    for (auto [b, item] : cases) EXPECT_EQ(buttonFlashItem(b), item) << int(b);
}

TEST(Fields, SixteenBitFieldsAndPatchCheck) {
    const Image& first = builtinImage(1);
    EXPECT_EQ(be16(first, offset::kVid), 0x1BCF);
    EXPECT_EQ(be16(first, offset::kBreathUpper), 0x8000);
    EXPECT_EQ(fireKeyEntry(first, 3).countMinusOne, 7);
    EXPECT_EQ(fireKeyEntry(first, 3).delay, 60);
    EXPECT_EQ(storedPatchCheck(first), 0x261A);
    EXPECT_EQ(patchCheckOf(std::span(first).subspan(1024, 512)), 0x261A);

    Image img = blank();
    setFireKeyEntry(img, 2, {3, 0x0FFE});
    EXPECT_EQ(img[489], 3);
    EXPECT_EQ(img[490], 0x0F);
    EXPECT_EQ(img[491], 0xFE);
    setUsbText(img, "A long USB descriptor text");
    EXPECT_EQ(usbText(img), "A long USB descr");
    setUsbText(img, "Mouse");
    EXPECT_EQ(usbText(img), "Mouse");
    EXPECT_EQ(img[126], 0x00);
}

TEST(Names, Utf16BigEndianAndEmptySlots) {
    std::array<std::uint8_t, 16> name{};
    storeUtf16Name(name, u"\u00e9t\u00e9");
    EXPECT_EQ(name[0], 0x00);
    EXPECT_EQ(name[1], 0xE9);
    EXPECT_EQ(utf16NameUtf8(name), "\xC3\xA9t\xC3\xA9");
    storeUtf16Name(name, u"\u5c04\u51fb123456789");  // cut at 8 units
    EXPECT_EQ(utf16NameText(name).size(), 8u);
    EXPECT_EQ(name[0], 0x5C);
    // A pair that would be split at the limit is left out whole.
    storeUtf16Name(name, u"1234567\U0001F600");
    EXPECT_EQ(utf16NameText(name), u"1234567");

    const std::pair<std::array<std::uint8_t, 2>, bool> slots[] = {
        {{0xFF, 0xFF}, true}, {{0x00, 0x00}, true}, {{0x00, 0x4D}, false}, {{0xFF, 0x00}, false}};
    for (auto [head, empty] : slots) {
        std::array<std::uint8_t, 16> n{};
        n[0] = head[0];
        n[1] = head[1];
        EXPECT_EQ(isEmptyNameSlot(n), empty) << int(head[0]) << " " << int(head[1]);
    }
}

TEST(CodeTexts, DerivedFromTheWorkingCopy) {
    WorkingCopy work;
    distributeImage(builtinImage(2), work, DefaultInputs{});
    CodeTexts texts = codeTexts(work);
    EXPECT_EQ(texts.profile[0][0], "01010000");
    EXPECT_EQ(texts.profile[0][2], "0691003C");
    EXPECT_EQ(texts.profile[2][11], "00000000");
    EXPECT_EQ(texts.combo[1], "0E000000");
    EXPECT_EQ(texts.combo[3], "07D1F020");

    work.bytes[buttonCodeOffset(3, 12)] = 0xAB;
    EXPECT_EQ(codeTexts(work).profile[2][11], "AB000000");
    EXPECT_EQ(buttonCodeOffset(2, 3), 249u);
    EXPECT_EQ(comboKeyOffset(9), 159u);
}

}  // namespace
