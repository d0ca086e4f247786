// Names of codes: every naming rule in order, with the traps where an earlier rule wins
// or a near-miss must stay unnamed, and what the callers get back besides the name.
#include "image/codes.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using nivra::ButtonCode;
using nivra::NameInputs;
using nivra::NameOfCode;

// A few texts of the English language table; ids without a text give "".
std::string english(std::string_view id) {
    static const std::map<std::string, std::string, std::less<>> texts = {
        {"Str205", "User-defined"}, {"Str210", "Left Key"},   {"Str211", "Right Key"},
        {"Str212", "Middle Key"},   {"Str213", "Backward"},   {"Str214", "Forward"},
        {"Str222", "DPI Up"},       {"Str232", "Fire Key2"},  {"Str252", "Game Mode"},
        {"Str277", "Key Off"},      {"Str293", "Desktop"},    {"Str600", "AKM Fire"},
    };
    const auto it = texts.find(id);
    return it == texts.end() ? std::string() : it->second;
}

NameInputs fixture() {
    NameInputs in;
    in.language = english;
    in.fireKeys = {{{2, 60, false}, {4, 120, false}, {8, 200, false}}};
    in.deviceMacros[0] = {0x0200, true, "Jump"};
    in.deviceMacros[1] = {0x0215, true, "Reload"};
    in.deviceMacros[2] = {0x0230, false, "Gone"};  // deleted: its slot is no longer present
    return in;
}

struct NameCase {
    const char* code;
    const char* id;
    const char* text;
};

void expectNames(const NameInputs& in, std::initializer_list<NameCase> cases) {
    for (const NameCase& c : cases) {
        const nivra::CodeName n = NameOfCode(c.code, in);
        EXPECT_EQ(n.id, c.id) << c.code;
        EXPECT_EQ(n.text, c.text) << c.code;
    }
}

TEST(NameOfCode, EveryRuleInOrder) {
    expectNames(fixture(), {
        // whole codes
        {"00000000", "Str277", "Key Off"},
        {"01010000", "Str210", "Left Key"},
        {"01020000", "Str211", "Right Key"},
        {"01010001", "", ""},  // left key with a non-zero byte 3 is no left key
        {"01020100", "", ""},
        // middle, backward, forward whatever bytes 2 and 3 hold
        {"01040008", "Str212", "Middle Key"},
        {"01080002", "Str213", "Backward"},
        {"0110FF80", "Str214", "Forward"},
        {"01030000", "", ""},
        // AIM, LED, report rate, fire macro key
        {"05000000", "Str260", ""},
        {"050BFFFF", "Str260", ""},
        {"0E000000", "Str261", ""},
        {"0E000001", "", ""},
        {"08000000", "Str262", ""},
        {"08010000", "Str263", ""},
        {"08020000", "", ""},
        {"0C000000", "Str264", ""},
        {"1006A0FF", "Str265", ""},
        {"1070A0FF", "Str265", ""},
        // CPI keys
        {"09000000", "Str221", ""},
        {"09010080", "Str222", "DPI Up"},
        {"09020001", "Str223", ""},
        {"09030000", "", ""},
        // power keys
        {"04010000", "Str241", ""},
        {"04020000", "Str242", ""},
        {"04030000", "Str243", ""},
        {"04040000", "", ""},
        {"04010001", "", ""},
        // profile keys
        {"07000000", "Str254", ""},
        {"07001234", "Str254", ""},
        {"07800000", "Str251", ""},
        {"07D1F014", "Str252", "Game Mode"},
        {"07F2A0FF", "Str253", ""},
        {"07830000", "", ""},
        {"07010000", "", ""},
        // exact media, browser and PC codes
        {"0300CD00", "Str270", ""}, {"0300B700", "Str271", ""}, {"0300B600", "Str272", ""},
        {"0300B500", "Str273", ""}, {"0300E900", "Str274", ""}, {"0300EA00", "Str275", ""},
        {"0300E200", "Str276", ""}, {"03022300", "Str280", ""}, {"03022100", "Str281", ""},
        {"03022400", "Str282", ""}, {"03022500", "Str283", ""}, {"03022600", "Str284", ""},
        {"03022700", "Str285", ""}, {"03022A00", "Str286", ""}, {"03019400", "Str290", ""},
        {"03019200", "Str291", ""}, {"03018A00", "Str292", ""},
        {"02080700", "Str293", "Desktop"},  // not the composed "Win+D"
        {"0A000000", "Str268", ""},
        {"0A010000", "Str269", ""},
        {"0B8F0000", "Str266", ""},
        {"0300CD01", "", ""},  // consumer keys are named by the whole code only
        {"03001000", "", ""},
        // combinations
        {"02000000", "Str205", "User-defined"},
        {"02010000", "", "Ctrl"},
        {"02050400", "", "Ctrl+Alt+A"},
        {"020F2C4B", "", "Ctrl+Shift+Alt+Win+Space bar+Page Up"},
        {"02000405", "", "A+B"},
        {"02000005", "", "B"},
        {"02080800", "", "Win+E"},
        {"0200E3E7", "", "Win+Win"},
        {"0202C300", "", "Shift+Media_Play_Pause"},
        {"02013200", "", "Ctrl"},  // a usage without a name adds nothing
        {"02003200", "Str205", "User-defined"},
        // gun names without the gun key list
        {"0B000100", "Str600", "AKM Fire"},
        {"0B1001FF", "Str600", "AKM Fire"},
        {"0B010100", "Str601", ""}, {"0B110100", "Str601", ""},
        {"0B020100", "Str602", ""}, {"0B120100", "Str602", ""},
        {"0B030100", "Str603", ""}, {"0B130100", "Str603", ""},
        {"0B040100", "Str604", ""}, {"0B140100", "Str604", ""},
        {"0B050100", "Str605", ""}, {"0B150200", "Str605", ""},
        {"0B070100", "Str606", ""}, {"0B170200", "Str606", ""}, {"0B070300", "Str606", ""},
        {"0B050300", "", ""},  // the 5.56 mm gun uses at most two slots
        {"0B070400", "", ""},
        {"0B060100", "", ""},  // slot 6 is no gun's first slot
        {"0B000200", "", ""},
        {"0B850000", "", ""},  // script-offset form
        // device macros by body address, byte 3 not compared
        {"10020000", "", "Jump"},
        {"10021500", "", "Reload"},
        {"100215FF", "", "Reload"},
        {"10023000", "", ""},  // the deleted macro's address
        {"10030000", "", ""},
        // types no editor produces
        {"0D000000", "", ""},
        {"0F000000", "", ""},
        {"11000000", "", ""},
        {"FF000000", "", ""},
        {"FFFFFFFF", "", ""},
    });
}

TEST(NameOfCode, FireKeysByCountAndIntervalLowestFirst) {
    NameInputs in = fixture();
    // 0x93: count 4 with Continue; 0x13 the same without; interval 120 = 0x0078.
    nivra::CodeName n = NameOfCode("06930078", in);
    EXPECT_EQ(n.id, "Str232");
    EXPECT_EQ(n.text, "Fire Key2");
    EXPECT_EQ(n.fireKey, 2);
    EXPECT_TRUE(n.fireContinue);
    n = NameOfCode("06130078", in);
    EXPECT_EQ(n.fireKey, 2);
    EXPECT_FALSE(n.fireContinue);
    // Bits 4..6 of the repeat byte play no part in the match.
    EXPECT_EQ(NameOfCode("06030078", in).fireKey, 2);

    // Count or interval matching no fire key (and count of one key with another's interval).
    for (const char* code : {"06130079", "06140078", "0611007A", "061300C8"}) {
        n = NameOfCode(code, in);
        EXPECT_TRUE(n.empty()) << code;
        EXPECT_EQ(n.fireKey, 0) << code;
    }

    // Two fire keys with equal settings: the lower-numbered one names the code.
    in.fireKeys[2] = in.fireKeys[1];
    EXPECT_EQ(NameOfCode("06930078", in).id, "Str232");
    in.fireKeys[0] = in.fireKeys[1];
    n = NameOfCode("06930078", in);
    EXPECT_EQ(n.id, "Str231");
    EXPECT_EQ(n.fireKey, 1);
}

TEST(NameOfCode, ProfileKeysReportTheirColourChoice) {
    const struct {
        const char* code;
        std::optional<int> choice;
    } cases[] = {
        {"07800000", 0}, {"07813014", 3}, {"07829FFF", 9},
        {"07D1F014", nivra::kFixedColorChoice},
        {"0781A000", std::nullopt},  // high nibbles 10..14 name no colour
        {"0780E000", std::nullopt},
        {"07000000", std::nullopt},  // "KB Switch Loop" selects no profile
    };
    for (const auto& c : cases) EXPECT_EQ(NameOfCode(c.code, fixture()).profileColourChoice, c.choice) << c.code;
}

TEST(NameOfCode, GunKeyListNamesByItsFirstSixDigits) {
    NameInputs in = fixture();
    std::array<ButtonCode, 10> list{};
    list[0] = ButtonCode{{0x0B, 0x12, 0x03, 0x00}};
    list[1] = ButtonCode{{0x0B, 0x85, 0x00, 0x00}};
    list[4] = ButtonCode{{0x0B, 0x12, 0x03, 0x08}};  // same first six digits as entry 1
    list[9] = ButtonCode{{0x0B, 0x00, 0x01, 0x00}};
    in.gunKeyList = list;
    expectNames(in, {
        {"0B120300", "", "Fire Macro1"},
        {"0B120308", "", "Fire Macro1"},  // first match wins, byte 3 not compared
        {"0B850000", "", "Fire Macro2"},
        {"0B000100", "", "Fire Macro10"},
        {"0B010100", "", ""},  // a gun the list does not hold has no name, not "M16A4 Fire"
        {"0B000000", "", ""},  // empty entries (00000000) match no gun code
        {"0B8F0000", "Str266", ""},  // fire macro off is named before gun keys
    });
}

TEST(NameOfCode, MacroKeysNeedI2CMemory) {
    for (nivra::MemoryType memory : {nivra::MemoryType::Flash, nivra::MemoryType::None}) {
        NameInputs in = fixture();
        in.memory = memory;
        EXPECT_TRUE(NameOfCode("10020000", in).empty());
        EXPECT_EQ(NameOfCode("1006A0FF", in).id, "Str265");
    }
}

TEST(NameOfCode, WithoutALanguageTableIdsRemainAndComposedNamesStay) {
    NameInputs in = fixture();
    in.language = nullptr;
    expectNames(in, {
        {"01010000", "Str210", ""},
        {"02000000", "Str205", ""},
        {"02050400", "", "Ctrl+Alt+A"},
        {"10021500", "", "Reload"},
    });
    in.gunKeyList = std::array<ButtonCode, 10>{};
    (*in.gunKeyList)[2] = ButtonCode{{0x0B, 0x03, 0x01, 0x00}};
    expectNames(in, {{"0B030100", "", "Fire Macro3"}});
}

TEST(NameOfCode, NotACodeTextHasNoName) {
    for (const char* text : {"", "0101", "010100000", "0101000Z"}) {
        EXPECT_TRUE(NameOfCode(text, fixture()).empty()) << text;
    }
    // Lower-case digits name the same code.
    EXPECT_EQ(NameOfCode("07d1f014", fixture()).id, "Str252");
}

TEST(DescribeCode, GivesIdAndName) {
    const nivra::CodeDescription d = nivra::describeCode("01040008", fixture());
    EXPECT_EQ(d.id, "Str212");
    EXPECT_EQ(d.name, "Middle Key");
    const nivra::CodeDescription c = nivra::describeCode("02050400", fixture());
    EXPECT_EQ(c.id, "");
    EXPECT_EQ(c.name, "Ctrl+Alt+A");
}

}  // namespace
