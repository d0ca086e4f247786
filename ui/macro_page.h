// The Macro page (gbPage4): the PC macro library list, the device macro list and the listing
// of the selected macro (owner-drawn, one icon per line kind), their pop-up menus, the
// delay-mode group Gb_Delay, the insert panel Gb_Insert, the small dialogs TForm3..TForm7 and
// the covering label Disable_All_4_1 shown while one of them is open. A thin view: each
// handler calls one method of the MacroModel, and the page redraws on the model's change.
#pragma once

#include "macro/recorder.h"
#include "ui/skin_page.h"

#include <QFrame>
#include <QListWidget>

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>
#include <optional>

class QComboBox;
class QLineEdit;

namespace nivra {
class MacroModel;
}

namespace nivra::ui {

class SmallDialog;

// An owner-drawn macro list: fixed-height rows, the right-button behaviour of the macro
// lists (a press selects the row under the pointer, the release asks for the pop-up), and a
// press below the last row clears the selection.
class MacroList : public QListWidget {
public:
    MacroList(const QString& name, bool lineIcons, QWidget* parent);
    void setRowHeight(int h);
    int rowHeight() const { return rowHeight_; }
    std::function<void(int row)> onRowPressed;            // either button over a row (-1: below the rows)
    std::function<void(QPoint globalPos)> onRightReleased;  // over a selected row

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    int rowHeight_ = 20;
};

// The 20 x 20 icon of a listing line kind ('0', '1', '2', '3', '7', '8').
QPixmap lineIcon(char kind);

// A hidden pop-up menu of the macro lists: one clickable entry per (name, action), in order.
QFrame* popupPanel(QWidget* parent, const QString& name,
                   const std::vector<std::pair<const char*, std::function<void()>>>& entries);

// Keeps a number edit's text within its upper bounds while typing; the lower bounds and the
// empty text are settled when the value is used.
void clampWhileTyping(QLineEdit* edit, std::string (*rule)(std::string_view));

class MacroPage : public SkinPage {
public:
    // Without a model the page only shows its pictures (the window attaches the model later).
    MacroPage(const SkinPort& skin, QWidget* parent, MacroModel* model = nullptr);
    void attach(MacroModel& model);

    CoverLabel* dialogCover() const { return dialogCover_; }
    void showInsertPanel(bool insert);  // Gb_Insert and Img_InsertBase, or Gb_Delay
    // "MacroNameHeight" of the layout in effect, for the three lists.
    void setRowHeight(int h);

    // What the window provides: the message dialog (language id), the plain message box
    // (fixed text or a file error) and the two file dialogs (the chosen name, without ".bin").
    std::function<void(const QString& id)> showMessage;
    std::function<void(const QString& text)> showMessageText;
    std::function<std::optional<QString>()> chooseOpenFile;
    std::function<std::optional<QString>()> chooseSaveFile;

    // Handlers, named after their controls.
    void LB_PCMacroNameClick(int row);
    void LB_MacroNameClick(int row);
    void LB_macroClick(int row);
    void Btn_NewClick();
    void Btn_NewNameClick();
    void Btn_DelPCMacroClick();
    void Btn_ImportOneClick();
    void Btn_ImportClick();
    // The engineer page's Btn_ImportBaseMacro: a device macro export file back into the mouse.
    void Btn_ImportBaseMacroClick();
    void Btn_ExportOneClick();
    void Btn_ExportClick();
    void Btn_AddMacroClick();
    void Btn_DelMacroClick();
    void Btn_DevExportClick();  // its entry is kept hidden
    void Btn_EditClick();
    void Btn_DelClick();
    void Btn_InsertClick();
    void Btn_OKClick();
    void Btn_CancelClick();
    void CB_InsertChange(int item);
    void ClearMacro();  // hides every pop-up

    // The record buttons (Btn_Start, Btn_InsertStart); the recording wires them.
    SkinButton* startButton() const { return startButton_; }
    SkinButton* insertStartButton() const { return insertStartButton_; }
    // The delay a recording takes: the main group's mode and Edt_Delay, or the insert
    // panel's mode and Edt_InsertDelay.
    RecordDelay recordDelay(bool insert) const;
    // While a recording runs: the page locked but for its record button, the button's caption
    // "Str401" ("Str400" after), Gb_Delay disabled (full) or CB_Insert, Btn_OK and Btn_Cancel
    // disabled under GB_Dis (insert), and lbl_RecordSource showing the language text `sourceId`.
    void showRecording(bool recording, bool insert, const QString& sourceId);
    bool recordingShown() const { return recording_; }

    // Redraws every control from the model.
    void refresh();

private:
    QFrame* addPopup(const QString& name, std::initializer_list<std::pair<const char*, void (MacroPage::*)()>> entries);
    void showPopup(QFrame* popup, QPoint globalPos, bool upwardsWhenLow);
    SmallDialog* dialog(int form);
    void openDialog(int form);
    void lock(bool on);
    void setList(MacroList* list, const QStringList& items, std::optional<std::size_t> selected, bool lines);
    void chooseDelay(int row, bool insert);
    void showDelayDots(bool insert);
    void sendInsertTexts();

    MacroModel* model_ = nullptr;
    MacroList* pcList_;
    MacroList* devList_;
    MacroList* content_;
    QFrame* pcPopup_;
    QFrame* devPopup_;
    QFrame* contentPopup_;
    std::vector<QWidget*> delayGroup_;
    std::vector<QWidget*> insertGroup_;
    QWidget* delay_;
    QWidget* insert_;
    QLabel* insertBase_;
    QComboBox* insertChoice_;
    QLineEdit* delayEdit_;
    QLineEdit* insertDelayEdit_;
    QLineEdit* xEdit_;
    QLineEdit* yEdit_;
    QLineEdit* repeatEdit_;
    SkinButton* newButton_;
    SkinButton* startButton_;
    SkinButton* insertStartButton_;
    QLabel* sourceLabel_;
    CoverLabel* insertCover_;  // GB_Dis
    bool recording_ = false;
    bool recordingInsert_ = false;
    SkinButton* okButton_;
    SkinButton* cancelButton_;
    CoverLabel* dialogCover_;
    std::map<int, SmallDialog*> dialogs_;
    std::uint8_t capturedUsage_ = 0;
    bool insertShown_ = false;
};

}  // namespace nivra::ui
