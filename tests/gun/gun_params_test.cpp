// The gun parameter reader: which values a fire macro body gives the gun page, and where
// their operands lie.
#include "macro/gun_params.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>

namespace nivra::macro {
namespace {

FireMacroBody body(std::initializer_list<std::uint8_t> bytes) {
    FireMacroBody b{};
    std::copy(bytes.begin(), bytes.end(), b.begin());
    return b;
}

TEST(GunParams, ReadsLoopMoveAndTheDelayAfterTheLastMove) {
    using P = std::optional<std::size_t>;
    struct Case {
        const char* what;
        FireMacroBody body;
        int count, x, y, time;
        P countAt, moveAt, timeAt;
        std::size_t length;
    };
    FireMacroBody noEnd{};
    noEnd.fill(0xA1);
    noEnd[31] = 0xFE;  // a delay the slot cuts off
    const Case cases[] = {
        {"built-in gun macro 0",
         body({0xA1, 0xFE, 0x00, 0x28, 0xFD, 0x00, 0x04, 0x00, 0x05, 0xFE, 0x00, 0x32, 0xFC, 0x21, 0xFE, 0x00, 0x28}),
         0, 0, 5, 50, 5, 7, 10, 18},
        {"signed moves", body({0xA1, 0xFD, 0x0A, 0x04, 0x80, 0xF6, 0xFE, 0x01, 0x2C, 0xFC, 0x21}), 10, -128, -10, 300, 2, 4, 7,
         12},
        {"no loop start", body({0xA1, 0x04, 0x01, 0x02, 0xFE, 0x00, 0x10, 0x21}), 0, 1, 2, 16, {}, 2, 5, 9},
        {"a last move without a delay of its own",
         body({0xFD, 0x03, 0x04, 0x01, 0x02, 0xFE, 0x00, 0x20, 0x04, 0x03, 0x04, 0x21}), 3, 3, 4, 0, 1, 9, {}, 13},
        {"a delay before any move is no shot time", body({0xFE, 0x00, 0x28, 0xFD, 0x02, 0xA1, 0x21}), 2, 0, 0, 0, 4, {}, {}, 8},
        {"a byte that is no fire opcode ends the walk", body({0xA1, 0x77, 0xFD, 0x05, 0x04, 0x01, 0x01, 0xFE, 0x00, 0x20}), 0, 0,
         0, 0, {}, {}, {}, 11},
        {"a delay of 0 reaching into the end marker", body({0xA1, 0x04, 0x01, 0x02, 0xFE, 0x00}), 0, 1, 2, 0, {}, 2, 5, 6},
        {"no end marker: the whole slot, the cut-off delay left out", noEnd, 0, 0, 0, 0, {}, {}, {}, 32},
        {"empty", body({}), 0, 0, 0, 0, {}, {}, {}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const GunParams p = readGunParams(c.body);
        EXPECT_EQ(p.length, c.length);
        EXPECT_EQ(p.count, c.count);
        EXPECT_EQ(p.x, c.x);
        EXPECT_EQ(p.y, c.y);
        EXPECT_EQ(p.time, c.time);
        EXPECT_EQ(p.countAt, c.countAt);
        EXPECT_EQ(p.moveAt, c.moveAt);
        EXPECT_EQ(p.timeAt, c.timeAt);
    }
}

}  // namespace
}  // namespace nivra::macro
