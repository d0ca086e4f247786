// The loading splash TFormLoadingUI: a borderless, always-on-top 206 x 196 window with a
// see-through background and an endless animation, shown while a device transfer runs.
#pragma once

#include <QTimer>
#include <QWidget>

namespace nivra::ui {

class LoadingSplash : public QWidget {
public:
    static constexpr int kWidth = 206;
    static constexpr int kHeight = 196;

    explicit LoadingSplash(QWidget* parent = nullptr);
    // Centred horizontally on the main window, 40 pixels below its vertical centre.
    static QPoint placeFor(const QRect& mainWindow);
    void showOver(const QWidget* mainWindow);
    int frame() const { return frame_; }
    void advance();  // next animation frame

protected:
    void paintEvent(QPaintEvent*) override;
    void showEvent(QShowEvent*) override;
    void hideEvent(QHideEvent*) override;

private:
    QTimer timer_;
    int frame_ = 0;
};

}  // namespace nivra::ui
