// The engineer page.
#include "ui/engineer_page.h"

#include "ui/app_icon.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace nivra::ui {

namespace {
// Button names in the order of their caption rows 0..13.
constexpr const char* kButtonNames[] = {
    "Btn_Main_6",   "Btn_Switch_6", "Btn_Fixed_6",  "Btn_Adv_6",     "Btn_Breath_6",
    "Btn_Macro_6",  "Btn_Update_6", "Btn_Engineer_6", "Btn_Load_6",  "Btn_Save_6",
    "Btn_Default",  "Btn_ImportBaseMacro", "Btn_ImportGunMacro", "Btn_PatchCode",
};
constexpr int kToolButtonsFrom = 10;  // Btn_Default .. Btn_PatchCode: engineer state only
}  // namespace

EngineerPage::EngineerPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("gbPage7"));
    // A plain page of the desktop's colours, not the window's transparent colour.
    QPalette plain = QApplication::palette();
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        const auto r = static_cast<QPalette::ColorRole>(role);
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            plain.setBrush(group, r, QApplication::palette().brush(group, r));  // marks every role as set
    }
    setPalette(plain);
    setAutoFillBackground(true);
    auto* outer = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    outer->addLayout(top, 1);

    auto* side = new QVBoxLayout;
    logo_ = new QLabel(this);
    logo_->setObjectName(QStringLiteral("Img_Logo4"));
    logo_->setPixmap(appIcon().pixmap(96, 96));
    logo_->setAlignment(Qt::AlignCenter);
    side->addWidget(logo_);
    for (const char* name : kButtonNames) {
        auto* b = new QPushButton(this);
        b->setObjectName(QLatin1String(name));
        buttons_.push_back(b);
        side->addWidget(b);
    }
    side->addStretch(1);
    top->addLayout(side);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("tabs_Engineer"));
    auto* operatorTab = new QWidget;
    operatorTab->setObjectName(QStringLiteral("ts_Operator"));
    engineerTab_ = new QWidget;
    engineerTab_->setObjectName(QStringLiteral("ts_Engineer"));
    // The LED controller type belongs to the engineer tab, captioned "LED Type:" with the
    // three type names.
    auto* grid = new QGridLayout(engineerTab_);
    auto* ledLabel = new QLabel(engineerTab_);
    ledLabel->setObjectName(QStringLiteral("lbl_LEDMode"));
    auto* ledType = new QComboBox(engineerTab_);
    ledType->setObjectName(QStringLiteral("cb_LEDMode"));
    grid->addWidget(ledLabel, 0, 0);
    grid->addWidget(ledType, 0, 1);
    grid->setRowStretch(1, 1);
    grid->setColumnStretch(2, 1);
    gunTab_ = new QWidget;
    gunTab_->setObjectName(QStringLiteral("ts_Gun"));
    tabs_->addTab(operatorTab, QStringLiteral("  Operator  "));
    tabs_->addTab(engineerTab_, QStringLiteral("  Advanced    "));
    tabs_->addTab(gunTab_, QStringLiteral("  Gun Confirm  "));
    top->addWidget(tabs_, 1);

    auto* bottom = new QHBoxLayout;
    content_ = new QLabel(this);
    content_->setObjectName(QStringLiteral("lbl_Content"));
    bottom->addWidget(content_, 1);
    auto* close = new QPushButton(QStringLiteral("X"), this);
    close->setObjectName(QStringLiteral("Btn_Close"));
    close->setFixedWidth(40);
    buttons_.push_back(close);
    bottom->addWidget(close);
    outer->addLayout(bottom);

    setEngineerState(false);
}

QPushButton* EngineerPage::button(const QString& name) const {
    for (QPushButton* b : buttons_)
        if (b->objectName() == name) return b;
    return nullptr;
}

void EngineerPage::setEngineerState(bool on) {
    tabs_->setTabVisible(tabs_->indexOf(engineerTab_), on);
    tabs_->setTabVisible(tabs_->indexOf(gunTab_), on);
    for (std::size_t i = kToolButtonsFrom; i < std::size(kButtonNames); ++i) buttons_[i]->setVisible(on);
    findChild<QLabel*>(QStringLiteral("lbl_LEDMode"))->setEnabled(on);
    findChild<QComboBox*>(QStringLiteral("cb_LEDMode"))->setEnabled(on);
}

void EngineerPage::applyCaptions(const std::function<QString(int)>& caption, const QString& fontFamily) {
    QFont f = font();
    if (!fontFamily.isEmpty()) f.setFamily(fontFamily);
    setFont(f);
    for (std::size_t i = 0; i < std::size(kButtonNames); ++i) buttons_[i]->setText(caption(static_cast<int>(i)));
    findChild<QLabel*>(QStringLiteral("lbl_LEDMode"))->setText(caption(16));
    auto* ledType = findChild<QComboBox*>(QStringLiteral("cb_LEDMode"));
    const int type = ledType->currentIndex();
    ledType->clear();
    ledType->addItems({caption(18), caption(19), caption(20)});
    ledType->setCurrentIndex(type < 0 ? 0 : type);
}

}  // namespace nivra::ui
