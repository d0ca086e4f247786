// Macro recording: keys and mouse buttons the user really presses become macro text lines,
// with the time between events as delay lines, within the byte budget of a library slot.
// Plain C++: the events, the millisecond clock and the listing are handed in.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace nivra {

// The delay mode of a recording and the value of its Default Delay field.
enum class RecordDelayMode : std::uint8_t { Record, Default, None };

struct RecordDelay {
    RecordDelayMode mode = RecordDelayMode::Record;
    unsigned value = 50;  // milliseconds of Default Delay, 1..65535
};

// The header line a listing gets from its delay mode: "10", "01" + value, "00".
std::string recordingHeader(const RecordDelay& delay);

// The mouse events the recorder takes, in the fixed order the poller takes them.
enum class MouseEvent : std::uint8_t {
    LeftDown, LeftUp, RightDown, RightUp, MiddleDown, MiddleUp,
    ForwardDown, ForwardUp, BackwardDown, BackwardUp,
};
inline constexpr std::size_t kMouseEventCount = 10;

enum class MouseButton : std::uint8_t { Left, Right, Middle, Forward, Backward };
MouseEvent mouseEventOf(MouseButton button, bool down);
// "1 LeftKey CODE:00A1", "2 Backward CODE:0030", ...
std::string mouseEventLine(MouseEvent event);
// "1 A CODE:8204", "2 Shift CODE:0102", "1 None CODE:8200": the line of a key capture row.
std::string keyEventLine(std::size_t captureIndex, bool press);

// Where the recorder puts its lines. Lines are indexed with the header as line 0; rows are
// the items the list shows (row r is line r + 1). The recorder calls insertLine and
// selectRow under its own lock, from the UI thread or from the poller's thread, one call
// at a time and in the order the lines belong: an implementation either takes them as
// they come or forwards them, in that order, to its own thread. size() is read once, when
// a recording starts.
class RecordingListing {
public:
    virtual ~RecordingListing() = default;
    virtual std::size_t size() const = 0;  // lines, header included
    virtual void insertLine(std::size_t line, const std::string& text) = 0;
    virtual void selectRow(std::size_t row) = 0;
};

// The keyboard listener: the program-wide set of keys held down, and one report per key
// message while enabled. State 0 is the press of a key that was up, state 1 any release,
// state 2 a key-down of a key already held (auto-repeat). A key pressed while others are
// held (Shift, then A) is a press of its own, so chords record every press they make.
class KeyboardListener {
public:
    using Receive = std::function<void(std::size_t captureIndex, int downCount, int state)>;

    void setOnReceive(Receive receive) { onReceive_ = std::move(receive); }
    void setEnabled(bool enabled) { enabled_ = enabled; }
    bool enabled() const { return enabled_; }
    // The number of keys held down.
    int downCount() const { return static_cast<int>(held_.size()); }

    // A key-down or key-up of the key of that capture row.
    void keyMessage(std::size_t captureIndex, bool down);

private:
    Receive onReceive_;
    bool enabled_ = false;
    std::vector<std::size_t> held_;  // capture rows, in the order pressed
};

// The recording state and the two event paths: keys (KeyboardHook1Receive, on the UI
// thread) and mouse buttons (the hook sets flags, the poller turns them into lines).
// Every change of the listing, the byte count and the last-event time happens under one
// lock, so an event's delay line and its own line always land together.
class MacroRecorder {
public:
    using Milliseconds = std::function<std::uint64_t()>;

    static constexpr unsigned kByteMaximum = 255;  // compiled bytes before the end marker

    MacroRecorder(RecordingListing& listing, Milliseconds clock);

    // Called, outside the lock, when the budget ends the recording; from the UI thread
    // (keys) or the poller's thread (mouse). The owner stops the recording on its UI
    // thread, as if the record button had been clicked. Called at most once a recording.
    void setStopWanted(std::function<void()> stopWanted);

    // Full recording into an empty listing (the caller clears it first) with the main
    // delay mode.
    void startFull(const RecordDelay& delay);
    // Fire recording into an empty listing: the left button only, keys ignored, and at
    // most `byteMaximum` compiled bytes before the end marker (31 for a 32-byte slot).
    void startFire(const RecordDelay& delay, unsigned byteMaximum);
    // Insert recording around `selectedRow` of a macro whose compiled length, end marker
    // included, is `compiledLength`; before the row or after it, with the insert panel's
    // delay mode. Refused (false, nothing changes) when the row is outside the listing or
    // a first press and its release would not fit.
    bool startInsert(const RecordDelay& delay, std::size_t selectedRow, bool after, unsigned compiledLength);
    void stop();

    // The listener's event: a key capture row, the down count and the state.
    void KeyboardHook1Receive(std::size_t captureIndex, int downCount, int state);
    // The mouse hook: sets the event's flag while recording; returns at once.
    void mouseHook(MouseEvent event);
    void setOverRecordButton(bool over) { overRecordButton_.store(over); }

    // One round of the poller: header, then the ten flags in their fixed order. True when
    // the recording must stop now (the stop-wanted function has then been called).
    bool pollOnce();

    // Changes each time a mouse event is flagged, so a poller can sleep until one comes.
    std::atomic<std::uint32_t>& wakeups() { return wakeups_; }

    bool recording() const { return recording_.load(); }
    bool inserting() const;
    bool stopFlag() const;
    bool pressRefused() const;
    unsigned byteCount() const;
    std::size_t insertPosition() const;
    bool mouseFlag(MouseEvent event) const { return mouseFlags_[index(event)].load(); }

private:
    static std::size_t index(MouseEvent e) { return static_cast<std::size_t>(e); }
    void startCommon();
    unsigned delayCostNow() const;
    unsigned delayCostLater() const;
    bool fits(unsigned eventCost, bool press) const;
    void addHeaderIfEmpty();
    void addLine(const std::string& text);
    void RefreshMacroMouseTime();
    bool requestStop();  // true when this call is the first for the recording

    RecordingListing& listing_;
    Milliseconds clock_;
    std::function<void()> stopWanted_;

    mutable std::mutex mutex_;
    std::atomic<bool> recording_{false};
    bool insert_ = false;
    bool fire_ = false;
    unsigned maximum_ = kByteMaximum;
    bool after_ = false;
    bool stop_ = false;
    bool pressRefused_ = false;
    bool stopSignalled_ = false;
    unsigned byteCount_ = 0;
    std::size_t lines_ = 0;
    std::size_t insertPosition_ = 0;
    std::optional<std::uint64_t> lastEvent_;
    RecordDelay delay_;

    std::array<std::atomic<bool>, kMouseEventCount> mouseFlags_{};
    std::atomic<bool> overRecordButton_{false};
    std::atomic<std::uint32_t> wakeups_{0};
};

// The recording poller: a thread of its own, at a lower priority, running the recorder's
// rounds whenever a mouse event is flagged, until asked to end or until a round wants
// the recording stopped (then it calls the recorder's stop-wanted function and ends).
class RecordingPoller {
public:
    explicit RecordingPoller(MacroRecorder& recorder) : recorder_(recorder) {}
    ~RecordingPoller() { stop(); }
    RecordingPoller(const RecordingPoller&) = delete;
    RecordingPoller& operator=(const RecordingPoller&) = delete;

    void start();
    // Asks the thread to end and waits for it. Never called from the poller's own thread:
    // the stop it asks for runs on the owner's thread.
    void stop();
    bool running() const { return thread_.joinable(); }
    // Rounds run so far, and a wait until more than `n` have run (for tests).
    std::uint64_t rounds() const { return rounds_.load(); }
    void waitForRoundsPast(std::uint64_t n) const;

private:
    void run();

    MacroRecorder& recorder_;
    std::thread thread_;
    std::atomic<bool> end_{false};
    std::atomic<std::uint64_t> rounds_{0};
};

}  // namespace nivra
