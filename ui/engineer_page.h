// The engineer page (gbPage7): plain buttons and tabs of its own design, its own copies of the
// page buttons, the logo Img_Logo4, the close button and the hint line lbl_Content.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QWidget>

#include <functional>
#include <vector>

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

    std::function<void()> onLogoDoubleClick;
    std::function<void(QMouseEvent*)> onBackgroundPress;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<QPushButton*> buttons_;  // in caption-row order
    QLabel* logo_;
    QLabel* content_;
    QTabWidget* tabs_;
    QWidget* engineerTab_;
    QWidget* gunTab_;
};

}  // namespace nivra::ui
