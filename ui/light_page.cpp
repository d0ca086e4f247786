// The Breathing Light page (gbPage3).
#include "ui/light_page.h"

#include "settings/lighting.h"
#include "skin/engineer_captions.h"
#include "ui/skin_button.h"
#include "ui/skin_port.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPainter>
#include <QRadioButton>
#include <QTranslator>

namespace nivra::ui {

namespace {
// The effect labels cover the whole row of their radio picture; the text starts after it.
constexpr QSize kEffectLabelSize{260, 22};
constexpr int kEffectTextIndent = 26;

QColor toQColor(Rgb c) { return QColor(c.r, c.g, c.b); }

// Qt's own translation of its dialogs for a window language: 1 Simplified, 2 Traditional
// Chinese, 3 English (Qt's own texts).
QString qtLocaleOf(int language) {
    switch (language) {
        case 1: return QStringLiteral("zh_CN");
        case 2: return QStringLiteral("zh_TW");
        default: return {};
    }
}
}  // namespace

void ColourSwatch::setColour(const QColor& c) {
    if (c == colour_) return;
    colour_ = c;
    update();
}

void ColourSwatch::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colour_);
    p.drawRoundedRect(QRectF(rect()).adjusted(2, 2, -2, -2), 4, 4);
}

LightPage::LightPage(const SkinPort& skin, QWidget* parent) : SkinPage(3, skin, parent) {
    addPanel();
    for (int k = 1; k <= kEffectButtons; ++k) {
        const auto i = static_cast<std::size_t>(k - 1);
        radios_[i] = addLabel(QStringLiteral("Img_LED%1").arg(k));
        auto* label = new ClickLabel(this);
        label->setObjectName(QStringLiteral("lbl_LED%1").arg(k));
        label->resize(kEffectLabelSize);
        label->setIndent(kEffectTextIndent);
        label->setCursor(Qt::PointingHandCursor);
        label->onClick = [this, k] { RGBMode_OnClick(k); };
        effects_[i] = label;
        current_[i] = new QRadioButton(this);
        current_[i]->setObjectName(QStringLiteral("rb_LED%1").arg(k));
        current_[i]->hide();
    }
    for (int n = 1; n <= kSpeedBarSegments; ++n) {
        auto* segment = new ClickLabel(this);
        segment->setObjectName(QStringLiteral("Img_Fall%1").arg(n));
        segment->setCursor(Qt::PointingHandCursor);
        segment->onClick = [this, n] { FallTime_OnClick(n); };
        // A disabled picture is drawn in the colours of the palette's window: the window's
        // transparent colour would tint the bar red; a dark grey draws it greyed out.
        QPalette pal = segment->palette();
        pal.setColor(QPalette::Disabled, QPalette::Window, QColor(52, 56, 64));
        segment->setPalette(pal);
        segments_[static_cast<std::size_t>(n - 1)] = segment;
    }
    for (int n = 1; n <= kUserColours; ++n) {
        const auto i = static_cast<std::size_t>(n - 1);
        swatches_[i] = new ColourSwatch(this);
        swatches_[i]->setObjectName(QStringLiteral("cs_Col%1").arg(n));
        frames_[i] = addLabel(QStringLiteral("Img_Col%1").arg(n));
        auto* label = new ClickLabel(this);
        label->setObjectName(QStringLiteral("lbl_Col%1").arg(n));
        label->setCursor(Qt::PointingHandCursor);
        label->onClick = [this, n] { lbl_ColClick(n); };
        swatchLabels_[i] = label;
    }
    // What each panel holds, and the notes that explain a panel left empty or disabled.
    for (const char* name : {"lbl_LightEffectTitle", "lbl_LightSpeedTitle", "lbl_LightColourTitle", "lbl_LightFast"})
        addLabel(QLatin1String(name));
    addLabel(QStringLiteral("lbl_LightSlow"))->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    speedNote_ = addLabel(QStringLiteral("lbl_LightSpeedNote"));
    colourHint_ = addLabel(QStringLiteral("lbl_LightColourHint"));
    syncNote_ = addLabel(QStringLiteral("lbl_LightSyncNote"));
    syncNote_->setWordWrap(true);
    speedNote_->hide();
    syncNote_->hide();
    chooseColour = [this](const QColor& initial) { return runColourDialog(initial); };
    finishLayout();
}

void LightPage::attach(LightingModel& model) {
    model_ = &model;
    connect(model_, &LightingModel::changed, this, [this] { refresh(); });
    refresh();
}

void LightPage::applyLanguage(int language) {
    language_ = language;
    refresh();
}

QString LightPage::effectName(int code) const {
    const int row = lighting::effectCaptionRow(model_->type(), code);
    if (row < 0) return {};
    // The caption table has no Traditional Chinese texts; that window language reads the
    // Simplified ones.
    const auto column = language_ == 3 ? skin::EngineerColumn::English : skin::EngineerColumn::SimplifiedChinese;
    return skin::EngineerCaption(row, column);
}

void LightPage::refresh() {
    if (!model_) return;
    const LightingView v = model_->view();
    for (int k = 1; k <= kEffectButtons; ++k) {
        const auto i = static_cast<std::size_t>(k - 1);
        const bool shown = v.effectShown[i];
        setSkinPicture(radios_[i], skin_, k == v.currentButton ? QStringLiteral("RdS_E") : QStringLiteral("RdS_D"));
        radios_[i]->setVisible(shown);
        effects_[i]->setText(effectName(k - 1));
        effects_[i]->setVisible(shown);
        current_[i]->setChecked(k == v.currentButton);
    }
    // "DPILED_Status" 1 lights the current segment only; 0 lights every segment up to it.
    const bool single = skin_.globalLayout().dpiLedStatus == 1;
    for (int n = 1; n <= kSpeedBarSegments; ++n) {
        ClickLabel* segment = segments_[static_cast<std::size_t>(n - 1)];
        const bool lit = single ? n == v.speedBar : n <= v.speedBar;
        setSkinPicture(segment, skin_, lit ? QStringLiteral("Bar1_E") : QStringLiteral("Bar1_D"));
        segment->setEnabled(v.speedBarEnabled);
    }
    speedNote_->setVisible(!v.speedBarEnabled);
    for (int n = 1; n <= kUserColours; ++n) {
        const auto i = static_cast<std::size_t>(n - 1);
        swatches_[i]->setColour(toQColor(v.colours[i]));
        swatches_[i]->setVisible(v.coloursShown);
        frames_[i]->setVisible(v.coloursShown);
        swatchLabels_[i]->setVisible(v.coloursShown);
    }
    colourHint_->setVisible(v.coloursShown);
    syncNote_->setVisible(!v.coloursShown);
}

void LightPage::RGBMode_OnClick(int button) {
    if (model_) model_->RGBMode_OnClick(button);
}

void LightPage::FallTime_OnClick(int segment) {
    if (model_) model_->FallTime_OnClick(segment);
}

void LightPage::lbl_ColClick(int n) {
    if (!model_ || model_->editor().busy() || n < 1 || n > kUserColours) return;
    const std::optional<QColor> chosen = chooseColour(swatches_[static_cast<std::size_t>(n - 1)]->colour());
    if (!chosen || !chosen->isValid()) return;
    const QColor c = chosen->toRgb();
    model_->lbl_ColClick(n, Rgb{static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                                static_cast<std::uint8_t>(c.blue())});
}

std::optional<QColor> LightPage::runColourDialog(const QColor& initial) {
    // Qt's texts of the dialog in the window's language, for as long as it is open.
    QTranslator translator;
    const QString locale = qtLocaleOf(language_);
    const bool translated = !locale.isEmpty() &&
                            translator.load(QStringLiteral("qtbase_") + locale,
                                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
                            QCoreApplication::installTranslator(&translator);
    QColorDialog dialog(initial, this);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    dialog.setWindowTitle(skin_.text(QStringLiteral("Str768")));
    if (!skin_.fontName().isEmpty()) {
        QFont font = dialog.font();
        font.setFamily(skin_.fontName());
        dialog.setFont(font);
    }
    const bool ok = dialog.exec() == QDialog::Accepted;
    if (translated) QCoreApplication::removeTranslator(&translator);
    if (!ok) return std::nullopt;
    return dialog.selectedColor();
}

}  // namespace nivra::ui
