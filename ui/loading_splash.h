// The loading splash TFormLoadingUI: a borderless, always-on-top window with a see-through
// background and an endless animation, shown while a device transfer runs. Below the
// animation it says what is happening and, during a restart of the mouse, the seconds left.
#pragma once

#include <QTimer>
#include <QWidget>

namespace nivra::ui {

class LoadingSplash : public QWidget {
public:
    // The animation's box; the text panel below it widens the window to kWidth.
    static constexpr int kDiscWidth = 206;
    static constexpr int kDiscHeight = 196;
    static constexpr int kWidth = 420;
    static constexpr int kHeight = kDiscHeight + 64;

    explicit LoadingSplash(QWidget* parent = nullptr);
    // The animation centred horizontally on the main window, 40 pixels below its vertical
    // centre; the top left corner of the splash window.
    static QPoint placeFor(const QRect& mainWindow);
    void showOver(const QWidget* mainWindow);
    int frame() const { return frame_; }
    void advance();  // next animation frame

    // What is happening and the state of it ("The mouse restarts: 12 s"); both empty: the
    // animation alone.
    void setText(const QString& what, const QString& progress);
    QString what() const { return what_; }
    QString progress() const { return progress_; }

protected:
    void paintEvent(QPaintEvent*) override;
    void showEvent(QShowEvent*) override;
    void hideEvent(QHideEvent*) override;

private:
    QRect panelRect() const;
    void updateShape();

    QTimer timer_;
    int frame_ = 0;
    QString what_;
    QString progress_;
};

}  // namespace nivra::ui
