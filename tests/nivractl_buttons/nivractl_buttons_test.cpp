// `nivractl set ...` against the simulated mouse: exit statuses, messages, what the mouse
// holds afterwards, and the same reports as the window's models.
#include "settings/button_model.h"
#include "settings/profile_model.h"
#include "tests/buttons/fixture.h"
#include "tests/support/run_command.h"

#include <gtest/gtest.h>

#include <fstream>

namespace nivra::testing {
namespace {

class NivractlButtons : public ::testing::Test {
protected:
    TempDir dir;
    std::string mem() const { return (dir.path() / "mouse.bin").string(); }
    std::string trace() const { return (dir.path() / "trace.txt").string(); }
    CommandResult run(const std::string& args) {
        std::filesystem::remove(trace());
        return runCommand(std::string(NIVRACTL_BIN) + " --simulate=" + mem() + " --trace " + trace() + " " + args, dir.path());
    }
    std::vector<std::string> traceLines() const {
        std::ifstream in(trace());
        std::vector<std::string> out;
        for (std::string l; std::getline(in, l);) out.push_back(l);
        return out;
    }
    std::string show() { return run("show --json").out; }
};

TEST_F(NivractlButtons, DpiUpSendsTheSameReportsAsTheMenu) {
    const CommandResult r = run("set button 2 3 \"DPI Up\"");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> shell = traceLines();

    EditorRig rig;  // the same built-in image 1 in a fresh simulated mouse
    ButtonModel buttons(rig.editor);
    buttons.setProfileShown(2);
    buttons.selectLabel(3);
    ASSERT_EQ(buttons.KeyStatusOnClick(2001), AssignResult::Done);
    const std::vector<std::string> window = rig.lines();
    ASSERT_GE(shell.size(), window.size());
    EXPECT_EQ(std::vector<std::string>(shell.end() - static_cast<std::ptrdiff_t>(window.size()), shell.end()), window);
    // Nothing but the edit after the connection's read: no mode-button writes.
    EXPECT_EQ(window.front(), "SET 40 07 00 C0 00 93 00 00");
    EXPECT_NE(show().find("\"code\": \"09010000\""), std::string::npos);
}

TEST_F(NivractlButtons, FunctionForms) {
    struct Case {
        std::string args;
        int status;
        std::string err;   // part of the message on stderr
        std::string code;  // the button's code afterwards, when the change went through
    };
    const Case cases[] = {
        {"set button 1 1 \"Right Key\"", 1, "Please keep a Left Key", ""},
        {"set button 1 1 code:00000000", 1, "Please keep a Left Key", ""},
        {"set button 1 1 combo:A", 1, "Please keep a Left Key", ""},
        {"set button 2 1 \"Right Key\"", 0, "", "01020000"},
        {"set button 2 4 Forward", 1, "\"WWW Fn/Forward\"", ""},
        {"set button 2 4 \"WWW Fn/Forward\"", 0, "", "03022500"},
        {"set button 2 4 \"Standard Mouse Key/Forward\"", 0, "", "01100000"},
        {"set button 2 4 \"Media Fn/Stop\"", 0, "", "0300B700"},
        {"set button 2 4 Play/Pause", 0, "", "0300CD00"},
        {"set button 2 4 combo:Ctrl+Shift+A", 0, "", "02030400"},
        {"set button 2 4 combo:", 0, "", "00000000"},
        {"set button 2 4 combo:A+B+C", 1, "at most two keys", ""},
        {"set button 2 4 \"combo:Left Windows\"", 1, "cannot be part", ""},
        {"set button 2 4 code:0F123456", 0, "", "0F123456"},
        {"set button 3 4 \"Game Mode\"", 0, "", "07810000"},
        {"set button 2 4 \"Game Mode\"", 1, "not an entry", ""},       // Game Mode offers Office Mode only
        {"set button 2 4 \"Office Mode\"", 0, "", "07800000"},
        {"set button 1 4 \"Fire Macro Off\"", 1, "not an entry", ""},  // gun entries: Game Mode only
        {"set button 2 4 macro:Nothing", 1, "no device macro", ""},
        {"set button 4 1 \"Right Key\"", 2, "usage", ""},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(mem());
        const CommandResult r = run(c.args);
        EXPECT_EQ(r.status, c.status) << c.args << ": " << r.err;
        if (!c.err.empty()) {
            EXPECT_NE(r.err.find(c.err), std::string::npos) << c.args << ": " << r.err;
        }
        const std::vector<std::string> lines = traceLines();
        if (c.status != 0) {
            EXPECT_EQ(countPrefix(lines, "SET 40 07 00 C0"), 0u) << c.args;  // nothing sent
            continue;
        }
        EXPECT_NE(show().find("\"code\": \"" + c.code + "\""), std::string::npos) << c.args;
    }
}

TEST_F(NivractlButtons, SlotsProfileAndSwitches) {
    ASSERT_EQ(run("set slot 3 \"Office Mode\"").status, 0);
    const std::vector<std::string> lines = traceLines();
    EXPECT_EQ(countPrefix(lines, "SET 40 05 01 87 07 80 00 20"), 1u);  // extended form, four-byte write

    const CommandResult p = run("set profile 2");
    ASSERT_EQ(p.status, 0) << p.err;
    const std::vector<std::string> written = traceLines();
    ASSERT_GE(written.size(), 5u);
    EXPECT_EQ(written[written.size() - 5], "SET 40 05 00 A7 04 00 00 01");  // the shipped layout shows guns in Game Mode
    EXPECT_EQ(written.back(), "SET 40 05 00 A4 F1 00 00 01");
    EXPECT_NE(show().find("\"profile\": 2"), std::string::npos);

    ASSERT_EQ(run("set switch back-right").status, 0);
    std::string json = show();
    EXPECT_NE(json.find("\"switch\": \"back-right\", \"led_chord\": false"), std::string::npos) << json;
    EXPECT_NE(json.find("{\"code\": \"07D1F020\", \"name\": \"Game Mode\"}"), std::string::npos) << json;
    ASSERT_EQ(run("set led-chord on").status, 0);
    json = show();
    EXPECT_NE(json.find("\"switch\": \"none\", \"led_chord\": true"), std::string::npos) << json;
    ASSERT_EQ(run("set gun-switch on").status, 0);
    EXPECT_EQ(run("set switch sideways").status, 2);
}

}  // namespace
}  // namespace nivra::testing
