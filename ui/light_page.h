// The Breathing Light page (gbPage3): on its panel Img_P3 the effect buttons lbl_LED1..6 with
// their radio pictures Img_LED1..6, the speed bar Img_Fall1..10 and the colour swatches
// lbl_Col1..10 (shapes cs_Col1..10 under the frames Img_Col1..10), each panel with a title.
// The page is a view of the LightingModel: a click calls one model method, and the page
// redraws itself from the model's changed() signal.
#pragma once

#include "ui/skin_page.h"

#include <QColor>

#include <array>
#include <functional>
#include <optional>

class QRadioButton;

namespace nivra {
class LightingModel;
}

namespace nivra::ui {

class ClickLabel;

// A colour swatch (cs_Col1..10): a filled shape in the colour of the image.
class ColourSwatch : public QWidget {
public:
    using QWidget::QWidget;
    void setColour(const QColor& c);
    QColor colour() const { return colour_; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QColor colour_ = Qt::black;
};

class LightPage : public SkinPage {
public:
    LightPage(const SkinPort& skin, QWidget* parent);

    // The page shows `model` and sends its clicks there from now on.
    void attach(LightingModel& model);
    // The window's language 1..3: the effect names and the colour dialog follow it.
    void applyLanguage(int language);
    // Redraws every control from the model.
    void refresh();

    // Handlers.
    void RGBMode_OnClick(int button);  // lbl_LED1..6
    void FallTime_OnClick(int segment);  // Img_Fall1..10
    void lbl_ColClick(int n);  // lbl_Col1..10: the colour dialog, then the model

    // The colour dialog: the chosen colour, or nothing when cancelled. Qt's own dialog in
    // the window's language unless a test puts its own answer here.
    std::function<std::optional<QColor>(const QColor& initial)> chooseColour;

private:
    std::optional<QColor> runColourDialog(const QColor& initial);
    QString effectName(int code) const;

    LightingModel* model_ = nullptr;
    int language_ = 1;
    std::array<QLabel*, 6> radios_{};
    std::array<ClickLabel*, 6> effects_{};
    std::array<QRadioButton*, 6> current_{};
    std::array<ClickLabel*, 10> segments_{};
    std::array<ColourSwatch*, 10> swatches_{};
    std::array<QLabel*, 10> frames_{};
    std::array<ClickLabel*, 10> swatchLabels_{};
    QLabel* speedNote_ = nullptr;
    QLabel* colourHint_ = nullptr;
    QLabel* syncNote_ = nullptr;
};

}  // namespace nivra::ui
