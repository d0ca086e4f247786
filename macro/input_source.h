// Where recorded keys and mouse buttons come from: one interface for the program's own
// window and for the desktop-wide sources of the window system.
#pragma once

#include "macro/recorder.h"

#include <cstddef>
#include <functional>

namespace nivra {

// Receives the events of a source: a key by its capture row, a mouse button.
class RecordingInputSink {
public:
    virtual ~RecordingInputSink() = default;
    virtual void keyMessage(std::size_t captureIndex, bool down) = 0;
    virtual void mouseButton(MouseButton button, bool down) = 0;
};

// The sink of a recording: keys go through the keyboard listener, buttons to the hook.
class RecorderInput final : public RecordingInputSink {
public:
    RecorderInput(KeyboardListener& keys, MacroRecorder& recorder) : keys_(keys), recorder_(recorder) {}
    // Asked at every button event, on the thread that delivers it: is the pointer over a
    // record button now? The answer is the recorder's over-record-button state for that
    // event, so the click on Stop is never recorded, also when the pointer came to the
    // button without an enter event (it was already there when the button appeared).
    void askOverRecordButton(std::function<bool()> ask) { overRecordButton_ = std::move(ask); }
    void keyMessage(std::size_t captureIndex, bool down) override { keys_.keyMessage(captureIndex, down); }
    void mouseButton(MouseButton button, bool down) override {
        if (overRecordButton_) recorder_.setOverRecordButton(overRecordButton_());
        recorder_.mouseHook(mouseEventOf(button, down));
    }

private:
    KeyboardListener& keys_;
    MacroRecorder& recorder_;
    std::function<bool()> overRecordButton_;
};

class RecordingInputSource {
public:
    enum class Kind {
        Window,   // the program's own window, while it has the focus
        Desktop,  // every key and button of the desktop (X11 XInput2 raw events)
    };

    virtual ~RecordingInputSource() = default;
    virtual Kind kind() const = 0;
    // Starts delivering events to `sink` (on the thread that owns the source). False when
    // the source cannot run here; nothing is delivered then.
    virtual bool start(RecordingInputSink& sink) = 0;
    virtual void stop() = 0;
};

}  // namespace nivra
