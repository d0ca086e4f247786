// The Macro page's record buttons: a MacroRecording over the page's listing model, and what
// a recording asks of the page and the session (presence poll, clear, lock, commit).
#pragma once

#include "ui/macro_recording.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>

namespace nivra {
class Discovery;
class MacroModel;
}  // namespace nivra

namespace nivra::ui {

class MacroPage;

// The recorder's lines straight into the macro model's listing, uncommitted (UI thread).
class MacroModelListing final : public RecordingListing {
public:
    explicit MacroModelListing(MacroModel& model) : model_(model) {}
    std::size_t size() const override;
    void insertLine(std::size_t line, const std::string& text) override;
    void selectRow(std::size_t row) override;

private:
    MacroModel& model_;
};

class MacroPageRecording final : public QObject, public RecordingPagePort {
public:
    using Clock = std::function<std::uint64_t()>;
    // Wires Btn_Start and Btn_InsertStart (clicks, and the pointer over them).
    MacroPageRecording(MacroPage& page, MacroModel& model, Discovery& discovery, Clock clock,
                       std::unique_ptr<RecordingInputSource> source, QObject* parent = nullptr);
    ~MacroPageRecording() override;

    MacroRecording& recording() { return *recording_; }
    // Another clock and input source (tests); ignored while a recording runs.
    void replaceInput(Clock clock, std::unique_ptr<RecordingInputSource> source);

    void setPresencePoll(bool running) override;
    void clearMacroForRecording() override;
    void showRecording(bool recording, bool insert, RecordingInputSource::Kind source) override;
    void commitRecordedMacro() override;
    void recordingRefused(const QString& textId) override;

private:
    MacroPage& page_;
    MacroModel& model_;
    Discovery& discovery_;
    MacroModelListing listing_;
    std::unique_ptr<MacroRecording> recording_;
    bool pollWasRunning_ = false;
};

// Milliseconds of the steady clock.
std::uint64_t steadyMilliseconds();

}  // namespace nivra::ui
