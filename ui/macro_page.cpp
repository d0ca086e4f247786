// The Macro page.
#include "ui/macro_page.h"

namespace nivra::ui {

MacroPage::MacroPage(const SkinPort& skin, QWidget* parent) : SkinPage(4, skin, parent) {
    addPanel();
    delay_ = new QWidget(this);
    delay_->setObjectName(QStringLiteral("Gb_Delay"));
    insert_ = new QWidget(this);
    insert_->setObjectName(QStringLiteral("Gb_Insert"));
    insert_->hide();
    insertBase_ = addLabel(QStringLiteral("Img_InsertBase"));
    insertBase_->hide();
    finishLayout();
    dialogCover_ = new CoverLabel(this);
    dialogCover_->setObjectName(QStringLiteral("Disable_All_4_1"));
    dialogCover_->hide();
}

void MacroPage::showInsertPanel(bool insert) {
    insert_->setVisible(insert);
    insertBase_->setVisible(insert);
    delay_->setVisible(!insert);
}

}  // namespace nivra::ui
