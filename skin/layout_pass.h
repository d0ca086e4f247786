// The layout pass: applies a language number (its layout table ORGn, language table LANGn
// and picture set Ln_) to the main window, and the same reading for each small dialog. Both
// run without a screen and return what to set on each control, keyed by objectName.
#pragma once

#include "skin/colour.h"
#include "skin/language_table.h"
#include "skin/skin_layout.h"

#include "skin/page.h"

#include <QHash>
#include <QString>

#include <array>

namespace nivra::skin {

// The pages of the main window (skin/page.h).
using nivra::Page;

// What the pass needs to know of the window.
struct SkinState {
    Page page = Page::Office;         // the page in view
    std::array<QString, 12> keyCaptions;  // the captions of Key1..Key12 now
    GlobalLayout global;                  // from LoadGlobalLayout
};

// Values the pass leaves for the other parts of the program.
struct SkinValues {
    int language = 1;
    QString fontName;     // "FontName" as the table says
    QString fontFamily;   // the family to use: FontName when installed, else a fallback
    QString title;        // the application title
    // The texts kept for other parts, by id: the messages Str022 and Str100..Str108, the
    // button function names Str210..Str293, the CPI values Str300..Str311, Str400/Str401,
    // the OK texts Str420..Str422, Str430 and the gun names Str600..Str606.
    QHash<QString, QString> texts;
    QString text(const QString& id) const { return texts.value(id); }
    std::array<QString, 12> cpiValues;
    std::array<QString, 7> gunNames;
    Colour levelSelectedColour = 0;    // "Color_D_Selected": the CPI level in effect
    Colour levelOtherColour = 0;       // "Color_D_notSelected"
    Colour menuTextColour = 0;         // "Color_G": menu entry text
    Colour menuHoverTextColour = 0;    // "Color_G_SF": entry under the pointer, text
    Colour menuHoverBackColour = 0;    // "Color_G_SP": entry under the pointer, back
    int macroNameHeight = 0;           // row height of the macro lists
    int dpiOrientation = 1;            // 1 CPI bars across, 0 growing upward
    bool comboKey8Enabled = false;     // "ComboKey8_Enable" is 1
};

struct SkinResult {
    // Empty when the pass ran through; otherwise why it stopped (naming table and key), and
    // then nothing of the result is to be applied.
    QString error;
    bool ok() const { return error.isEmpty(); }
    ControlSkinMap controls;
    SkinValues values;
};

// The layout pass for LANGUAGENUMBER (1..3) on the built-in tables and pictures.
SkinResult ApplySkinAndLanguage(int languageNumber, const SkinState& state);
// The same on given tables (tests, other skins). LAYOUT holds section [orgn].
SkinResult ApplySkinAndLanguage(int languageNumber, const SkinState& state, const IniTable& layout,
                                const LanguageTable& language, const LanguageSet& allLanguages);

// The small dialogs.
enum class Dialog : int {
    AssemblyKey = 2,  // TForm2, family K
    MacroName = 3,    // TForm3, family L
    OneKey = 4,       // TForm4, family L
    DelayTime = 5,    // TForm5, family L
    XYValue = 6,      // TForm6, family M
    Value = 7,        // TForm7, family L
};

// The objectNames of a dialog's own controls.
struct DialogControls {
    QStringList titles;  // lbl_Title, or lbl_TitleX and lbl_TitleY for the X/Y dialog
    QStringList edits;   // Edt_Assembly, Edt_MacroName, Edt_EditKey, Edt_EditTime (delay and value dialogs), Edt_EditX/Y
};
DialogControls dialogControls(Dialog dialog);

// The dialog skin for DIALOG in LANGUAGENUMBER: positions inside the dialog, fonts, colours
// and texts of its title(s), edit(s), the modifier boxes CB_Ctrl..CB_Win (AssemblyKey),
// Img_Confirm/IB_Confirm, Img_Cancel/IB_Cancel (the Clear button) and Img_Close/IB_Close.
SkinResult ApplyDialogSkin(Dialog dialog, int languageNumber);
SkinResult ApplyDialogSkin(Dialog dialog, int languageNumber, const IniTable& layout,
                           const LanguageTable& language);

}  // namespace nivra::skin
