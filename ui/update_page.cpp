// The update page.
#include "ui/update_page.h"

namespace nivra::ui {

UpdatePage::UpdatePage(const SkinPort& skin, QWidget* parent) : SkinPage(5, skin, parent) {
    addPanel();
    addLabel(QStringLiteral("lbl_BINPath"));
    loadedPath_ = addLabel(QStringLiteral("lbl_LoadBIN"));
    loadBin_ = addButton(QStringLiteral("Btn_LoadBIN"), ButtonKind::E);
    program_ = addButton(QStringLiteral("Btn_Program"), ButtonKind::E);
    webLink_ = new ClickLabel(this);
    webLink_->setObjectName(QStringLiteral("Btn_WebLink"));
    webLink_->setCursor(Qt::PointingHandCursor);
    finishLayout();
}

}  // namespace nivra::ui
