// A skinned button: a transparent caption label over a picture control, both named after the
// button ("Btn_Main_1" over "Img_Main_1"), with the hover and click pictures of its kind.
#pragma once

#include "ui/window_state.h"

#include <QLabel>
#include <QObject>
#include <QPointer>

#include <functional>
#include <vector>

namespace nivra::ui {

class SkinPort;

// A label that swallows every click on its page while it is shown (Disable_All_...). It
// comes to the top whenever it is shown, so it lies above controls raised after it.
class CoverLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
    // Controls that stay usable while the label is shown (closing the window); they are
    // raised above it whenever it comes to the top.
    void keepAbove(std::vector<QWidget*> controls);
    void raiseAbove();

protected:
    void showEvent(QShowEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    std::vector<QPointer<QWidget>> above_;
};

// A label that reports a left click (Btn_WebLink).
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
    std::function<void()> onClick;

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
};

// Shows a picture from the skin and remembers its name in the property "skinPicture".
void setSkinPicture(QLabel* label, const SkinPort& skin, const QString& pictureName);
QString skinPictureOf(const QWidget* label);

// Sizes a control to its text: at once when it is in view, else when it is next shown
// (unless it was given another size in between). Shaping the text is most of what a caption
// costs, and most captions are on pages out of view.
void fitToText(QWidget* widget);
// Drops a fit waiting for the control to be shown: the control was placed over another.
void cancelFitToText(QWidget* widget);
// Gives a control a font; a line edit out of view gets it when it is next shown (it would
// lay its text out with the font at once). skinFontOf() is the font the control has or
// is waiting for.
void setFontWhenShown(QWidget* widget, const QFont& font);
QFont skinFontOf(const QWidget* widget);

class SkinButton : public QObject {
public:
    // pictureName defaults to "Img_" + the label's name without "Btn_".
    SkinButton(QWidget* page, const QString& labelName, ButtonKind kind, const SkinPort& skin,
               const QString& pictureName = {});

    QLabel* label() const { return label_; }
    QLabel* picture() const { return picture_; }
    ButtonKind kind() const { return kind_; }
    QString name() const { return label_->objectName(); }
    void setPicture(const QString& pictureName);
    void setVisible(bool on);
    void raise();
    // Lays the caption over the picture's rectangle (instead of the room its text needs).
    void layLabelOverPicture();

    // Set by the window; run on the UI thread from the label's mouse events.
    std::function<void()> onClick;
    std::function<void()> onEnter;  // after the hover picture was put on
    std::function<void()> onLeave;  // after the normal picture was put on

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* picture_;
    QLabel* label_;
    ButtonKind kind_;
    const SkinPort& skin_;
    bool pressed_ = false;
};

}  // namespace nivra::ui
