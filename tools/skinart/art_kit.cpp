// Palette and drawing helpers shared by every picture of the skin.
#include "tools/skinart/art_kit.h"

#include <QLinearGradient>
#include <QtMath>

namespace skinart {

QImage blankPicture(int w, int h) {
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

QImage keyOutSeeThrough(const QImage& drawn) {
    QImage src = drawn.convertToFormat(QImage::Format_ARGB32);
    QImage out(src.size(), QImage::Format_RGB32);
    const QRgb key = palette::kSeeThrough.rgb();
    for (int y = 0; y < src.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        QRgb* o = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < src.width(); ++x) {
            const int a = qAlpha(in[x]);
            if (a < 128) {
                o[x] = key;
            } else {
                QRgb c = qRgb(qRed(in[x]), qGreen(in[x]), qBlue(in[x]));
                // A drawn pixel that happens to equal the key would punch a hole.
                if (c == key) c = qRgb(129, 0, 0);
                o[x] = c;
            }
        }
    }
    return out;
}

QPainterPath roundedRect(const QRectF& r, qreal radius) {
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

void drawSurface(QPainter& p, const QRectF& r, qreal radius, const QColor& top,
                 const QColor& bottom, const QColor& border) {
    p.save();
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    const QRectF inner = r.adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(QPen(border, 1));
    p.setBrush(g);
    p.drawRoundedRect(inner, radius, radius);
    // Faint highlight along the top edge.
    QColor hi = top.lighter(150);
    hi.setAlpha(90);
    p.setPen(QPen(hi, 1));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(inner.left() + radius, inner.top() + 1.5),
               QPointF(inner.right() - radius, inner.top() + 1.5));
    p.restore();
}

void drawGlow(QPainter& p, const QPainterPath& path, const QColor& color, int layers) {
    p.save();
    p.setBrush(Qt::NoBrush);
    for (int i = layers; i >= 1; --i) {
        QColor c = color;
        c.setAlpha(qBound(0, 70 / i, 255));
        p.setPen(QPen(c, 1.0 + 2.0 * i, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(path);
    }
    p.restore();
}

void drawGroupBox(QPainter& p, const QRectF& r) {
    p.save();
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, QColor(14, 16, 21));
    g.setColorAt(1, QColor(19, 22, 28));
    p.setPen(QPen(palette::kLine, 1));
    p.setBrush(g);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
    // Inner shadow along the top: the box reads as recessed.
    QColor sh(0, 0, 0, 110);
    p.setPen(QPen(sh, 2));
    p.drawLine(QPointF(r.left() + 8, r.top() + 2), QPointF(r.right() - 8, r.top() + 2));
    // Accent tab.
    p.setPen(Qt::NoPen);
    p.setBrush(palette::kAccent);
    p.drawRoundedRect(QRectF(r.left() + 10, r.top() - 1.5, 34, 3), 1.5, 1.5);
    p.restore();
}

void drawHatch(QPainter& p, const QRectF& r, const QColor& color, int step) {
    p.save();
    p.setClipRect(r);
    p.setPen(QPen(color, 1));
    const int span = static_cast<int>(r.width() + r.height());
    for (int d = 0; d < span; d += step) {
        p.drawLine(QPointF(r.left() + d, r.top()), QPointF(r.left() + d - r.height(), r.bottom()));
    }
    p.restore();
}

QFont artFont(int pixelSize, bool bold) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

void drawGlyph(QPainter& p, Glyph g, const QRectF& box, const QColor& color) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(color, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const QPointF c = box.center();
    const qreal s = qMin(box.width(), box.height()) / 2.0;
    switch (g) {
    case Glyph::Crosshair:
        p.drawEllipse(c, s * 0.7, s * 0.7);
        p.drawLine(QPointF(c.x() - s, c.y()), QPointF(c.x() - s * 0.3, c.y()));
        p.drawLine(QPointF(c.x() + s * 0.3, c.y()), QPointF(c.x() + s, c.y()));
        p.drawLine(QPointF(c.x(), c.y() - s), QPointF(c.x(), c.y() - s * 0.3));
        p.drawLine(QPointF(c.x(), c.y() + s * 0.3), QPointF(c.x(), c.y() + s));
        break;
    case Glyph::Gauge: {
        QRectF arc(c.x() - s, c.y() - s * 0.8, 2 * s, 2 * s);
        p.drawArc(arc, 0, 180 * 16);
        p.drawLine(QPointF(c.x(), c.y() + s * 0.2), QPointF(c.x() + s * 0.6, c.y() - s * 0.45));
        break;
    }
    case Glyph::Bolt: {
        QPolygonF poly;
        poly << QPointF(c.x() + s * 0.2, c.y() - s) << QPointF(c.x() - s * 0.5, c.y() + s * 0.1)
             << QPointF(c.x(), c.y() + s * 0.1) << QPointF(c.x() - s * 0.2, c.y() + s)
             << QPointF(c.x() + s * 0.5, c.y() - s * 0.1) << QPointF(c.x(), c.y() - s * 0.1);
        p.drawPolygon(poly);
        break;
    }
    case Glyph::Pointer: {
        QPolygonF poly;
        poly << QPointF(c.x() - s * 0.5, c.y() - s) << QPointF(c.x() - s * 0.5, c.y() + s * 0.6)
             << QPointF(c.x() - s * 0.1, c.y() + s * 0.25) << QPointF(c.x() + s * 0.2, c.y() + s)
             << QPointF(c.x() + s * 0.4, c.y() + s * 0.9) << QPointF(c.x() + s * 0.1, c.y() + s * 0.15)
             << QPointF(c.x() + s * 0.6, c.y() + s * 0.15);
        p.drawPolygon(poly);
        break;
    }
    case Glyph::Wave: {
        QPainterPath path(QPointF(c.x() - s, c.y()));
        path.cubicTo(QPointF(c.x() - s * 0.5, c.y() - s * 1.3), QPointF(c.x() - s * 0.2, c.y() - s * 1.3),
                     QPointF(c.x(), c.y()));
        path.cubicTo(QPointF(c.x() + s * 0.2, c.y() + s * 1.3), QPointF(c.x() + s * 0.5, c.y() + s * 1.3),
                     QPointF(c.x() + s, c.y()));
        p.drawPath(path);
        break;
    }
    case Glyph::Palette:
        for (int i = 0; i < 3; ++i) {
            const qreal a = qDegreesToRadians(90.0 + 120.0 * i);
            p.drawEllipse(QPointF(c.x() + std::cos(a) * s * 0.45, c.y() - std::sin(a) * s * 0.45),
                          s * 0.45, s * 0.45);
        }
        break;
    case Glyph::List:
        for (int i = 0; i < 3; ++i) {
            const qreal y = c.y() - s * 0.6 + i * s * 0.6;
            p.drawPoint(QPointF(c.x() - s * 0.8, y));
            p.drawLine(QPointF(c.x() - s * 0.45, y), QPointF(c.x() + s, y));
        }
        break;
    case Glyph::Chip:
        p.drawRoundedRect(QRectF(c.x() - s * 0.6, c.y() - s * 0.6, s * 1.2, s * 1.2), 2, 2);
        for (int i = 0; i < 3; ++i) {
            const qreal o = -s * 0.35 + i * s * 0.35;
            p.drawLine(QPointF(c.x() + o, c.y() - s * 0.6), QPointF(c.x() + o, c.y() - s));
            p.drawLine(QPointF(c.x() + o, c.y() + s * 0.6), QPointF(c.x() + o, c.y() + s));
            p.drawLine(QPointF(c.x() - s * 0.6, c.y() + o), QPointF(c.x() - s, c.y() + o));
            p.drawLine(QPointF(c.x() + s * 0.6, c.y() + o), QPointF(c.x() + s, c.y() + o));
        }
        break;
    case Glyph::Clock:
        p.drawEllipse(c, s * 0.9, s * 0.9);
        p.drawLine(c, QPointF(c.x(), c.y() - s * 0.6));
        p.drawLine(c, QPointF(c.x() + s * 0.45, c.y() + s * 0.2));
        break;
    case Glyph::Key:
        p.drawRoundedRect(QRectF(c.x() - s, c.y() - s * 0.6, 2 * s, s * 1.2), 3, 3);
        p.drawLine(QPointF(c.x() - s * 0.5, c.y() + s * 0.2), QPointF(c.x() + s * 0.5, c.y() + s * 0.2));
        p.drawPoint(QPointF(c.x() - s * 0.5, c.y() - s * 0.2));
        p.drawPoint(QPointF(c.x(), c.y() - s * 0.2));
        p.drawPoint(QPointF(c.x() + s * 0.5, c.y() - s * 0.2));
        break;
    case Glyph::Axis:
        p.drawLine(QPointF(c.x() - s, c.y() + s * 0.8), QPointF(c.x() + s, c.y() + s * 0.8));
        p.drawLine(QPointF(c.x() - s * 0.8, c.y() + s), QPointF(c.x() - s * 0.8, c.y() - s));
        p.drawLine(QPointF(c.x() - s * 0.8, c.y() + s * 0.8), QPointF(c.x() + s * 0.6, c.y() - s * 0.6));
        break;
    case Glyph::Gun: {
        QPainterPath path;
        path.moveTo(c.x() - s, c.y() - s * 0.3);
        path.lineTo(c.x() + s, c.y() - s * 0.3);
        path.lineTo(c.x() + s, c.y());
        path.lineTo(c.x() - s * 0.1, c.y());
        path.lineTo(c.x() - s * 0.3, c.y() + s * 0.8);
        path.lineTo(c.x() - s * 0.7, c.y() + s * 0.8);
        path.lineTo(c.x() - s * 0.55, c.y());
        path.lineTo(c.x() - s, c.y());
        path.closeSubpath();
        p.drawPath(path);
        break;
    }
    }
    p.restore();
}

}  // namespace skinart
