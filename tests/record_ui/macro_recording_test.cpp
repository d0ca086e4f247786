// The record buttons' start and stop sequences: what the page is asked to do and when,
// lines from the poller's thread arriving in the UI's listing, the budget's stop, and a
// source that cannot start.
#include "ui/macro_recording.h"

#include "../macro_record/recorder_support.h"
#include "image/keys.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <algorithm>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using nivra::MouseButton;
using nivra::RecordDelayMode;
using nivra::RecordingInputSource;
using nivra::RecordingInputSink;
using Lines = std::vector<std::string>;

QCoreApplication& app() {
    static int argc = 1;
    static char name[] = "test_record_ui";
    static char* argv[] = {name, nullptr};
    static auto* a = new QCoreApplication(argc, argv);  // lives until the process ends
    return *a;
}

struct FakeSource : RecordingInputSource {
    RecordingInputSink* sink = nullptr;
    bool canStart = true;
    Kind kind() const override { return Kind::Window; }
    bool start(RecordingInputSink& s) override {
        if (canStart) sink = &s;
        return canStart;
    }
    void stop() override { sink = nullptr; }
};

struct FakePage : nivra::ui::RecordingPagePort {
    nivra::test::VectorListing& listing;
    std::vector<std::string> calls;
    Lines committed;
    explicit FakePage(nivra::test::VectorListing& l) : listing(l) {}
    void setPresencePoll(bool on) override { calls.push_back(on ? "poll on" : "poll off"); }
    void clearMacroForRecording() override {
        calls.push_back("clear");
        listing.lines.clear();
    }
    void showRecording(bool recording, bool insert, RecordingInputSource::Kind) override {
        calls.push_back(std::string(recording ? "recording" : "idle") + (insert ? " insert" : " full"));
    }
    void commitRecordedMacro() override {
        calls.push_back("commit");
        committed = listing.lines;
    }
    void recordingRefused(const QString& textId) override { calls.push_back("refused " + textId.toStdString()); }
};

struct Rig {
    nivra::test::VectorListing listing;
    FakePage page{listing};
    FakeSource* source = new FakeSource;
    nivra::test::TestClock clock;
    nivra::ui::MacroRecording recording{listing, page, clock.fn(), std::unique_ptr<RecordingInputSource>(source)};

    Rig() { app(); }
    void key(const char* name, bool down) { source->sink->keyMessage(nivra::captureIndexForName(name).value(), down); }
    template <typename Done>
    bool processUntil(Done done) {
        QDeadlineTimer deadline(5000);
        while (!done() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return done();
    }
};

TEST(MacroRecording, FullRecordingStartAndStop) {
    Rig rig;
    rig.listing.lines = {"10", "1 B CODE:8205"};
    rig.recording.Btn_StartClick(false, {RecordDelayMode::None, 50});  // no library macro selected
    EXPECT_FALSE(rig.recording.recording());
    EXPECT_TRUE(rig.page.calls.empty());

    rig.recording.Btn_StartClick(true, {RecordDelayMode::None, 50});
    EXPECT_TRUE(rig.recording.recording());
    EXPECT_EQ(rig.page.calls, (Lines{"poll off", "clear", "recording full"}));
    rig.key("A", true);
    rig.key("A", false);
    rig.source->sink->mouseButton(MouseButton::Right, true);
    rig.source->sink->mouseButton(MouseButton::Right, false);
    EXPECT_TRUE(rig.processUntil([&] { return rig.listing.lines.size() == 5; }));
    rig.recording.Btn_InsertStartClick(0, true, 1, {});  // the other record button does nothing now
    EXPECT_TRUE(rig.recording.recording());
    rig.recording.Btn_StartClick(true, {});
    EXPECT_FALSE(rig.recording.recording());
    EXPECT_EQ(rig.page.calls, (Lines{"poll off", "clear", "recording full", "idle full", "commit", "poll on"}));
    EXPECT_EQ(rig.page.committed, (Lines{"00", "1 A CODE:8204", "2 A CODE:0204", "1 RightKey CODE:00A2",
                                         "2 RightKey CODE:0022"}));
    EXPECT_EQ(rig.listing.selected, 3u);
    EXPECT_EQ(rig.source->sink, nullptr);
}

TEST(MacroRecording, TheBudgetStopsTheRecording) {
    Rig rig;
    rig.recording.Btn_StartClick(true, {RecordDelayMode::None, 50});
    for (int i = 0; i < 70 && rig.recording.recording(); ++i) {
        rig.key("A", true);
        rig.key("A", false);
        rig.source->sink->mouseButton(MouseButton::Left, true);
        rig.source->sink->mouseButton(MouseButton::Left, false);
        QCoreApplication::processEvents();
    }
    EXPECT_TRUE(rig.processUntil([&] { return !rig.recording.recording(); }));
    EXPECT_EQ(rig.page.calls.back(), "poll on");
    EXPECT_EQ(std::count(rig.page.calls.begin(), rig.page.calls.end(), "commit"), 1);
    EXPECT_LE(nivra::test::compiledBytes(rig.page.committed) + 1, 256u);
    EXPECT_EQ(rig.page.committed, rig.listing.lines);
}

TEST(MacroRecording, InsertRecordingCommitsNothing) {
    Rig rig;
    rig.listing.lines = {"00", "1 A CODE:8204", "2 A CODE:0204"};
    rig.recording.Btn_InsertStartClick(std::nullopt, false, 5, {RecordDelayMode::None, 50});  // no row selected
    rig.recording.Btn_InsertStartClick(0, false, 253, {RecordDelayMode::None, 50});           // no room
    EXPECT_TRUE(rig.page.calls.empty());
    rig.recording.Btn_InsertStartClick(0, false, 5, {RecordDelayMode::None, 50});
    EXPECT_EQ(rig.page.calls, (Lines{"poll off", "recording insert"}));
    rig.key("Z", true);
    rig.key("Z", false);
    rig.recording.Btn_StartClick(true, {});  // the other record button does nothing now
    rig.recording.Btn_InsertStartClick(0, false, 5, {});
    EXPECT_EQ(rig.page.calls, (Lines{"poll off", "recording insert", "idle insert", "poll on"}));
    EXPECT_EQ(rig.listing.lines, (Lines{"00", "1 Z CODE:821D", "2 Z CODE:021D", "1 A CODE:8204", "2 A CODE:0204"}));
}

// A source that cannot start: no recording begins, the user is told why, and the macro, the
// presence poll and the page stay as they were; for each record button.
TEST(MacroRecording, ASourceThatCannotStartStartsNothingAndSaysWhy) {
    enum class Button { Full, Insert, Fire };
    for (const Button button : {Button::Full, Button::Insert, Button::Fire}) {
        Rig rig;
        rig.listing.lines = {"00", "1 A CODE:8204", "2 A CODE:0204"};
        rig.source->canStart = false;
        switch (button) {
            case Button::Full: rig.recording.Btn_StartClick(true, {RecordDelayMode::Record, 50}); break;
            case Button::Insert: rig.recording.Btn_InsertStartClick(0, false, 5, {RecordDelayMode::None, 50}); break;
            case Button::Fire: rig.recording.Btn_FireStartClick(true, {RecordDelayMode::None, 50}, 31); break;
        }
        EXPECT_FALSE(rig.recording.recording());
        EXPECT_FALSE(rig.recording.recorder().recording());
        EXPECT_EQ(rig.page.calls, (Lines{"refused Str801"}));
        EXPECT_EQ(rig.listing.lines, (Lines{"00", "1 A CODE:8204", "2 A CODE:0204"}));
        // Once the source works, the same button records.
        rig.source->canStart = true;
        rig.recording.Btn_StartClick(true, {RecordDelayMode::None, 50});
        EXPECT_TRUE(rig.recording.recording());
        rig.recording.stop();
    }
}

}  // namespace
