// The fire macro editor on the gun page (gbPage6): the name list LB_FireMacroName, the listing
// LB_FireMacro with its pop-ups, the record button Btn_FireStart, the fire delay group
// GB_FireDelay and the insert panel Gb_InsertFire. Its controls are visible only once the
// reveal prompt was passed. A thin view: each handler calls one FireMacroModel method and the
// editor redraws on the model's change.
#pragma once

#include "settings/fire_macro_model.h"
#include "ui/macro_recording.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QWidget;

namespace nivra {
class Discovery;
}

namespace nivra::ui {

class MacroList;
class PanelBox;
class SkinButton;
class SkinPort;
class SmallDialog;

class FireMacroEditor final : public QObject, public RecordingPagePort {
public:
    using Clock = std::function<std::uint64_t()>;
    // Builds the controls on `page` (the gun page), skins them and wires the double-click on
    // the page's background picture Img_Base_6.
    FireMacroEditor(QWidget* page, const SkinPort& skin, FireMacroModel& model, Discovery& discovery, Clock clock,
                    std::unique_ptr<RecordingInputSource> source);
    ~FireMacroEditor() override;

    // What the window provides: the message dialog (language id), the plain message box,
    // the password prompt (nothing when cancelled) and the open dialog.
    std::function<void(const QString& id)> showMessage;
    std::function<void(const QString& text)> showMessageText;
    std::function<std::optional<QString>()> askPassword;
    std::function<std::optional<QString>()> chooseOpenFile;

    // The block that holds every control of the editor (shown exactly when revealed).
    QWidget* block() const { return block_; }
    MacroRecording& recording() { return *recording_; }
    // Another clock and input source (tests); ignored while a recording runs.
    void replaceInput(Clock clock, std::unique_ptr<RecordingInputSource> source);

    // Handlers, named after their controls.
    void Img_Base_6DblClick();
    void LB_FireMacroNameClick(int row);
    void LB_FireMacroClick(int row);
    void Btn_NewFireNameClick();
    void Btn_FireDelClick();
    void Btn_FireInsertClick();
    void CB_InsertFireChange(int item);
    void Btn_FireOKClick();
    void Btn_FireCancelClick();
    void Btn_FireStartClick();
    void Btn_ImportGunMacroClick();  // the engineer page's button
    void HidePopups();

    // Redraws every control from the model.
    void refresh();

    // The recording's needs.
    void setPresencePoll(bool running) override;
    void clearMacroForRecording() override;
    void showRecording(bool recording, bool insert, RecordingInputSource::Kind source) override;
    void commitRecordedMacro() override;
    void recordingRefused(const QString& textId) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    QFrame* addPopup(const QString& name, std::initializer_list<std::pair<const char*, void (FireMacroEditor::*)()>> entries);
    void showPopup(QFrame* popup, QPoint globalPos);
    void chooseDelay(int row);
    void showInsertItem();
    void applySkin();

    QWidget* page_;
    const SkinPort& skin_;
    FireMacroModel& model_;
    Discovery& discovery_;
    QWidget* block_ = nullptr;
    PanelBox* box_ = nullptr;  // the editor's frame, shown with it
    MacroList* names_ = nullptr;
    MacroList* content_ = nullptr;
    QFrame* namePopup_ = nullptr;
    QFrame* contentPopup_ = nullptr;
    SkinButton* start_ = nullptr;
    QWidget* delayGroup_ = nullptr;  // GB_FireDelay
    QLabel* delayBase_ = nullptr;    // Img_FireDelay
    QLineEdit* delayEdit_ = nullptr;
    QWidget* insertGroup_ = nullptr;  // Gb_InsertFire
    QLabel* insertBase_ = nullptr;    // Img_FireInsert
    QComboBox* insertChoice_ = nullptr;
    QLineEdit* insertDelayEdit_ = nullptr;
    QLineEdit* xEdit_ = nullptr;
    QLineEdit* yEdit_ = nullptr;
    QLineEdit* repeatEdit_ = nullptr;
    SkinButton* ok_ = nullptr;
    SkinButton* cancel_ = nullptr;
    QLabel* sourceLabel_ = nullptr;
    SmallDialog* nameDialog_ = nullptr;
    FireRecordingListing listing_;
    std::unique_ptr<MacroRecording> recording_;
    bool recordingShown_ = false;
    bool pollWasRunning_ = false;
};

}  // namespace nivra::ui
