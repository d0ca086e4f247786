// The loading splash and its animation: twelve dots on a ring, one lit dot running round
// with a fading tail, and a panel below with what is happening.
#include "ui/loading_splash.h"

#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QtMath>

namespace nivra::ui {

namespace {
constexpr int kDots = 12;
constexpr int kFrameMs = 80;
constexpr int kDiscRadius = 72;
constexpr int kDiscCentreX = LoadingSplash::kWidth / 2;
constexpr int kDiscCentreY = LoadingSplash::kDiscHeight / 2;
}  // namespace

LoadingSplash::LoadingSplash(QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool) {
    setObjectName(QStringLiteral("TFormLoadingUI"));
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(kWidth, kHeight);
    updateShape();
    timer_.setInterval(kFrameMs);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] { advance(); });
}

QPoint LoadingSplash::placeFor(const QRect& main) {
    return {main.left() + (main.width() - kWidth) / 2, main.top() + (main.height() - kDiscHeight) / 2 + 40};
}

void LoadingSplash::showOver(const QWidget* mainWindow) {
    move(placeFor(mainWindow->frameGeometry()));
    if (!isVisible()) show();
}

void LoadingSplash::advance() {
    frame_ = (frame_ + 1) % kDots;
    update();
}

void LoadingSplash::setText(const QString& what, const QString& progress) {
    if (what == what_ && progress == progress_) return;
    what_ = what;
    progress_ = progress;
    updateShape();
    update();
}

QRect LoadingSplash::panelRect() const { return {0, kDiscHeight - 6, kWidth, kHeight - kDiscHeight + 6}; }

// Only the disc and, with a text, the panel are drawn; without a compositor the mask gives
// the shape.
void LoadingSplash::updateShape() {
    QRegion shape(QRect(kDiscCentreX - kDiscRadius, kDiscCentreY - kDiscRadius, 2 * kDiscRadius, 2 * kDiscRadius),
                  QRegion::Ellipse);
    if (!what_.isEmpty() || !progress_.isEmpty()) shape += QRegion(panelRect());
    setMask(shape);
}

void LoadingSplash::showEvent(QShowEvent*) { timer_.start(); }
void LoadingSplash::hideEvent(QHideEvent*) { timer_.stop(); }

void LoadingSplash::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(kDiscCentreX, kDiscCentreY);
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
    if (what_.isEmpty() && progress_.isEmpty()) return;
    const QRect panel = panelRect();
    p.setBrush(QColor(16, 20, 26, 235));
    p.setPen(QColor(0, 200, 255, 160));
    p.drawRect(panel.adjusted(0, 0, -1, -1));
    QFont bold = font();
    bold.setBold(true);
    p.setFont(bold);
    p.setPen(QColor(235, 240, 248));
    const QRect lines = panel.adjusted(10, 6, -10, -6);
    p.drawText(QRect(lines.left(), lines.top(), lines.width(), lines.height() / 2), Qt::AlignCenter,
               p.fontMetrics().elidedText(what_, Qt::ElideMiddle, lines.width()));
    p.setFont(font());
    p.setPen(QColor(0, 200, 255));
    p.drawText(QRect(lines.left(), lines.top() + lines.height() / 2, lines.width(), lines.height() / 2),
               Qt::AlignCenter, p.fontMetrics().elidedText(progress_, Qt::ElideRight, lines.width()));
}

}  // namespace nivra::ui
