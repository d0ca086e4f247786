// Commands that change the mouse never claim success for a change the mouse did not take:
// the first report after the connection refused, or the mouse gone there, exits 1 with a
// message for every one of them.
#include "image/builtin.h"
#include "tests/faults/in_process.h"

#include <gtest/gtest.h>

namespace nivra::testing {
namespace {

TEST(RefusedWrites, EveryChangingCommandExitsOneWithAMessage) {
    TempDir root;
    // Built-in image 1 with an AIM key (button 9 of Game Mode), so that set aim has one to set.
    const fs::path base = root.path() / "base";
    const Image image = builtinImage(1);
    writeBytes(base / "mouse.bin", Bytes(image.begin(), image.end()));
    ASSERT_EQ(runIn(base, {"set", "button", "2", "9", "AIM Key"}, {}).status, 0);
    const Bytes start = readBytes(base / "mouse.bin");
    const auto fresh = [&] {
        const fs::path dir = root.path() / "case";
        fs::remove_all(dir);
        writeBytes(dir / "mouse.bin", start);
        return dir;
    };
    // The reports of the connection: what a command that only reads sends.
    const fs::path probe = fresh();
    ASSERT_EQ(runIn(probe, {"show", "--json"}, {}, {"--trace", (probe / "trace.txt").string()}).status, 0);
    const std::size_t connection = linesOf(probe / "trace.txt").size();
    ASSERT_GT(connection, 290u);

    const std::vector<std::vector<std::string>> commands = {
        {"set", "button", "2", "3", "DPI Up"},
        {"set", "slot", "5", "code:09010000"},
        {"set", "profile", "2"},
        {"set", "switch", "middle"},
        {"set", "led-chord", "off"},
        {"set", "gun-switch", "on"},
        {"set", "cpi", "level", "2", "1600"},
        {"set", "aim", "1600"},
        {"set", "rate", "500"},
        {"set", "cpi-option", "indication", "1"},
        {"set", "fire", "1", "7", "123"},
        {"set", "led", "speed", "5"},
        {"gun", "set", "1", "1", "count", "5"},
        {"gun", "assign", "1", "2", "3"},
        {"macro", "add", "Copy"},
    };
    for (const char* kind : {"refuse-set", "vanish"}) {
        const std::string fault = std::string(kind) + "@" + std::to_string(connection + 1);
        for (const auto& command : commands) {
            std::string line;
            for (const auto& w : command) line += w + " ";
            SCOPED_TRACE(line + fault);
            const Outcome o = runIn(fresh(), command, {}, {"--simulate-fault", fault});
            EXPECT_EQ(o.status, 1);
            EXPECT_EQ(o.err.rfind("nivractl: ", 0), 0u) << o.err;
            EXPECT_GT(o.err.size(), 20u) << o.err;
        }
    }
}

}  // namespace
}  // namespace nivra::testing
