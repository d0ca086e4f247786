// `nivractl set led ...` sends the mouse what the window's model call sends, and
// `show --json` reports the lighting.
#include "files/file_bytes.h"
#include "tests/light/light_window.h"
#include "tests/support/run_command.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

namespace nivra {
namespace {

using testing::imageWithLighting;
using testing::Rig;

struct Shell {
    testing::TempDir dir;

    // Runs nivractl on a simulated mouse holding `memory`; the trace from its first
    // set-bytes report on (what follows the connection's read).
    testing::CommandResult run(const Image& memory, const std::string& args, std::vector<std::string>* edits = nullptr) {
        const auto mem = dir.path() / "mouse.bin", trace = dir.path() / "trace.txt";
        std::filesystem::remove(trace);
        EXPECT_TRUE(writeFileAtomically(mem.string(), memory, nullptr));
        const testing::CommandResult r = testing::runCommand(
            std::string(NIVRACTL_BIN) + " --simulate=" + mem.string() + " --trace " + trace.string() + " " + args,
            dir.path());
        if (edits) {
            edits->clear();
            std::ifstream in(trace);
            bool started = false;
            for (std::string line; std::getline(in, line);) {
                started = started || line.rfind("SET 40 05 ", 0) == 0;
                if (started) edits->push_back(line);
            }
        }
        return r;
    }
};

TEST(NivractlLight, EachSetGivesTheTraceOfTheModelCall) {
    const Image rgb = builtinImage(1);
    const Image zk = imageWithLighting(0xF4, 0x37);
    struct Case {
        const char* args;
        const Image* memory;
        std::function<void(LightingModel&)> call;
    } cases[] = {
        {"set led mode cpi breath", &rgb, [](LightingModel& m) { m.RGBMode_OnClick(6); }},
        {"set led mode Blend", &zk, [](LightingModel& m) { m.RGBMode_OnClick(3); }},
        {"set led color 4 12FF34", &rgb, [](LightingModel& m) { m.lbl_ColClick(4, Rgb{0x12, 0xFF, 0x34}); }},
        {"set led speed 3", &rgb, [](LightingModel& m) { m.FallTime_OnClick(3); }},
        {"set led count 3", &zk, [](LightingModel& m) { m.cb_LEDNumChange(2); }},
        {"set led breathing upper-delay 300", &rgb,
         [](LightingModel& m) { m.breathingChange(Breathing::UpperDelay, 300); }},
        {"set led breathing step 40", &rgb, [](LightingModel& m) { m.edt_StepTimeChange(40); }},
        {"set led type ZK --yes", &rgb, [](LightingModel& m) { m.cb_LEDModeChange(LedType::Nt); }},
    };
    Shell shell;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        std::vector<std::string> shellLines;
        const testing::CommandResult r = shell.run(*c.memory, c.args, &shellLines);
        EXPECT_EQ(r.status, 0) << r.err;

        // The window's model on the same mouse.
        Rig rig(*c.memory);
        rig.connect();
        LightingModel model(rig.editor());
        rig.mark();
        c.call(model);
        const auto modelLines = rig.lines();
        ASSERT_FALSE(modelLines.empty());
        EXPECT_EQ(shellLines, modelLines);
    }
}

TEST(NivractlLight, RefusalsSendNothing) {
    const struct {
        const char* args;
        std::uint8_t byte165, mask;
        const char* message;
    } cases[] = {
        {"set led type Sync", 0x04, 0x3F, "add --yes"},
        {"set led mode Sequence", 0xF4, 0x37, "no effect \"Sequence\" for the ZK LED type"},
        {"set led mode Random", 0x04, 0x3D, "not enabled"},
        {"set led count 2", 0x04, 0x3F, "only the ZK LED type"},
        {"set led color 1 FF0000", 0x41, 0x07, "Sync LED type has no colours"},
        {"set led speed 2", 0x05, 0x3F, "CPI Breath"},
        {"set led breathing lower-delay 4095", 0x04, 0x3F, "from 0 to 4094"},
    };
    Shell shell;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        std::vector<std::string> lines;
        const testing::CommandResult r = shell.run(imageWithLighting(c.byte165, c.mask), c.args, &lines);
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_TRUE(lines.empty());
    }
    for (const char* bad : {"set led", "set led colour 1 FF0000", "set led color 11 FF0000", "set led color 1 FF00",
                            "set led speed 11", "set led type RGB Sync --yes"})
        EXPECT_EQ(shell.run(builtinImage(1), bad).status, 2) << bad;
}

TEST(NivractlLight, ShowReportsTheLighting) {
    Shell shell;
    const auto file = shell.dir.path() / "zk.bin";
    Image img = imageWithLighting(0xC4, 0x33);
    ASSERT_TRUE(writeFileAtomically(file.string(), img, nullptr));
    const testing::CommandResult r = shell.run(img, "show --json --file " + file.string());
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"led\": {\"type\": \"ZK\", \"mode\": \"Fixed\", \"leds\": 5, \"enabled\": [\"Off\", "
                         "\"Random\", \"Fixed\", \"CPI Breath\"], \"colors\": [\"FF0000\", \"FF8000\", \"FFFF00\", "
                         "\"00FF00\", \"0000FF\", \"00FF80\", \"00FFFF\", \"8000FF\", \"FF00FF\", \"FFFFFF\"], "
                         "\"step_delay\": 10}"),
              std::string::npos)
        << r.out;
}

}  // namespace
}  // namespace nivra
