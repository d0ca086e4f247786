// Code text form: eight upper-case hex digits, byte 0 first, and what is not a code text.
#include "image/codes.h"

#include <gtest/gtest.h>

namespace {

using nivra::ButtonCode;

TEST(CodeText, PrintsByteZeroFirstInUpperCase) {
    EXPECT_EQ(nivra::codeText(ButtonCode{{0x01, 0x01, 0x00, 0x00}}), "01010000");
    EXPECT_EQ(nivra::codeText(ButtonCode{{0x10, 0x06, 0xA0, 0xFF}}), "1006A0FF");
}

TEST(CodeText, ParsesEitherCaseAndRoundTrips) {
    const auto c = nivra::parseCodeText("07d1f014");
    ASSERT_TRUE(c);
    EXPECT_EQ(*c, (ButtonCode{{0x07, 0xD1, 0xF0, 0x14}}));
    EXPECT_EQ(nivra::codeText(*c), "07D1F014");
    // Types no editor produces survive the round trip unchanged.
    for (const char* text : {"0D123456", "0FFFFFFF", "11000000", "FF00FF00"}) {
        const auto parsed = nivra::parseCodeText(text);
        ASSERT_TRUE(parsed) << text;
        EXPECT_EQ(nivra::codeText(*parsed), text);
    }
}

TEST(CodeText, RejectsWhatIsNotEightHexDigits) {
    for (const char* text : {"", "0101000", "010100000", "0101000G", " 1010000", "0x010100", "-1010000"}) {
        EXPECT_FALSE(nivra::parseCodeText(text)) << '"' << text << '"';
    }
}

TEST(CodeText, BytesInAndOutOfAnImage) {
    std::uint8_t bytes[6] = {0xAA, 0x06, 0x91, 0x00, 0x3C, 0xBB};
    const ButtonCode c = nivra::codeFromBytes(std::span(bytes).subspan(1));
    EXPECT_EQ(nivra::codeText(c), "0691003C");
    nivra::storeCode(ButtonCode{{0x09, 0x02, 0x00, 0x08}}, std::span(bytes).subspan(1));
    EXPECT_EQ(bytes[0], 0xAA);
    EXPECT_EQ(bytes[1], 0x09);
    EXPECT_EQ(bytes[4], 0x08);
    EXPECT_EQ(bytes[5], 0xBB);
}

}  // namespace
