// The Fire Macro Page (gbPage6), opened from the function menu: its panel Img_P6.
#pragma once

#include "ui/skin_page.h"

namespace nivra::ui {

class FireMacroPage : public SkinPage {
public:
    FireMacroPage(const SkinPort& skin, QWidget* parent);
};

}  // namespace nivra::ui
