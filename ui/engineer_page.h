// The engineer page (gbPage7): plain buttons and tabs of its own design, its own copies of the
// page buttons, the logo Img_Logo4, the close button and the hint line lbl_Content.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QWidget>

#include <array>
#include <functional>
#include <vector>

class QGroupBox;
class QLineEdit;

namespace nivra {
class GunModel;
}

namespace nivra::ui {

class EngineerPage : public QWidget {
public:
    explicit EngineerPage(QWidget* parent);

    QPushButton* button(const QString& name) const;
    QLabel* logo() const { return logo_; }
    QLabel* content() const { return content_; }
    QTabWidget* tabs() const { return tabs_; }
    // Engineer tabs and tool buttons shown, LED controller choice enabled.
    void setEngineerState(bool on);
    // Captions from the engineer caption table (rows 0..13) and its font family.
    void applyCaptions(const std::function<QString(int)>& caption, const QString& fontFamily);

    // The per-gun X/Y offsets (gbXYOffset) on the engineer tab, edited through the gun model.
    void attachGunOffsets(GunModel& model);
    // edt_XOffset k / edt_YOffset k changed (k = 1..10): a live write of the offset.
    void edt_XOffsetChange(int k, const QString& text);
    void edt_YOffsetChange(int k, const QString& text);
    // TLRefreshXOffset / TLRefreshYOffset: the edits from the working copy.
    void TLRefreshXOffset();
    void TLRefreshYOffset();

private:
    std::vector<QPushButton*> buttons_;  // in caption-row order
    QLabel* logo_;
    QLabel* content_;
    QTabWidget* tabs_;
    QWidget* engineerTab_;
    QWidget* gunTab_;
    GunModel* gun_ = nullptr;
    QGroupBox* xyOffsets_ = nullptr;
    std::array<QLineEdit*, 10> xOffsets_{};
    std::array<QLineEdit*, 10> yOffsets_{};
};

}  // namespace nivra::ui
