// The Macro page's record buttons.
#include "ui/macro_page_recording.h"

#include "device/discovery.h"
#include "settings/macro_model.h"
#include "ui/macro_page.h"
#include "ui/skin_button.h"

#include <chrono>

namespace nivra::ui {

std::uint64_t steadyMilliseconds() {
    return static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch()).count());
}

std::size_t MacroModelListing::size() const { return model_.listing().size(); }

void MacroModelListing::insertLine(std::size_t line, const std::string& text) { model_.insertRecordedLine(line, text); }

void MacroModelListing::selectRow(std::size_t row) { model_.selectListingRow(row); }

MacroPageRecording::MacroPageRecording(MacroPage& page, MacroModel& model, Discovery& discovery, Clock clock,
                                       std::unique_ptr<RecordingInputSource> source, QObject* parent)
    : QObject(parent), page_(page), model_(model), discovery_(discovery), listing_(model) {
    replaceInput(std::move(clock), std::move(source));
    page_.startButton()->onClick = [this] {
        recording_->Btn_StartClick(model_.librarySelection().has_value(), page_.recordDelay(false));
    };
    page_.insertStartButton()->onClick = [this] {
        // "Key (after)" records behind the selected row, "Key (before)" in front of it.
        const bool after = model_.insertItem() == InsertItem::KeyBack;
        recording_->Btn_InsertStartClick(model_.listingSelection(), after,
                                         static_cast<unsigned>(model_.insertBudgetStart() + 1), page_.recordDelay(true));
    };
}

MacroPageRecording::~MacroPageRecording() = default;

void MacroPageRecording::replaceInput(Clock clock, std::unique_ptr<RecordingInputSource> source) {
    if (recording_ && recording_->recording()) return;
    recording_ = std::make_unique<MacroRecording>(listing_, *this, std::move(clock), std::move(source));
    recording_->askOverRecordButton([this] {
        return pointerOver(page_.startButton()->label()) || pointerOver(page_.insertStartButton()->label());
    });
}

void MacroPageRecording::recordingRefused(const QString& textId) {
    if (page_.showMessage) page_.showMessage(textId);
}

void MacroPageRecording::setPresencePoll(bool running) {
    if (!running) {
        pollWasRunning_ = discovery_.devTimerRunning();
        discovery_.StopDevTimer();
    } else if (pollWasRunning_) {
        pollWasRunning_ = false;
        discovery_.StartDevTimer();
    }
}

void MacroPageRecording::clearMacroForRecording() { model_.clearForRecording(); }

void MacroPageRecording::showRecording(bool recording, bool insert, RecordingInputSource::Kind source) {
    page_.showRecording(recording, insert, QLatin1String(recordingSourceTextId(source)));
}

void MacroPageRecording::commitRecordedMacro() { model_.commitListing(); }

}  // namespace nivra::ui
