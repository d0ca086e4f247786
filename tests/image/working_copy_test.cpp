// Distribution of images into the working copy with section repair, assembly back into
// the transfer buffer, and the inputs of the default generators.
#include "image/builtin.h"
#include "image/defaults.h"
#include "image/fields.h"
#include "image/working_copy.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace nivra;

std::vector<std::uint8_t> bytesAt(const Image& img, std::size_t at, std::size_t n) {
    return {img.begin() + static_cast<std::ptrdiff_t>(at), img.begin() + static_cast<std::ptrdiff_t>(at + n)};
}

const DefaultInputs kI2cRgb{MemoryType::I2C, LedType::Rgb, PackageChoice::RgbLed};

TEST(Distribute, BuiltinImagesNeedNoRepairAndLandAtTheirOffsets) {
    for (int n = 1; n <= 3; ++n) {
        WorkingCopy work;
        const Image& img = builtinImage(n);
        const SectionRepairs r = distributeImage(img, work, kI2cRgb);
        EXPECT_FALSE(r.any()) << "image " << n;
        Image back;
        back.fill(0x5C);
        assembleImage(work, back);
        for (std::size_t i = 0; i < kImageSize; ++i) {
            const bool spare = i >= region::kSpare1.offset && i < region::kSpare1.end();
            ASSERT_EQ(back[i], spare ? 0x5C : img[i]) << "image " << n << " byte " << i;
        }
    }
}

// One wrong byte in a section turns that section, and only that one, into its defaults.
TEST(Distribute, RepairsEachSectionAloneAndLeavesTheTransferBuffer) {
    struct Case {
        const char* name;
        std::size_t corrupt;  // a byte inside the section
        Region section;
    };
    const Case cases[] = {
        {"vendor", 20, region::kVendor},     {"user", 171, region::kUser},
        {"profile1", 200, region::kProfile1}, {"profile2", 250, region::kProfile2},
        {"profile3", 300, region::kProfile3},
    };
    for (const Case& c : cases) {
        Image transfer = builtinImage(2);
        transfer[c.corrupt] ^= 0x01;
        const Image sent = transfer;
        WorkingCopy work;
        const SectionRepairs r = distributeImage(transfer, work, kI2cRgb);
        EXPECT_EQ(transfer, sent) << c.name;

        const bool want[] = {c.section.offset == 0, c.section.offset == 164, c.section.offset == 192,
                             c.section.offset == 241, c.section.offset == 290};
        const bool got[] = {r.vendor, r.user, r.profile[0], r.profile[1], r.profile[2]};
        for (int s = 0; s < 5; ++s) EXPECT_EQ(got[s], want[s]) << c.name << " section " << s;

        // The repaired section is the generator's output with a correct check byte.
        WorkingCopy expected;
        expected.bytes = builtinImage(2);
        defaultWorkingSections(expected, kI2cRgb);
        for (std::size_t i = c.section.offset; i < c.section.end(); ++i)
            EXPECT_EQ(work.bytes[i], expected.bytes[i]) << c.name << " byte " << i;
        // Everything else is as sent.
        for (std::size_t i = 0; i < region::kReserved.end(); ++i)
            if (i < c.section.offset || i >= c.section.end()) {
                EXPECT_EQ(work.bytes[i], sent[i]) << c.name << " " << i;
            }
    }
}

TEST(Distribute, VendorRepairRestoresIdentityAndUsbText) {
    Image transfer = builtinImage(1);
    transfer[0] = 0x12;  // another vendor ID: the check byte no longer fits
    WorkingCopy work;
    distributeImage(transfer, work, kI2cRgb);
    EXPECT_EQ(be16(work.bytes, offset::kVid), 0x1BCF);
    EXPECT_EQ(be16(work.bytes, offset::kPid), 0x08B8);
    EXPECT_EQ(usbText(work.bytes), "HID Gaming mouse");
    EXPECT_EQ(work.bytes[163], sectionCheckByte(work.vendor()));
}

// An erased mouse (all 0xFF) gets the default vendor, user and profile sections.
TEST(Distribute, ErasedMemoryGivesDefaults) {
    Image erased;
    erased.fill(0xFF);
    WorkingCopy work;
    const SectionRepairs r = distributeImage(erased, work, kI2cRgb);
    EXPECT_TRUE(r.vendor && r.user && r.profile[0] && r.profile[1] && r.profile[2]);
    EXPECT_EQ(bytesAt(work.bytes, 164, 4), (std::vector<std::uint8_t>{0x00, 0x05, 0x01, 0x01}));
    EXPECT_EQ(bytesAt(work.bytes, 192, 12),
              (std::vector<std::uint8_t>{0x01, 0x01, 0x00, 0x00, 0x01, 0x08, 0x00, 0x00, 0x06, 0x12, 0x00, 0x10}));
    // The identity block is carried, not validated.
    EXPECT_EQ(bytesAt(work.bytes, 484, 12), std::vector<std::uint8_t>(12, 0xFF));
}

// Before any refresh the LED type is empty: the "other" variant, with colours written.
TEST(Distribute, VendorRepairBeforeAnyRefreshUsesTheOtherVariant) {
    Image transfer = builtinImage(1);
    transfer[60] = 0x00;  // colour 2
    WorkingCopy work;
    distributeImage(transfer, work, DefaultInputs{MemoryType::None, LedType::None, PackageChoice::None});
    EXPECT_EQ(bytesAt(work.bytes, 5, 3), (std::vector<std::uint8_t>{0xFF, 0x7F, 0x7F}));
    EXPECT_EQ(work.bytes[42], 0x3F);
    EXPECT_EQ(be16(work.bytes, offset::kBreathLower), 256);
    EXPECT_EQ(be16(work.bytes, offset::kBreathUpper), 32768);
    EXPECT_EQ(be16(work.bytes, offset::kBreathLowerTime), 100);
    EXPECT_EQ(be16(work.bytes, offset::kBreathUpperTime), 100);
    EXPECT_EQ(work.bytes[offset::kBreathStepTime], 8);
    EXPECT_EQ(colour(work.bytes, 2), (Rgb{0xFF, 0x80, 0x00}));
    // No memory type and no package: byte 4 and bytes 40-41 keep what the image held.
    EXPECT_EQ(work.bytes[4], 0xBF);
    EXPECT_EQ(bytesAt(work.bytes, 40, 2), bytesAt(transfer, 40, 2));
}

TEST(Distribute, ProfileRepairWithoutPackageKeepsCodesAndFixesTheCheckByte) {
    Image transfer = builtinImage(1);
    transfer[241 + 48] ^= 0xFF;
    WorkingCopy work;
    const SectionRepairs r = distributeImage(transfer, work, DefaultInputs{MemoryType::I2C, LedType::Rgb,
                                                                           PackageChoice::None});
    EXPECT_TRUE(r.profile[1]);
    EXPECT_EQ(bytesAt(work.bytes, 241, 48), bytesAt(transfer, 241, 48));
    EXPECT_EQ(work.bytes[241 + 48], sectionCheckByte(work.profile(2)));
}

TEST(Distribute, HooksRunAfterTheirCopiesAndFireMacrosAreSplit) {
    Image transfer = builtinImage(3);
    std::vector<std::string> calls;
    DistributeHooks hooks;
    hooks.deviceMacrosCopied = [&](WorkingCopy& w) {
        EXPECT_EQ(bytesAt(w.bytes, 496, 512), bytesAt(transfer, 496, 512));
        calls.push_back("macros");
    };
    hooks.fireMacroNamesCopied = [&](WorkingCopy& w) {
        EXPECT_EQ(utf16NameUtf8(w.fireMacroNames[9]), "Macro10");
        EXPECT_TRUE(std::equal(w.fireMacroBodies[4].begin(), w.fireMacroBodies[4].end(),
                               transfer.begin() + 1696 + 32 * 4));
        calls.push_back("fire");
    };
    WorkingCopy work;
    distributeImage(transfer, work, kI2cRgb, hooks);
    EXPECT_EQ(calls, (std::vector<std::string>{"macros", "fire"}));
}

// The LED type picks bytes 5-7, 42, the breathing fields and whether colours are written.
TEST(VendorDefaults, ByLedType) {
    struct Case {
        LedType led;
        std::vector<std::uint8_t> b5to7;
        std::uint8_t b42;
        std::vector<std::uint8_t> breath;
        bool coloursWritten;
    };
    const Case cases[] = {
        {LedType::Rgb, {0xFF, 0x7F, 0x7F}, 0x3F, {0x01, 0x00, 0x80, 0x00, 0x00, 0x64, 0x00, 0x64, 0x08}, true},
        {LedType::Sync, {0x3F, 0x7F, 0xBF}, 0x07, {0x00, 0x00, 0x00, 0xFF, 0x00, 0x64, 0x01, 0x2C, 0x0A}, false},
        {LedType::Nt, {0x3F, 0x7F, 0xCF}, 0x37, {0x00, 0x00, 0x00, 0xFF, 0x00, 0x64, 0x00, 0x64, 0x08}, true},
        {LedType::None, {0xFF, 0x7F, 0x7F}, 0x3F, {0x01, 0x00, 0x80, 0x00, 0x00, 0x64, 0x00, 0x64, 0x08}, true},
    };
    for (const Case& c : cases) {
        WorkingCopy work;  // all 0xFF
        defaultVendorSection(work.vendor(), DefaultInputs{MemoryType::I2C, c.led, PackageChoice::RgbLed});
        const std::string name(ledTypeName(c.led));
        EXPECT_EQ(bytesAt(work.bytes, 5, 3), c.b5to7) << name;
        EXPECT_EQ(work.bytes[42], c.b42) << name;
        EXPECT_EQ(bytesAt(work.bytes, 48, 9), c.breath) << name;
        const Rgb untouched{0xFF, 0xFF, 0xFF};
        EXPECT_EQ(colour(work.bytes, 1), (c.coloursWritten ? Rgb{0xFF, 0, 0} : untouched)) << name;
        EXPECT_EQ(cpiColour(work.bytes, 8), (c.coloursWritten ? Rgb{0, 0, 0xFF} : untouched)) << name;
        // The same for every type:
        EXPECT_EQ(bytesAt(work.bytes, 43, 5), (std::vector<std::uint8_t>{0x03, 0x64, 0x98, 0x00, 0x00})) << name;
        EXPECT_EQ(bytesAt(work.bytes, 135, 4), (std::vector<std::uint8_t>{0x08, 0x01, 0x00, 0x00})) << name;
        EXPECT_EQ(work.bytes[163], 0xFF) << "the generator leaves the check byte";
    }
}

// The package choice picks bytes 40-41 and whether profiles get the default codes; the
// memory type decides whether byte 4 and the I2C marker are written.
TEST(Defaults, PackageChoiceAndMemoryType) {
    struct Case {
        PackageChoice package;
        MemoryType memory;
        std::vector<std::uint8_t> b40to41;
        bool profileCodes;
        std::uint8_t b4;
        std::uint8_t marker;
    };
    const Case cases[] = {
        {PackageChoice::ATechLed, MemoryType::I2C, {0x06, 0x87}, true, 0xBF, 0xE0},
        {PackageChoice::RgbLed, MemoryType::I2C, {0x10, 0xE0}, true, 0xBF, 0xE0},
        {PackageChoice::None, MemoryType::I2C, {0xFF, 0xFF}, false, 0xBF, 0xE0},
        {PackageChoice::RgbLed, MemoryType::Flash, {0x10, 0xE0}, true, 0xFF, 0xFF},
        {PackageChoice::RgbLed, MemoryType::None, {0x10, 0xE0}, true, 0xFF, 0xFF},
    };
    for (const Case& c : cases) {
        WorkingCopy work;  // all 0xFF, so a byte left alone stays 0xFF
        defaultWorkingSections(work, DefaultInputs{c.memory, LedType::Rgb, c.package});
        const auto label = "package " + std::to_string(static_cast<int>(c.package)) + " memory " +
                           std::string(memoryTypeName(c.memory));
        EXPECT_EQ(bytesAt(work.bytes, 40, 2), c.b40to41) << label;
        EXPECT_EQ(work.bytes[4], c.b4) << label;
        EXPECT_EQ(work.bytes[495], c.marker) << label;
        for (int p = 1; p <= 3; ++p) {
            const std::vector<std::uint8_t> code6 =
                c.profileCodes ? std::vector<std::uint8_t>{0x02, 0x08, 0x07, 0x00} : std::vector<std::uint8_t>(4, 0xFF);
            EXPECT_EQ(bytesAt(work.bytes, WorkingCopy::profileRegion(p).offset + 20, 4), code6) << label;
            EXPECT_EQ(work.profile(p).back(), sectionCheckByte(work.profile(p))) << label;
        }
        EXPECT_EQ(work.bytes[163], sectionCheckByte(work.vendor())) << label;
        EXPECT_EQ(work.bytes[191], sectionCheckByte(work.user())) << label;
        EXPECT_EQ(bytesAt(work.bytes, 484, 11),
                  (std::vector<std::uint8_t>{0xFF, 0xFF, 0x01, 0x00, 0x3C, 0x03, 0x00, 0x78, 0x07, 0x00, 0xC8}))
            << label;
    }
}

TEST(UserDefaults, ByLedType) {
    const std::pair<LedType, std::uint8_t> cases[] = {
        {LedType::Rgb, 0x05}, {LedType::Sync, 0x41}, {LedType::Nt, 0xF5}, {LedType::None, 0x05}};
    for (auto [led, b165] : cases) {
        WorkingCopy work;
        defaultUserSection(work.user(), led);
        std::vector<std::uint8_t> want(27, 0x00);
        want[1] = b165;
        want[2] = 0x01;
        want[3] = 0x01;
        EXPECT_EQ(bytesAt(work.bytes, 164, 27), want) << ledTypeName(led);
        EXPECT_EQ(work.bytes[191], 0xFF);
    }
}

// The full default restore's fire macros: names rebuilt, bodies cleared up to byte 24,
// the raw block rebuilt from them, its last 32 bytes kept.
TEST(FireMacroDefaults, NamesBodiesAndRawBlock) {
    WorkingCopy work;
    distributeImage(builtinImage(1), work, kI2cRgb);
    work.fireMacroNames[0].fill(0xFF);
    for (auto& body : work.fireMacroBodies) body.fill(0x77);
    work.bytes[2016] = 0x42;
    defaultFireMacros(work.fireMacroNames, work.fireMacroBodies);
    rebuildFireMacroBlock(work);
    EXPECT_EQ(utf16NameUtf8(std::span(work.bytes).subspan(1536, 16)), "Macro1");
    EXPECT_EQ(utf16NameUtf8(std::span(work.bytes).subspan(1536 + 16 * 9, 16)), "Macro10");
    for (int n = 0; n < 10; ++n) {
        const std::size_t at = 1696 + 32 * static_cast<std::size_t>(n);
        EXPECT_EQ(bytesAt(work.bytes, at, 24), std::vector<std::uint8_t>(24, 0x00));
        EXPECT_EQ(bytesAt(work.bytes, at + 24, 8), std::vector<std::uint8_t>(8, 0x77));
    }
    EXPECT_EQ(work.bytes[2016], 0x42);
}

}  // namespace
