// The rolling caption: one character per tick, the four-blank gap put in once per reset.
#include "skin/text_rolling.h"

#include <gtest/gtest.h>

namespace nivra::skin {
namespace {

TEST(CaptionRoller, TurnsLeftWithOneGapPerReset) {
    CaptionRoller r;
    r.reset(QStringLiteral("Macro"));
    EXPECT_EQ(r.tick(), QStringLiteral("acro    M"));
    EXPECT_EQ(r.tick(), QStringLiteral("cro    Ma"));
    // A full turn brings the caption back with its gap, and the counter wraps from 20 to 2
    // without putting in another gap.
    for (int i = 0; i < 7; ++i) r.tick();
    EXPECT_EQ(r.caption(), QStringLiteral("Macro    "));
    for (int i = 0; i < 30; ++i) r.tick();
    EXPECT_EQ(r.caption().size(), 9);
    EXPECT_GE(r.counter(), 2);
    EXPECT_LE(r.counter(), 20);
    EXPECT_EQ(r.original(), QStringLiteral("Macro"));

    r.reset(QStringLiteral("Light"));
    EXPECT_EQ(r.counter(), 1);
    EXPECT_EQ(r.tick(), QStringLiteral("ight    L"));
}

}  // namespace
}  // namespace nivra::skin
