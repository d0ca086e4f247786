// The Breathing Light page (gbPage3): the lighting controls sit on its panel Img_P3.
#pragma once

#include "ui/skin_page.h"

namespace nivra::ui {

class LightPage : public SkinPage {
public:
    LightPage(const SkinPort& skin, QWidget* parent);
};

}  // namespace nivra::ui
