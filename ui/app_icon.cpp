// Draws the application icon, once for pixels and once as SVG from the same coordinates.
#include "ui/app_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace nivra::ui {

namespace {
// The mouse seen from above, in fractions of the icon's side.
constexpr qreal kBodyX = 0.22, kBodyY = 0.06, kBodyW = 0.56, kBodyH = 0.88, kBodyRadius = 0.28;
constexpr qreal kSplitY = 0.40;  // where the two buttons end
constexpr qreal kWheelX = 0.455, kWheelY = 0.14, kWheelW = 0.09, kWheelH = 0.17;
const QColor kBodyTop(42, 47, 58);
const QColor kBodyBottom(16, 18, 23);
const QColor kAccent(0, 200, 255);
// Below this size the wheel would be a smudge on the split line.
constexpr int kSmallestWithWheel = 24;

qreal strokeWidth(qreal side) { return qMax(1.0, side / 16); }
}  // namespace

QImage appIconImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    QPainterPath body;
    body.addRoundedRect(QRectF(s * kBodyX, s * kBodyY, s * kBodyW, s * kBodyH), s * kBodyRadius,
                        s * kBodyRadius);
    QLinearGradient ground(0, s * kBodyY, 0, s * (kBodyY + kBodyH));
    ground.setColorAt(0, kBodyTop);
    ground.setColorAt(1, kBodyBottom);
    p.fillPath(body, ground);
    QPen pen(kAccent, strokeWidth(s));
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    p.drawPath(body);
    p.drawLine(QPointF(s * 0.5, s * kBodyY), QPointF(s * 0.5, s * kSplitY));
    p.drawLine(QPointF(s * kBodyX, s * kSplitY), QPointF(s * (kBodyX + kBodyW), s * kSplitY));
    if (size >= kSmallestWithWheel) {
        p.setPen(Qt::NoPen);
        p.setBrush(kAccent);
        p.drawRoundedRect(QRectF(s * kWheelX, s * kWheelY, s * kWheelW, s * kWheelH), s * kWheelW / 2,
                          s * kWheelW / 2);
    }
    p.end();
    return image;
}

QString appIconSvg() {
    constexpr qreal s = 256;
    const auto n = [](qreal v) { return QString::number(v, 'g', 6); };
    const auto hex = [](const QColor& c) { return c.name(QColor::HexRgb); };
    QString svg;
    svg += QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    svg += QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" viewBox=\"0 0 %1 %1\">\n")
               .arg(n(s));
    svg += QStringLiteral("  <defs>\n    <linearGradient id=\"ground\" gradientUnits=\"userSpaceOnUse\" x1=\"0\" y1=\"%1\" x2=\"0\" y2=\"%2\">\n"
                          "      <stop offset=\"0\" stop-color=\"%3\"/>\n      <stop offset=\"1\" stop-color=\"%4\"/>\n"
                          "    </linearGradient>\n  </defs>\n")
               .arg(n(s * kBodyY), n(s * (kBodyY + kBodyH)), hex(kBodyTop), hex(kBodyBottom));
    svg += QStringLiteral("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\" fill=\"url(#ground)\" "
                          "stroke=\"%6\" stroke-width=\"%7\"/>\n")
               .arg(n(s * kBodyX), n(s * kBodyY), n(s * kBodyW), n(s * kBodyH), n(s * kBodyRadius), hex(kAccent),
                    n(strokeWidth(s)));
    svg += QStringLiteral("  <path d=\"M %1 %2 V %3 M %4 %3 H %5\" fill=\"none\" stroke=\"%6\" stroke-width=\"%7\" "
                          "stroke-linecap=\"round\"/>\n")
               .arg(n(s * 0.5), n(s * kBodyY), n(s * kSplitY), n(s * kBodyX), n(s * (kBodyX + kBodyW)), hex(kAccent),
                    n(strokeWidth(s)));
    svg += QStringLiteral("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\" fill=\"%6\"/>\n")
               .arg(n(s * kWheelX), n(s * kWheelY), n(s * kWheelW), n(s * kWheelH), n(s * kWheelW / 2), hex(kAccent));
    svg += QStringLiteral("</svg>\n");
    return svg;
}

QIcon appIcon() {
    QIcon icon;
    for (int size : {16, 32, 64, 128}) icon.addPixmap(QPixmap::fromImage(appIconImage(size)));
    return icon;
}

}  // namespace nivra::ui
