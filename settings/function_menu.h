// The function menu as a tree of panels and entries, and which entries each view offers
// for each profile. Plain data: the page draws it, nivractl finds leaves in it by caption.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace nivra {

enum class ButtonView;

// What choosing an entry does.
enum class MenuAction {
    Leaf,          // assigns menu function `menuId`
    SubMenu,       // opens panel `opens`
    Assembly,      // opens the combination dialog
    MacroList,     // opens the device macro list (LB_Name)
    FireMacroPage, // user view: the gun page with gun 1
    GunKeyList,    // engineer view: the gun key list (LB_Script)
};

struct MenuEntry {
    std::string_view control;    // objectName: "Key_Standard", "Key_CPII"
    std::string_view captionId;  // "Str201"
    MenuAction action = MenuAction::Leaf;
    int menuId = 0;              // for leaves
    std::string_view opens;      // for sub-menus: "Pnl_Special"
};

struct MenuPanelDef {
    std::string_view name;  // "Pnl_Main"
    std::vector<MenuEntry> entries;
};

// Every panel; "Pnl_Main" first.
const std::vector<MenuPanelDef>& functionMenuPanels();
const MenuPanelDef* functionMenuPanel(std::string_view name);

// What decides which entries are offered.
struct MenuOffer {
    ButtonView view;
    int profile = 1;          // the profile shown (user view)
    bool gdEnable = false;    // layout key "GD_Enable" is 1
    bool macrosPresent = false;  // the device macro list is not empty
};

// The entries of a panel that are offered, in order.
std::vector<MenuEntry> offeredEntries(std::string_view panel, const MenuOffer& offer);

// A leaf found by its path of captions: "Standard Mouse Key/Forward" or a caption alone
// when only one offered leaf carries it.
struct MenuPath {
    std::vector<std::string> captions;  // of the entries from Pnl_Main down to the leaf
    MenuEntry leaf;
};
// Every offered leaf (and the "User-defined" entry) with its caption path; `caption`
// turns a caption id into text.
std::vector<MenuPath> offeredLeaves(const MenuOffer& offer, const std::function<std::string(std::string_view)>& caption);

}  // namespace nivra
