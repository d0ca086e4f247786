// Compiling listings to byte code and building listings from byte code.
#include "macro/byte_code.h"
#include "macro/listing.h"

#include <gtest/gtest.h>

#include <random>

namespace nivra::macro {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct CompileCase {
    Listing listing;
    Bytes code;  // end marker included
};

TEST(CompileMacroListing, LinesGiveTheirInstructions) {
    const CompileCase cases[] = {
        {{"10", "0 300"}, {0xFE, 0x01, 0x2C, 0x00}},
        {{"10", "3 04FF05"}, {0x04, 0xFF, 0x05, 0x00}},
        {{"10", "1 A CODE:8204"}, {0x82, 0x04, 0x00}},
        {{"10", "2 LeftKey CODE:0021"}, {0x21, 0x00}},
        {{"10"}, {0x00}},
        {{"10", "7 FD03", "1 LeftKey CODE:00A1", "0 10", "2 LeftKey CODE:0021", "8 FC"},
         {0xFD, 0x03, 0xA1, 0xFE, 0x00, 0x0A, 0x21, 0xFC, 0x00}},
        {{"00", "1 Ctrl CODE:8101", "2 Ctrl CODE:0101"}, {0x81, 0x01, 0x01, 0x01, 0x00}},
        // Delays: unreadable counts 0, too large is cut to 65535.
        {{"10", "0 abc", "0 70000"}, {0xFE, 0x00, 0x00, 0xFE, 0xFF, 0xFF, 0x00}},
        // Lines that spell no single whole instruction are skipped.
        {{"10", "1 X CODE:0000", "1 X CODE:0082", "1 X CODE:12G4", "9 whatever", "", "3 04", "8 FC"}, {0xFC, 0x00}},
    };
    for (const CompileCase& c : cases) {
        EXPECT_EQ(CompileMacroListing(c.listing), c.code) << ::testing::PrintToString(c.listing);
    }
}

TEST(CompileMacroListing, IntoASlotOnlyWhenItFits) {
    std::array<std::uint8_t, kSlotSize> slot;
    slot.fill(0xEE);
    Listing fits{"10"};
    for (int i = 0; i < 85; ++i) fits.push_back("0 1");  // 255 + end marker
    EXPECT_EQ(CompileMacroListing(fits, slot), 256u);
    EXPECT_EQ(slot[255], 0x00);

    Listing tooLong = fits;
    tooLong.push_back("8 FC");
    slot.fill(0xEE);
    EXPECT_FALSE(CompileMacroListing(tooLong, slot));
    EXPECT_EQ(slot[0], 0xEE) << "the slot is untouched";
}

TEST(BuildMacroListing, LinesAndHeader) {
    const Bytes code{0xFD, 0x03, 0xA1, 0xFE, 0x00, 0x0A, 0x21, 0xFC, 0x00};
    const BuiltListing b = BuildMacroListing(code, code.size());
    EXPECT_EQ(b.lines, (Listing{"10", "7 FD03", "1 LeftKey CODE:00A1", "0 10", "2 LeftKey CODE:0021", "8 FC"}));
    EXPECT_EQ(b.mode, DelayMode::Record);
}

TEST(BuildMacroListing, NamesOfButtonsModifiersAndKeys) {
    const Bytes code{0xA2, 0x22, 0xA4, 0x24, 0xA8, 0x28, 0xB0, 0x30, 0x81, 0x02, 0x01, 0x80, 0x81, 0x40,
                     0x82, 0x46, 0x02, 0x4B, 0x82, 0xF0, 0x04, 0x80, 0x7F, 0x00};
    const Listing want{"00",
                       "1 RightKey CODE:00A2",
                       "2 RightKey CODE:0022",
                       "1 MiddleKey CODE:00A4",
                       "2 MiddleKey CODE:0024",
                       "1 Forward CODE:00A8",
                       "2 Forward CODE:0028",
                       "1 Backward CODE:00B0",
                       "2 Backward CODE:0030",
                       "1 Shift CODE:8102",
                       "2 Right Windows CODE:0180",
                       "1 Modifier 40 CODE:8140",
                       "1 Print Screen CODE:8246",
                       "2 Page Up CODE:024B",
                       "1 Key F0 CODE:82F0",
                       "3 04807F"};
    EXPECT_EQ(BuildMacroListing(code, code.size()).lines, want);
    // ... and every one of them compiles back to the same bytes, blanks in names or not.
    EXPECT_EQ(CompileMacroListing(want), code);
}

TEST(BuildMacroListing, HeaderFromTheFirstFourDelays) {
    struct Case {
        Bytes delays;  // delay values in ms, one FE instruction each
        std::string header;
        DelayMode mode;
        unsigned value;
    };
    const Case cases[] = {
        {{50, 50, 50, 50}, "0150", DelayMode::Default, 50},
        {{50, 50, 50, 50, 7}, "0150", DelayMode::Default, 50},  // only the first four count
        {{50, 50}, "10", DelayMode::Record, 0},
        {{50, 50, 50}, "10", DelayMode::Record, 0},
        {{0, 0, 0, 0}, "00", DelayMode::None, 0},
        {{}, "00", DelayMode::None, 0},
        {{10, 20, 10, 10}, "10", DelayMode::Record, 0},
    };
    for (const Case& c : cases) {
        Bytes code;
        for (std::uint8_t d : c.delays) code.insert(code.end(), {0xFE, 0x00, d, 0xA1});
        code.push_back(0x00);
        const BuiltListing b = BuildMacroListing(code, code.size());
        EXPECT_EQ(b.lines[0], c.header);
        EXPECT_EQ(b.mode, c.mode);
        EXPECT_EQ(b.defaultDelay, c.value);
    }
}

TEST(ScanMacroLength, EndsOnTheEndMarkerOrANonOpcode) {
    struct Case {
        Bytes code;
        std::optional<std::size_t> length;
    };
    const Case cases[] = {
        {{0x00}, 1},
        {{0xA1, 0xFE, 0x00, 0x32, 0x21, 0x00}, 6},
        {{0xFE, 0x00, 0x00, 0x00}, 4},  // operand zeros are not end markers
        {{0xA1, 0x77, 0x21, 0x00}, 2},  // 0x77 is no opcode: the macro ends there
        {{0xA1, 0x21}, std::nullopt},
        {{0xFE, 0x00}, std::nullopt},   // an instruction cut off by the bytes at hand
        {{}, std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(scanMacroLength(c.code), c.length) << ::testing::PrintToString(c.code);

    Bytes loopEnds(300, 0xFC);
    EXPECT_EQ(scanMacroLength(loopEnds), std::nullopt) << "no more than 256 bytes are looked at";
    loopEnds[256] = 0x00;
    EXPECT_EQ(scanMacroLength(loopEnds), std::nullopt);
    EXPECT_EQ(terminatedCode(Bytes{0xA1, 0x77, 0x21}, 2), (Bytes{0xA1, 0x00}));
}

// Random bytes: the scan and the build end, stay inside the bytes, and whatever the build
// reads compiles back to the bytes it read.
TEST(BuildMacroListing, AnyBytesBuildAndCompileBack) {
    std::mt19937 rng(15);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> size(0, 300);
    const Bytes opcodes{0x00, 0x81, 0x01, 0x82, 0x02, 0xA1, 0x21, 0x04, 0xFD, 0xFC, 0xFE, 0xB0};
    for (int round = 0; round < 3000; ++round) {
        Bytes code(static_cast<std::size_t>(size(rng)));
        // Half the rounds favour opcodes, so that long macros occur.
        for (auto& b : code)
            b = (round % 2 == 0) ? static_cast<std::uint8_t>(byte(rng)) : opcodes[static_cast<std::size_t>(byte(rng)) % opcodes.size()];
        const std::optional<std::size_t> len = scanMacroLength(code);
        if (len) {
            ASSERT_LE(*len, std::min<std::size_t>(code.size(), kSlotSize));
        }
        const std::size_t asked = len.value_or(static_cast<std::size_t>(byte(rng)) + 100);
        const BuiltListing b = BuildMacroListing(code, asked);
        const Bytes back = CompileMacroListing(b.lines);
        if (len) {
            EXPECT_EQ(back, terminatedCode(code, *len)) << round;
        }
        for (const std::string& line : b.lines) (void)lineDisplayText(line);
    }
}

}  // namespace
}  // namespace nivra::macro
