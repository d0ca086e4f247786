// Draws the application icon.
#include "ui/app_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace nivra::ui {

QIcon appIcon() {
    QIcon icon;
    for (int size : {16, 32, 64, 128}) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        const qreal s = size;
        QPainterPath body;
        body.addRoundedRect(QRectF(s * 0.22, s * 0.06, s * 0.56, s * 0.88), s * 0.28, s * 0.28);
        p.fillPath(body, QColor(24, 26, 32));
        p.setPen(QPen(QColor(0, 200, 255), qMax(1.0, s / 16)));
        p.drawPath(body);
        p.drawLine(QPointF(s * 0.5, s * 0.06), QPointF(s * 0.5, s * 0.4));
        p.drawLine(QPointF(s * 0.22, s * 0.4), QPointF(s * 0.78, s * 0.4));
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

}  // namespace nivra::ui
