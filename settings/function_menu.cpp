#include "settings/function_menu.h"

#include "settings/button_model.h"

#include <algorithm>

namespace nivra {

namespace {
MenuEntry leaf(std::string_view control, std::string_view caption, int id) { return {control, caption, MenuAction::Leaf, id, {}}; }
MenuEntry sub(std::string_view control, std::string_view caption, std::string_view opens) {
    return {control, caption, MenuAction::SubMenu, 0, opens};
}
MenuEntry act(std::string_view control, std::string_view caption, MenuAction a) { return {control, caption, a, 0, {}}; }
}  // namespace

const std::vector<MenuPanelDef>& functionMenuPanels() {
    static const std::vector<MenuPanelDef> panels{
        {"Pnl_Main",
         {sub("Key_Standard", "Str201", "Pnl_MseKey"), sub("Key_Special", "Str202", "Pnl_Special"),
          sub("Key_Media", "Str203", "Pnl_Media"), sub("Key_WWW", "Str204", "Pnl_WWW"),
          sub("Key_MyPC", "Str207", "Pnl_MyPC"), act("Key_Assembly", "Str205", MenuAction::Assembly),
          act("Key_Macro", "Str206", MenuAction::MacroList), act("Key_FireMacro", "Str208", MenuAction::FireMacroPage),
          act("Key_TLFireMacro", "Str208", MenuAction::GunKeyList)}},
        {"Pnl_Special",
         {sub("Key_CPIKey", "Str220", "Pnl_CPIKey"), sub("Key_Fire", "Str230", "Pnl_FireKey"),
          sub("Key_ACPIKey", "Str240", "Pnl_ACPI"), sub("Key_ProfileKey", "Str250", "Pnl_Profile"),
          leaf("Key_AIM", "Str260", 1000), leaf("Key_LEDMode", "Str261", 1001), leaf("Key_LEDSwitch", "Str262", 1002),
          leaf("Key_BtnEFT", "Str263", 1003), leaf("Key_ReportRate", "Str264", 1004), leaf("Key_KeyOff", "Str277", 1007),
          leaf("Key_FireMacroKey", "Str265", 1005), leaf("Key_FireMacroOff", "Str266", 1006),
          sub("Key_AdjustXY", "Str267", "Pnl_AdjustXY")}},
        {"Pnl_MseKey",
         {leaf("Key_Left", "Str210", 900), leaf("Key_Right", "Str211", 901), leaf("Key_Middle", "Str212", 902),
          leaf("Key_B4", "Str213", 903), leaf("Key_B5", "Str214", 904)}},
        {"Pnl_Media",
         {leaf("Key_PlayPause", "Str270", 1100), leaf("Key_Stop", "Str271", 1101),
          leaf("Key_PreviousTrack", "Str272", 1102), leaf("Key_NextTrack", "Str273", 1103),
          leaf("Key_VolumePlus", "Str274", 1104), leaf("Key_VolumeMinus", "Str275", 1105),
          leaf("Key_Mute", "Str276", 1106)}},
        {"Pnl_WWW",
         {leaf("Key_WWWHome", "Str280", 1200), leaf("Key_WWWSearch", "Str281", 1201),
          leaf("Key_WWWBack", "Str282", 1202), leaf("Key_WWWForward", "Str283", 1203),
          leaf("Key_WWWStop", "Str284", 1204), leaf("Key_WWWRefresh", "Str285", 1205),
          leaf("Key_WWWFavorites", "Str286", 1206)}},
        {"Pnl_MyPC",
         {leaf("Key_Computer", "Str290", 1300), leaf("Key_Calculator", "Str291", 1301),
          leaf("Key_EMail", "Str292", 1302), leaf("Key_Desktop", "Str293", 1303)}},
        {"Pnl_CPIKey", {leaf("Key_CPI", "Str221", 2000), leaf("Key_CPII", "Str222", 2001), leaf("Key_CPID", "Str223", 2002)}},
        {"Pnl_FireKey", {leaf("Key_Fire1", "Str231", 2100), leaf("Key_Fire2", "Str232", 2101), leaf("Key_Fire3", "Str233", 2102)}},
        {"Pnl_ACPI", {leaf("Key_PowerDown", "Str241", 2200), leaf("Key_Sleep", "Str242", 2201), leaf("Key_WakeUp", "Str243", 2202)}},
        {"Pnl_Profile",
         {leaf("Key_Profile1", "Str251", 2300), leaf("Key_Profile2", "Str252", 2301), leaf("Key_Profile3", "Str253", 2302),
          leaf("Key_Profile", "Str254", 2303)}},
        {"Pnl_AdjustXY", {leaf("Key_AdjustXYFn", "Str268", 2400), leaf("Key_AdjustXYSwitch", "Str269", 2401)}},
    };
    return panels;
}

const MenuPanelDef* functionMenuPanel(std::string_view name) {
    for (const MenuPanelDef& p : functionMenuPanels())
        if (p.name == name) return &p;
    return nullptr;
}

namespace {
bool offered(const MenuEntry& e, const MenuOffer& o) {
    const bool engineer = o.view == ButtonView::Engineer;
    const bool gunEntries = engineer || (o.profile == 2 && o.gdEnable);
    const std::string_view c = e.control;
    if (c == "Key_TLFireMacro") return engineer;
    if (c == "Key_FireMacro") return !engineer && gunEntries;
    if (c == "Key_FireMacroKey" || c == "Key_FireMacroOff" || c == "Key_AdjustXY") return gunEntries;
    if (c == "Key_Macro") return o.macrosPresent;
    if (!engineer) {
        // The user view's profile keys switch between Office and Game Mode: Office Mode offers
        // Game Mode, Game Mode offers Office Mode, Third Mode offers both.
        if (c == "Key_Profile1") return o.profile != 1;
        if (c == "Key_Profile2") return o.profile != 2;
        if (c == "Key_Profile3" || c == "Key_Profile") return false;
    }
    return true;
}
}  // namespace

std::vector<MenuEntry> offeredEntries(std::string_view panel, const MenuOffer& offer) {
    std::vector<MenuEntry> out;
    if (const MenuPanelDef* p = functionMenuPanel(panel))
        for (const MenuEntry& e : p->entries)
            if (offered(e, offer)) out.push_back(e);
    return out;
}

namespace {
void walk(std::string_view panel, const MenuOffer& offer, const std::function<std::string(std::string_view)>& caption,
          std::vector<std::string>& path, std::vector<MenuPath>& out, int depth) {
    if (depth > 4) return;
    for (const MenuEntry& e : offeredEntries(panel, offer)) {
        path.push_back(caption(e.captionId));
        if (e.action == MenuAction::SubMenu) walk(e.opens, offer, caption, path, out, depth + 1);
        else if (e.action == MenuAction::Leaf || e.action == MenuAction::Assembly) out.push_back({path, e});
        path.pop_back();
    }
}
}  // namespace

std::vector<MenuPath> offeredLeaves(const MenuOffer& offer, const std::function<std::string(std::string_view)>& caption) {
    std::vector<MenuPath> out;
    std::vector<std::string> path;
    walk("Pnl_Main", offer, caption, path, out, 0);
    return out;
}

}  // namespace nivra
