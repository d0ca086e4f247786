// The Advanced page (gbPage2): CPI levels, the AIM level, the report rate, the fire keys and
// the PC's pointer settings on its panel Img_P2. A thin view: each handler calls one model
// method, and the controls are redrawn from the models' change signals.
#pragma once

#include "ui/skin_page.h"

#include <QColor>
#include <QString>

#include <array>
#include <functional>
#include <optional>

class QCheckBox;

namespace nivra {
class CpiModel;
class FireKeyModel;
class PointerSettings;
}  // namespace nivra

namespace nivra::ui {

class ClickLabel;
class TIntEdit;

// The models the page shows; any may be null (its controls then stay as the skin left them).
struct AdvancedModels {
    CpiModel* cpi = nullptr;
    FireKeyModel* fire = nullptr;
    PointerSettings* pointer = nullptr;
};

class AdvancedPage : public SkinPage {
public:
    AdvancedPage(const SkinPort& skin, QWidget* parent, AdvancedModels models = {});
    void setModels(AdvancedModels models);

    // The colour dialog (QColorDialog by default); tests put their own answer here.
    std::function<std::optional<QColor>(QColor initial)> chooseColour;

    // --- Handlers, named after their controls --------------------------------------------------
    void DPILevel_OnClick(int level);
    void DPIVlaue_OnClick(int level, int segment);  // segment 1..12 of a level's bar
    void CurrentDPI_OnClick(int level);
    void lbl_DPIColClick(int level);
    void AIMDPIValue_OnClick(int segment);
    void ReportRate_OnClick(int choice);  // 1..4: 125, 250, 500, 1000 Hz
    void Edt_RepeatChange(int n, const QString& text);
    void Edt_RepeatExit(int n);
    void Edt_DelayTimeChange(int n, const QString& text);
    void lbl_FireContinueClick(int n);
    void MseSpd_OnClick(int step);
    void MseDbSpd_OnClick(int step);
    void MseScrSpd_OnClick(int step);
    void lbl_IsControlClick();
    void lbl_IsScreenClick();

    // Redraws every control from the models (also after a language change).
    void refresh();

protected:
    void showEvent(QShowEvent* e) override;

private:
    // Runs a click's handler unless another one is running; the page takes no clicks meanwhile.
    void handle(const std::function<void()>& body);
    void refreshCpi();
    void refreshFire();
    void refreshPointer();
    void placeTitles();
    void placeTitlesInView();
    void placeNotReadNotes();
    void picture(QLabel* label, const QString& name);
    QString text(const QString& id) const;
    bool oneLit() const;
    ClickLabel* clickLabel(const QString& name, std::function<void()> onClick);

    AdvancedModels m_;
    bool handling_ = false;
    bool titlesPlaced_ = false;
    CoverLabel* blocker_ = nullptr;
    std::array<ClickLabel*, 8> levelLabels_{};
    std::array<ClickLabel*, 8> levelRadios_{};
    std::array<std::array<ClickLabel*, 12>, 8> levelBars_{};
    std::array<QLabel*, 8> levelValues_{};
    std::array<QLabel*, 8> swatches_{};
    std::array<ClickLabel*, 8> swatchClicks_{};
    std::array<ClickLabel*, 12> aimBar_{};
    QLabel* aimCaption_ = nullptr;
    QLabel* aimValue_ = nullptr;
    std::array<QLabel*, 4> rateRadios_{};
    std::array<ClickLabel*, 4> rateLabels_{};
    std::array<TIntEdit*, 3> repeatEdits_{};
    std::array<TIntEdit*, 3> delayEdits_{};
    std::array<QLabel*, 3> continuePictures_{};
    std::array<std::array<ClickLabel*, 11>, 3> scales_{};  // pointer speed, double-click, wheel
    std::array<std::array<QLabel*, 11>, 3> scaleNumbers_{};
    QLabel* precisionPicture_ = nullptr;
    QLabel* wholeScreenPicture_ = nullptr;
    ClickLabel* precisionClick_ = nullptr;
    ClickLabel* wholeScreenClick_ = nullptr;
    QCheckBox* precisionBox_ = nullptr;    // cb_IsControl
    QCheckBox* wholeScreenBox_ = nullptr;  // cb_IsScreen
    // Captions over the three scales and the two toggles.
    std::array<QLabel*, 5> titles_{};
    QLabel* continueTitle_ = nullptr;      // caption over the Continue column
    std::array<QLabel*, 3> notRead_{};     // over a pointer scale whose value was not read
};

}  // namespace nivra::ui
