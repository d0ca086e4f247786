// nivractl's gun commands run as processes: each sends the reports of the gun page's model
// calls on the same simulated mouse; refused input changes nothing.
#include "tests/gun/gun_rig.h"
#include "tests/support/run_command.h"

#include "files/file_bytes.h"

#include <functional>
#include <sstream>

namespace nivra {
namespace {

using namespace nivra::testing;

// A gun key with combination byte 08 on button 12 of Game Mode.
Image memoryImage() {
    const std::size_t at = buttonCodeOffset(2, 12);
    return imageWith({{at, 0x0B}, {at + 1, 0x07}, {at + 2, 0x03}, {at + 3, 0x08}});
}

std::string envFor(const TempDir& dir) {
    return "XDG_STATE_HOME=" + dir.path().string() + " XDG_CONFIG_HOME=" + dir.path().string() + " ";
}

TEST(NivractlGun, EachCommandSendsTheReportsOfTheModelCalls) {
    struct Case {
        const char* command;
        std::function<void(GunRig&)> modelCalls;
    };
    const std::vector<Case> cases{
        {"gun set 7 2 y 9",
         [](GunRig& r) {
             r.gun.open();
             r.gun.selectGun(7);
             r.gun.setMove(2, Axis::Y, "9");
             r.gun.confirm();
         }},
        {"gun set 1 1 color 123456",
         [](GunRig& r) {
             r.gun.open();
             r.gun.selectGun(1);
             r.gun.chooseColour(1, Rgb{0x12, 0x34, 0x56});
             r.gun.confirm();
         }},
        {"gun assign 6 2 3 --keep-left",
         [](GunRig& r) {
             r.buttons.setProfileShown(2);
             r.buttons.selectLabel(3);
             r.gun.open();
             r.gun.selectGun(6);
             r.gun.confirm();
         }},
        {"gun assign 2 2 5",
         [](GunRig& r) {
             r.buttons.setProfileShown(2);
             r.buttons.selectLabel(5);
             r.gun.open();
             r.gun.selectGun(2);
             r.gun.toggleKeepLeft();
             r.gun.confirm();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        TempDir dir;
        const auto mem = dir.path() / "mem.bin";
        const auto trace = dir.path() / "trace.txt";
        ASSERT_TRUE(writeFileAtomically(mem, memoryImage()));
        const CommandResult run = runCommand(envFor(dir) + NIVRACTL_BIN + " --simulate=" + mem.string() + " --trace " +
                                                 trace.string() + " " + c.command,
                                             dir.path());
        ASSERT_EQ(run.status, 0) << run.err;

        GunRig r(memoryImage());
        c.modelCalls(r);
        const std::vector<std::string> expected = r.rig.lines();
        ASSERT_FALSE(expected.empty());
        const std::vector<std::string> got = nonEmptyLines(readText(trace));
        ASSERT_GE(got.size(), expected.size());
        EXPECT_EQ(std::vector<std::string>(got.end() - static_cast<std::ptrdiff_t>(expected.size()), got.end()), expected);
        EXPECT_EQ(bytesOf(r.mouse()), readBytes(mem));
    }
}

TEST(NivractlGun, ShowListsTheColumnsAndRefusedInputChangesNothing) {
    TempDir dir;
    const auto mem = dir.path() / "mem.bin";
    ASSERT_TRUE(writeFileAtomically(mem, memoryImage()));
    const std::string ctl = envFor(dir) + NIVRACTL_BIN + " --simulate=" + mem.string() + " ";
    const CommandResult show = runCommand(ctl + "gun show 6", dir.path());
    ASSERT_EQ(show.status, 0) << show.err;
    EXPECT_EQ(show.out,
              "column 1 (fire macro 6): count 0, x 0 (offset 0), y 3 (offset 0), time 45 ms, color 00FF80\n"
              "column 2 (fire macro 7): count 0, x 0 (offset 0), y 4 (offset 0), time 45 ms, color 00FFFF\n");
    for (const char* command : {"gun show 8", "gun set 1 2 y 3", "gun set 7 1 x 128", "gun set 7 1 count -1",
                                "gun set 7 1 color 12345", "gun set 7 1 speed 3", "gun assign 1 1 3", "gun assign 1 2 13"}) {
        SCOPED_TRACE(command);
        const CommandResult run = runCommand(ctl + command, dir.path());
        EXPECT_NE(run.status, 0);
        EXPECT_FALSE(run.err.empty());
        EXPECT_EQ(readBytes(mem), bytesOf(memoryImage()));
    }
}

}  // namespace
}  // namespace nivra
