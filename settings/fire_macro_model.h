// The fire macro editor's model: the ten fire macros of the working copy as a name list and
// the selected one as a listing, rename, delete and insert of lines, the fire delay mode,
// the recording's hooks, the fire macro file, and the reveal that makes the editor visible.
// Every edit changes the working copy only; the gun page's Confirm writes the fire-macro
// area. The fire macro file import alone writes to the mouse.
#pragma once

#include "device/transfer.h"
#include "macro/byte_code.h"
#include "macro/fire_listing.h"
#include "macro/recorder.h"
#include "settings/image_editor.h"

#include <QObject>
#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace nivra {

// What a double-click on the fire page's background leads to.
enum class FireRevealStep { None, AskPassword, Hidden };

class FireMacroModel : public QObject {
    Q_OBJECT
public:
    FireMacroModel(ImageEditor& editor, Transfer& transfer, QObject* parent = nullptr);

    // --- Names and selection -------------------------------------------------------------
    // RefreshFireMacroName: the ten rows of LB_FireMacroName; a name whose first two bytes are
    // both 0x00 or both 0xFF is not listed (its row is empty).
    std::vector<std::string> RefreshFireMacroName() const;
    // LB_FireMacroNameClick: the selected fire macro's listing is shown.
    void LB_FireMacroNameClick(std::optional<std::size_t> index);
    std::optional<std::size_t> selection() const { return sel_; }
    // The body's length (one more than the offset of its first three zero bytes).
    std::size_t length(std::size_t index) const;

    // --- Listing ---------------------------------------------------------------------------
    const macro::Listing& listing() const { return listing_; }
    std::vector<std::string> listingRows() const;
    void selectListingRow(std::optional<std::size_t> row);
    std::optional<std::size_t> listingSelection() const { return rowSel_; }
    // Pnl_DevFireContent may open: a fire macro and a line selected, no insert panel open.
    bool contentMenuAllowed() const { return sel_ && rowSel_ && !insertOpen_ && !recording_; }

    // --- Rename ----------------------------------------------------------------------------
    // Btn_NewFireNameClick: true when the name dialog opens (a fire macro is selected).
    bool Btn_NewFireNameClick();
    // ApplyMacroName for a fire macro: empty does nothing, a name already listed "Str106".
    void ApplyMacroName(const std::string& name);

    // --- Delete and insert -------------------------------------------------------------------
    void Btn_FireDelClick();
    // Btn_FireInsertClick with the list's top row (kept for Cancel).
    void Btn_FireInsertClick(int topRow = 0);
    void setInsertItem(macro::FireInsertItem item);
    macro::FireInsertItem insertItem() const { return insertItem_; }
    void setInsertTexts(const macro::FireInsertTexts& texts) { insertTexts_ = texts; }
    const macro::FireInsertTexts& insertTexts() const { return insertTexts_; }
    // Btn_FireOKClick: the line inserted and compiled; refused with "Str103" (the panel
    // stays open, nothing changes) when the fire macro would outgrow its 32-byte slot.
    void Btn_FireOKClick();
    void Btn_FireCancelClick();
    bool insertOpen() const { return insertOpen_; }
    int savedTopRow() const { return savedTop_; }

    // --- Fire delay mode ---------------------------------------------------------------------
    void setFireDelayMode(macro::DelayMode mode);
    macro::DelayMode fireDelayMode() const { return delayMode_; }
    // Edt_FireDelay: kept in 1..65535.
    void setFireDelayText(const std::string& text);
    const std::string& fireDelayText() const { return delayText_; }
    RecordDelay recordDelay() const;

    // --- Fire recording ------------------------------------------------------------------------
    bool recording() const { return recording_; }
    // The recording starts: its fire macro's 32 bytes zero, the listing empty.
    bool startRecording();
    // A recorded line put in at `line` (the header is line 0), not compiled yet.
    void insertRecordedLine(std::size_t line, const std::string& text);
    // The recording ended: the listing compiled into the fire macro.
    void stopRecording();

    // --- The fire macro file ------------------------------------------------------------------
    // Btn_ImportGunMacroClick with the chosen file: the ten names and bodies replace the fire
    // macros; with the "I2C" memory type image 1536..2047 goes to the mouse in one block.
    // A file that is no fire macro file changes nothing and says so. True when imported.
    bool Btn_ImportGunMacroClick(const std::string& path);
    // The ten names and bodies to a 480-byte file. False with a message when not written.
    bool exportFireMacroFile(const std::string& path);

    // --- Reveal ---------------------------------------------------------------------------------
    // The reveal flag and the double-click count are program-wide (shared with the main
    // page's prompt); the window hands its own in. Without them the model keeps its own.
    void attachReveal(bool* revealFlag, int* doubleClicks);
    // Img_Base_6DblClick: a set flag is cleared and the editor hidden; otherwise every fifth
    // double-click asks for the password.
    FireRevealStep Img_Base_6DblClick();
    // The password prompt closed: "QorvinTek" sets the flag and shows the editor.
    void passwordEntered(const std::optional<std::string>& text);
    // The editor's controls are visible.
    bool editorShown() const { return shown_; }

public slots:
    // The gun page's Confirm and Cancel: the editor's controls are hidden (the flag stays
    // as it is, as the main page's engineer state relies on it).
    void hideEditor();
    // The fire macros changed outside the editor (an image arrived, the gun page edited).
    void refreshFromWork();

signals:
    void changed();
    // A message of the language table ("Str103", "Str106", "Str791").
    void message(const QString& languageId);
    // A fixed text in a plain message box ("Macro Content Error"), or a file error.
    void messageText(const QString& text);
    void hidePopups();
    // The controls were hidden: a recording that runs is stopped by the view.
    void editorHidden();

private:
    void showSelected();
    bool compileIntoSelected();
    void storeName(std::size_t index, const FireMacroName& name);

    ImageEditor& editor_;
    Transfer& transfer_;
    std::optional<std::size_t> sel_, rowSel_;
    macro::Listing listing_;
    bool insertOpen_ = false;
    macro::FireInsertItem insertItem_ = macro::FireInsertItem::DelayFront;
    macro::FireInsertTexts insertTexts_;
    int savedTop_ = 0;
    std::optional<std::size_t> savedRow_;
    macro::DelayMode delayMode_ = macro::DelayMode::Record;
    std::string delayText_ = "50";
    bool recording_ = false;
    bool selfEdit_ = false;
    bool ownReveal_ = false;
    int ownClicks_ = 0;
    bool* reveal_ = &ownReveal_;
    int* clicks_ = &ownClicks_;
    bool shown_ = false;
};

// The recorder's lines straight into the model's listing (UI thread).
class FireRecordingListing final : public RecordingListing {
public:
    explicit FireRecordingListing(FireMacroModel& model) : model_(model) {}
    std::size_t size() const override { return model_.listing().size(); }
    void insertLine(std::size_t line, const std::string& text) override { model_.insertRecordedLine(line, text); }
    void selectRow(std::size_t row) override { model_.selectListingRow(row); }

private:
    FireMacroModel& model_;
};

}  // namespace nivra
