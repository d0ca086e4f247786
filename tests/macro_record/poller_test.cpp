// The recording poller on its own thread while keys arrive on the test's thread: every
// delay line stays with its event, the count matches the lines, and the budget's stop
// comes once. Run under ThreadSanitizer too.
#include "macro/recorder.h"

#include "image/keys.h"
#include "recorder_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>

namespace {

using nivra::KeyboardListener;
using nivra::MacroRecorder;
using nivra::MouseEvent;
using nivra::RecordDelayMode;
using nivra::RecordingPoller;

TEST(RecordingPoller, RunsRoundsForFlaggedEvents) {
    nivra::test::VectorListing listing;
    nivra::test::TestClock clock;
    MacroRecorder recorder(listing, clock.fn());
    RecordingPoller poller(recorder);
    recorder.startFull({RecordDelayMode::None, 50});
    poller.start();
    poller.waitForRoundsPast(0);  // the first round adds the header
    for (int i = 0; i < 3; ++i) {
        const std::uint64_t before = poller.rounds();
        recorder.mouseHook(MouseEvent::RightDown);
        recorder.mouseHook(MouseEvent::RightUp);
        poller.waitForRoundsPast(before);
        while (recorder.mouseFlag(MouseEvent::RightUp)) poller.waitForRoundsPast(poller.rounds());
    }
    recorder.stop();
    poller.stop();
    EXPECT_FALSE(poller.running());
    ASSERT_EQ(listing.lines.size(), 7u);
    EXPECT_EQ(listing.lines[0], "00");
    for (std::size_t i = 1; i < 7; i += 2) {
        EXPECT_EQ(listing.lines[i], "1 RightKey CODE:00A2");
        EXPECT_EQ(listing.lines[i + 1], "2 RightKey CODE:0022");
    }
    poller.stop();  // a second stop is harmless
}

TEST(RecordingPoller, BothPathsTogetherUpToTheBudget) {
    for (RecordDelayMode mode : {RecordDelayMode::Record, RecordDelayMode::None}) {
        nivra::test::VectorListing listing;
        nivra::test::TestClock clock;
        MacroRecorder recorder(listing, clock.fn());
        KeyboardListener keys;
        keys.setOnReceive([&](std::size_t k, int n, int s) { recorder.KeyboardHook1Receive(k, n, s); });
        std::atomic<int> stops{0};
        recorder.setStopWanted([&] { stops.fetch_add(1); });
        RecordingPoller poller(recorder);

        keys.setEnabled(true);
        recorder.startFull({mode, 50});
        poller.start();
        const std::size_t a = nivra::captureIndexForName("A").value();
        for (int i = 0; stops.load() == 0 && i < 100000; ++i) {
            recorder.mouseHook(i % 2 ? MouseEvent::LeftUp : MouseEvent::LeftDown);
            keys.keyMessage(a, i % 2 == 0);
            clock.advance(7);
        }
        recorder.stop();
        poller.stop();

        EXPECT_EQ(stops.load(), 1);
        const unsigned count = recorder.byteCount();
        EXPECT_LE(count, 255u);
        EXPECT_EQ(count, nivra::test::compiledBytes(listing.lines));
        // Every delay line is followed by an event line, never by another delay.
        for (std::size_t i = 1; i < listing.lines.size(); ++i) {
            if (listing.lines[i][0] != '0') continue;
            ASSERT_LT(i + 1, listing.lines.size());
            EXPECT_NE(listing.lines[i + 1][0], '0') << i;
        }
        if (mode == RecordDelayMode::None) {
            for (std::size_t i = 1; i < listing.lines.size(); ++i) EXPECT_NE(listing.lines[i][0], '0');
        }
    }
}

}  // namespace
