// The engineer page.
#include "ui/engineer_page.h"

#include "settings/gun_model.h"
#include "ui/app_icon.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QRegularExpressionValidator>
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
    if (xyOffsets_) xyOffsets_->setTitle(caption(137));
    auto* ledType = findChild<QComboBox*>(QStringLiteral("cb_LEDMode"));
    const int type = ledType->currentIndex();
    ledType->clear();
    ledType->addItems({caption(18), caption(19), caption(20)});
    ledType->setCurrentIndex(type < 0 ? 0 : type);
}

// ---------------------------------------------------------------- gun X/Y offsets

void EngineerPage::attachGunOffsets(GunModel& model) {
    gun_ = &model;
    if (!xyOffsets_) {
        xyOffsets_ = new QGroupBox(engineerTab_);
        xyOffsets_->setObjectName(QStringLiteral("gbXYOffset"));
        auto* grid = new QGridLayout(xyOffsets_);
        for (int k = 1; k <= 10; ++k) {
            for (int axis = 0; axis < 2; ++axis) {
                const QString letter = axis == 0 ? QStringLiteral("X") : QStringLiteral("Y");
                auto* label = new QLabel(QStringLiteral("%1-%2 Offset:").arg(letter).arg(k), xyOffsets_);
                auto* edit = new QLineEdit(xyOffsets_);
                edit->setObjectName(QStringLiteral("edt_%1Offset%2").arg(letter).arg(k));
                edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9]{0,4}")), edit));
                edit->setMaximumWidth(64);
                connect(edit, &QLineEdit::textEdited, this, [this, k, axis](const QString& t) {
                    if (axis == 0) edt_XOffsetChange(k, t);
                    else edt_YOffsetChange(k, t);
                });
                (axis == 0 ? xOffsets_ : yOffsets_)[static_cast<std::size_t>(k - 1)] = edit;
                const int row = (k - 1) % 5, column = 4 * axis + 2 * ((k - 1) / 5);
                grid->addWidget(label, row, column);
                grid->addWidget(edit, row, column + 1);
            }
        }
        auto* tab = static_cast<QGridLayout*>(engineerTab_->layout());
        tab->setRowStretch(1, 0);
        tab->addWidget(xyOffsets_, 1, 0, 1, 3);
        tab->setRowStretch(2, 1);
    }
    connect(gun_, &GunModel::changed, this, [this] {
        TLRefreshXOffset();
        TLRefreshYOffset();
    });
    TLRefreshXOffset();
    TLRefreshYOffset();
}

void EngineerPage::edt_XOffsetChange(int k, const QString& text) {
    if (!gun_) return;
    QLineEdit* e = xOffsets_[static_cast<std::size_t>(k - 1)];
    const QString shown = gun_->setEngineerOffset(Axis::X, k, text);
    if (e->text() != shown) e->setText(shown);
}

void EngineerPage::edt_YOffsetChange(int k, const QString& text) {
    if (!gun_) return;
    QLineEdit* e = yOffsets_[static_cast<std::size_t>(k - 1)];
    const QString shown = gun_->setEngineerOffset(Axis::Y, k, text);
    if (e->text() != shown) e->setText(shown);
}

namespace {
// An offset edit shows the stored value unless its text already reads as it (a lone "-"
// being typed stays).
void showOffset(QLineEdit* e, int value) {
    bool ok = false;
    const int typed = e->text().toInt(&ok);
    if ((ok && typed == value) || (e->text() == QLatin1String("-") && e->hasFocus())) return;
    e->setText(QString::number(value));
}
}  // namespace

void EngineerPage::TLRefreshXOffset() {
    if (!gun_) return;
    for (int k = 1; k <= 10; ++k) showOffset(xOffsets_[static_cast<std::size_t>(k - 1)], gun_->engineerOffset(Axis::X, k));
}

void EngineerPage::TLRefreshYOffset() {
    if (!gun_) return;
    for (int k = 1; k <= 10; ++k) showOffset(yOffsets_[static_cast<std::size_t>(k - 1)], gun_->engineerOffset(Axis::Y, k));
}

}  // namespace nivra::ui
