// The Advanced page (gbPage2).
#include "ui/advanced_page.h"

namespace nivra::ui {

AdvancedPage::AdvancedPage(const SkinPort& skin, QWidget* parent) : SkinPage(2, skin, parent) {
    addPanel();
    finishLayout();
}

}  // namespace nivra::ui
