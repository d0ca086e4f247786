// The Advanced page (gbPage2): CPI, report rate, fire keys and pointer settings sit on its panel Img_P2.
#pragma once

#include "ui/skin_page.h"

namespace nivra::ui {

class AdvancedPage : public SkinPage {
public:
    AdvancedPage(const SkinPort& skin, QWidget* parent);
};

}  // namespace nivra::ui
