// The update page (gbPage5): the picture "Update", the patch file path and the buttons
// "Load BIN" and "Program", and the web link.
#pragma once

#include "ui/skin_page.h"

namespace nivra::ui {

class UpdatePage : public SkinPage {
public:
    UpdatePage(const SkinPort& skin, QWidget* parent);
    SkinButton* loadBin() const { return loadBin_; }
    SkinButton* program() const { return program_; }
    ClickLabel* webLink() const { return webLink_; }
    QLabel* loadedPath() const { return loadedPath_; }

private:
    SkinButton* loadBin_;
    SkinButton* program_;
    ClickLabel* webLink_;
    QLabel* loadedPath_;
};

}  // namespace nivra::ui
