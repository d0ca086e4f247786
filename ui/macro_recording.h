// A macro recording as the Macro page runs it: the record buttons' handlers, the input
// source, the keyboard listener, the recorder and its poller thread, and what a recording
// asks of the page around it (presence poll, page lock, captions, the commit at the end).
#pragma once

#include "macro/input_source.h"
#include "macro/recorder.h"

#include <QObject>
#include <QString>

class QWidget;

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace nivra::ui {

// Hands the recorder's lines to a listing that lives on the UI thread: every call is
// queued to `context`'s thread in the order made, whichever thread makes it.
class QueuedRecordingListing final : public RecordingListing {
public:
    QueuedRecordingListing(RecordingListing& target, QObject* context) : target_(target), context_(context) {}
    std::size_t size() const override { return target_.size(); }
    void insertLine(std::size_t line, const std::string& text) override;
    void selectRow(std::size_t row) override;
    // Delivers the calls still queued (on the context's thread).
    void flush();

private:
    RecordingListing& target_;
    QObject* context_;
};

// The language id of the line that tells, while recording, which input source is in use:
// "Str780" the whole desktop, "Str781" this window only (keep it in front).
const char* recordingSourceTextId(RecordingInputSource::Kind kind);

// The language id of the message shown when a source cannot start: "Str800" the
// desktop's keys and buttons cannot be read, "Str801" this window's cannot.
const char* recordingSourceFailedTextId(RecordingInputSource::Kind kind);

// The pointer is over the visible control now (asked of the window system, so it holds
// also when no enter event came).
bool pointerOver(const QWidget* control);

// What a recording does to the page and the window.
class RecordingPagePort {
public:
    virtual ~RecordingPagePort() = default;
    // DevTimer: stopped while a recording runs.
    virtual void setPresencePoll(bool running) = 0;
    // Full recording starts: empty listing and list, the library slot's 256 bytes zero.
    virtual void clearMacroForRecording() = 0;
    // Page lock, captions "Str401"/"Str400", Gb_Delay (full) or CB_Insert, GB_Dis,
    // Btn_OK and Btn_Cancel (insert), and the line naming the input source.
    virtual void showRecording(bool recording, bool insert, RecordingInputSource::Kind source) = 0;
    // End of full recording: CompileMacroListing into the slot and the library file write.
    virtual void commitRecordedMacro() = 0;
    // The input source could not start: no recording began and nothing changed; the user
    // is told why (the language text `textId`).
    virtual void recordingRefused(const QString& textId) = 0;
};

class MacroRecording final : public QObject {
public:
    // `listing` is the page's listing model (UI thread only); `clock` gives milliseconds.
    MacroRecording(RecordingListing& listing, RecordingPagePort& page, std::function<std::uint64_t()> clock,
                   std::unique_ptr<RecordingInputSource> source, QObject* parent = nullptr);
    ~MacroRecording() override;

    bool recording() const { return mode_ != Mode::Idle; }
    bool inserting() const { return mode_ == Mode::Insert; }
    RecordingInputSource::Kind sourceKind() const { return source_->kind(); }
    MacroRecorder& recorder() { return recorder_; }

    // Btn_Start: starts full recording with the main delay mode when a library macro is
    // selected, or stops the recording that runs.
    void Btn_StartClick(bool librarySelected, const RecordDelay& mainDelay);
    // Btn_InsertStart: starts insert recording around the selected row (before or after
    // it) of a macro of that compiled length, end marker included, or stops it.
    void Btn_InsertStartClick(std::optional<std::size_t> selectedRow, bool after, unsigned compiledLength,
                              const RecordDelay& insertDelay);
    // Btn_FireStart: starts fire recording (the left button only, the keyboard listener off,
    // at most `byteMaximum` bytes before the end marker) when a fire macro is selected, or
    // stops the fire recording that runs.
    void Btn_FireStartClick(bool fireMacroSelected, const RecordDelay& delay, unsigned byteMaximum);
    // Whether the pointer is over the record buttons, asked at each button event.
    void askOverRecordButton(std::function<bool()> ask) { input_.askOverRecordButton(std::move(ask)); }
    // Ends the recording that runs, as its record button does.
    void stop();

private:
    enum class Mode { Idle, Full, Insert, Fire };
    // Starts the input source before anything else changes; when it cannot start, the page
    // says why and the caller leaves everything as it was.
    bool startSource();
    void begin(Mode mode);

    RecordingPagePort& page_;
    std::unique_ptr<RecordingInputSource> source_;
    QueuedRecordingListing listing_;
    KeyboardListener keys_;
    MacroRecorder recorder_;
    RecorderInput input_;
    RecordingPoller poller_;
    Mode mode_ = Mode::Idle;
};

}  // namespace nivra::ui
