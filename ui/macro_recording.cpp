// The record buttons' start and stop sequences around the recorder.
#include "ui/macro_recording.h"

#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QMetaObject>
#include <QPointer>
#include <QWidget>

namespace nivra::ui {

const char* recordingSourceTextId(RecordingInputSource::Kind kind) {
    return kind == RecordingInputSource::Kind::Desktop ? "Str780" : "Str781";
}

const char* recordingSourceFailedTextId(RecordingInputSource::Kind kind) {
    return kind == RecordingInputSource::Kind::Desktop ? "Str800" : "Str801";
}

bool pointerOver(const QWidget* control) {
    return control && control->isVisible() && control->rect().contains(control->mapFromGlobal(QCursor::pos()));
}

void QueuedRecordingListing::insertLine(std::size_t line, const std::string& text) {
    RecordingListing* target = &target_;
    QMetaObject::invokeMethod(context_, [target, line, text] { target->insertLine(line, text); }, Qt::QueuedConnection);
}

void QueuedRecordingListing::selectRow(std::size_t row) {
    RecordingListing* target = &target_;
    QMetaObject::invokeMethod(context_, [target, row] { target->selectRow(row); }, Qt::QueuedConnection);
}

void QueuedRecordingListing::flush() { QCoreApplication::sendPostedEvents(context_, QEvent::MetaCall); }

MacroRecording::MacroRecording(RecordingListing& listing, RecordingPagePort& page,
                               std::function<std::uint64_t()> clock, std::unique_ptr<RecordingInputSource> source,
                               QObject* parent)
    : QObject(parent),
      page_(page),
      source_(std::move(source)),
      listing_(listing, this),
      recorder_(listing_, std::move(clock)),
      input_(keys_, recorder_),
      poller_(recorder_) {
    keys_.setOnReceive([this](std::size_t key, int count, int state) { recorder_.KeyboardHook1Receive(key, count, state); });
    // The budget's stop comes from the poller's thread or from inside a key event: it runs
    // later, on this object's thread, as a click on the record button would.
    QPointer<MacroRecording> self(this);
    recorder_.setStopWanted([self] {
        if (self) QMetaObject::invokeMethod(self.data(), [self] { if (self) self->stop(); }, Qt::QueuedConnection);
    });
}

MacroRecording::~MacroRecording() {
    source_->stop();
    recorder_.stop();
    poller_.stop();
}

void MacroRecording::Btn_StartClick(bool librarySelected, const RecordDelay& mainDelay) {
    if (mode_ != Mode::Idle) {
        if (mode_ == Mode::Full) stop();
        return;
    }
    if (!librarySelected || !startSource()) return;
    page_.setPresencePoll(false);
    page_.clearMacroForRecording();
    listing_.flush();
    recorder_.startFull(mainDelay);
    begin(Mode::Full);
}

void MacroRecording::Btn_InsertStartClick(std::optional<std::size_t> selectedRow, bool after,
                                          unsigned compiledLength, const RecordDelay& insertDelay) {
    if (mode_ != Mode::Idle) {
        if (mode_ == Mode::Insert) stop();
        return;
    }
    if (!selectedRow) return;
    listing_.flush();
    if (!recorder_.startInsert(insertDelay, *selectedRow, after, compiledLength)) return;
    if (!startSource()) {
        recorder_.stop();
        return;
    }
    page_.setPresencePoll(false);
    begin(Mode::Insert);
}

void MacroRecording::Btn_FireStartClick(bool fireMacroSelected, const RecordDelay& delay, unsigned byteMaximum) {
    if (mode_ != Mode::Idle) {
        if (mode_ == Mode::Fire) stop();
        return;
    }
    if (!fireMacroSelected || !startSource()) return;
    page_.setPresencePoll(false);
    page_.clearMacroForRecording();
    listing_.flush();
    recorder_.startFire(delay, byteMaximum);
    begin(Mode::Fire);
}

bool MacroRecording::startSource() {
    // Events the source delivers before the recorder starts are dropped by the recorder.
    if (source_->start(input_)) return true;
    page_.recordingRefused(QLatin1String(recordingSourceFailedTextId(source_->kind())));
    return false;
}

void MacroRecording::begin(Mode mode) {
    mode_ = mode;
    page_.showRecording(true, mode == Mode::Insert, source_->kind());
    // A fire macro records the left button only: the keyboard listener stays off.
    keys_.setEnabled(mode != Mode::Fire);
    poller_.start();
}

void MacroRecording::stop() {
    if (mode_ == Mode::Idle) return;
    const bool insert = mode_ == Mode::Insert;
    mode_ = Mode::Idle;
    keys_.setEnabled(false);
    recorder_.stop();
    source_->stop();
    // The poller ends before the listing is committed, and the lines still on their way
    // to the listing arrive first.
    poller_.stop();
    listing_.flush();
    page_.showRecording(false, insert, source_->kind());
    if (!insert) page_.commitRecordedMacro();
    page_.setPresencePoll(true);
}

}  // namespace nivra::ui
