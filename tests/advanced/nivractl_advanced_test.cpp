// nivractl's Advanced page commands run as processes: each sends the reports the window's
// model call sends on the same simulated mouse, and `pointer` keeps the store the page uses.
#include "tests/advanced/advanced_rig.h"
#include "tests/support/run_command.h"

#include "files/file_bytes.h"
#include "settings/pointer_settings.h"

#include <functional>
#include <sstream>

namespace nivra {
namespace {

using namespace nivra::testing;

constexpr std::size_t kGameKey11 = 241 + 4 * 10;

struct Case {
    const char* command;
    std::function<void(AdvancedRig&)> modelCall;
};

TEST(NivractlAdvanced, EachSetCommandSendsTheReportsOfTheModelCall) {
    // An AIM key on button 11 of Game Mode, and Fire Key 2 (5 clicks, 60 ms) on button 3 of
    // Office Mode, so that the AIM and fire key commands rewrite buttons.
    const Image memory = imageWith({{kGameKey11, 0x05}, {kGameKey11 + 1, 9}, {kGameKey11 + 2, 0}, {kGameKey11 + 3, 0},
                                    {192 + 8, 0x06}, {192 + 9, 0x14}, {192 + 10, 0x00}, {192 + 11, 0x3C}});
    const std::vector<Case> cases{
        {"set cpi count 6", [](AdvancedRig& r) { r.cpi.setLevelCount(6); }},
        {"set cpi level 3 1600", [](AdvancedRig& r) { r.cpi.setLevelValue(3, 6); }},
        {"set cpi current 3", [](AdvancedRig& r) { r.cpi.setCurrentLevel(3); }},
        {"set cpi color 2 FF8000", [](AdvancedRig& r) { r.cpi.chooseLevelColour(2, Rgb{0xFF, 0x80, 0x00}); }},
        {"set aim 800", [](AdvancedRig& r) { r.cpi.setAimLevel(3, false); }},
        {"set rate 250", [](AdvancedRig& r) { r.cpi.setReportRate(250); }},
        {"set cpi-option indication Flash", [](AdvancedRig& r) { r.cpi.setOption(CpiOption::Indication, 2); }},
        {"set cpi-option prescale 1.25x", [](AdvancedRig& r) { r.cpi.setOption(CpiOption::Prescale, 2); }},
        {"set fire 2 6 80 continue", [](AdvancedRig& r) { r.fire.setFireKey(2, 6, 80, true); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        TempDir dir;
        const auto mem = dir.path() / "mem.bin";
        const auto trace = dir.path() / "trace.txt";
        ASSERT_TRUE(writeFileAtomically(mem, memory));
        const std::string env = "XDG_STATE_HOME=" + dir.path().string() + " XDG_CONFIG_HOME=" + dir.path().string() + " ";
        const CommandResult run = runCommand(env + NIVRACTL_BIN + " --simulate=" + mem.string() + " --trace " +
                                                 trace.string() + " " + c.command,
                                             dir.path());
        ASSERT_EQ(run.status, 0) << run.err;

        AdvancedRig r(memory);
        c.modelCall(r);
        const std::vector<std::string> expected = r.rig.lines();
        ASSERT_FALSE(expected.empty());
        const std::vector<std::string> got = nonEmptyLines(readText(trace));
        ASSERT_GE(got.size(), expected.size());
        EXPECT_EQ(std::vector<std::string>(got.end() - static_cast<std::ptrdiff_t>(expected.size()), got.end()), expected);
        EXPECT_EQ(bytesOf(r.mouse()), readBytes(mem));
    }
}

TEST(NivractlAdvanced, RefusedValuesChangeNothing) {
    TempDir dir;
    const auto mem = dir.path() / "mem.bin";
    ASSERT_TRUE(writeFileAtomically(mem, builtinImage(1)));
    const std::string env = "XDG_STATE_HOME=" + dir.path().string() + " ";
    for (const char* command : {"set cpi level 3 1500", "set cpi count 9", "set cpi current 7", "set cpi color 1 12345",
                                "set aim 800", "set rate 300", "set fire 4 5 80", "set fire 1 16 80", "set fire 1 5 0",
                                "set cpi-option level 5th"}) {
        SCOPED_TRACE(command);
        const CommandResult run = runCommand(env + NIVRACTL_BIN + " --simulate=" + mem.string() + " " + command, dir.path());
        EXPECT_NE(run.status, 0);
        EXPECT_FALSE(run.err.empty());
        EXPECT_EQ(readBytes(mem), bytesOf(builtinImage(1)));
    }
}

TEST(NivractlAdvanced, PointerKeepsTheStoreThePageReads) {
    TempDir dir;
    const std::string env = "XDG_CONFIG_HOME=" + dir.path().string() + " DISPLAY= XDG_CURRENT_DESKTOP= ";
    const auto ctl = [&](const std::string& args) { return runCommand(env + NIVRACTL_BIN + " pointer " + args, dir.path()); };
    ASSERT_EQ(ctl("set speed 11").status, 0);
    ASSERT_EQ(ctl("set double-click 2").status, 0);
    ASSERT_EQ(ctl("set wheel 5").status, 0);
    ASSERT_EQ(ctl("set precision on").status, 0);
    ASSERT_EQ(ctl("set whole-screen on").status, 0);
    EXPECT_NE(ctl("set wheel 12").status, 0);
    const CommandResult shown = ctl("");
    EXPECT_EQ(shown.out,
              "MouseSensitivity=20\nMouseSpeed=1\nMouseThreshold1=6\nMouseThreshold2=10\nDoubleClickSpeed=830\n"
              "WheelScrollLines=-1\nspeed step 11\ndouble-click step 2\nwheel step whole screen\nprecision on\n"
              "whole-screen on\n");
    ASSERT_EQ(ctl("set whole-screen off").status, 0);
    PointerSettings page{PointerStore(QString::fromStdString((dir.path() / "nivra" / "pointer-settings.ini").string()))};
    page.refresh();
    // Found on by this (fresh) process: switching it off writes the saved step 1.
    EXPECT_EQ(page.wheelStep(), 1);
}

}  // namespace
}  // namespace nivra
