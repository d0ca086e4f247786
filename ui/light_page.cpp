// The Breathing Light page (gbPage3).
#include "ui/light_page.h"

namespace nivra::ui {

LightPage::LightPage(const SkinPort& skin, QWidget* parent) : SkinPage(3, skin, parent) {
    addPanel();
    finishLayout();
}

}  // namespace nivra::ui
