// The Macro page (gbPage4): its panel Img_P4, the delay and insert panels and the second
// covering label Disable_All_4_1 shown while one of its small dialogs is open.
#pragma once

#include "ui/skin_page.h"

namespace nivra::ui {

class MacroPage : public SkinPage {
public:
    MacroPage(const SkinPort& skin, QWidget* parent);
    CoverLabel* dialogCover() const { return dialogCover_; }
    void showInsertPanel(bool insert);  // Gb_Insert and Img_InsertBase, or Gb_Delay

private:
    QWidget* delay_;
    QWidget* insert_;
    QLabel* insertBase_;
    CoverLabel* dialogCover_;
};

}  // namespace nivra::ui
