// Common parts of the skinned pages.
#include "ui/skin_page.h"

#include "ui/skin_port.h"

namespace nivra::ui {

SkinPage::SkinPage(int number, const SkinPort& skin, QWidget* parent)
    : QWidget(parent), skin_(skin), number_(number) {
    setObjectName(QStringLiteral("gbPage%1").arg(number));
    background_ = new QLabel(this);
    background_->setObjectName(QStringLiteral("Img_Base_%1").arg(number));
    if (number <= kPageCopies) addPageButtons();
}

SkinButton* SkinPage::addButton(const QString& labelName, ButtonKind kind) {
    auto* b = new SkinButton(this, labelName, kind, skin_);
    buttons_.push_back(b);
    return b;
}

QLabel* SkinPage::addLabel(const QString& name) {
    auto* l = new QLabel(this);
    l->setObjectName(name);
    return l;
}

QLabel* SkinPage::addPanel() {
    panel_ = addLabel(QStringLiteral("Img_P%1").arg(number_));
    return panel_;
}

void SkinPage::addPageButtons() {
    const QString n = QString::number(number_);
    for (const PageButton& b : kPageButtons)
        addButton(QStringLiteral("Btn_%1_%2").arg(QLatin1String(b.stem.data(), b.stem.size()), n), ButtonKind::B);
    for (int lang = 1; lang <= 3; ++lang) addButton(QStringLiteral("Btn_Lang%1_%2").arg(lang).arg(n), ButtonKind::D);
    for (int c = 1; c <= 3; ++c) addButton(QStringLiteral("Btn_Confirm%1_%2").arg(c).arg(n), ButtonKind::A);
    addButton(QStringLiteral("Btn_Exit2_") + n, ButtonKind::A);
    addButton(QStringLiteral("Btn_Exit1_") + n, ButtonKind::I);
    addButton(QStringLiteral("Btn_Web_") + n, ButtonKind::Web);
}

void SkinPage::finishLayout() {
    // Page content sits above the background; the page buttons above the content.
    background_->lower();
    for (SkinButton* b : buttons_) b->raise();
    if (number_ <= kPageCopies) {
        if (!cover_) {
            cover_ = new CoverLabel(this);
            cover_->setObjectName(QStringLiteral("Disable_All_%1").arg(number_));
            cover_->hide();
        }
        cover_->raise();
    }
}

void SkinPage::resizeToWindow(QSize size) {
    resize(size);
    // Every covering label of the page (Disable_All_N, and Disable_All_4_1 on the Macro page)
    // is as large as the window.
    // CoverLabel has no meta-object of its own, so findChildren<CoverLabel*> would match every
    // label of the page: the type is checked here instead.
    for (QLabel* l : findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        if (auto* c = dynamic_cast<CoverLabel*>(l)) c->setGeometry(QRect(QPoint(0, 0), size));
}

}  // namespace nivra::ui
