// Macro recording: the keyboard listener, the two event paths, the budget and the poller.
#include "macro/recorder.h"

#include "image/keys.h"

#include <algorithm>
#include <cstdio>

#if defined(__linux__)
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace nivra {

namespace {

constexpr unsigned kDelayCost = 3;
constexpr unsigned kKeyCost = 2;
constexpr unsigned kMouseCost = 1;
constexpr std::uint64_t kLongestDelay = 65535;

unsigned clampDelay(unsigned value) { return std::clamp(value, 1u, 65535u); }

std::string hex2(unsigned v) {
    char text[3];
    std::snprintf(text, sizeof text, "%02X", v & 0xFFu);
    return text;
}

struct ModifierBit {
    std::size_t row;
    std::uint8_t bit;
};
// Shift, Ctrl, Alt and the two Windows keys are recorded as modifier bits.
constexpr ModifierBit kModifiers[] = {
    {capture::kShift, 0x02}, {capture::kCtrl, 0x01}, {capture::kAlt, 0x04},
    {capture::kLeftWindows, 0x08}, {capture::kRightWindows, 0x80},
};

}  // namespace

std::string recordingHeader(const RecordDelay& delay) {
    switch (delay.mode) {
    case RecordDelayMode::Record: return "10";
    case RecordDelayMode::Default: return "01" + std::to_string(clampDelay(delay.value));
    case RecordDelayMode::None: break;
    }
    return "00";
}

MouseEvent mouseEventOf(MouseButton button, bool down) {
    return static_cast<MouseEvent>(static_cast<unsigned>(button) * 2 + (down ? 0 : 1));
}

std::string mouseEventLine(MouseEvent event) {
    static constexpr const char* kNames[] = {"LeftKey", "RightKey", "MiddleKey", "Forward", "Backward"};
    static constexpr std::uint8_t kBits[] = {0x01, 0x02, 0x04, 0x08, 0x10};
    const auto i = static_cast<unsigned>(event);
    const bool down = i % 2 == 0;
    const unsigned opcode = (down ? 0xA0u : 0x20u) + kBits[i / 2];
    return std::string(down ? "1 " : "2 ") + kNames[i / 2] + " CODE:00" + hex2(opcode);
}

std::string keyEventLine(std::size_t captureIndex, bool press) {
    const CaptureRow& row = captureRow(captureIndex);
    std::string code;
    for (const ModifierBit& m : kModifiers) {
        if (m.row == captureIndex) code = (press ? "81" : "01") + hex2(m.bit);
    }
    if (code.empty()) code = (press ? "82" : "02") + hex2(row.usage);
    return std::string(press ? "1 " : "2 ") + std::string(row.name) + " CODE:" + code;
}

void KeyboardListener::keyMessage(std::size_t captureIndex, bool down) {
    const auto at = std::find(held_.begin(), held_.end(), captureIndex);
    const bool wasHeld = at != held_.end();
    if (down && !wasHeld) held_.push_back(captureIndex);
    if (!down && wasHeld) held_.erase(at);
    if (!enabled_ || !onReceive_) return;
    const int state = !down ? 1 : wasHeld ? 2 : 0;
    onReceive_(captureIndex, downCount(), state);
}

MacroRecorder::MacroRecorder(RecordingListing& listing, Milliseconds clock)
    : listing_(listing), clock_(std::move(clock)) {}

void MacroRecorder::setStopWanted(std::function<void()> stopWanted) {
    std::lock_guard lock(mutex_);
    stopWanted_ = std::move(stopWanted);
}

void MacroRecorder::startCommon() {
    lastEvent_.reset();
    for (auto& flag : mouseFlags_) flag.store(false);
    stop_ = false;
    pressRefused_ = false;
    stopSignalled_ = false;
    recording_.store(true);
}

void MacroRecorder::startFull(const RecordDelay& delay) {
    std::lock_guard lock(mutex_);
    delay_ = delay;
    insert_ = false;
    fire_ = false;
    maximum_ = kByteMaximum;
    byteCount_ = 0;
    lines_ = listing_.size();
    startCommon();
}

void MacroRecorder::startFire(const RecordDelay& delay, unsigned byteMaximum) {
    std::lock_guard lock(mutex_);
    delay_ = delay;
    insert_ = false;
    fire_ = true;
    maximum_ = std::min(byteMaximum, kByteMaximum);
    byteCount_ = 0;
    lines_ = listing_.size();
    startCommon();
}

bool MacroRecorder::startInsert(const RecordDelay& delay, std::size_t selectedRow, bool after,
                                unsigned compiledLength) {
    std::lock_guard lock(mutex_);
    const std::size_t lines = listing_.size();
    if (lines < 2 || selectedRow + 1 >= lines || compiledLength == 0) return false;
    // The first event has no delay before it: room for a key press, the delay before its
    // release and the release.
    const unsigned count = compiledLength - 1;
    const unsigned room = 2 * kKeyCost + (delay.mode == RecordDelayMode::None ? 0 : kDelayCost);
    if (count + room > kByteMaximum) return false;
    delay_ = delay;
    insert_ = true;
    fire_ = false;
    maximum_ = kByteMaximum;
    after_ = after;
    byteCount_ = count;
    lines_ = lines;
    insertPosition_ = selectedRow;
    startCommon();
    return true;
}

void MacroRecorder::stop() {
    std::lock_guard lock(mutex_);
    recording_.store(false);
    insert_ = false;
}

bool MacroRecorder::inserting() const {
    std::lock_guard lock(mutex_);
    return insert_;
}
bool MacroRecorder::stopFlag() const {
    std::lock_guard lock(mutex_);
    return stop_;
}
bool MacroRecorder::pressRefused() const {
    std::lock_guard lock(mutex_);
    return pressRefused_;
}
unsigned MacroRecorder::byteCount() const {
    std::lock_guard lock(mutex_);
    return byteCount_;
}
std::size_t MacroRecorder::insertPosition() const {
    std::lock_guard lock(mutex_);
    return insertPosition_;
}

unsigned MacroRecorder::delayCostNow() const {
    return delay_.mode != RecordDelayMode::None && lastEvent_ ? kDelayCost : 0;
}

unsigned MacroRecorder::delayCostLater() const {
    return delay_.mode != RecordDelayMode::None ? kDelayCost : 0;
}

// An event fits when it and the delay before it stay within the budget; a press also keeps
// room for its release and the delay before that, so that the compiled macro, end marker
// included, never outgrows its slot (256 bytes, 32 for a fire macro) and a key pressed can
// still be released.
bool MacroRecorder::fits(unsigned eventCost, bool press) const {
    unsigned need = delayCostNow() + eventCost;
    if (press) need += delayCostLater() + eventCost;
    return byteCount_ + need <= maximum_;
}

void MacroRecorder::addHeaderIfEmpty() {
    if (insert_ || lines_ != 0) return;
    listing_.insertLine(0, recordingHeader(delay_));
    lines_ = 1;
}

void MacroRecorder::addLine(const std::string& text) {
    if (insert_) {
        const std::size_t row = after_ ? insertPosition_ + 1 : insertPosition_;
        listing_.insertLine(row + 1, text);
        ++lines_;
        ++insertPosition_;
        listing_.selectRow(insertPosition_);
    } else {
        addHeaderIfEmpty();
        listing_.insertLine(lines_, text);
        ++lines_;
        listing_.selectRow(lines_ - 2);
    }
}

// The delay line before an event (both paths): the measured time or the default delay,
// none before the first event and none with No Delay.
void MacroRecorder::RefreshMacroMouseTime() {
    if (delay_.mode == RecordDelayMode::None) return;
    const std::uint64_t now = clock_();
    if (lastEvent_) {
        const std::uint64_t ms = delay_.mode == RecordDelayMode::Record
                                     ? std::min(now - std::min(now, *lastEvent_), kLongestDelay)
                                     : clampDelay(delay_.value);
        addLine("0 " + std::to_string(ms));
        byteCount_ += kDelayCost;
    }
    lastEvent_ = now;
}

bool MacroRecorder::requestStop() {
    if (stopSignalled_) return false;
    stopSignalled_ = true;
    return true;
}

void MacroRecorder::KeyboardHook1Receive(std::size_t captureIndex, int /*downCount*/, int state) {
    std::function<void()> stopWanted;
    {
        std::lock_guard lock(mutex_);
        if (!recording_.load() || fire_ || captureIndex == capture::k255) return;
        addHeaderIfEmpty();
        if (stop_) return;
        const bool press = state == 0;
        if (state == 2 || (state == 1 && pressRefused_)) return;
        if (fits(kKeyCost, press)) {
            RefreshMacroMouseTime();
            addLine(keyEventLine(captureIndex, press));
            byteCount_ += kKeyCost;
            if (byteCount_ < maximum_) return;
        } else {
            if (press) pressRefused_ = true;
            stop_ = true;
        }
        if (requestStop()) stopWanted = stopWanted_;
    }
    if (stopWanted) stopWanted();
}

void MacroRecorder::mouseHook(MouseEvent event) {
    if (!recording_.load()) return;
    if ((event == MouseEvent::LeftDown || event == MouseEvent::LeftUp) && overRecordButton_.load()) return;
    mouseFlags_[index(event)].store(true);
    wakeups_.fetch_add(1);
    wakeups_.notify_all();
}

bool MacroRecorder::pollOnce() {
    std::function<void()> stopWanted;
    {
        std::lock_guard lock(mutex_);
        if (!recording_.load()) return false;
        addHeaderIfEmpty();
        for (std::size_t i = 0; i < kMouseEventCount; ++i) {
            if (!mouseFlags_[i].load()) continue;
            // A fire macro plays the left button only: the others leave no line.
            if (fire_ && i != index(MouseEvent::LeftDown) && i != index(MouseEvent::LeftUp)) {
                mouseFlags_[i].store(false);
                continue;
            }
            const bool press = i % 2 == 0;
            if (stop_ || !fits(kMouseCost, press)) {
                stop_ = true;  // the flag stays set: the event is not recorded
                continue;
            }
            RefreshMacroMouseTime();
            mouseFlags_[i].store(false);
            addLine(mouseEventLine(static_cast<MouseEvent>(i)));
            byteCount_ += kMouseCost;
        }
        if (byteCount_ < maximum_ && !stop_) return false;
        stop_ = true;
        if (requestStop()) stopWanted = stopWanted_;
    }
    if (stopWanted) stopWanted();
    return true;
}

void RecordingPoller::start() {
    stop();
    end_.store(false);
    thread_ = std::thread([this] { run(); });
}

void RecordingPoller::stop() {
    if (!thread_.joinable()) return;
    end_.store(true);
    recorder_.wakeups().fetch_add(1);
    recorder_.wakeups().notify_all();
    thread_.join();
}

void RecordingPoller::waitForRoundsPast(std::uint64_t n) const {
    for (std::uint64_t r = rounds_.load(); r <= n; r = rounds_.load()) rounds_.wait(r);
}

void RecordingPoller::run() {
#if defined(__linux__)
    // Below the UI thread: a nice value for this thread alone.
    setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), 5);
#endif
    std::atomic<std::uint32_t>& wakeups = recorder_.wakeups();
    while (!end_.load()) {
        const std::uint32_t seen = wakeups.load();
        if (end_.load()) break;
        const bool stopNow = recorder_.pollOnce();
        rounds_.fetch_add(1);
        rounds_.notify_all();
        if (stopNow) break;
        wakeups.wait(seen);
    }
}

}  // namespace nivra
