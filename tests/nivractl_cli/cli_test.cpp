// nivractl's shared command layer run in process: the strict parsers, the one mapping from
// results to exit statuses and messages, every mouse command opening the mouse the same way,
// and the manual page and completion candidates made from the command registry.
#include "image/builtin.h"
#include "tests/faults/in_process.h"
#include "tools/nivractl/cli.h"
#include "tools/nivractl/command.h"
#include "tools/nivractl/reference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace nivra::testing {
namespace {

TEST(NivractlCli, IntegersAreWholeNumbersInRangeOrRefusedWithAReason) {
    const struct {
        const char* text;
        int lo, hi;
        std::optional<int> expected;
    } cases[] = {
        {"3", 1, 3, 3},          {"-128", -128, 127, -128}, {"007", 0, 9, 7},
        {"", 1, 3, {}},          {"4", 1, 3, {}},           {"0", 1, 3, {}},
        {"2x", 1, 3, {}},        {" 2", 1, 3, {}},          {"2 ", 1, 3, {}},
        {"+2", 1, 3, {}},        {"-0", 0, 9, {}},          {"0x1", 0, 9, {}},
        {"99999999999", 0, 100000, {}},                     {"-129", -128, 127, {}},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_EQ(nivractl::parseInteger(c.text, c.lo, c.hi, &error), c.expected) << '"' << c.text << '"';
        EXPECT_EQ(error.empty(), c.expected.has_value()) << '"' << c.text << "\": " << error;
    }
}

TEST(NivractlCli, ColoursAreSixHexDigitsOrRefused) {
    std::string error;
    const std::optional<Rgb> orange = nivractl::parseColour("#ff8001", &error);
    ASSERT_TRUE(orange) << error;
    EXPECT_EQ(orange->r, 0xFF);
    EXPECT_EQ(orange->g, 0x80);
    EXPECT_EQ(orange->b, 0x01);
    EXPECT_TRUE(nivractl::parseColour("00FF00"));
    for (const char* bad : {"", "#", "FF800", "FF80011", "GG0000", "-FFFFF", "+FFFFF", "0xFFFF", " FFFFF", "##FF8000"}) {
        error.clear();
        EXPECT_FALSE(nivractl::parseColour(bad, &error)) << '"' << bad << '"';
        EXPECT_NE(error.find("RRGGBB"), std::string::npos) << '"' << bad << "\": " << error;
    }
}

// What exitStatus() prints on stderr and returns.
std::pair<int, std::string> exitOf(const nivractl::Result& r) {
    std::ostringstream err;
    std::streambuf* old = std::cerr.rdbuf(err.rdbuf());
    const int status = nivractl::exitStatus(r);
    std::cerr.rdbuf(old);
    return {status, err.str()};
}

TEST(NivractlCli, ResultsMapToOneExitStatusAndTheirMessagesInOrder) {
    EXPECT_EQ(exitOf(nivractl::ok()), std::pair(0, std::string()));
    EXPECT_EQ(exitOf(nivractl::fail("no mouse")), std::pair(1, std::string("nivractl: no mouse\n")));
    // A session that would not close after a failed change: both reasons, in order.
    EXPECT_EQ(exitOf(nivractl::andThen(nivractl::fail("refused"), nivractl::fail("not saved"))),
              std::pair(1, std::string("nivractl: refused\nnivractl: not saved\n")));
    EXPECT_EQ(exitOf(nivractl::andThen(nivractl::fail("refused"), nivractl::ok())).second, "nivractl: refused\n");
    const auto [status, err] = exitOf(nivractl::usageError("save", {"bad word"}));
    EXPECT_EQ(status, 2);
    EXPECT_EQ(err.rfind("nivractl: bad word\nusage: nivractl save FILE", 0), 0u) << err;
}

// Every command that opens the mouse opens it the same way, whichever kind of change it makes:
// the layout's reserve ID pair (0/0 in the shipped table) is accepted, and a connection whose
// backup could not be kept fails the command with the reason.
TEST(NivractlCli, EveryMouseCommandOpensTheMouseTheSameWay) {
    Image reserve = builtinImage(1);
    reserve[484] = 0;
    reserve[485] = 0;
    const std::vector<std::vector<std::string>> commands = {
        {"set", "profile", "2"}, {"set", "cpi", "count", "3"}, {"set", "led", "speed", "3"},
        {"gun", "show", "1"},    {"fire", "list"},            {"macro", "list"},
        {"save", "{dir}/saved.bin"},
    };
    for (const std::vector<std::string>& args : commands) {
        const std::string name = args[0] + ' ' + args[1];
        {
            const TempDir tmp;
            writeBytes(tmp.path() / "mouse.bin", Bytes(reserve.begin(), reserve.end()));
            const Outcome o = runIn(tmp.path(), args, {});
            EXPECT_EQ(o.status, 0) << name << " with the reserve IDs: " << o.err;
        }
        {
            const TempDir tmp;
            writeBytes(tmp.path() / "state", Bytes{});  // a file where the backups' folder should go
            const Outcome o = runIn(tmp.path(), args, {});
            EXPECT_EQ(o.status, 1) << name << " without a backup";
            EXPECT_NE(o.err.find("no backup of the mouse's configuration was kept"), std::string::npos)
                << name << ": " << o.err;
        }
    }
}

bool has(const std::vector<std::string>& words, const std::string& w) {
    return std::find(words.begin(), words.end(), w) != words.end();
}

TEST(NivractlCli, CompletionOffersWhatTheRegistrySays) {
    using nivractl::completions;
    const struct {
        std::vector<std::string> words;
        std::vector<std::string> offered;  // each must be among the candidates
        std::vector<std::string> not_offered;
    } cases[] = {
        {{""}, {"set", "gun", "save", "info", "pointer"}, {"set cpi", "cpi"}},
        {{"--simulate", "--trace", "t.txt", "s"}, {"set", "show"}, {}},
        {{"--tr"}, {"--trace", "--simulate", "--simulate-fault"}, {"set"}},
        {{"--trace", ""}, {"@file"}, {"set"}},
        {{"--simulate-fault", ""}, {"vanish@", "refuse-set@"}, {}},
        // One-word commands with two-word relatives offer both.
        {{"set", ""}, {"button", "profile", "switch", "cpi", "led", "rate", "aim"}, {"count"}},
        {{"set", "cpi", ""}, {"count", "level", "current", "color"}, {"button"}},
        {{"set", "rate", ""}, {"125", "1000"}, {}},
        {{"set", "switch", ""}, {"none", "cpi-loop", "forward-right"}, {}},
        {{"set", "led", "type", ""}, {"RGB", "Sync", "ZK"}, {}},
        {{"set", "led", "type", "zk", ""}, {"--yes"}, {}},
        {{"set", "fire", "1", "5", "100", ""}, {"continue"}, {}},
        {{"gun", ""}, {"show", "set", "assign"}, {}},
        {{"gun", "set", "1", "2", ""}, {"count", "x", "color"}, {}},
        {{"restore", ""}, {"1", "defaults"}, {}},
        {{"load", ""}, {"@file"}, {}},
        {{"show", "--json", "--file", ""}, {"@file"}, {}},
        {{"library", ""}, {"list", "reset", "rename"}, {}},
        {{"pointer", "set", "precision", ""}, {"on", "off"}, {}},
    };
    for (const auto& c : cases) {
        const std::vector<std::string> got = completions(c.words);
        std::string shown;
        for (const std::string& w : c.words) shown += "'" + w + "' ";
        for (const std::string& w : c.offered) EXPECT_TRUE(has(got, w)) << shown << "should offer " << w;
        for (const std::string& w : c.not_offered) EXPECT_FALSE(has(got, w)) << shown << "should not offer " << w;
    }
    // Past the last word of every alternative nothing is offered.
    EXPECT_TRUE(completions({"save", "x", ""}).empty());
}

TEST(NivractlCli, ManualPageListsEveryCommandAndOptionOfTheRegistry) {
    const std::string page = nivractl::manPage();
    ASSERT_EQ(page.rfind(".TH NIVRACTL 1 ", 0), 0u);
    const std::size_t commandsAt = page.find(".SH COMMANDS\n");
    ASSERT_NE(commandsAt, std::string::npos);
    for (const nivractl::Command& c : nivractl::commands()) {
        // ".TP" then the synopsis: the command's words in bold, minus signs escaped.
        std::string bold;
        std::istringstream name(c.name);
        for (std::string w; name >> w;) bold += (bold.empty() ? "" : " ") + ("\\fB" + w + "\\fR");
        std::string escaped;
        for (char ch : bold) escaped += ch == '-' ? std::string("\\-") : std::string(1, ch);
        EXPECT_NE(page.find(".TP\n" + escaped, commandsAt), std::string::npos) << c.name;
    }
    for (const char* option : {"\\-\\-simulate", "\\-\\-simulate\\-fault", "\\-\\-trace", "\\-\\-completion"})
        EXPECT_NE(page.find(std::string(".TP\n\\fB") + option + "\\fR"), std::string::npos) << option;
    // No line starts a request by accident (a description beginning with "." or "'").
    std::istringstream lines(page);
    for (std::string line; std::getline(lines, line);)
        if (!line.empty() && line[0] == '\'') ADD_FAILURE() << line;
}

TEST(NivractlCli, ReferenceTextsAreWrittenByHiddenOptions) {
    std::ostringstream out;
    std::streambuf* old = std::cout.rdbuf(out.rdbuf());
    const int man = nivractl::runCommandLine({"nivractl", "--man"});
    const int bash = nivractl::runCommandLine({"nivractl", "--completion", "bash"});
    const int complete = nivractl::runCommandLine({"nivractl", "--complete", "--", "gun", ""});
    std::cout.rdbuf(old);
    EXPECT_EQ(man, 0);
    EXPECT_EQ(bash, 0);
    EXPECT_EQ(complete, 0);
    EXPECT_NE(out.str().find("complete -F _nivractl nivractl"), std::string::npos);
    EXPECT_NE(out.str().find("\nassign\nset\nshow\n"), std::string::npos) << out.str();
    std::ostringstream err;
    old = std::cerr.rdbuf(err.rdbuf());
    EXPECT_EQ(nivractl::runCommandLine({"nivractl", "--completion", "tcsh"}), 2);
    std::cerr.rdbuf(old);
    EXPECT_NE(err.str().find("bash, zsh or fish"), std::string::npos);
}

}  // namespace
}  // namespace nivra::testing
