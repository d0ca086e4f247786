// Display texts, deleting with partners, the insert limit and the dialog value rules.
#include "macro/listing.h"

#include <gtest/gtest.h>

namespace nivra::macro {
namespace {

TEST(MacroLine, DisplayTexts) {
    const std::pair<std::string, std::string> cases[] = {
        {"1 LeftKey CODE:00A1", "LeftKey"},
        {"2 LeftKey CODE:0021", "LeftKey"},
        {"1 Page Up CODE:824B", "Page Up"},
        {"1 0 (numeric pad) CODE:8262", "0 (numeric pad)"},
        {"0 0", "0 ms"},
        {"0 47", "47 ms"},
        {"3 0480FF", "X: -128  Y: -1"},
        {"3 04FB0A", "X: -5  Y: 10"},
        {"7 FD01", "Rep-Start  1"},
        {"7 FD0A", "Rep-Start  10"},
        {"8 FC", "Rep-Stop"},
        // Lines too short or malformed for their kind do not break the list.
        {"1 x", "x"},
        {"3 04Z", "04Z"},
        {"7", ""},
        {"", ""},
    };
    for (const auto& [line, text] : cases) EXPECT_EQ(lineDisplayText(line), text) << line;
}

TEST(MacroLine, Builders) {
    EXPECT_EQ(moveLine(static_cast<std::uint8_t>(-1), 5), "3 04FF05");
    EXPECT_EQ(loopStartLine(10), "7 FD0A");
    EXPECT_EQ(capturedKeyLine(true, "Ctrl", 0xE0), "1 Ctrl CODE:82E0");
    EXPECT_EQ(capturedKeyLine(false, "A", 0x04), "2 A CODE:0204");
    EXPECT_EQ(delayLine(65535), "0 65535");
}

struct DeleteCase {
    const char* what;
    Listing before;
    std::size_t row;
    Listing after;
    std::optional<std::size_t> select;
    bool error = false;
};

TEST(DeleteRow, PartnersAndSelection) {
    const std::string pa = "1 A CODE:8204", ra = "2 A CODE:0204", pb = "1 B CODE:8205", rb = "2 B CODE:0205";
    const DeleteCase cases[] = {
        {"release finds its press backwards", {"10", pa, "0 50", ra}, 2, {"10", "0 50"}, 0},
        {"press finds its release forwards", {"10", pa, "0 50", ra}, 0, {"10", "0 50"}, 0},
        {"second press takes the second release", {"00", pa, ra, pa, ra}, 2, {"00", pa, ra}, 1},
        {"second release takes the second press", {"00", pa, ra, pa, ra}, 3, {"00", pa, ra}, 1},
        {"other names are passed over", {"10", pa, pb, ra, rb}, 1, {"10", pa, ra}, 0},
        {"press without release", {"10", pa, "0 50"}, 0, {"10", pa, "0 50"}, std::nullopt, true},
        {"release without press", {"10", "0 50", ra}, 1, {"10", "0 50", ra}, std::nullopt, true},
        {"a single line", {"10", "0 1", "0 2", "0 3"}, 1, {"10", "0 1", "0 3"}, 0},
        {"the last line", {"10", "0 1"}, 0, {"10"}, std::nullopt},
        {"a loop end", {"10", "7 FD02", "8 FC"}, 1, {"10", "7 FD02"}, 0},
        {"no such row", {"10", "0 1"}, 5, {"10", "0 1"}, std::nullopt},
    };
    for (const DeleteCase& c : cases) {
        Listing l = c.before;
        const DeleteResult r = deleteRow(l, c.row);
        EXPECT_EQ(l, c.after) << c.what;
        EXPECT_EQ(r.select, c.select) << c.what;
        EXPECT_EQ(r.contentError, c.error) << c.what;
    }
}

TEST(InsertFits, LimitAt255) {
    EXPECT_TRUE(insertFits(252, '0'));
    EXPECT_TRUE(insertFits(252, '3'));
    EXPECT_FALSE(insertFits(253, '0'));
    EXPECT_FALSE(insertFits(253, '7'));
    EXPECT_TRUE(insertFits(254, '8'));
    EXPECT_FALSE(insertFits(255, '8'));
}

TEST(ValueRules, DelayAxisRepeat) {
    const std::tuple<std::string, std::string, std::string, std::string> cases[] = {
        // text, delay rule, axis rule, repeat rule
        {"", "1", "0", "1"},
        {"0", "1", "0", "1"},
        {"5", "5", "5", "5"},
        {"-", "1", "-", "1"},
        {"-1", "1", "-1", "1"},
        {"128", "128", "127", "128"},
        {"255", "255", "127", "254"},
        {"-129", "1", "-128", "1"},
        {"65536", "65535", "127", "254"},
        {"99999999999999999999", "65535", "127", "254"},
    };
    for (const auto& [text, delay, axis, repeat] : cases) {
        EXPECT_EQ(ruleDelayText(text), delay) << text;
        EXPECT_EQ(ruleAxisText(text), axis) << text;
        EXPECT_EQ(ruleRepeatText(text), repeat) << text;
    }
    EXPECT_TRUE(axisCharAllowed('-'));
    EXPECT_FALSE(delayCharAllowed('-'));
    EXPECT_FALSE(delayCharAllowed('a'));
}

}  // namespace
}  // namespace nivra::macro
