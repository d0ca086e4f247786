// The Fire Macro Page (gbPage6), opened from the function menu's "Fire Macro": on its panel
// Img_P6 the seven gun buttons Btn_Fire1..7, the columns of the selected gun (shots, X and Y
// move with their offsets, interval, LED colour), the scope pictures of guns 6 and 7, the
// keep-left-key option, Confirm and Cancel. The panel's lower right box is left to the fire
// macro editor. A thin view of the GunModel: each handler calls one model method and the page
// redraws itself from the model's changed() signal.
#pragma once

#include "ui/skin_page.h"

#include <QColor>

#include <array>
#include <functional>
#include <optional>

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace nivra {
class GunModel;
enum class GunParam;
}  // namespace nivra

namespace nivra::ui {

class ClickLabel;
class ColourSwatch;
class HoverLabel;
class PanelBox;

class FireMacroPage : public SkinPage {
public:
    FireMacroPage(const SkinPort& skin, QWidget* parent);

    // The page shows `model` and sends its edits there from now on.
    void attach(GunModel& model);
    // Redraws every control from the model (also after a language change).
    void refresh();

    // The colour dialog: the chosen colour, or nothing when cancelled. Qt's own dialog unless
    // a test puts its own answer here.
    std::function<std::optional<QColor>(const QColor& initial)> chooseColour;

    // --- Handlers, named after their controls ------------------------------------------------
    void Btn_FireClick(int gun);  // Btn_Fire1..7
    void Btn_FireMouseEnter(int gun);
    void Btn_FireMouseLeave(int gun);
    void Edt_FireCntChange(int column, const QString& text);
    void Edt_FireXChange(int column, const QString& text);
    void Edt_FireYChange(int column, const QString& text);
    void Edt_FireXOffsetChange(int column, const QString& text);
    void Edt_FireYOffsetChange(int column, const QString& text);
    void Edt_FireTimeChange(int column, const QString& text);
    void IB_FireColorClick(int column);
    void lbl_FireSelLeftClick();
    void Btn_FireConfirmClick();
    void Btn_FireExitClick();

private:
    QLineEdit* edit(int column, GunParam p) const;
    void addEdit(int column, GunParam p, const QString& name, bool isSigned, int width);
    void drawGun(int gun, bool lit);
    void placeCaptions();
    QString text(const QString& id) const;

    GunModel* model_ = nullptr;
    std::array<QLabel*, 7> gunPictures_{};
    std::array<HoverLabel*, 7> gunButtons_{};
    std::array<QRadioButton*, 7> gunRadios_{};
    std::array<QLabel*, 5> modeImages_{};
    std::array<std::array<QLineEdit*, 6>, 3> edits_{};
    std::array<QLabel*, 3> colourFrames_{};
    std::array<ColourSwatch*, 3> swatches_{};
    std::array<ClickLabel*, 3> colourButtons_{};
    std::array<QLabel*, 7> captions_{};  // over the seven columns
    QLabel* scopeCaption_ = nullptr;
    PanelBox* scopeBox_ = nullptr;  // drawn only while the gun has scopes
    QLabel* keepLeftPicture_ = nullptr;
    ClickLabel* keepLeftLabel_ = nullptr;
    QCheckBox* keepLeftBox_ = nullptr;  // cb_FireSelLeft
};

}  // namespace nivra::ui
