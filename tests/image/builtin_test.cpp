// The built-in images against every fact the program relies on: listed bytes, check bytes,
// erased runs, the patch code and its check, the fire-macro names and bodies.
#include "image/builtin.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

using nivra::builtinImage;

struct Listed {
    int images;  // bit n-1 set: the bytes hold for image n
    std::size_t offset;
    std::vector<std::uint8_t> bytes;
};

constexpr int k1 = 1, k23 = 6, kAll = 7;

std::vector<std::uint8_t> text(const std::string& s) { return {s.begin(), s.end()}; }

TEST(BuiltinImages, ListedBytes) {
    std::vector<std::uint8_t> gameMouse = text("GameMouse");
    gameMouse.resize(16, 0x00);
    const Listed cases[] = {
        {kAll, 0, {0x1B, 0xCF, 0x08, 0xB8, 0xBF, 0xFF, 0x7F, 0xFF, 0xAF}},
        {k1, 42, {0x3F, 0x03, 0x63, 0xB9, 0x98, 0xBA}},
        {k23, 42, {0x3F, 0x05, 0x63, 0x98, 0xBA, 0x0A}},
        {k1, 48, {0x01, 0x00, 0x80, 0x00, 0x00, 0x64, 0x00, 0x64, 0x0A}},
        {k23, 48, {0x01, 0x00, 0x80, 0x00, 0x00, 0x64, 0x01, 0x2C, 0x08}},
        {k1, 111, gameMouse},
        {k23, 111, text("HID Gaming Mouse")},
        {kAll, 127, {0, 0, 0, 0, 0x0E, 0, 0, 0, 0, 0, 0, 0, 0x07, 0xD1, 0xF0, 0x20}},
        {k1, 163, {0x62}},
        {k23, 163, {0x29}},
        {k1, 164, {0xF0, 0x04, 0x01, 0x00, 0x00, 0x00, 0x00}},
        {k23, 164, {0xF1, 0x04, 0x01, 0x04, 0x0F, 0x00, 0x20}},
        {k1, 191, {0xAF}},
        {k23, 191, {0x73}},
        {k1, 192, {0x01, 0x01, 0x00, 0x00, 0x01, 0x08, 0x00, 0x02, 0x09, 0x02, 0x00, 0x00}},
        {k23, 192, {0x01, 0x01, 0x00, 0x00, 0x01, 0x08, 0x00, 0x02, 0x06, 0x91, 0x00, 0x3C}},
        {kAll, 484, {0xFF, 0xFF}},
        {k1, 486, {0x02, 0x00, 0x3C, 0x04, 0x00, 0x3C, 0x07, 0x00, 0x3C}},
        {k23, 486, {0x01, 0x00, 0x3C, 0x02, 0x00, 0x3C, 0x04, 0x00, 0x3C}},
        {kAll, 495, {0xE0}},
        {kAll, 1008, {0x04, 0x00, 0x02, 0x00, 0x00, 0x1A, 0x26, 0x1A}},
    };
    for (int n = 1; n <= 3; ++n) {
        const nivra::Image& img = builtinImage(n);
        for (const Listed& c : cases) {
            if (!(c.images & (1 << (n - 1)))) continue;
            const std::vector<std::uint8_t> have(img.begin() + c.offset, img.begin() + c.offset + c.bytes.size());
            EXPECT_EQ(have, c.bytes) << "image " << n << " at " << c.offset;
        }
    }
}

TEST(BuiltinImages, SectionsCarryValidCheckBytes) {
    for (int n = 1; n <= 3; ++n) {
        const nivra::Image& img = builtinImage(n);
        for (nivra::Region r : {nivra::region::kVendor, nivra::region::kUser, nivra::region::kProfile1,
                                nivra::region::kProfile2, nivra::region::kProfile3}) {
            const auto section = std::span(img).subspan(r.offset, r.length);
            EXPECT_EQ(section.back(), nivra::sectionCheckByte(section)) << "image " << n << " at " << r.offset;
        }
    }
}

TEST(BuiltinImages, ErasedRuns) {
    for (int n = 1; n <= 3; ++n) {
        const nivra::Image& img = builtinImage(n);
        for (auto [from, to] : {std::pair{339, 484}, std::pair{1016, 1024}, std::pair{2016, 2048}})
            for (int i = from; i < to; ++i) EXPECT_EQ(img[i], 0xFF) << "image " << n << " byte " << i;
    }
}

TEST(BuiltinImages, SharedPatchCodeSumsToItsCheck) {
    const nivra::Image& first = builtinImage(1);
    unsigned sum = 0;
    for (std::size_t i = 1024; i < 1536; ++i) sum += first[i];
    EXPECT_EQ(sum, 0x12740u);
    EXPECT_EQ(((sum & 0xFFFF) ^ 0x015A), 0x261Au);
    for (int n = 2; n <= 3; ++n)
        EXPECT_TRUE(std::equal(first.begin() + 1008, first.begin() + 1536, builtinImage(n).begin() + 1008));
}

TEST(BuiltinImages, FireMacroNamesAndBodies) {
    for (int n = 1; n <= 3; ++n) {
        const nivra::Image& img = builtinImage(n);
        for (int k = 0; k < 10; ++k) {
            const std::string want = "Macro" + std::to_string(k + 1);
            std::vector<std::uint8_t> name(16, 0x00);
            for (std::size_t c = 0; c < want.size(); ++c) name[2 * c + 1] = static_cast<std::uint8_t>(want[c]);
            EXPECT_TRUE(std::equal(name.begin(), name.end(), img.begin() + 1536 + 16 * k)) << "image " << n;

            // Each body is fire-macro byte code: press, loop of move and delay, release,
            // end marker, the rest of its 32 bytes zero.
            const auto body = std::span(img).subspan(1696 + 32 * k, 32);
            EXPECT_EQ(body[0], 0xA1);
            EXPECT_EQ(body[4], 0xFD);
            EXPECT_EQ(body[6], 0x04);
            EXPECT_EQ(body[12], 0xFC);
            EXPECT_EQ(body[13], 0x21);
            for (std::size_t i = 17; i < 32; ++i) EXPECT_EQ(body[i], 0x00);
        }
    }
    const std::vector<std::uint8_t> documented = {0xA1, 0xFE, 0x00, 0x28, 0xFD, 0x00, 0x04, 0x00, 0x05,
                                                  0xFE, 0x00, 0x32, 0xFC, 0x21, 0xFE, 0x00, 0x28, 0x00};
    EXPECT_TRUE(std::equal(documented.begin(), documented.end(), builtinImage(1).begin() + 1696));
    // Images 2 and 3 differ only in the fire-macro bodies.
    const nivra::Image& a = builtinImage(2);
    const nivra::Image& b = builtinImage(3);
    EXPECT_TRUE(std::equal(a.begin(), a.begin() + 1696, b.begin()));
    EXPECT_TRUE(std::equal(a.begin() + 2016, a.end(), b.begin() + 2016));
    EXPECT_FALSE(std::equal(a.begin() + 1696, a.begin() + 2016, b.begin() + 1696));
}

TEST(BuiltinImages, NumbersOutsideOneToThreeAreRejected) {
    EXPECT_THROW(builtinImage(0), std::out_of_range);
    EXPECT_THROW(builtinImage(4), std::out_of_range);
    EXPECT_EQ(nivra::builtinImageName(2), "NivraData_Cfg2");
}

TEST(BuiltinImages, IdentityTakenAtStart) {
    const nivra::DeviceIdentity id = nivra::builtinIdentity();
    EXPECT_EQ(id.vid, 0x1BCF);
    EXPECT_EQ(id.pid, 0x08B8);
    EXPECT_EQ(id.manufacturerId, 0xFF);
    EXPECT_EQ(id.productId, 0xFF);
    EXPECT_EQ(id.systemMemory, nivra::MemoryType::I2C);
}

}  // namespace
