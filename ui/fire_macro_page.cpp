// The Fire Macro Page (gbPage6), opened from the function menu.
#include "ui/fire_macro_page.h"

namespace nivra::ui {

FireMacroPage::FireMacroPage(const SkinPort& skin, QWidget* parent) : SkinPage(6, skin, parent) {
    addPanel();
    finishLayout();
}

}  // namespace nivra::ui
