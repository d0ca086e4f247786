// What the skin sets on the window's controls, keyed by objectName, and the start-up steps
// that need no language: the window background, the first pictures, the program switches.
#pragma once

#include "skin/colour.h"
#include "skin/ini_reader.h"

#include <QHash>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <vector>

namespace nivra::skin {

// The settings of one control. Only the fields that are set are to be applied; the others
// leave the control as it is.
struct ControlSkin {
    std::optional<QPoint> pos;  // top left, in the coordinates of the control's page (or dialog)
    std::optional<int> left;    // the left edge alone, the top staying (menu arrows)
    std::optional<int> width;
    std::optional<int> height;
    std::optional<bool> visible;
    std::optional<QString> fontFamily;
    std::optional<int> pointSize;
    std::optional<Colour> textColour;
    std::optional<Colour> backColour;
    std::optional<Colour> borderColour;
    std::optional<Colour> hoverTextColour;  // a menu entry under the pointer
    std::optional<Colour> hoverBackColour;
    std::optional<QString> caption;
    std::optional<QStringList> items;  // the entries of a list choice (CB_Insert)
    std::optional<QString> picture;    // resource name of the picture to show
};

// Controls by objectName ("Btn_Main_3", "Img_Key4", "Pnl_Main").
using ControlSkinMap = std::map<QString, ControlSkin>;

// "Btn_Main_1" .. "Btn_Main_5": the five page copies of a control.
QStringList pageCopies(const QString& stem);

// ---------------------------------------------------------------- window background

struct WindowBackground {
    QSize windowSize;  // the size of the language-1 background picture
    ControlSkinMap controls;  // Img_Base_1 and the covering labels sized to the window
};

// Puts "L1_BackGround" into Img_Base_1 and sizes the window and the covering labels
// Disable_All_1..Disable_All_5 and Disable_All_4_1 to it. Fails when the picture is missing.
Checked<WindowBackground> LoadWindowBackground();

// ---------------------------------------------------------------- first pictures

// Every skinned control's first picture (picture name by objectName).
std::map<QString, QString> LoadStartPictures();

// ---------------------------------------------------------------- program switches

struct GlobalLayout {
    bool webEnabled = false;
    QString web;                 // the product's web address
    QPoint webPos;               // where the web buttons Img_Web_n / Btn_Web_n go
    int reserveManufacturerId = 0;
    int reserveProductId = 0;
    QString macroPath;           // folder of the PC macro library; "" = the program's data folder
    bool textRolling = false;    // "TR_Enable"
    bool gunDisplay = false;     // "GD_Enable"
    int dpiLedStatus = 0;        // "DPILED_Status": 1 one lit segment, 0 progress style
    int gun6Scopes = 1;          // "Gun6_Num" kept within 1..2
    int gun7Scopes = 1;          // "Gun7_Num" kept within 1..3
    int numOrder = 0;            // "Num_Order" kept within 0..1
};

// Reads section [org] of SECTION's table. A missing key or a value that is not a number is an
// error naming the table and the key.
Checked<GlobalLayout> LoadGlobalLayout(const IniTable& table);
// The same from the built-in table "ORG".
Checked<GlobalLayout> LoadGlobalLayout();

// ---------------------------------------------------------------- function menus

// One menu panel of the function menu and its entries. An entry that opens a sub-menu has an
// arrow label "ST_" + the entry's name without "Key_" (caption ">>").
struct MenuPanel {
    QString name;                // "Pnl_Main"
    QString widthKey;            // "M_L_W", "SP_L_W", "O_L_W" or "" (no width from the table)
    struct Entry {
        QString name;            // "Key_Standard"
        QString textId;          // "Str201"
        bool opensSubMenu = false;
    };
    std::vector<Entry> entries;
};

const std::vector<MenuPanel>& functionMenus();
// "ST_Standard" for "Key_Standard".
QString menuArrowName(const QString& entryName);

}  // namespace nivra::skin
