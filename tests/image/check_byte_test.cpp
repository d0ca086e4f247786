// Section check bytes over the sizes and fill patterns that matter.
#include "image/image.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct CheckCase {
    std::size_t size;
    std::uint8_t fill;
    std::uint8_t expected;
};

TEST(SectionCheckByte, FilledSections) {
    const CheckCase cases[] = {
        {164, 0x00, 0x5A},  // vendor section of zeros
        {164, 0xFF, 0x07},  // vendor section of 0xFF
        {28, 0xFF, 0xBF},   // user section of 0xFF
        {49, 0xFF, 0x8A},   // profile section of 0xFF
    };
    for (const CheckCase& c : cases) {
        std::vector<std::uint8_t> section(c.size, c.fill);
        EXPECT_EQ(nivra::sectionCheckByte(section), c.expected) << "size " << c.size;
    }
}

TEST(SectionCheckByte, IsASumNotAnXorAndIgnoresTheLastByte) {
    std::vector<std::uint8_t> section(28, 0x00);
    section[0] = 0x03;
    section[1] = 0x03;  // XOR would cancel these; the sum gives 6
    section[27] = 0x77;
    EXPECT_EQ(nivra::sectionCheckByte(section), 0x06 ^ 0x5A);
}

}  // namespace
