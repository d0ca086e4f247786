// The Macro page's model: the device macros (read from the working copy, added from the
// library, deleted, imported, written to the mouse in two 256-byte blocks), the PC macro
// library, the listing of the selected macro and its editing (edit, delete, insert), the
// delay-mode choices and the page lock while a dialog or the insert panel is open. The page
// calls one method per control event and redraws on changed().
#pragma once

#include "device/transfer.h"
#include "macro/byte_code.h"
#include "macro/device_area.h"
#include "macro/library.h"
#include "settings/image_editor.h"

#include <QObject>
#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace nivra {

// Which dialog an edit of a listing line opens.
enum class MacroEditDialog { None, Delay, Key, Move, Repeat };

// The insert panel's items (CB_Insert).
enum class InsertItem { DelayFront, DelayBack, KeyFront, KeyBack, MoveFront, MoveBack, RepeatStart, RepeatStop };

class MacroModel : public QObject {
    Q_OBJECT
public:
    // The library file is `libraryFile`; nothing is read until CheckPCMacro().
    MacroModel(ImageEditor& editor, Transfer& transfer, std::filesystem::path libraryFile, QObject* parent = nullptr);

    // --- Device macros -------------------------------------------------------------------
    // ReadAndRefreshMacro3740: a whole image arrived; the area of the working copy is parsed
    // and packed again (normalised in the working copy; nothing is sent).
    void ReadAndRefreshMacro3740();
    const macro::DeviceMacros& deviceMacros() const { return device_; }
    // RefreshMacroName3740: the names LB_MacroName and LB_Name show.
    std::vector<std::string> deviceNames() const { return device_.RefreshMacroName3740(); }
    // Btn_AddMacroClick: the selected library macro added to the mouse.
    void Btn_AddMacroClick();
    // Btn_DelMacroClick: the selected device macro deleted, its buttons re-pointed.
    void Btn_DelMacroClick();
    // Btn_SaveMacroClick: buttons re-pointed, profile sections and the area written.
    void Btn_SaveMacroClick();
    // Btn_ImportBaseMacroClick with the chosen file: its first 512 bytes become the area.
    void importBaseMacroFile(const std::string& path);
    // Btn_DevExportClick with the chosen file: the 512-byte area copy. False with a message
    // when it cannot be written; false without one for a memory type other than "I2C".
    bool exportBaseMacroFile(const std::string& path);

    // --- Library ------------------------------------------------------------------------------
    // CheckPCMacro: load the library file, or create it from the default library. A damaged
    // or foreign file is refused with a message and left as it is (the library lists no
    // macros and changes nothing) until replaceLibraryWithDefault() or importAllFile().
    bool CheckPCMacro();
    bool libraryDamaged() const { return library_.damaged(); }
    // The library file, damaged or not, replaced by the default library (the user chose to).
    bool replaceLibraryWithDefault();
    const macro::MacroLibrary& library() const { return library_; }
    std::vector<std::string> libraryNames() const { return library_.names(); }
    // Btn_NewMacro / Btn_New enabled: fewer than 100 macros.
    bool newMacroEnabled() const { return library_.count() < macro::kLibraryRecords; }
    // Btn_NewMacroClick / Btn_NewClick and Btn_NewNameClick: true when the name dialog opens.
    bool Btn_NewMacroClick();
    bool Btn_NewNameClick();
    // ApplyMacroName: the name dialog confirmed (new or rename, as it was opened).
    void ApplyMacroName(const std::string& name);
    // The name dialog closed without a result.
    void closeDialog();
    void Btn_DelPCMacroClick();
    // Import one from a file / Import all from a file (the window asks for the file).
    bool importOneEnabled() const { return library_.count() < macro::kLibraryRecords - 1; }
    void importOneFile(const std::string& path);
    void importAllFile(const std::string& path);
    // Exports to the file the save dialog gave (".bin" already appended). False with a
    // message when it cannot be written.
    bool exportOneFile(const std::string& path);
    bool exportAllFile(const std::string& path);

    // --- Selection and listing -----------------------------------------------------------------
    void LB_PCMacroNameClick(std::optional<std::size_t> row);
    void LB_MacroNameClick(std::optional<std::size_t> row);
    void selectListingRow(std::optional<std::size_t> row);
    std::optional<std::size_t> librarySelection() const { return libSel_; }
    std::optional<std::size_t> deviceSelection() const { return devSel_; }
    std::optional<std::size_t> listingSelection() const { return rowSel_; }
    // The listing shown (line 0 the header); empty when nothing is shown.
    const macro::Listing& listing() const { return listing_; }
    // Rows of LB_macro: the lines after the header.
    std::vector<std::string> listingRows() const;
    // Pnl_DevContent may open: a library macro and a row selected, the insert panel closed.
    bool contentMenuAllowed() const { return libSel_ && rowSel_ && !insertOpen_; }
    // Btn_Edit enabled: the selected line is not a loop end.
    bool editEnabled() const;
    // The listing of the selected library macro, compiled and written (the recorder commits
    // this way too).
    bool commitListing();
    void setListing(macro::Listing listing);
    // Full recording starts: the listing emptied and the selected library slot zeroed (the
    // file is written when the recording is committed).
    void clearForRecording();
    // A recorded line put in at `line` (the header is line 0), not committed yet.
    void insertRecordedLine(std::size_t line, const std::string& text);

    // --- Editing -----------------------------------------------------------------------------
    // Btn_EditClick: the dialog to open for the selected line (None: nothing opens).
    MacroEditDialog Btn_EditClick();
    // The dialog confirmed. Empty values leave the line unchanged.
    void confirmDelayEdit(const std::string& text);
    void confirmKeyEdit(const std::string& name, std::uint8_t usage);
    void confirmMoveEdit(const std::string& x, const std::string& y);
    void confirmRepeatEdit(const std::string& text);
    void Btn_DelClick();
    // Btn_InsertClick with the list's top row (kept for Cancel).
    void Btn_InsertClick(int topRow = 0);
    void setInsertItem(InsertItem item);
    InsertItem insertItem() const { return insertItem_; }
    void setInsertTexts(const std::string& delay, const std::string& x, const std::string& y, const std::string& repeat);
    void Btn_OKClick();
    void Btn_CancelClick();
    bool insertOpen() const { return insertOpen_; }
    int savedTopRow() const { return savedTop_; }
    // The byte budget's start for insert recording: the compiled length less the end marker.
    std::size_t insertBudgetStart() const;

    // --- Delay modes --------------------------------------------------------------------------
    void setDelayMode(macro::DelayMode mode) { delayMode_ = mode; emit changed(); }
    macro::DelayMode delayMode() const { return delayMode_; }
    void setDelayText(const std::string& text);  // Edt_Delay, 1..65535
    const std::string& delayText() const { return delayText_; }
    void setInsertDelayMode(macro::DelayMode mode) { insertDelayMode_ = mode; emit changed(); }
    macro::DelayMode insertDelayMode() const { return insertDelayMode_; }

    // The page is locked (lists disabled, the overlay shown) while a dialog or the insert
    // panel is open.
    bool locked() const { return locked_; }

signals:
    void changed();
    // A message of the language table ("Str103", "Str106").
    void message(const QString& languageId);
    // A fixed text in a plain message box ("Macro Content Error"), or a file error.
    void messageText(const QString& text);
    // Hide every pop-up of the page.
    void hidePopups();

private:
    bool deviceReady() const;
    void storeArea();
    void writeArea();
    void clearListing();
    void showLibraryListing();
    void closeInsertPanel();
    bool libraryResult(macro::LibraryResult r);
    std::size_t compiledLength() const;

    ImageEditor& editor_;
    Transfer& transfer_;
    macro::DeviceMacros device_;
    macro::MacroLibrary library_;

    std::optional<std::size_t> libSel_, devSel_, rowSel_;
    macro::Listing listing_;
    enum class NameDialog { None, New, Rename } nameDialog_ = NameDialog::None;
    std::optional<std::size_t> editRow_;
    char editKind_ = 0;
    bool locked_ = false;
    bool insertOpen_ = false;
    InsertItem insertItem_ = InsertItem::DelayFront;
    std::string insertDelay_ = "50", insertX_ = "12", insertY_ = "12", insertRepeat_ = "10";
    int savedTop_ = 0;
    std::optional<std::size_t> savedRow_;
    macro::DelayMode delayMode_ = macro::DelayMode::Record;
    macro::DelayMode insertDelayMode_ = macro::DelayMode::Record;
    std::string delayText_ = "50";
};

}  // namespace nivra
