// The naming context read from an image: fire keys of the identity block and the
// device macro table of the macro area, as NameOfCode uses them.
#include "image/codes.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr std::size_t kArea = 496;

// Writes a macro record (name as UTF-16 big-endian units, then the body) at `at`.
std::size_t putRecord(std::vector<std::uint8_t>& image, std::size_t at, std::u16string_view name,
                      std::initializer_list<std::uint8_t> body) {
    for (std::size_t i = 0; i < 16; ++i) image[at + i] = 0;
    for (std::size_t i = 0; i < name.size(); ++i) {
        image[at + 2 * i] = static_cast<std::uint8_t>(name[i] >> 8);
        image[at + 2 * i + 1] = static_cast<std::uint8_t>(name[i] & 0xFF);
    }
    std::size_t p = at + 16;
    for (std::uint8_t b : body) image[p++] = b;
    return p;
}

std::vector<std::uint8_t> imageWithMacros() {
    std::vector<std::uint8_t> image(2048, 0x00);
    // Fire keys: 2 shots / 60 ms, 5 shots / 300 ms, 16 shots / 4094 ms.
    const std::uint8_t fire[] = {0x01, 0x00, 0x3C, 0x04, 0x01, 0x2C, 0x0F, 0x0F, 0xFE};
    std::copy(std::begin(fire), std::end(fire), image.begin() + 486);
    std::size_t at = kArea;
    // Press A, delay 0x0100 (its operand holds 0x00), release A: the scan steps over operands.
    at = putRecord(image, at, u"Jump", {0x82, 0x04, 0xFE, 0x01, 0x00, 0x02, 0x04, 0x00});
    at = putRecord(image, at, u"\u8FDE\u53D1", {0x00});  // a CJK name, empty body
    at = putRecord(image, at, u"Loop", {0xFD, 0x00, 0xA1, 0x21, 0xFC, 0x04, 0x00, 0xFF, 0x00});
    return image;
}

TEST(NameInputsFromImage, FireKeysFromTheIdentityBlock) {
    const nivra::NameInputs in = nivra::nameInputsFromImage(imageWithMacros(), nivra::MemoryType::I2C);
    EXPECT_EQ(in.fireKeys[0].count, 2);
    EXPECT_EQ(in.fireKeys[0].interval, 60);
    EXPECT_EQ(in.fireKeys[1].count, 5);
    EXPECT_EQ(in.fireKeys[1].interval, 300);
    EXPECT_EQ(in.fireKeys[2].count, 16);
    EXPECT_EQ(in.fireKeys[2].interval, 4094);
    EXPECT_EQ(nivra::NameOfCode("0614012C", in).fireKey, 2);
}

TEST(NameInputsFromImage, MacroTableAddressesFollowRecordLengths) {
    const nivra::NameInputs in = nivra::nameInputsFromImage(imageWithMacros(), nivra::MemoryType::I2C);
    // Jump: 16 + 8 bytes; the CJK macro: 16 + 1; Loop after them.
    const struct {
        std::size_t slot;
        std::uint16_t address;
        const char* name;
    } expected[] = {{0, 0x0200, "Jump"}, {1, 0x0218, "\xE8\xBF\x9E\xE5\x8F\x91"}, {2, 0x0229, "Loop"}};
    for (const auto& e : expected) {
        EXPECT_TRUE(in.deviceMacros[e.slot].present) << e.slot;
        EXPECT_EQ(in.deviceMacros[e.slot].bodyAddress, e.address) << e.slot;
        EXPECT_EQ(in.deviceMacros[e.slot].name, e.name) << e.slot;
    }
    EXPECT_FALSE(in.deviceMacros[3].present);
    EXPECT_EQ(nivra::describeCode("10022900", in).name, "Loop");
    EXPECT_EQ(nivra::describeCode("10021800", in).name, "\xE8\xBF\x9E\xE5\x8F\x91");
    EXPECT_EQ(nivra::describeCode("10021000", in).name, "");  // inside Jump's body
}

TEST(NameInputsFromImage, AbsentRecordEndsTheTable) {
    for (std::uint8_t first : {0xFF, 0x00}) {
        std::vector<std::uint8_t> image = imageWithMacros();
        image[kArea + 24] = first;  // the second record's name
        image[kArea + 25] = first == 0x00 ? 0x00 : 0x41;
        const nivra::NameInputs in = nivra::nameInputsFromImage(image, nivra::MemoryType::I2C);
        EXPECT_TRUE(in.deviceMacros[0].present);
        EXPECT_FALSE(in.deviceMacros[1].present);
        EXPECT_FALSE(in.deviceMacros[2].present) << "a record after an absent one is not read";
        EXPECT_EQ(nivra::describeCode("10022900", in).name, "");
    }
}

TEST(NameInputsFromImage, AnAreaWithoutEndMarkersStaysInsideTheArea) {
    std::vector<std::uint8_t> image(2048, 0x41);  // every record "AAAA...", no end marker anywhere
    const nivra::NameInputs in = nivra::nameInputsFromImage(image, nivra::MemoryType::I2C);
    // A scan that finds no end marker in its 256-byte slot leaves the record its 16 name
    // bytes alone, so the next record starts right after the name: fifteen records.
    for (std::size_t k = 0; k < nivra::kDeviceMacroSlots; ++k) {
        EXPECT_TRUE(in.deviceMacros[k].present) << k;
        EXPECT_EQ(in.deviceMacros[k].bodyAddress, 0x0200 + 16 * k) << k;
    }
    // The same for a body that runs into the end of the area: a full 256-byte body, an
    // empty one, then a third without an end marker up to byte 1007.
    std::vector<std::uint8_t> tail(2048, 0x41);
    std::size_t at = putRecord(tail, kArea, u"Full", {});
    std::fill(tail.begin() + static_cast<std::ptrdiff_t>(at), tail.begin() + static_cast<std::ptrdiff_t>(at + 255), 0xA1);
    tail[at + 255] = 0x00;
    at = putRecord(tail, at + 256, u"Empty", {0x00});
    putRecord(tail, at, u"Open", {});
    const nivra::NameInputs t = nivra::nameInputsFromImage(tail, nivra::MemoryType::I2C);
    const std::uint16_t addresses[] = {0x0200, 0x0310, 0x0321, 0x0331};
    for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_TRUE(t.deviceMacros[k].present) << k;
        EXPECT_EQ(t.deviceMacros[k].bodyAddress, addresses[k]) << k;
    }
    // A short buffer gives an empty context rather than reading past it.
    const std::vector<std::uint8_t> shortImage(600, 0x41);
    EXPECT_FALSE(nivra::nameInputsFromImage(shortImage, nivra::MemoryType::I2C).deviceMacros[0].present);
}

}  // namespace
