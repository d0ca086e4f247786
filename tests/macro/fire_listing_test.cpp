// Fire macro listings: building from a 32-byte body, compiling within the slot, the insert
// panel's lines and the 480-byte fire macro file.
#include "macro/fire_listing.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace nivra::macro {
namespace {

FireMacroBody bodyOf(std::initializer_list<std::uint8_t> bytes) {
    FireMacroBody body{};
    std::copy(bytes.begin(), bytes.end(), body.begin());
    return body;
}

const FireMacroBody kBuiltIn = bodyOf({0xA1, 0xFE, 0x00, 0x28, 0xFD, 0x00, 0x04, 0x00, 0x05, 0xFE, 0x00, 0x32, 0xFC,
                                       0x21, 0xFE, 0x00, 0x28, 0x00});

TEST(FireListing, BuildsTheBuiltInFireMacro) {
    const Listing expected{"00",
                           "1 LeftKey CODE:00A1",
                           "0 40",
                           "7 FD00",
                           "3 040005",
                           "0 50",
                           "8 FC",
                           "2 LeftKey CODE:0021",
                           "0 40"};
    EXPECT_EQ(BuildFireMacroListing(kBuiltIn), expected);
    EXPECT_EQ(fireMacroLength(kBuiltIn), 18u);
    // And back: the same bytes, the rest of the slot zero.
    FireMacroBody body;
    body.fill(0xEE);
    EXPECT_EQ(CompileFireMacroListing(expected, body), 18u);
    EXPECT_EQ(body, kBuiltIn);
}

TEST(FireListing, BuildEndsWhereTheBodyStopsBeingAFireMacro) {
    struct Case {
        const char* what;
        FireMacroBody body;
        Listing lines;
    };
    FireMacroBody noEnd;
    noEnd.fill(0xA1);  // no three zero bytes anywhere: the walk stops at the slot's end
    Listing thirtyOne(32, "1 LeftKey CODE:00A1");
    thirtyOne[0] = "00";
    // Loop starts filling the slot to its last byte: the sixteenth would leave no room for
    // the end marker, so the listing stops after fifteen.
    FireMacroBody loops;
    loops.fill(0xFD);
    Listing fifteenLoops(16, "7 FDFD");
    fifteenLoops[0] = "00";
    // A delay whose operand ends on the slot's last byte is left out the same way.
    FireMacroBody delayAtEnd;
    delayAtEnd.fill(0xA1);
    delayAtEnd[29] = 0xFE;
    delayAtEnd[30] = 0x01;
    delayAtEnd[31] = 0x02;
    Listing twentyNine(30, "1 LeftKey CODE:00A1");
    twentyNine[0] = "00";
    const Case cases[] = {
        {"empty body", bodyOf({}), {"00"}},
        {"key opcode ends the listing", bodyOf({0xA1, 0x82, 0x04, 0x21, 0x00}), {"00", "1 LeftKey CODE:00A1"}},
        {"right button is no fire opcode", bodyOf({0xA2, 0x22, 0x00}), {"00"}},
        {"delay whose low byte is zero before the end", bodyOf({0xA1, 0xFE, 0x01, 0x00, 0x00}),
         {"00", "1 LeftKey CODE:00A1", "0 256"}},
        {"repeat 0 just before the end", bodyOf({0xFD, 0x00, 0x00}), {"00", "7 FD00"}},
        {"no end marker in the slot", noEnd, thirtyOne},
        {"last instruction leaves no room for the end marker", loops, fifteenLoops},
        {"delay ending on the slot's last byte", delayAtEnd, twentyNine},
    };
    for (const Case& c : cases) {
        const Listing built = BuildFireMacroListing(c.body);
        EXPECT_EQ(built, c.lines) << c.what;
        // Whatever the body, its listing compiles back within the slot into the same listing.
        FireMacroBody compiled{};
        const std::optional<std::size_t> used = CompileFireMacroListing(built, compiled);
        ASSERT_TRUE(used) << c.what;
        EXPECT_LE(*used, kFireMacroBodySize) << c.what;
        EXPECT_EQ(BuildFireMacroListing(compiled), built) << c.what;
    }
    // An instruction cut off by the slot's end is left out.
    FireMacroBody cut;
    cut.fill(0xFC);
    cut[31] = 0xFE;
    EXPECT_EQ(BuildFireMacroListing(cut).size(), 32u);
}

TEST(FireListing, CompileRefusesWhatOutgrowsTheSlot) {
    Listing listing{"00"};
    for (int i = 0; i < 10; ++i) listing.push_back("0 100");  // 30 bytes + end marker = 31
    FireMacroBody body = kBuiltIn;
    ASSERT_EQ(CompileFireMacroListing(listing, body), 31u);
    listing.push_back("8 FC");  // 32: exactly the slot
    ASSERT_EQ(CompileFireMacroListing(listing, body), 32u);
    EXPECT_EQ(body[30], 0xFC);
    EXPECT_EQ(body[31], 0x00);
    const FireMacroBody before = body;
    listing.push_back("8 FC");  // 33: refused, the body keeps its bytes
    EXPECT_FALSE(CompileFireMacroListing(listing, body));
    EXPECT_EQ(body, before);
    EXPECT_EQ(fireListingLength(listing), 33u);
}

TEST(FireListing, InsertLines) {
    struct Case {
        FireInsertItem item;
        FireInsertTexts texts;
        const char* line;
        bool after;
    };
    const Case cases[] = {
        {FireInsertItem::DelayFront, {}, "0 50", false},
        {FireInsertItem::DelayBack, {.delay = "70000"}, "0 65535", true},
        {FireInsertItem::DelayBack, {.delay = "0"}, "0 1", true},
        {FireInsertItem::MoveFront, {}, "3 040C0A", false},
        {FireInsertItem::MoveBack, {.x = "-3", .y = "-4"}, "3 04FDFC", true},
        {FireInsertItem::MoveFront, {.x = "-200", .y = "128"}, "3 04807F", false},
        {FireInsertItem::MoveFront, {.x = "-", .y = ""}, "3 040000", false},
        {FireInsertItem::RepeatStart, {.repeat = "0"}, "7 FD00", false},
        {FireInsertItem::RepeatStart, {.repeat = "255"}, "7 FDFF", false},
        {FireInsertItem::RepeatStart, {.repeat = "256"}, "7 FDFF", false},
        {FireInsertItem::RepeatStop, {}, "8 FC", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fireInsertLine(c.item, c.texts), c.line) << c.line;
        EXPECT_EQ(fireInsertAfter(c.item), c.after) << c.line;
    }
    const std::pair<const char*, const char*> repeats[] = {{"256", "255"}, {"0", "0"}, {"-1", "0"}, {"", "0"}, {"12", "12"}};
    for (const auto& [typed, kept] : repeats) EXPECT_EQ(ruleFireRepeatText(typed), kept) << typed;
}

TEST(FireMacroFile, WritesAndReadsTheTenMacros) {
    FireMacroSet set;
    for (std::size_t i = 0; i < kFireMacroCount; ++i) {
        set.names[i][1] = static_cast<std::uint8_t>('A' + i);
        set.bodies[i] = kBuiltIn;
        set.bodies[i][8] = static_cast<std::uint8_t>(i);
    }
    const auto file = fireMacroFileBytes(set);
    EXPECT_EQ(file[16 * 3 + 1], 'D');
    EXPECT_EQ(file[160 + 32 * 9 + 8], 9);
    const auto back = readFireMacroFile(file);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->names, set.names);
    EXPECT_EQ(back->bodies, set.bodies);
}

TEST(FireMacroFile, RefusesShortLongAndForeignFiles) {
    const std::array<std::uint8_t, kFireMacroFileSize> zeros{};
    EXPECT_TRUE(readFireMacroFile(zeros));
    EXPECT_FALSE(readFireMacroFile(std::span(zeros).first(479)));
    const std::vector<std::uint8_t> image(2048, 0);
    EXPECT_FALSE(readFireMacroFile(image));
    auto foreign = zeros;
    foreign[160 + 32 * 4] = 0x82;  // a key press: no fire macro
    EXPECT_FALSE(readFireMacroFile(foreign));
    std::array<std::uint8_t, kFireMacroFileSize> ff;
    ff.fill(0xFF);
    EXPECT_FALSE(readFireMacroFile(ff));
}

}  // namespace
}  // namespace nivra::macro
