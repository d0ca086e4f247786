// Configuration and patch files: which files are accepted, what is taken from them, and
// the patch-code check written before programming.
#include "files/config_file.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace nivra {
namespace {

namespace fs = std::filesystem;
using nivra::testing::TempDir;


std::vector<std::uint8_t> configBytes(std::size_t size, std::uint8_t marker = 0xE0) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7);
    if (size > 495) bytes[495] = marker;
    return bytes;
}

TEST(ConfigurationFile, AcceptsOnlyWholeI2cImages) {
    TempDir dir;
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
        bool accepted;
    } cases[] = {
        {"empty", {}, false},
        {"marker missing (495 bytes)", configBytes(495), false},
        {"marker but short (496 bytes)", configBytes(496), false},
        {"one byte short", configBytes(2047), false},
        {"wrong marker", configBytes(2048, 0xFF), false},
        {"whole image", configBytes(2048), true},
        {"longer file: first 2048 bytes", configBytes(2100), true},
    };
    for (const Case& c : cases) {
        Image image;
        image.fill(0x5C);
        std::string error;
        const bool ok = readConfigurationFile(dir.file("c.bin", c.bytes), image, &error);
        EXPECT_EQ(ok, c.accepted) << c.what;
        if (ok) {
            EXPECT_TRUE(std::equal(image.begin(), image.end(), c.bytes.begin())) << c.what;
        } else {
            EXPECT_FALSE(error.empty()) << c.what;
            EXPECT_TRUE(std::all_of(image.begin(), image.end(), [](auto b) { return b == 0x5C; })) << c.what;
        }
    }
    Image image{};
    EXPECT_FALSE(readConfigurationFile(dir.path() / "absent.bin", image));
    EXPECT_FALSE(readConfigurationFile(dir.path(), image));
}

TEST(PatchFile, AcceptsAtLeastHeaderAndCode) {
    TempDir dir;
    std::vector<std::uint8_t> bytes(kPatchFileSize);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i);

    PatchHeader header;
    PatchCode code;
    header.fill(0xEE);
    code.fill(0xEE);
    EXPECT_FALSE(readPatchFile(dir.file("short.bin", {bytes.begin(), bytes.end() - 1}), header, code));
    EXPECT_TRUE(std::all_of(header.begin(), header.end(), [](auto b) { return b == 0xEE; }));
    EXPECT_TRUE(std::all_of(code.begin(), code.end(), [](auto b) { return b == 0xEE; }));

    ASSERT_TRUE(readPatchFile(dir.file("patch.bin", bytes), header, code));
    EXPECT_EQ(header[0], 0);
    EXPECT_EQ(header[15], 15);
    EXPECT_EQ(code[0], 16);
    EXPECT_EQ(code[511], static_cast<std::uint8_t>(527));
}

TEST(PatchCheck, HeaderRebuiltFromTheCode) {
    struct Case {
        std::uint8_t fill;
        std::uint8_t check[2];
    } cases[] = {
        {0x00, {0x01, 0x5A}},  // sum 0
        {0xFF, {0xFF, 0x5A}},  // sum 0x1FE00 keeps its low 16 bits
    };
    for (const Case& c : cases) {
        PatchCode code;
        code.fill(c.fill);
        PatchHeader header;
        for (std::size_t i = 0; i < header.size(); ++i) header[i] = static_cast<std::uint8_t>(0xA0 + i);
        CheckEEPatchCodeSection(header, code);
        const PatchHeader expected{0x04, 0x00, 0x02, 0x00, 0x00, 0x1A, c.check[0], c.check[1],
                                   0xA8, 0xA9, 0xAA, 0xAB, 0xAC, 0xAD, 0xAE, 0xAF};
        EXPECT_EQ(header, expected) << int(c.fill);
    }
}

}  // namespace
}  // namespace nivra
