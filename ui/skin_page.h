// A skinned page of the main window: the container gbPageN with its background picture
// Img_Base_N, on pages 1-5 its covering label Disable_All_N and its copy of the page buttons.
#pragma once

#include "ui/skin_button.h"

#include <QLabel>
#include <QWidget>

#include <vector>

namespace nivra::ui {

class SkinPort;

class SkinPage : public QWidget {
public:
    // number: the container number 1..6.
    SkinPage(int number, const SkinPort& skin, QWidget* parent);

    int number() const { return number_; }
    QLabel* background() const { return background_; }
    CoverLabel* cover() const { return cover_; }
    const std::vector<SkinButton*>& buttons() const { return buttons_; }
    // The panel picture Img_PN of the page, when it has one.
    QLabel* panel() const { return panel_; }

    // Keeps the covering label above everything and the window-wide children sized.
    void finishLayout();
    void resizeToWindow(QSize size);

protected:
    SkinButton* addButton(const QString& labelName, ButtonKind kind);
    QLabel* addLabel(const QString& name);
    QLabel* addPanel();

    const SkinPort& skin_;

private:
    void addPageButtons();

    int number_;
    QLabel* background_;
    QLabel* panel_ = nullptr;
    CoverLabel* cover_ = nullptr;
    std::vector<SkinButton*> buttons_;
};

}  // namespace nivra::ui
