// The loading splash and its animation: twelve dots on a ring, one lit dot running round
// with a fading tail, drawn inside the 200 x 192 area of the window.
#include "ui/loading_splash.h"

#include <QPainter>
#include <QtMath>

namespace nivra::ui {

namespace {
constexpr int kDots = 12;
constexpr int kFrameMs = 80;
}  // namespace

LoadingSplash::LoadingSplash(QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool) {
    setObjectName(QStringLiteral("TFormLoadingUI"));
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(kWidth, kHeight);
    timer_.setInterval(kFrameMs);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] { advance(); });
}

QPoint LoadingSplash::placeFor(const QRect& main) {
    return {main.left() + (main.width() - kWidth) / 2, main.top() + (main.height() - kHeight) / 2 + 40};
}

void LoadingSplash::showOver(const QWidget* mainWindow) {
    move(placeFor(mainWindow->frameGeometry()));
    show();
    raise();
}

void LoadingSplash::advance() {
    frame_ = (frame_ + 1) % kDots;
    update();
}

void LoadingSplash::showEvent(QShowEvent*) { timer_.start(); }
void LoadingSplash::hideEvent(QHideEvent*) { timer_.stop(); }

void LoadingSplash::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF area((kWidth - 200) / 2.0, (kHeight - 192) / 2.0, 200, 192);
    const QPointF centre = area.center();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 150));
    p.drawEllipse(centre, 70, 70);
    for (int i = 0; i < kDots; ++i) {
        const int age = (frame_ - i + kDots) % kDots;  // 0 = the lit dot
        const qreal angle = 2 * M_PI * i / kDots - M_PI / 2;
        const QPointF at = centre + QPointF(std::cos(angle), std::sin(angle)) * 48;
        const int alpha = qMax(40, 255 - age * 40);
        p.setBrush(QColor(0, 200, 255, alpha));
        p.drawEllipse(at, age == 0 ? 9.0 : 7.0, age == 0 ? 9.0 : 7.0);
    }
}

}  // namespace nivra::ui
