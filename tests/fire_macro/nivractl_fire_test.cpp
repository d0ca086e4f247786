// nivractl's fire commands run as processes: an import sends the reports of the editor's
// model call, and list, show and export read what the editor shows.
#include "settings/fire_macro_model.h"
#include "tests/support/run_command.h"
#include "tests/transfer/transfer_rig.h"

#include "files/file_bytes.h"
#include "macro/macro_name.h"

#include <sstream>

namespace nivra {
namespace {

using namespace nivra::testing;

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> out;
    for (std::istringstream in(text); !in.eof();) {
        std::string line;
        if (std::getline(in, line) && !line.empty()) out.push_back(line);
    }
    return out;
}

struct Ctl {
    TempDir dir;
    std::filesystem::path mem = dir.path() / "mem.bin";
    std::filesystem::path trace = dir.path() / "trace.txt";
    Ctl() { EXPECT_TRUE(writeFileAtomically(mem, builtinImage(1))); }
    CommandResult run(const std::string& args) {
        const std::string env = "XDG_STATE_HOME=" + dir.path().string() + " XDG_CONFIG_HOME=" + dir.path().string() + " ";
        return runCommand(env + NIVRACTL_BIN + " --simulate=" + mem.string() + " --trace " + trace.string() + " " + args,
                          dir.path());
    }
};

TEST(NivractlFire, ImportSendsTheReportsOfTheModelCall) {
    Ctl ctl;
    macro::FireMacroSet set;
    for (std::size_t i = 0; i < kFireMacroCount; ++i) {
        set.names[i] = macro::nameBytes("Spray" + std::to_string(i));
        set.bodies[i] = FireMacroBody{0xA1, 0x04, 0x00, static_cast<std::uint8_t>(i), 0x21, 0x00};
    }
    const auto file = macro::fireMacroFileBytes(set);
    const auto path = ctl.dir.path() / "fire.bin";
    ASSERT_TRUE(writeFileAtomically(path, file));
    const CommandResult run = ctl.run("fire import " + path.string());
    ASSERT_EQ(run.status, 0) << run.err;

    Rig rig;
    rig.connect();
    rig.mark();
    FireMacroModel model(rig.editor(), *rig.transfer);
    ASSERT_TRUE(model.Btn_ImportGunMacroClick(path.string()));
    const std::vector<std::string> expected = rig.lines();
    ASSERT_FALSE(expected.empty());
    const std::vector<std::string> got = linesOf(readText(ctl.trace));
    ASSERT_GE(got.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(got.end() - static_cast<std::ptrdiff_t>(expected.size()), got.end()), expected);
    EXPECT_EQ(bytesOf(rig.mouse.memory()), readBytes(ctl.mem));

    // The mouse now lists the imported names, and the export gives the same file back.
    EXPECT_EQ(linesOf(ctl.run("fire list").out)[9], "9\tSpray9\t6");
    EXPECT_EQ(linesOf(ctl.run("fire show 3").out),
              (std::vector<std::string>{"00", "1 LeftKey CODE:00A1", "3 040003", "2 LeftKey CODE:0021"}));
    const auto out = ctl.dir.path() / "out.bin";
    ASSERT_EQ(ctl.run("fire export " + out.string()).status, 0);
    EXPECT_EQ(readBytes(out), std::vector<std::uint8_t>(file.begin(), file.end()));
}

TEST(NivractlFire, RefusalsChangeNothing) {
    Ctl ctl;
    const auto shortFile = ctl.dir.path() / "short.bin";
    ASSERT_TRUE(writeFileAtomically(shortFile, std::vector<std::uint8_t>(479, 0)));
    for (const std::string& args : {"fire import " + shortFile.string(), std::string("fire show 10"), std::string("fire show x")}) {
        SCOPED_TRACE(args);
        const CommandResult run = ctl.run(args);
        EXPECT_NE(run.status, 0);
        EXPECT_FALSE(run.err.empty());
        EXPECT_EQ(readBytes(ctl.mem), bytesOf(builtinImage(1)));
    }
}

}  // namespace
}  // namespace nivra
