// The Fire Macro Page (gbPage6).
#include "ui/fire_macro_page.h"

#include "settings/gun_model.h"
#include "ui/light_page.h"
#include "ui/panel_box.h"
#include "ui/skin_button.h"
#include "ui/skin_port.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>

namespace nivra::ui {

// A gun button: reports clicks and the pointer entering and leaving it.
class HoverLabel : public ClickLabel {
public:
    using ClickLabel::ClickLabel;
    std::function<void()> onEnter;
    std::function<void()> onLeave;

protected:
    void enterEvent(QEnterEvent* e) override {
        ClickLabel::enterEvent(e);
        if (onEnter) onEnter();
    }
    void leaveEvent(QEvent* e) override {
        ClickLabel::leaveEvent(e);
        if (onLeave) onLeave();
    }
};

namespace {

constexpr std::array<GunParam, 6> kParams{GunParam::Count, GunParam::X,       GunParam::XOffset,
                                          GunParam::Y,     GunParam::YOffset, GunParam::Time};
// The edits' names in the order of kParams ("%1" is the column).
constexpr std::array<const char*, 6> kEditNames{"Edt_FireCnt%1", "Edt_FireX%1",       "Edt_FireX%1Offset",
                                                "Edt_FireY%1",   "Edt_FireY%1Offset", "Edt_FireTime%1"};
// Captions over the seven columns (count .. colour) and the full names shown as tooltips.
constexpr int kFirstCaption = 640;
constexpr std::array<int, 7> kTooltips{610, 611, 0, 612, 0, 613, 614};
constexpr int kMissingValue = 647;
constexpr int kScopes = 648;
constexpr int kEditHeight = 22;

QString numbered(const char* format, int n) { return QString::fromLatin1(format).arg(n); }
std::size_t at(int n) { return static_cast<std::size_t>(n - 1); }

}  // namespace

FireMacroPage::FireMacroPage(const SkinPort& skin, QWidget* parent) : SkinPage(6, skin, parent) {
    addPanel();
    chooseColour = [this](const QColor& initial) -> std::optional<QColor> {
        QColorDialog dialog(initial, this);
        dialog.setOption(QColorDialog::DontUseNativeDialog);
        dialog.setWindowTitle(text(QStringLiteral("Str768")));
        if (dialog.exec() != QDialog::Accepted) return std::nullopt;
        return dialog.selectedColor();
    };

    for (int g = 1; g <= kGuns; ++g) {
        gunPictures_[at(g)] = addLabel(numbered("Img_Fire%1", g));
        auto* button = new HoverLabel(this);
        button->setObjectName(numbered("Btn_Fire%1", g));
        // The name stands in the card's top left corner, above the silhouette.
        button->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        button->setIndent(8);
        button->setContentsMargins(0, 3, 0, 0);
        button->setCursor(Qt::PointingHandCursor);
        button->onClick = [this, g] { Btn_FireClick(g); };
        button->onEnter = [this, g] { Btn_FireMouseEnter(g); };
        button->onLeave = [this, g] { Btn_FireMouseLeave(g); };
        gunButtons_[at(g)] = button;
        gunRadios_[at(g)] = new QRadioButton(this);
        gunRadios_[at(g)]->setObjectName(numbered("rb_Fire%1", g));
        gunRadios_[at(g)]->hide();
    }
    for (int m = 1; m <= kGunModeImages; ++m) modeImages_[at(m)] = addLabel(numbered("Img_GunMode%1", m));
    scopeCaption_ = addLabel(QStringLiteral("lbl_GunModeTitle"));
    scopeBox_ = new PanelBox(this);
    scopeBox_->setObjectName(QStringLiteral("GunModeBox"));
    scopeBox_->stackUnder(modeImages_[0]);
    scopeBox_->hide();

    for (int c = 1; c <= kGunColumns; ++c) {
        for (std::size_t i = 0; i < kParams.size(); ++i) {
            const GunParam p = kParams[i];
            const bool isSigned = p != GunParam::Count && p != GunParam::Time;
            addEdit(c, p, numbered(kEditNames[i], c), isSigned, 64);
        }
        colourFrames_[at(c)] = addLabel(numbered("Img_FireColor%1", c));
        swatches_[at(c)] = new ColourSwatch(this);
        swatches_[at(c)]->setObjectName(numbered("cs_FireColor%1", c));
        auto* colour = new ClickLabel(this);
        colour->setObjectName(numbered("IB_FireColor%1", c));
        colour->setCursor(Qt::PointingHandCursor);
        colour->onClick = [this, c] { IB_FireColorClick(c); };
        colourButtons_[at(c)] = colour;
    }
    for (std::size_t i = 0; i < captions_.size(); ++i) {
        captions_[i] = addLabel(QStringLiteral("lbl_FireColumn%1").arg(i + 1));
        captions_[i]->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    }

    keepLeftPicture_ = addLabel(QStringLiteral("Img_FireSelLeft"));
    keepLeftLabel_ = new ClickLabel(this);
    keepLeftLabel_->setObjectName(QStringLiteral("lbl_FireSelLeft"));
    keepLeftLabel_->setCursor(Qt::PointingHandCursor);
    keepLeftLabel_->onClick = [this] { lbl_FireSelLeftClick(); };
    keepLeftBox_ = new QCheckBox(this);
    keepLeftBox_->setObjectName(QStringLiteral("cb_FireSelLeft"));
    keepLeftBox_->hide();

    SkinButton* confirm = addButton(QStringLiteral("Btn_FireConfirm"), ButtonKind::A);
    confirm->onClick = [this] { Btn_FireConfirmClick(); };
    SkinButton* cancel = addButton(QStringLiteral("Btn_FireExit"), ButtonKind::A);
    cancel->onClick = [this] { Btn_FireExitClick(); };
    finishLayout();
}

void FireMacroPage::addEdit(int column, GunParam p, const QString& name, bool isSigned, int width) {
    auto* e = new QLineEdit(this);
    e->setObjectName(name);
    e->resize(width, kEditHeight);
    e->setAlignment(Qt::AlignCenter);
    // Digits only; the moves and offsets take a leading minus as well.
    const QRegularExpression pattern(isSigned ? QStringLiteral("-?[0-9]{0,4}") : QStringLiteral("[0-9]{0,6}"));
    e->setValidator(new QRegularExpressionValidator(pattern, e));
    edits_[at(column)][static_cast<std::size_t>(std::find(kParams.begin(), kParams.end(), p) - kParams.begin())] = e;
    connect(e, &QLineEdit::textEdited, this, [this, column, p](const QString& t) {
        switch (p) {
            case GunParam::Count: Edt_FireCntChange(column, t); break;
            case GunParam::X: Edt_FireXChange(column, t); break;
            case GunParam::Y: Edt_FireYChange(column, t); break;
            case GunParam::XOffset: Edt_FireXOffsetChange(column, t); break;
            case GunParam::YOffset: Edt_FireYOffsetChange(column, t); break;
            case GunParam::Time: Edt_FireTimeChange(column, t); break;
        }
    });
}

QLineEdit* FireMacroPage::edit(int column, GunParam p) const {
    return edits_[at(column)][static_cast<std::size_t>(std::find(kParams.begin(), kParams.end(), p) - kParams.begin())];
}

void FireMacroPage::attach(GunModel& model) {
    if (model_) disconnect(model_, nullptr, this, nullptr);
    model_ = &model;
    connect(model_, &GunModel::changed, this, [this] { refresh(); });
    refresh();
}

QString FireMacroPage::text(const QString& id) const { return skin_.text(id); }

// ---------------------------------------------------------------- handlers

void FireMacroPage::Btn_FireClick(int gun) {
    if (model_) model_->selectGun(gun);
}

void FireMacroPage::Btn_FireMouseEnter(int gun) { drawGun(gun, true); }

void FireMacroPage::Btn_FireMouseLeave(int gun) { drawGun(gun, model_ && model_->gun() == gun); }

void FireMacroPage::Edt_FireCntChange(int column, const QString& t) {
    if (model_) model_->setCount(column, t);
}

void FireMacroPage::Edt_FireXChange(int column, const QString& t) {
    if (model_) model_->setMove(column, Axis::X, t);
}

void FireMacroPage::Edt_FireYChange(int column, const QString& t) {
    if (model_) model_->setMove(column, Axis::Y, t);
}

void FireMacroPage::Edt_FireXOffsetChange(int column, const QString& t) {
    if (model_) model_->setOffset(column, Axis::X, t);
}

void FireMacroPage::Edt_FireYOffsetChange(int column, const QString& t) {
    if (model_) model_->setOffset(column, Axis::Y, t);
}

void FireMacroPage::Edt_FireTimeChange(int column, const QString& t) {
    if (model_) model_->setTime(column, t);
}

void FireMacroPage::IB_FireColorClick(int column) {
    if (!model_ || column > model_->columns() || !chooseColour) return;
    const Rgb now = model_->colour(column);
    const std::optional<QColor> chosen = chooseColour(QColor(now.r, now.g, now.b));
    if (!chosen || !chosen->isValid()) return;
    const QColor c = chosen->toRgb();
    model_->chooseColour(column, Rgb{static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                                     static_cast<std::uint8_t>(c.blue())});
}

void FireMacroPage::lbl_FireSelLeftClick() {
    if (model_) model_->toggleKeepLeft();
}

void FireMacroPage::Btn_FireConfirmClick() {
    if (model_) model_->confirm();
}

void FireMacroPage::Btn_FireExitClick() {
    if (model_) model_->cancel();
}

// ---------------------------------------------------------------- drawing

void FireMacroPage::drawGun(int gun, bool lit) {
    if (gun < 1 || gun > kGuns) return;
    const QString name = QStringLiteral("Gun%1_0%2").arg(gun).arg(lit ? 2 : 1);
    QLabel* picture = gunPictures_[at(gun)];
    if (skinPictureOf(picture) != name) setSkinPicture(picture, skin_, name);
}

void FireMacroPage::refresh() {
    placeCaptions();
    if (!model_) return;
    const GunModel& m = *model_;
    for (int g = 1; g <= kGuns; ++g) {
        drawGun(g, g == m.gun() || gunButtons_[at(g)]->underMouse());
        gunRadios_[at(g)]->setChecked(g == m.gun());
    }
    for (int i = 1; i <= kGunModeImages; ++i) modeImages_[at(i)]->setVisible(m.modeImageShown(i));
    // Guns without scopes show no scope row: neither its caption nor its box.
    const bool scopes = m.modeImageShown(1) || m.modeImageShown(3);
    scopeCaption_->setVisible(scopes);
    scopeBox_->setVisible(scopes);
    for (int c = 1; c <= kGunColumns; ++c) {
        const bool shown = c <= m.columns();
        for (std::size_t i = 0; i < kParams.size(); ++i) {
            const GunParam p = kParams[i];
            QLineEdit* e = edit(c, p);
            e->setVisible(shown);
            const QString t = m.text(c, p);
            if (e->text() != t) e->setText(t);
            // A value the fire macro does not hold cannot be edited.
            const bool has = m.has(c, p);
            e->setEnabled(has);
            e->setToolTip(has ? captions_[i]->toolTip() : text(QStringLiteral("Str%1").arg(kMissingValue)));
        }
        const Rgb colour = m.colour(c);
        swatches_[at(c)]->setColour(QColor(colour.r, colour.g, colour.b));
        swatches_[at(c)]->setGeometry(colourFrames_[at(c)]->geometry().adjusted(3, 3, -3, -3));
        for (QWidget* w : {static_cast<QWidget*>(colourFrames_[at(c)]), static_cast<QWidget*>(swatches_[at(c)]),
                           static_cast<QWidget*>(colourButtons_[at(c)])})
            w->setVisible(shown);
        colourButtons_[at(c)]->raise();
    }
    keepLeftBox_->setChecked(m.keepLeft());
    const QString box = m.keepLeft() ? QStringLiteral("CbS_E") : QStringLiteral("CbS_D");
    if (skinPictureOf(keepLeftPicture_) != box) setSkinPicture(keepLeftPicture_, skin_, box);
}

// The column captions stand centred over the first row of edits, in the edits' font; each
// carries the column's full name as its tooltip. The scope caption stands over the scope row.
void FireMacroPage::placeCaptions() {
    std::array<QWidget*, 7> anchors{};
    for (std::size_t i = 0; i < kParams.size(); ++i) anchors[i] = edit(1, kParams[i]);
    anchors[6] = colourFrames_[0];
    for (std::size_t i = 0; i < captions_.size(); ++i) {
        QLabel* caption = captions_[i];
        caption->setText(text(QStringLiteral("Str%1").arg(kFirstCaption + static_cast<int>(i))));
        if (kTooltips[i]) caption->setToolTip(text(QStringLiteral("Str%1").arg(kTooltips[i])));
        QFont f = gunButtons_[0]->font();
        caption->setFont(f);
        caption->setPalette(gunButtons_[0]->palette());
        const QRect a = anchors[i]->geometry();
        const int width = std::max(a.width() + 8, caption->sizeHint().width());
        caption->setGeometry(a.center().x() - width / 2, anchors[0]->y() - 22, width, 18);
    }
    scopeCaption_->setText(text(QStringLiteral("Str%1").arg(kScopes)));
    scopeCaption_->setFont(gunButtons_[0]->font());
    scopeCaption_->setPalette(gunButtons_[0]->palette());
    scopeCaption_->adjustSize();
    const QRect first = modeImages_[0]->geometry();
    scopeCaption_->move(first.left(), first.top() - scopeCaption_->height() - 8);
    // The box holds the caption and the five scope places, whichever of them a gun shows.
    QRect row = scopeCaption_->geometry();
    for (const QLabel* image : modeImages_) row |= image->geometry();
    scopeBox_->frame(row.adjusted(-12, -4, 12, 10));
}

}  // namespace nivra::ui
