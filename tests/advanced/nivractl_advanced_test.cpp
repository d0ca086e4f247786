// nivractl's Advanced page commands run as processes: each sends the reports the window's
// model call sends on the same simulated mouse, and `pointer` reaches the
// desktop the environment names.
#include "tests/advanced/advanced_rig.h"
#include "tests/support/run_command.h"

#include "files/file_bytes.h"

#include <filesystem>
#include <fstream>
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
                                "set cpi color 1 +FFFFF", "set cpi color 1 0xFFFF",
                                "set aim 800", "set rate 300", "set fire 4 5 80", "set fire 1 16 80", "set fire 1 5 0",
                                "set cpi-option level 5th"}) {
        SCOPED_TRACE(command);
        const CommandResult run = runCommand(env + NIVRACTL_BIN + " --simulate=" + mem.string() + " " + command, dir.path());
        EXPECT_NE(run.status, 0);
        EXPECT_FALSE(run.err.empty());
        EXPECT_EQ(readBytes(mem), bytesOf(builtinImage(1)));
    }
}

// `nivractl pointer` on a desktop chosen by the environment, with no display to touch.
struct PointerCtl {
    explicit PointerCtl(const std::string& desktopEnv)
        : env("XDG_CONFIG_HOME=" + dir.path().string() + " HOME=" + dir.path().string() +
              " DISPLAY= WAYLAND_DISPLAY= XDG_SESSION_TYPE= DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent " + desktopEnv + " ") {}
    CommandResult operator()(const std::string& args) { return runCommand(env + NIVRACTL_BIN + " pointer " + args, dir.path()); }
    TempDir dir;
    std::string env;
};

TEST(NivractlAdvanced, PointerOnGnomeKeepsTheUsersProfileAndRefusesWhatGnomeLacks) {
    if (!std::filesystem::exists("/usr/share/glib-2.0/schemas/org.gnome.desktop.peripherals.gschema.xml"))
        GTEST_SKIP() << "the GNOME desktop schemas are not installed";
    PointerCtl ctl("GSETTINGS_BACKEND=keyfile XDG_CURRENT_DESKTOP=ubuntu:GNOME");
    const auto keyfile = ctl.dir.path() / "glib-2.0" / "settings" / "keyfile";
    std::filesystem::create_directories(keyfile.parent_path());
    std::ofstream(keyfile) << "[org/gnome/desktop/peripherals/mouse]\naccel-profile='adaptive'\nspeed=0.5\n";
    const CommandResult set = ctl("set speed 6");
    ASSERT_EQ(set.status, 0) << set.err;
    const std::string stored = readText(keyfile);
    EXPECT_NE(stored.find("accel-profile='adaptive'"), std::string::npos) << stored;
    EXPECT_NE(stored.find("speed=0.0"), std::string::npos) << stored;
    EXPECT_EQ(ctl("").out,
              "speed: step 6, 10 of 20 (GNOME)\nprecision: on (GNOME)\ndouble-click: step 9, 400 ms (GNOME)\n"
              "wheel: - (not on this desktop)\nwhole-screen: - (not on this desktop)\n");
    const CommandResult wheel = ctl("set wheel 3");
    EXPECT_EQ(wheel.status, 1);
    EXPECT_NE(wheel.err.find("wheel is not a pointer setting of GNOME"), std::string::npos) << wheel.err;
}

TEST(NivractlAdvanced, PointerOnKdeWritesPlasmasFilesAndFailsWhenItCannot) {
    PointerCtl ctl("XDG_CURRENT_DESKTOP=KDE");
    for (const char* args : {"set speed 11", "set double-click 2", "set wheel 5", "set precision off"}) {
        const CommandResult run = ctl(args);
        EXPECT_EQ(run.status, 0) << args << ": " << run.err;
    }
    EXPECT_EQ(ctl("").out,
              "speed: step 11, 20 of 20 (KDE)\nprecision: off (KDE)\ndouble-click: step 2, 830 ms (KDE)\n"
              "wheel: step 5, 5 lines (KDE)\nwhole-screen: - (not on this desktop)\n");
    EXPECT_EQ(ctl("set whole-screen on").status, 1);
    EXPECT_NE(ctl("set wheel 12").status, 0);
    // kdeglobals cannot be written: the change is refused, not reported as done.
    std::filesystem::remove(ctl.dir.path() / "kdeglobals");
    std::filesystem::create_directory(ctl.dir.path() / "kdeglobals");
    const CommandResult run = ctl("set double-click 3");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("could not apply double-click to KDE"), std::string::npos) << run.err;
}

TEST(NivractlAdvanced, PointerWithNoDesktopBackendSaysSo) {
    PointerCtl ctl("XDG_CURRENT_DESKTOP=Sway WAYLAND_DISPLAY=wayland-9");
    const CommandResult run = ctl("set speed 3");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("speed is not a pointer setting of Sway"), std::string::npos) << run.err;
    EXPECT_EQ(ctl("").out,
              "speed: - (not on this desktop)\nprecision: - (not on this desktop)\ndouble-click: - (not on this desktop)\n"
              "wheel: - (not on this desktop)\nwhole-screen: - (not on this desktop)\n");
}

}  // namespace
}  // namespace nivra
