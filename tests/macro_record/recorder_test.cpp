// The macro recorder as a model: keyboard listener states, the lines of both event paths,
// delays in the three modes, the budget, insert positions, and the poller on its thread.
#include "macro/recorder.h"

#include "image/keys.h"
#include "macro/byte_code.h"
#include "recorder_support.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using nivra::KeyboardListener;
using nivra::MacroRecorder;
using nivra::MouseEvent;
using nivra::RecordDelay;
using nivra::RecordDelayMode;
using nivra::test::compiledBytes;
using nivra::test::TestClock;
using nivra::test::VectorListing;
using Lines = std::vector<std::string>;

std::size_t row(const char* name) { return nivra::captureIndexForName(name).value(); }

// The recorder wired as the page wires it: the listener feeds KeyboardHook1Receive.
struct Rig {
    VectorListing listing;
    TestClock clock;
    MacroRecorder recorder{listing, clock.fn()};
    KeyboardListener keys;
    int stops = 0;

    Rig() {
        keys.setOnReceive([this](std::size_t k, int count, int state) { recorder.KeyboardHook1Receive(k, count, state); });
        recorder.setStopWanted([this] { ++stops; });
    }
    void startFull(RecordDelay d) {
        keys.setEnabled(true);
        recorder.startFull(d);
    }
    void down(const char* name) { keys.keyMessage(row(name), true); }
    void up(const char* name) { keys.keyMessage(row(name), false); }
    void tap(const char* name, std::uint64_t hold = 0) {
        down(name);
        clock.advance(hold);
        up(name);
    }
    void click(MouseEvent downEvent) {
        recorder.mouseHook(downEvent);
        recorder.mouseHook(static_cast<MouseEvent>(static_cast<int>(downEvent) + 1));
        recorder.pollOnce();
    }
};

TEST(KeyboardListener, DownCountAndStates) {
    KeyboardListener keys;
    std::vector<std::pair<int, int>> seen;  // (down count, state)
    keys.setOnReceive([&](std::size_t, int count, int state) { seen.emplace_back(count, state); });
    keys.keyMessage(row("A"), true);  // disabled: counted, not reported
    keys.setEnabled(true);
    keys.keyMessage(row("A"), false);
    const struct {
        const char* key;
        bool down;
        int count;
        int state;
    } steps[] = {
        {"A", true, 1, 0}, {"A", true, 1, 2}, {"A", true, 1, 2}, {"A", false, 0, 1},   // auto-repeat
        {"Shift", true, 1, 0}, {"B", true, 2, 0}, {"B", true, 2, 2}, {"B", false, 1, 1},  // a chord
        {"Shift", true, 1, 2}, {"Shift", false, 0, 1},
        {"Ctrl", true, 1, 0}, {"C", true, 2, 0}, {"Ctrl", false, 1, 1}, {"C", false, 0, 1},  // released out of order
    };
    for (const auto& s : steps) keys.keyMessage(row(s.key), s.down);
    ASSERT_EQ(seen.size(), std::size(steps) + 1);
    EXPECT_EQ(seen[0], std::make_pair(0, 1));
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        EXPECT_EQ(seen[i + 1], std::make_pair(steps[i].count, steps[i].state)) << i;
    }
}

TEST(RecorderLines, KeyAndButtonCodes) {
    const struct {
        std::string line, expected;
    } cases[] = {
        {nivra::keyEventLine(row("A"), true), "1 A CODE:8204"},
        {nivra::keyEventLine(row("A"), false), "2 A CODE:0204"},
        {nivra::keyEventLine(row("Page Up"), true), "1 Page Up CODE:824B"},
        {nivra::keyEventLine(row("Shift"), true), "1 Shift CODE:8102"},
        {nivra::keyEventLine(row("Ctrl"), false), "2 Ctrl CODE:0101"},
        {nivra::keyEventLine(row("Alt"), true), "1 Alt CODE:8104"},
        {nivra::keyEventLine(row("Left Windows"), true), "1 Left Windows CODE:8108"},
        {nivra::keyEventLine(row("Right Windows"), false), "2 Right Windows CODE:0180"},
        {nivra::keyEventLine(row("Left Shift"), true), "1 Left Shift CODE:82E1"},  // only the generic keys are modifiers
        {nivra::keyEventLine(nivra::capture::kNone, true), "1 None CODE:8200"},
        {nivra::keyEventLine(9999, false), "2 None CODE:0200"},  // outside the table
        {nivra::mouseEventLine(MouseEvent::LeftDown), "1 LeftKey CODE:00A1"},
        {nivra::mouseEventLine(MouseEvent::RightUp), "2 RightKey CODE:0022"},
        {nivra::mouseEventLine(MouseEvent::MiddleDown), "1 MiddleKey CODE:00A4"},
        {nivra::mouseEventLine(MouseEvent::ForwardDown), "1 Forward CODE:00A8"},
        {nivra::mouseEventLine(MouseEvent::ForwardUp), "2 Forward CODE:0028"},
        {nivra::mouseEventLine(MouseEvent::BackwardDown), "1 Backward CODE:00B0"},
        {nivra::mouseEventLine(MouseEvent::BackwardUp), "2 Backward CODE:0030"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.line, c.expected);
}

TEST(FullRecording, KeyInTheThreeDelayModes) {
    const struct {
        RecordDelay delay;
        Lines expected;
    } cases[] = {
        {{RecordDelayMode::Record, 50}, {"10", "1 A CODE:8204", "0 120", "2 A CODE:0204"}},
        {{RecordDelayMode::Default, 50}, {"0150", "1 A CODE:8204", "0 50", "2 A CODE:0204"}},
        {{RecordDelayMode::None, 50}, {"00", "1 A CODE:8204", "2 A CODE:0204"}},
    };
    for (const auto& c : cases) {
        Rig rig;
        rig.startFull(c.delay);
        rig.tap("A", 120);
        EXPECT_EQ(rig.listing.lines, c.expected);
        EXPECT_EQ(rig.recorder.byteCount(), compiledBytes(rig.listing.lines));
        EXPECT_EQ(rig.listing.selected, c.expected.size() - 2);  // the new last row
    }
}

TEST(FullRecording, KeySequences) {
    {  // auto-repeat: one press, one release
        Rig rig;
        rig.startFull({RecordDelayMode::None, 50});
        for (int i = 0; i < 5; ++i) rig.down("A");
        rig.up("A");
        EXPECT_EQ(rig.listing.lines, (Lines{"00", "1 A CODE:8204", "2 A CODE:0204"}));
    }
    {  // chords record every press and release as typed, and compile to what was typed
        const struct {
            const char* first;
            const char* second;
            Lines lines;
            std::vector<std::uint8_t> code;
        } chords[] = {
            {"Shift", "A", {"00", "1 Shift CODE:8102", "1 A CODE:8204", "2 A CODE:0204", "2 Shift CODE:0102"},
             {0x81, 0x02, 0x82, 0x04, 0x02, 0x04, 0x01, 0x02, 0x00}},
            {"Ctrl", "C", {"00", "1 Ctrl CODE:8101", "1 C CODE:8206", "2 C CODE:0206", "2 Ctrl CODE:0101"},
             {0x81, 0x01, 0x82, 0x06, 0x02, 0x06, 0x01, 0x01, 0x00}},
        };
        for (const auto& c : chords) {
            Rig rig;
            rig.startFull({RecordDelayMode::None, 50});
            rig.down(c.first);
            rig.down(c.second);
            rig.down(c.second);  // auto-repeat of the held key
            rig.up(c.second);
            rig.up(c.first);
            EXPECT_EQ(rig.listing.lines, c.lines) << c.second;
            EXPECT_EQ(nivra::macro::CompileMacroListing(rig.listing.lines), c.code) << c.second;
        }
    }
    {  // unknown key is "None" / 00; the "255" row is ignored
        Rig rig;
        rig.startFull({RecordDelayMode::None, 50});
        rig.tap("255");
        rig.keys.keyMessage(nivra::capture::kNone, true);
        rig.keys.keyMessage(nivra::capture::kNone, false);
        EXPECT_EQ(rig.listing.lines, (Lines{"00", "1 None CODE:8200", "2 None CODE:0200"}));
    }
    {  // a 70 s pause is the longest delay; the first event has no delay before it
        Rig rig;
        rig.clock.advance(5000);
        rig.startFull({RecordDelayMode::Record, 50});
        rig.tap("B", 70000);
        rig.clock.advance(3);
        rig.tap("C", 65535);
        EXPECT_EQ(rig.listing.lines, (Lines{"10", "1 B CODE:8205", "0 65535", "2 B CODE:0205", "0 3",
                                            "1 C CODE:8206", "0 65535", "2 C CODE:0206"}));
    }
    {  // nothing after Stop; Default Delay is kept within 1..65535
        Rig rig;
        rig.startFull({RecordDelayMode::Default, 70000});
        rig.tap("A");
        rig.recorder.stop();
        rig.tap("B");
        rig.click(MouseEvent::LeftDown);
        EXPECT_EQ(rig.listing.lines, (Lines{"0165535", "1 A CODE:8204", "0 65535", "2 A CODE:0204"}));
    }
}

TEST(FullRecording, MouseButtons) {
    {  // a click between two polls: press before release; flags taken in their fixed order
        Rig rig;
        rig.startFull({RecordDelayMode::None, 50});
        rig.click(MouseEvent::LeftDown);
        rig.recorder.mouseHook(MouseEvent::BackwardUp);
        rig.recorder.mouseHook(MouseEvent::RightDown);
        rig.recorder.mouseHook(MouseEvent::MiddleUp);
        rig.recorder.mouseHook(MouseEvent::ForwardDown);
        EXPECT_FALSE(rig.recorder.pollOnce());
        EXPECT_EQ(rig.listing.lines, (Lines{"00", "1 LeftKey CODE:00A1", "2 LeftKey CODE:0021", "1 RightKey CODE:00A2",
                                            "2 MiddleKey CODE:0024", "1 Forward CODE:00A8", "2 Backward CODE:0030"}));
        for (int e = 0; e < 10; ++e) EXPECT_FALSE(rig.recorder.mouseFlag(static_cast<MouseEvent>(e)));
    }
    {  // clicking Stop with the left button: neither press nor release; other buttons still count
        Rig rig;
        rig.startFull({RecordDelayMode::Record, 50});
        rig.recorder.setOverRecordButton(true);
        rig.click(MouseEvent::LeftDown);
        rig.click(MouseEvent::RightDown);
        rig.recorder.setOverRecordButton(false);
        EXPECT_EQ(rig.listing.lines, (Lines{"10", "1 RightKey CODE:00A2", "0 0", "2 RightKey CODE:0022"}));
    }
    {  // delays before mouse events; the poller adds the header on its first round
        Rig rig;
        rig.startFull({RecordDelayMode::Default, 20});
        rig.recorder.pollOnce();
        EXPECT_EQ(rig.listing.lines, (Lines{"0120"}));
        rig.click(MouseEvent::MiddleDown);
        rig.tap("A");
        EXPECT_EQ(rig.listing.lines, (Lines{"0120", "1 MiddleKey CODE:00A4", "0 20", "2 MiddleKey CODE:0024", "0 20",
                                            "1 A CODE:8204", "0 20", "2 A CODE:0204"}));
    }
    {  // not recording: the hook sets nothing
        Rig rig;
        rig.recorder.mouseHook(MouseEvent::LeftDown);
        EXPECT_FALSE(rig.recorder.mouseFlag(MouseEvent::LeftDown));
        EXPECT_FALSE(rig.recorder.pollOnce());
        EXPECT_TRUE(rig.listing.lines.empty());
    }
}

// Taps one key until the budget stops the recording: where it stops, and that the lines
// never outgrow the slot.
TEST(Budget, KeyTapsStopAtTheLimit) {
    const struct {
        RecordDelayMode mode;
        unsigned finalCount;  // byte count when a press no longer fits with its release
    } cases[] = {
        {RecordDelayMode::None, 252},    // a press is refused once the count exceeds 251
        {RecordDelayMode::Record, 247},  // 7 + 10 per tap; refused once it exceeds 245
        {RecordDelayMode::Default, 247},
    };
    for (const auto& c : cases) {
        Rig rig;
        rig.startFull({c.mode, 50});
        int taps = 0;
        while (rig.stops == 0 && taps < 200) {
            rig.tap("A", 10);
            ++taps;
        }
        EXPECT_EQ(rig.stops, 1);
        EXPECT_TRUE(rig.recorder.stopFlag());
        EXPECT_TRUE(rig.recorder.pressRefused());
        EXPECT_EQ(rig.recorder.byteCount(), c.finalCount);
        EXPECT_EQ(compiledBytes(rig.listing.lines), c.finalCount);
        EXPECT_EQ(rig.listing.lines.back(), "2 A CODE:0204");  // every press has its release
        const std::size_t size = rig.listing.lines.size();
        rig.tap("B");
        rig.click(MouseEvent::LeftDown);
        EXPECT_EQ(rig.listing.lines.size(), size);  // nothing after the stop
        EXPECT_EQ(rig.stops, 1);
    }
}

TEST(Budget, MouseClicksStopAtTheLimit) {
    for (RecordDelayMode mode : {RecordDelayMode::None, RecordDelayMode::Record}) {
        Rig rig;
        rig.startFull({mode, 50});
        bool stopped = false;
        for (int i = 0; i < 300 && !stopped; ++i) {
            rig.recorder.mouseHook(MouseEvent::LeftDown);
            rig.recorder.mouseHook(MouseEvent::LeftUp);
            stopped = rig.recorder.pollOnce();
        }
        EXPECT_TRUE(stopped);
        EXPECT_EQ(rig.stops, 1);
        // No Delay: 2 per click, a press is refused above 253. Delays: 5, then 8 per click,
        // a later press is refused above 247.
        EXPECT_EQ(rig.recorder.byteCount(), mode == RecordDelayMode::None ? 254u : 253u);
        EXPECT_EQ(rig.listing.lines.back(), "2 LeftKey CODE:0021");
        EXPECT_TRUE(rig.recorder.mouseFlag(MouseEvent::LeftDown));  // the refused event stays flagged
    }
}

// Random keys and buttons from both paths, full and insert, every delay mode: the compiled
// macro with its end marker never passes 256 bytes, and the count matches the lines.
TEST(Budget, MixedEventsNeverOutgrowTheSlot) {
    const char* keys[] = {"A", "Shift", "Ctrl", "B", "Space bar"};
    std::mt19937 random(7);
    for (int round = 0; round < 60; ++round) {
        const auto mode = static_cast<RecordDelayMode>(round % 3);
        const bool insert = round % 2 == 1;
        Rig rig;
        unsigned base = 0;
        if (insert) {
            rig.listing.lines = {"00", "1 A CODE:8204", "2 A CODE:0204"};
            base = 4 + static_cast<unsigned>(random() % 240);  // a macro of that many bytes, pretended
            if (!rig.recorder.startInsert({mode, 50}, 0, true, base + 1)) continue;
            rig.keys.setEnabled(true);
        } else {
            rig.startFull({mode, 50});
        }
        for (int step = 0; step < 2000 && rig.stops == 0; ++step) {
            rig.clock.advance(random() % 300);
            const unsigned what = random() % 4;
            if (what == 0) {
                rig.recorder.mouseHook(static_cast<MouseEvent>(random() % 10));
            } else if (what == 1) {
                rig.recorder.pollOnce();
            } else {
                rig.keys.keyMessage(row(keys[random() % std::size(keys)]), what == 2);
            }
            const unsigned count = rig.recorder.byteCount();
            ASSERT_LE(count + 1, 256u) << "round " << round << " step " << step;
            ASSERT_EQ(count, base + compiledBytes(rig.listing.lines) - (insert ? 4 : 0));
        }
        EXPECT_EQ(rig.stops, 1) << round;
    }
}

TEST(InsertRecording, LinesGoAfterOrBeforeTheSelectedRow) {
    const Lines macro = {"10", "1 A CODE:8204", "0 5", "2 A CODE:0204", "1 B CODE:8205", "2 B CODE:0205"};
    {
        Rig rig;
        rig.listing.lines = macro;
        ASSERT_TRUE(rig.recorder.startInsert({RecordDelayMode::None, 50}, 3, true, 12));
        rig.keys.setEnabled(true);
        rig.tap("X");
        rig.click(MouseEvent::RightDown);
        EXPECT_EQ(rig.listing.lines, (Lines{"10", "1 A CODE:8204", "0 5", "2 A CODE:0204", "1 B CODE:8205",
                                            "1 X CODE:821B", "2 X CODE:021B", "1 RightKey CODE:00A2",
                                            "2 RightKey CODE:0022", "2 B CODE:0205"}));
        EXPECT_EQ(rig.listing.selected, 7u);  // rows 4..7 are the new lines; the last one is selected
        EXPECT_EQ(rig.recorder.byteCount(), 11u + 6u);
    }
    {
        Rig rig;
        rig.listing.lines = macro;
        ASSERT_TRUE(rig.recorder.startInsert({RecordDelayMode::Default, 30}, 1, false, 12));
        rig.keys.setEnabled(true);
        rig.tap("X");
        EXPECT_EQ(rig.listing.lines, (Lines{"10", "1 A CODE:8204", "1 X CODE:821B", "0 30", "2 X CODE:021B", "0 5",
                                            "2 A CODE:0204", "1 B CODE:8205", "2 B CODE:0205"}));
        EXPECT_EQ(rig.listing.selected, 4u);  // the row that was selected, moved down
    }
}

TEST(InsertRecording, StartNeedsARowAndRoom) {
    const struct {
        RecordDelayMode mode;
        std::size_t row;
        unsigned length;  // compiled, end marker included
        bool starts;
    } cases[] = {
        {RecordDelayMode::None, 0, 252, true},     // count 251
        {RecordDelayMode::None, 0, 253, false},    // count 252
        {RecordDelayMode::Record, 1, 249, true},   // count 248
        {RecordDelayMode::Default, 1, 250, false}, // count 249
        {RecordDelayMode::Record, 2, 10, false},   // no such row
        {RecordDelayMode::Record, 0, 0, false},    // not a compiled macro
    };
    for (const auto& c : cases) {
        Rig rig;
        rig.listing.lines = {"00", "1 A CODE:8204", "2 A CODE:0204"};
        EXPECT_EQ(rig.recorder.startInsert({c.mode, 50}, c.row, true, c.length), c.starts) << c.length;
        EXPECT_EQ(rig.recorder.recording(), c.starts);
        if (!c.starts) continue;
        rig.keys.setEnabled(true);
        rig.tap("A", 9);  // the first press and its release still fit
        EXPECT_EQ(rig.recorder.byteCount(), 255u);
        EXPECT_EQ(rig.stops, 1);
    }
}

TEST(InsertRecording, EmptyListingRefused) {
    Rig rig;
    rig.listing.lines = {"00"};
    EXPECT_FALSE(rig.recorder.startInsert({RecordDelayMode::None, 50}, 0, false, 1));
}

}  // namespace

// Fire recording: the left button only, into a 32-byte slot.
TEST(FireRecording, LeftButtonOnly) {
    Rig rig;
    rig.keys.setEnabled(false);  // the fire recorder never turns the listener on
    rig.recorder.startFire({RecordDelayMode::None, 50}, 31);
    rig.keys.setEnabled(true);   // even with keys arriving, none is recorded
    rig.tap("A");
    rig.tap("Shift");
    rig.click(MouseEvent::RightDown);
    rig.click(MouseEvent::MiddleDown);
    rig.click(MouseEvent::ForwardDown);
    rig.click(MouseEvent::BackwardDown);
    rig.click(MouseEvent::LeftDown);
    EXPECT_EQ(rig.listing.lines, (Lines{"00", "1 LeftKey CODE:00A1", "2 LeftKey CODE:0021"}));
    for (std::size_t e = 0; e < nivra::kMouseEventCount; ++e)
        EXPECT_FALSE(rig.recorder.mouseFlag(static_cast<MouseEvent>(e))) << e;
    EXPECT_EQ(rig.stops, 0);
}

TEST(FireRecording, BudgetKeepsTheSlot) {
    for (RecordDelayMode mode : {RecordDelayMode::None, RecordDelayMode::Record, RecordDelayMode::Default}) {
        Rig rig;
        rig.recorder.startFire({mode, 70}, 31);
        for (int i = 0; i < 40 && rig.stops == 0; ++i) {
            rig.clock.advance(15);
            rig.click(MouseEvent::LeftDown);
        }
        EXPECT_EQ(rig.stops, 1);
        const unsigned bytes = compiledBytes(rig.listing.lines);
        EXPECT_LE(bytes + 1, 32u) << static_cast<int>(mode);
        // Every press got its release, and the budget was nearly used.
        EXPECT_EQ(rig.listing.lines.back().substr(0, 1), "2");
        EXPECT_GE(bytes + 1, mode == RecordDelayMode::None ? 31u : 26u);
    }
}
