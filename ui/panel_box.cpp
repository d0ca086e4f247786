#include "ui/panel_box.h"

#include <QLinearGradient>
#include <QPainter>

namespace nivra::ui {

namespace {
constexpr int kTab = 2;  // the accent tab stands this far above the box's top edge
}  // namespace

PanelBox::PanelBox(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_TransparentForMouseEvents); }

void PanelBox::frame(const QRect& content) { setGeometry(content.adjusted(0, -kTab, 0, 0)); }

void PanelBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0, kTab, 0, 0);
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0, QColor(14, 16, 21));
    fill.setColorAt(1, QColor(19, 22, 28));
    p.setPen(QPen(QColor(48, 56, 68), 1));
    p.setBrush(fill);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
    // A shadow along the top: the box reads as recessed.
    p.setPen(QPen(QColor(0, 0, 0, 110), 2));
    p.drawLine(QPointF(r.left() + 8, r.top() + 2), QPointF(r.right() - 8, r.top() + 2));
    // The accent tab of the panels' boxes.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(28, 186, 255));
    p.drawRoundedRect(QRectF(r.left() + 10, r.top() - 1.5, 34, 3), 1.5, 1.5);
}

}  // namespace nivra::ui
