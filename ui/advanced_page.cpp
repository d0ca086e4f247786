// The Advanced page (gbPage2).
#include "ui/advanced_page.h"

#include "settings/cpi_model.h"
#include "settings/fire_key_model.h"
#include "settings/pointer_settings.h"
#include "ui/number_edits.h"
#include "ui/skin_port.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QGraphicsOpacityEffect>

#include <tuple>

namespace nivra::ui {

namespace {

constexpr std::array<int, 4> kRates{125, 250, 500, 1000};
constexpr std::array<const char*, 3> kScaleStems{"Spd", "DbSpd", "ScrSpd"};

QString numbered(const char* format, int n) { return QString::fromLatin1(format).arg(n); }

// A control shown greyed that takes no clicks. The pictures are dimmed rather than disabled:
// a disabled picture would be drawn tinted with the window's transparent colour.
void greyOut(QWidget* w, bool grey) {
    w->setAttribute(Qt::WA_TransparentForMouseEvents, grey);
    if (grey && !w->graphicsEffect()) {
        auto* dim = new QGraphicsOpacityEffect(w);
        dim->setOpacity(0.35);
        w->setGraphicsEffect(dim);
    } else if (!grey && w->graphicsEffect()) {
        w->setGraphicsEffect(nullptr);
    }
}

// Drawn dim, still taking clicks (a disabled CPI level's label turns it on again).
void dim(QWidget* w, bool dimmed) {
    if (dimmed && !w->graphicsEffect()) {
        auto* effect = new QGraphicsOpacityEffect(w);
        effect->setOpacity(0.3);
        w->setGraphicsEffect(effect);
    } else if (!dimmed && w->graphicsEffect()) {
        w->setGraphicsEffect(nullptr);
    }
}

}  // namespace

AdvancedPage::AdvancedPage(const SkinPort& skin, QWidget* parent, AdvancedModels models) : SkinPage(2, skin, parent) {
    addPanel();
    chooseColour = [this](QColor initial) -> std::optional<QColor> {
        // The same colour dialog as the other pages: our own, titled in the window's language.
        QColorDialog dialog(initial, this);
        dialog.setOption(QColorDialog::DontUseNativeDialog);
        dialog.setWindowTitle(text(QStringLiteral("Str768")));
        if (dialog.exec() != QDialog::Accepted || !dialog.currentColor().isValid()) return std::nullopt;
        return std::optional<QColor>(dialog.currentColor());
    };

    // CPI levels: radio picture, label, value label, twelve-segment bar and colour swatch.
    for (int n = 1; n <= 8; ++n) {
        const auto i = static_cast<std::size_t>(n - 1);
        levelRadios_[i] = clickLabel(numbered("Img_DPI%1", n), [this, n] { CurrentDPI_OnClick(n); });
        levelLabels_[i] = clickLabel(numbered("lbl_DPI%1", n), [this, n] { DPILevel_OnClick(n); });
        levelValues_[i] = addLabel(numbered("lbl_DPI%1Value", n));
        for (int k = 1; k <= 12; ++k)
            levelBars_[i][static_cast<std::size_t>(k - 1)] =
                clickLabel(QStringLiteral("Img_DPI%1_%2").arg(n).arg(k), [this, n, k] { DPIVlaue_OnClick(n, k); });
        addLabel(numbered("Img_DPI%1Col", n));
        swatches_[i] = addLabel(numbered("cs_DPI%1Col", n));
        swatches_[i]->setAutoFillBackground(true);
        swatchClicks_[i] = clickLabel(numbered("lbl_DPI%1Col", n), [this, n] { lbl_DPIColClick(n); });
    }
    aimCaption_ = addLabel(QStringLiteral("lbl_AIMDPI"));
    aimValue_ = addLabel(QStringLiteral("lbl_AIMDPIValue"));
    for (int k = 1; k <= 12; ++k)
        aimBar_[static_cast<std::size_t>(k - 1)] = clickLabel(numbered("Img_AIMDPI_%1", k), [this, k] { AIMDPIValue_OnClick(k); });

    // Report rate.
    for (int k = 1; k <= 4; ++k) {
        rateRadios_[static_cast<std::size_t>(k - 1)] = addLabel(numbered("Img_Rep%1", k));
        rateLabels_[static_cast<std::size_t>(k - 1)] = clickLabel(numbered("lbl_Rep%1", k), [this, k] { ReportRate_OnClick(k); });
    }

    // Fire keys: clicks, interval, Continue.
    for (int n = 1; n <= 3; ++n) {
        const auto i = static_cast<std::size_t>(n - 1);
        repeatEdits_[i] = new TIntEdit(this);
        repeatEdits_[i]->setObjectName(numbered("Edt_Repeat%1", n));
        repeatEdits_[i]->resize(64, 22);
        repeatEdits_[i]->setMaxLength(5);
        repeatEdits_[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        connect(repeatEdits_[i], &QLineEdit::textEdited, this, [this, n](const QString& t) { Edt_RepeatChange(n, t); });
        connect(repeatEdits_[i], &QLineEdit::editingFinished, this, [this, n] { Edt_RepeatExit(n); });
        delayEdits_[i] = new TIntEdit(this);
        delayEdits_[i]->setObjectName(numbered("Edt_DelayTime%1", n));
        delayEdits_[i]->resize(80, 22);
        delayEdits_[i]->setMaxLength(6);
        delayEdits_[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        connect(delayEdits_[i], &QLineEdit::textEdited, this, [this, n](const QString& t) { Edt_DelayTimeChange(n, t); });
        continuePictures_[i] = addLabel(numbered("Img_Fire%1Continue", n));
        clickLabel(numbered("lbl_Fire%1Continue", n), [this, n] { lbl_FireContinueClick(n); });
    }

    // Pointer settings: three scales of eleven segments and two toggles.
    for (std::size_t s = 0; s < 3; ++s) {
        for (int k = 1; k <= 11; ++k) {
            const auto i = static_cast<std::size_t>(k - 1);
            const QString stem = QLatin1String(kScaleStems[s]);
            scales_[s][i] = clickLabel(QStringLiteral("Img_%1%2").arg(stem).arg(k), [this, s, k] {
                if (s == 0) MseSpd_OnClick(k);
                else if (s == 1) MseDbSpd_OnClick(k);
                else MseScrSpd_OnClick(k);
            });
            QLabel* number = addLabel(QStringLiteral("lbl_%1%2").arg(stem).arg(k));
            number->setText(QString::number(k));
            number->setAttribute(Qt::WA_TransparentForMouseEvents);
            scaleNumbers_[s][i] = number;
        }
    }
    for (std::size_t s = 0; s < 3; ++s) {
        notRead_[s] = addLabel(QStringLiteral("lbl_%1NotRead").arg(QLatin1String(kScaleStems[s])));
        notRead_[s]->setAttribute(Qt::WA_TransparentForMouseEvents);
        notRead_[s]->hide();
    }
    // The count and interval columns carry pictures in the panel art and explain themselves
    // in tooltips; the Continue column has a caption of its own.
    continueTitle_ = addLabel(QStringLiteral("lbl_FireContinueTitle"));
    continueTitle_->setAttribute(Qt::WA_TransparentForMouseEvents);
    precisionPicture_ = addLabel(QStringLiteral("Img_IsControl"));
    precisionClick_ = clickLabel(QStringLiteral("lbl_IsControl"), [this] { lbl_IsControlClick(); });
    wholeScreenPicture_ = addLabel(QStringLiteral("Img_IsScreen"));
    wholeScreenClick_ = clickLabel(QStringLiteral("lbl_IsScreen"), [this] { lbl_IsScreenClick(); });
    precisionBox_ = new QCheckBox(this);
    precisionBox_->setObjectName(QStringLiteral("cb_IsControl"));
    precisionBox_->hide();
    wholeScreenBox_ = new QCheckBox(this);
    wholeScreenBox_->setObjectName(QStringLiteral("cb_IsScreen"));
    wholeScreenBox_->hide();

    for (std::size_t t = 0; t < titles_.size(); ++t) {
        static constexpr std::array<const char*, 5> kTitles{"lbl_SpdTitle", "lbl_DbSpdTitle", "lbl_ScrSpdTitle",
                                                            "lbl_IsControlTitle", "lbl_IsScreenTitle"};
        titles_[t] = addLabel(QLatin1String(kTitles[t]));
        titles_[t]->setAttribute(Qt::WA_TransparentForMouseEvents);
    }

    // The transparent blocker over the page while a click is handled.
    blocker_ = new CoverLabel(this);
    blocker_->setObjectName(QStringLiteral("Blocker_2"));
    blocker_->hide();

    finishLayout();
    setModels(models);
}

ClickLabel* AdvancedPage::clickLabel(const QString& name, std::function<void()> onClick) {
    auto* l = new ClickLabel(this);
    l->setObjectName(name);
    l->onClick = std::move(onClick);
    return l;
}

void AdvancedPage::setModels(AdvancedModels models) {
    for (QObject* old : {static_cast<QObject*>(m_.cpi), static_cast<QObject*>(m_.fire), static_cast<QObject*>(m_.pointer)})
        if (old) disconnect(old, nullptr, this, nullptr);
    m_ = models;
    if (m_.cpi) connect(m_.cpi, &CpiModel::changed, this, &AdvancedPage::refreshCpi);
    if (m_.fire) connect(m_.fire, &FireKeyModel::changed, this, &AdvancedPage::refreshFire);
    if (m_.pointer) connect(m_.pointer, &PointerSettings::changed, this, &AdvancedPage::refreshPointer);
    refresh();
}

// ---------------------------------------------------------------- handlers

void AdvancedPage::handle(const std::function<void()>& body) {
    if (handling_) return;
    handling_ = true;
    blocker_->setGeometry(rect());
    blocker_->show();
    body();
    blocker_->hide();
    handling_ = false;
}

void AdvancedPage::DPILevel_OnClick(int level) {
    handle([&] { if (m_.cpi) m_.cpi->clickLevel(level); });
}

void AdvancedPage::DPIVlaue_OnClick(int level, int segment) {
    // The bar of a disabled level does not react.
    if (!m_.cpi || !m_.cpi->levelEnabled(level)) return;
    handle([&] { m_.cpi->setLevelValue(level, segment - 1); });
}

void AdvancedPage::CurrentDPI_OnClick(int level) {
    handle([&] { if (m_.cpi) m_.cpi->setCurrentLevel(level); });
}

void AdvancedPage::lbl_DPIColClick(int level) {
    if (!m_.cpi || !m_.cpi->levelEnabled(level) || !chooseColour) return;
    handle([&] {
        const Rgb now = m_.cpi->levelColour(level);
        if (const std::optional<QColor> c = chooseColour(QColor(now.r, now.g, now.b)))
            m_.cpi->chooseLevelColour(level, Rgb{static_cast<std::uint8_t>(c->red()), static_cast<std::uint8_t>(c->green()),
                                                 static_cast<std::uint8_t>(c->blue())});
    });
}

void AdvancedPage::AIMDPIValue_OnClick(int segment) {
    handle([&] { if (m_.cpi) m_.cpi->setAimLevel(segment - 1, false); });
}

void AdvancedPage::ReportRate_OnClick(int choice) {
    if (choice < 1 || choice > 4) return;
    handle([&] { if (m_.cpi) m_.cpi->setReportRate(kRates[static_cast<std::size_t>(choice - 1)]); });
}

void AdvancedPage::Edt_RepeatChange(int n, const QString& text) {
    if (m_.fire && !handling_) m_.fire->setUserRepeat(n, text);
}

void AdvancedPage::Edt_RepeatExit(int n) {
    if (m_.fire && !handling_) m_.fire->leaveUserRepeat(n);
}

void AdvancedPage::Edt_DelayTimeChange(int n, const QString& text) {
    if (m_.fire && !handling_) m_.fire->setUserDelay(n, text);
}

void AdvancedPage::lbl_FireContinueClick(int n) {
    handle([&] { if (m_.fire) m_.fire->toggleUserContinue(n); });
}

void AdvancedPage::MseSpd_OnClick(int step) {
    handle([&] { if (m_.pointer) m_.pointer->MseSpd_OnClick(step); });
}

void AdvancedPage::MseDbSpd_OnClick(int step) {
    handle([&] { if (m_.pointer) m_.pointer->MseDbSpd_OnClick(step); });
}

void AdvancedPage::MseScrSpd_OnClick(int step) {
    handle([&] { if (m_.pointer) m_.pointer->MseScrSpd_OnClick(step); });
}

void AdvancedPage::lbl_IsControlClick() {
    handle([&] { if (m_.pointer) m_.pointer->lbl_IsControlClick(); });
}

void AdvancedPage::lbl_IsScreenClick() {
    handle([&] { if (m_.pointer) m_.pointer->lbl_IsScreenClick(); });
}

// ---------------------------------------------------------------- drawing

void AdvancedPage::picture(QLabel* label, const QString& name) {
    if (skinPictureOf(label) != name || label->size() != label->pixmap().size()) setSkinPicture(label, skin_, name);
}

QString AdvancedPage::text(const QString& id) const { return skin_.text(id); }

bool AdvancedPage::oneLit() const { return skin_.globalLayout().dpiLedStatus == 1; }

void AdvancedPage::refresh() {
    refreshCpi();
    refreshFire();
    refreshPointer();
    placeTitles();
}

// The captions of the pointer scales stand over their first segment in the font of the
// scale numbers; a toggle's caption ends over the toggle. The fire key edits explain
// themselves in tooltips.
void AdvancedPage::placeTitles() {
    for (std::size_t t = 0; t < titles_.size(); ++t) {
        QLabel* title = titles_[t];
        title->setText(text(QStringLiteral("Str%1").arg(726 + static_cast<int>(t))));
        QFont f = scaleNumbers_[0][0]->font();
        if (f.pointSize() > 7) f.setPointSize(f.pointSize() - 1);
        title->setFont(f);
        title->setPalette(scaleNumbers_[0][0]->palette());
    }
    for (std::size_t i = 0; i < 3; ++i) {
        repeatEdits_[i]->setToolTip(text(QStringLiteral("Str731")));
        delayEdits_[i]->setToolTip(text(QStringLiteral("Str732")));
        if (QWidget* c = findChild<QWidget*>(numbered("lbl_Fire%1Continue", static_cast<int>(i) + 1)))
            c->setToolTip(text(QStringLiteral("Str733")));
    }
    continueTitle_->setText(text(QStringLiteral("Str733")));
    {
        QFont f = scaleNumbers_[0][0]->font();
        if (f.pointSize() > 7) f.setPointSize(f.pointSize() - 1);
        continueTitle_->setFont(f);
        continueTitle_->setPalette(scaleNumbers_[0][0]->palette());
    }
    for (QLabel* note : notRead_) {
        note->setText(text(QStringLiteral("Str909")));
        // Readable over the dark segments: light text on a plate of its own.
        note->setStyleSheet(QStringLiteral("QLabel { color: rgb(226, 232, 240); background: rgba(14, 17, 22, 235);"
                                           " border: 1px solid rgb(70, 82, 98); padding: 0 6px; }"));
    }
    for (int n = 1; n <= 8; ++n) {
        levelLabels_[static_cast<std::size_t>(n - 1)]->setToolTip(text(QStringLiteral("Str907")));
        levelRadios_[static_cast<std::size_t>(n - 1)]->setToolTip(text(QStringLiteral("Str908")));
    }
    aimCaption_->setText(text(QStringLiteral("Str725")));
    fitToText(aimCaption_);
    // Sizing the titles to their text and placing them waits until the page is shown.
    titlesPlaced_ = false;
    if (isVisible()) placeTitlesInView();
}

void AdvancedPage::placeTitlesInView() {
    const std::array<QLabel*, 5> anchors{scales_[0][0], scales_[1][0], scales_[2][0], precisionPicture_, wholeScreenPicture_};
    for (std::size_t t = 0; t < titles_.size(); ++t) {
        QLabel* title = titles_[t];
        title->adjustSize();
        const QRect a = anchors[t]->geometry();
        const int top = (t < 3 ? a.top() : scales_[t == 3 ? 0 : 2][0]->y()) - title->height();
        title->move(t < 3 ? a.left() : a.right() - title->width() + 1, top);
    }
    placeNotReadNotes();
    // The Continue caption stands over the first box of its column.
    continueTitle_->adjustSize();
    const QRect box = continuePictures_[0]->geometry();
    continueTitle_->move(box.center().x() - continueTitle_->width() / 2, box.top() - continueTitle_->height() - 2);
    titlesPlaced_ = true;
}

// A note lies across the middle of its scale, in the font of the scale's caption.
void AdvancedPage::placeNotReadNotes() {
    for (std::size_t s = 0; s < 3; ++s) {
        QLabel* note = notRead_[s];
        if (!note->isVisibleTo(this)) continue;
        note->setFont(titles_[s]->font());
        note->adjustSize();
        const QRect first = scales_[s][0]->geometry();
        const QRect last = scales_[s][10]->geometry();
        note->move((first.left() + last.right() - note->width()) / 2, first.center().y() - note->height() / 2);
        note->raise();
    }
}

void AdvancedPage::showEvent(QShowEvent* e) {
    SkinPage::showEvent(e);
    if (!titlesPlaced_) placeTitlesInView();
    // The desktop's pointer settings may have changed in its own settings program meanwhile.
    if (m_.pointer) m_.pointer->refresh();
}

void AdvancedPage::refreshCpi() {
    if (!m_.cpi) return;
    const CpiModel& cpi = *m_.cpi;
    const bool one = oneLit();
    // The level colours of the layout: the AIM caption is drawn in the enabled colour, the
    // level labels start in the other one.
    const auto colourOf = [this](const char* name) -> std::optional<QColor> {
        const auto it = skin_.layout().find(QLatin1String(name));
        if (it == skin_.layout().end() || !it->second.textColour) return std::nullopt;
        return skin::toQColor(*it->second.textColour);
    };
    const std::optional<QColor> enabledColour = colourOf("lbl_AIMDPI");
    const std::optional<QColor> disabledColour = colourOf("lbl_DPI1");
    const auto valueText = [this](int index) {
        return index < 0 ? QString() : text(QStringLiteral("Str%1").arg(300 + index));
    };

    for (int n = 1; n <= 8; ++n) {
        const auto i = static_cast<std::size_t>(n - 1);
        const bool enabled = cpi.levelEnabled(n);
        QLabel* label = levelLabels_[i];
        label->setText(text(QStringLiteral("Str720")) + QString::number(n));
        if (const auto& c = enabled ? enabledColour : disabledColour) {
            QPalette pal = label->palette();
            pal.setColor(QPalette::WindowText, *c);
            label->setPalette(pal);
        }
        fitToText(label);
        // One level is in effect: its box is drawn as a radio button.
        picture(levelRadios_[i], n == cpi.currentLevel() ? QStringLiteral("RdS_E") : QStringLiteral("RdS_D"));
        const int index = cpi.levelValue(n);
        for (int k = 1; k <= 12; ++k) {
            ClickLabel* seg = levelBars_[i][static_cast<std::size_t>(k - 1)];
            picture(seg, barSegmentLit(one, index + 1, k) ? QStringLiteral("Bar2_E") : QStringLiteral("Bar2_D"));
            // A level that is off keeps its value but is drawn dim (its bar takes no clicks).
            dim(seg, !enabled);
        }
        dim(levelValues_[i], !enabled);
        dim(swatches_[i], !enabled);
        levelValues_[i]->setText(valueText(index));
        fitToText(levelValues_[i]);
        const Rgb c = cpi.levelColour(n);
        QPalette pal = swatches_[i]->palette();
        pal.setColor(QPalette::Window, QColor(c.r, c.g, c.b));
        swatches_[i]->setPalette(pal);
        if (QLabel* frame = findChild<QLabel*>(numbered("Img_DPI%1Col", n)))
            swatches_[i]->setGeometry(frame->geometry().adjusted(3, 3, -3, -3));
    }

    for (int k = 1; k <= 12; ++k)
        picture(aimBar_[static_cast<std::size_t>(k - 1)],
                barSegmentLit(one, cpi.aimLevel() + 1, k) ? QStringLiteral("Bar2_E") : QStringLiteral("Bar2_D"));
    aimValue_->setText(valueText(cpi.aimLevel()));
    fitToText(aimValue_);

    for (std::size_t k = 0; k < 4; ++k) {
        picture(rateRadios_[k], kRates[k] == cpi.reportRate() ? QStringLiteral("RdS_E") : QStringLiteral("RdS_D"));
        ClickLabel* label = rateLabels_[k];
        label->setText(text(QStringLiteral("Str%1").arg(721 + static_cast<int>(k))));
        // The caption stands right of the radio picture; the whole row takes the click.
        label->setIndent(rateRadios_[k]->width() + 8);
        fitToText(label);
    }
}

void AdvancedPage::refreshFire() {
    if (!m_.fire) return;
    for (int n = 1; n <= 3; ++n) {
        const auto i = static_cast<std::size_t>(n - 1);
        if (repeatEdits_[i]->text() != m_.fire->repeatText(n)) repeatEdits_[i]->setText(m_.fire->repeatText(n));
        if (delayEdits_[i]->text() != m_.fire->delayText(n)) delayEdits_[i]->setText(m_.fire->delayText(n));
        picture(continuePictures_[i], m_.fire->continueOn(n) ? QStringLiteral("CbS_E") : QStringLiteral("CbS_D"));
    }
}

void AdvancedPage::refreshPointer() {
    if (!m_.pointer) return;
    const PointerSettings& p = *m_.pointer;
    const bool one = oneLit();
    // A setting with no home on this desktop: its control is dimmed, takes no effect and says
    // why in its tooltip (so it stays under the mouse for the tooltip to show).
    const PointerBackend* desktop = p.desktop();
    const QString noHome = desktop ? text(QStringLiteral("Str860")).arg(desktop->name())
                                   : text(QStringLiteral("Str861")).arg(runningDesktopName());
    const auto tip = [&](PointerSetting s) { return p.holds(s) ? QString() : noHome; };
    const std::array<int, 3> steps{p.speedStep(), p.doubleClickStep(), p.wheelBarStep()};
    constexpr std::array<PointerSetting, 3> kScaleSettings{PointerSetting::Speed, PointerSetting::DoubleClick,
                                                           PointerSetting::WheelLines};
    for (std::size_t s = 0; s < 3; ++s) {
        const bool here = p.holds(kScaleSettings[s]);
        // Whole-screen scrolling greys the wheel scale; it then takes no clicks.
        const bool greyed = s == 2 && p.wholeScreenOn();
        for (int k = 1; k <= 11; ++k) {
            const auto i = static_cast<std::size_t>(k - 1);
            picture(scales_[s][i], barSegmentLit(one, steps[s], k) ? QStringLiteral("Bar1_E") : QStringLiteral("Bar1_D"));
            greyOut(scales_[s][i], greyed || !here);
            scales_[s][i]->setAttribute(Qt::WA_TransparentForMouseEvents, greyed && here);
            scales_[s][i]->setToolTip(tip(kScaleSettings[s]));
            // The number labels never take clicks.
            greyOut(scaleNumbers_[s][i], greyed || !here);
            scaleNumbers_[s][i]->setAttribute(Qt::WA_TransparentForMouseEvents);
            fitToText(scaleNumbers_[s][i]);
        }
        // No value read from the desktop: the scale says so instead of lying dark.
        notRead_[s]->setVisible(steps[s] == 0 && (s != 2 || p.wheelEnabled()));
    }
    if (isVisible()) placeNotReadNotes();
    precisionBox_->setChecked(p.precisionOn());
    wholeScreenBox_->setChecked(p.wholeScreenOn());
    picture(precisionPicture_, p.precisionOn() ? QStringLiteral("CbS_E") : QStringLiteral("CbS_D"));
    picture(wholeScreenPicture_, p.wholeScreenOn() ? QStringLiteral("CbS_E") : QStringLiteral("CbS_D"));
    for (auto [pic, click, setting] : {std::tuple{precisionPicture_, precisionClick_, PointerSetting::Precision},
                                           std::tuple{wholeScreenPicture_, wholeScreenClick_, PointerSetting::WholeScreen}}) {
        greyOut(pic, !p.holds(setting));
        click->setToolTip(tip(setting));
    }
    // The click areas reach from their offset left of the picture over the whole picture.
    precisionClick_->resize(precisionPicture_->width() + 8, precisionPicture_->height());
    wholeScreenClick_->resize(wholeScreenPicture_->width() + 2, wholeScreenPicture_->height());
}

}  // namespace nivra::ui
