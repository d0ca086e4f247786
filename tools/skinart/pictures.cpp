// The skin's control pictures: skinned buttons in their states, check and radio marks, bar
// segments, the swatch frame, gun cards and scopes, insert-panel bases, dialog and update art.
#include "tools/skinart/pictures.h"

#include "tools/skinart/art_kit.h"
#include "tools/skinart/geometry.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <QTransform>

namespace skinart {
namespace {

using namespace palette;

enum class State { Normal, Hover, Selected };

QPainter* begin(QImage& img, QPainter& p) {
    p.begin(&img);
    p.setRenderHint(QPainter::Antialiasing);
    return &p;
}

// A skinned push button: the caption label sits over it, so the picture holds no text.
void drawButtonFace(QPainter& p, const QRectF& r, State s, qreal radius) {
    switch (s) {
    case State::Normal:
        drawSurface(p, r, radius, kPanelHi, kPanel, kLine);
        break;
    case State::Hover:
        drawSurface(p, r, radius, QColor(40, 48, 60), QColor(26, 31, 40), kAccentSoft);
        p.setPen(QPen(QColor(28, 186, 255, 60), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r.adjusted(1.5, 1.5, -1.5, -1.5), radius - 1, radius - 1);
        break;
    case State::Selected: {
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, QColor(24, 150, 214));
        g.setColorAt(0.55, QColor(10, 96, 150));
        g.setColorAt(1, QColor(6, 62, 100));
        p.setPen(QPen(kAccent, 1));
        p.setBrush(g);
        p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
        p.setPen(QPen(QColor(255, 255, 255, 70), 1));
        p.drawLine(QPointF(r.left() + radius, r.top() + 1.5), QPointF(r.right() - radius, r.top() + 1.5));
        break;
    }
    }
}

QImage pushButton(int w, int h, State s) {
    QImage img = blankPicture(w, h);
    QPainter p;
    begin(img, p);
    drawButtonFace(p, QRectF(0, 0, w, h), s, 5);
    // Two small notches at the ends: the house style of the skin's buttons.
    QColor notch = s == State::Normal ? kLineHi : kAccent;
    p.setPen(Qt::NoPen);
    p.setBrush(notch);
    p.drawRect(QRectF(4, h / 2.0 - 3, 2, 6));
    p.drawRect(QRectF(w - 6, h / 2.0 - 3, 2, 6));
    return img;
}

// Page and language buttons: a tab with a bar on its left end that lights up.
QImage tabButton(int w, int h, State s) {
    QImage img = blankPicture(w, h);
    QPainter p;
    begin(img, p);
    drawButtonFace(p, QRectF(0, 0, w, h), s, 6);
    const QColor bar = s == State::Normal ? kLineHi : (s == State::Hover ? kAccent : QColor(210, 244, 255));
    p.setPen(Qt::NoPen);
    p.setBrush(bar);
    p.drawRoundedRect(QRectF(2, 9, 2, h - 18), 1, 1);
    return img;
}

// Key labels: a slot with a chevron on the right end, the menu opens from it.
QImage keyButton(int w, int h, State s) {
    QImage img = blankPicture(w, h);
    QPainter p;
    begin(img, p);
    drawButtonFace(p, QRectF(0, 0, w, h), s, 4);
    p.setPen(Qt::NoPen);
    p.setBrush(s == State::Normal ? kAccentSoft : kAccent);
    p.drawRect(QRectF(1, 5, 2, h - 10));
    const QColor chev = s == State::Selected ? QColor(230, 248, 255) : (s == State::Hover ? kAccent : kMuted);
    p.setPen(QPen(chev, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const qreal cx = w - 12, cy = h / 2.0;
    p.drawPolyline(QPolygonF{QPointF(cx - 2.5, cy - 4), QPointF(cx + 1.5, cy), QPointF(cx - 2.5, cy + 4)});
    return img;
}

QImage exitIcon(State s) {
    QImage img = blankPicture(18, 18);
    QPainter p;
    begin(img, p);
    const QRectF r(1, 1, 16, 16);
    QColor cross = kMuted;
    if (s == State::Hover) {
        p.setPen(QPen(kDanger, 1.2));
        p.setBrush(QColor(60, 18, 22));
        p.drawEllipse(r);
        cross = QColor(255, 150, 150);
    } else if (s == State::Selected) {
        p.setPen(Qt::NoPen);
        p.setBrush(kDanger);
        p.drawEllipse(r);
        cross = Qt::white;
    } else {
        p.setPen(QPen(kLineHi, 1));
        p.setBrush(kPanel);
        p.drawEllipse(r);
    }
    p.setPen(QPen(cross, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(6, 6), QPointF(12, 12));
    p.drawLine(QPointF(12, 6), QPointF(6, 12));
    return img;
}

// The web button: a banner with a globe and an arrow. 01 normal, 02 pressed, 03 hover.
QImage webButton(State s) {
    QImage img = blankPicture(200, 66);
    QPainter p;
    begin(img, p);
    drawButtonFace(p, QRectF(0, 0, 200, 66), s, 10);
    const QColor ink = s == State::Normal ? kAccent : QColor(225, 246, 255);
    p.setPen(QPen(ink, 1.8));
    p.setBrush(Qt::NoBrush);
    const QPointF c(36, 33);
    p.drawEllipse(c, 16, 16);
    p.drawEllipse(c, 7, 16);
    p.drawLine(QPointF(c.x() - 16, c.y()), QPointF(c.x() + 16, c.y()));
    p.drawLine(QPointF(c.x() - 13, c.y() - 8), QPointF(c.x() + 13, c.y() - 8));
    p.drawLine(QPointF(c.x() - 13, c.y() + 8), QPointF(c.x() + 13, c.y() + 8));
    p.setPen(QPen(ink, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(150, 33), QPointF(176, 33));
    p.drawPolyline(QPolygonF{QPointF(168, 25), QPointF(176, 33), QPointF(168, 41)});
    // Dotted track between globe and arrow.
    p.setPen(QPen(s == State::Normal ? kLineHi : QColor(255, 255, 255, 120), 2, Qt::DotLine, Qt::RoundCap));
    p.drawLine(QPointF(64, 33), QPointF(140, 33));
    return img;
}

QImage checkBox(bool on) {
    QImage img = blankPicture(16, 16);
    QPainter p;
    begin(img, p);
    const QRectF r(1, 1, 14, 14);
    if (on) {
        p.setPen(QPen(kAccent, 1));
        p.setBrush(kAccent);
        p.drawRoundedRect(r, 3, 3);
        p.setPen(QPen(QColor(4, 30, 48), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF{QPointF(4.5, 8.2), QPointF(7, 10.8), QPointF(11.8, 5.2)});
    } else {
        p.setPen(QPen(kLineHi, 1.2));
        p.setBrush(QColor(12, 14, 18));
        p.drawRoundedRect(r, 3, 3);
    }
    return img;
}

QImage radioMark(bool on) {
    QImage img = blankPicture(15, 15);
    QPainter p;
    begin(img, p);
    const QRectF r(1, 1, 13, 13);
    p.setPen(QPen(on ? kAccent : kLineHi, 1.3));
    p.setBrush(QColor(12, 14, 18));
    p.drawEllipse(r);
    if (on) {
        p.setPen(Qt::NoPen);
        QRadialGradient g(QPointF(7.5, 7.5), 4.5);
        g.setColorAt(0, QColor(200, 242, 255));
        g.setColorAt(1, kAccent);
        p.setBrush(g);
        p.drawEllipse(QPointF(7.5, 7.5), 3.6, 3.6);
    }
    return img;
}

// A bar segment; the right two pixels stay empty so neighbouring segments read apart.
QImage barSegment(int w, int h, bool lit) {
    QImage img = blankPicture(w, h);
    QPainter p;
    begin(img, p);
    const QRectF r(0.5, 2.5, w - 3, h - 5);
    if (lit) {
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, QColor(150, 228, 255));
        g.setColorAt(0.45, kAccent);
        g.setColorAt(1, QColor(10, 110, 170));
        p.setPen(QPen(QColor(180, 236, 255), 1));
        p.setBrush(g);
    } else {
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, QColor(40, 46, 56));
        g.setColorAt(1, QColor(26, 30, 37));
        p.setPen(QPen(kLine, 1));
        p.setBrush(g);
    }
    p.drawRoundedRect(r, 2, 2);
    return img;
}

// The frame laid over a colour swatch: the middle stays see-through (alpha) so the swatch
// shows.
QImage swatchFrame() {
    QImage img = blankPicture(30, 30);
    QPainter p;
    begin(img, p);
    QPainterPath outer = roundedRect(QRectF(0.5, 0.5, 29, 29), 6);
    QPainterPath inner = roundedRect(QRectF(4, 4, 22, 22), 3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 35, 43));
    p.drawPath(outer.subtracted(inner));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kLineHi, 1));
    p.drawPath(outer);
    p.setPen(QPen(QColor(0, 0, 0, 160), 1));
    p.drawPath(roundedRect(QRectF(4.5, 4.5, 21, 21), 3));
    // Accent corner ticks.
    p.setPen(QPen(kAccent, 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(2.5, 8), QPointF(2.5, 2.5));
    p.drawLine(QPointF(2.5, 2.5), QPointF(8, 2.5));
    p.drawLine(QPointF(27.5, 22), QPointF(27.5, 27.5));
    p.drawLine(QPointF(27.5, 27.5), QPointF(22, 27.5));
    return img;
}

// Side views of the seven guns, facing right, drawn in a 100 x 40 box and scaled into R; they
// differ in stock, barrel length, magazine and sight.
QPainterPath gunSilhouette(int gun, const QRectF& r) {
    struct Shape {
        qreal muzzle;      // where the barrel ends
        bool woodStock;    // solid stock, else a skeleton stock
        bool curvedMag;
        qreal magDepth;
        bool optic;        // a sight on the receiver
        bool longHandguard;
    };
    static const Shape shapes[7] = {
        {96, true, true, 15, false, false},   // AKM
        {98, false, false, 12, true, true},   // M16A4
        {92, false, false, 12, true, true},   // M416
        {78, false, false, 14, false, false}, // UMP9
        {93, false, false, 12, true, true},   // SCAR-L
        {90, false, false, 12, false, true},  // 5.56 family
        {94, true, true, 14, true, false},    // 7.62 family
    };
    const Shape& s = shapes[gun];
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    if (s.woodStock) {
        path.moveTo(0, 14);
        path.lineTo(24, 11);
        path.lineTo(24, 20);
        path.lineTo(2, 27);
        path.lineTo(0, 25);
        path.closeSubpath();
    } else {
        QPainterPath frame;
        frame.moveTo(2, 11);
        frame.lineTo(24, 11);
        frame.lineTo(24, 21);
        frame.lineTo(4, 25);
        frame.lineTo(2, 25);
        frame.closeSubpath();
        QPainterPath hole;
        hole.addRoundedRect(QRectF(7, 14, 12, 6), 2, 2);
        path.addPath(frame.subtracted(hole));
    }
    path.addRoundedRect(QRectF(23, 10, 31, 10.5), 1.5, 1.5);  // receiver
    const qreal guardEnd = s.longHandguard ? 76 : 68;
    path.addRoundedRect(QRectF(53, 11, guardEnd - 53, 7.5), 1.5, 1.5);
    path.addRect(QRectF(guardEnd, 13, s.muzzle - guardEnd - 4, 2.6));  // barrel
    path.addRect(QRectF(s.muzzle - 5, 12, 5, 4.6));                      // muzzle device
    path.addRect(QRectF(guardEnd - 3, 7, 2, 4));                         // front sight
    QPainterPath grip;
    grip.moveTo(34, 20);
    grip.lineTo(41, 20);
    grip.lineTo(38, 32);
    grip.lineTo(32, 32);
    grip.closeSubpath();
    path.addPath(grip);
    QPainterPath mag;
    mag.moveTo(44, 20);
    mag.lineTo(51, 20);
    if (s.curvedMag) {
        mag.quadTo(QPointF(53, 20 + s.magDepth * 0.6), QPointF(58, 20 + s.magDepth));
        mag.lineTo(52, 21.5 + s.magDepth);
        mag.quadTo(QPointF(47, 20 + s.magDepth * 0.6), QPointF(44, 20));
    } else {
        mag.lineTo(52, 20 + s.magDepth);
        mag.lineTo(45.5, 20 + s.magDepth);
    }
    mag.closeSubpath();
    path.addPath(mag);
    if (s.optic) {
        path.addRoundedRect(QRectF(27, 3.5, 20, 5), 2.5, 2.5);
        path.addRect(QRectF(31, 8, 3, 2.5));
        path.addRect(QRectF(41, 8, 3, 2.5));
    } else {
        path.addRect(QRectF(44, 8, 5, 2.5));  // rear sight
    }
    QTransform t;
    t.translate(r.left(), r.top());
    t.scale(r.width() / 100.0, r.height() / 40.0);
    return t.map(path.simplified());
}

QImage gunCard(int gun, bool selected) {
    QImage img = blankPicture(120, 56);
    QPainter p;
    begin(img, p);
    drawButtonFace(p, QRectF(0, 0, 120, 56), selected ? State::Hover : State::Normal, 6);
    if (selected) {
        p.setPen(QPen(kAccent, 2));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(1, 1, 118, 54), 6, 6);
    }
    // The silhouette sits low, under the gun's name in the card's top left corner; the
    // cards not chosen keep it readable but quieter than the chosen one.
    QColor ink = selected ? QColor(28, 186, 255, 170) : QColor(140, 154, 170, 125);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPath(gunSilhouette(gun, QRectF(12, 20, 96, 34)));
    // Index pips in the top right corner.
    p.setBrush(selected ? kAccent : kLineHi);
    for (int i = 0; i <= gun; ++i) p.drawEllipse(QPointF(112 - i * 5.0, 7), 1.6, 1.6);
    return img;
}

// Scope pictures: reticles that grow busier from mode 1 to 5.
QImage gunMode(int mode, int size) {
    QImage img = blankPicture(size, size);
    QPainter p;
    begin(img, p);
    const QPointF c(size / 2.0, size / 2.0);
    const qreal r = size / 2.0 - 2;
    QRadialGradient g(c, r);
    g.setColorAt(0, QColor(26, 40, 52));
    g.setColorAt(1, QColor(12, 15, 20));
    p.setPen(QPen(kLineHi, 1.5));
    p.setBrush(g);
    p.drawEllipse(c, r, r);
    p.setPen(QPen(kAccent, 1.2));
    p.drawEllipse(c, r - 3, r - 3);
    p.setPen(QPen(QColor(200, 236, 255), 1));
    p.drawLine(QPointF(c.x() - r + 5, c.y()), QPointF(c.x() - 3, c.y()));
    p.drawLine(QPointF(c.x() + 3, c.y()), QPointF(c.x() + r - 5, c.y()));
    p.drawLine(QPointF(c.x(), c.y() - r + 5), QPointF(c.x(), c.y() - 3));
    p.drawLine(QPointF(c.x(), c.y() + 3), QPointF(c.x(), c.y() + r - 5));
    // Mil ticks below the centre: one more per mode.
    for (int i = 1; i <= mode; ++i) {
        const qreal y = c.y() + i * (r - 6) / (mode + 1.0);
        const qreal half = 1.5 + (mode - i + 1) * 0.8;
        p.drawLine(QPointF(c.x() - half, y), QPointF(c.x() + half, y));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(kDanger);
    p.drawEllipse(c, 1.4, 1.4);
    return img;
}

QImage insertBase(Glyph glyph) {
    QImage img = blankPicture(207, 162);
    QPainter p;
    begin(img, p);
    drawSurface(p, QRectF(0, 0, 207, 162), 8, QColor(30, 35, 43), QColor(20, 23, 29), kLine);
    p.setPen(QPen(kAccent, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10, 1.5), QPointF(46, 1.5));
    drawHatch(p, QRectF(150, 120, 52, 36), QColor(255, 255, 255, 10), 5);
    QColor mark = kAccent;
    mark.setAlpha(70);
    drawGlyph(p, glyph, QRectF(176, 8, 22, 22), mark);
    return img;
}

QImage dialogCard() {
    QImage img = blankPicture(kMsgSize.width(), kMsgSize.height());
    QPainter p;
    begin(img, p);
    const QRectF card(kDialogCard);
    drawSurface(p, card, 14, QColor(34, 40, 50), QColor(16, 19, 24), kLineHi);
    // Title band and accent stripe.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 8));
    p.drawRect(QRectF(card.left() + 1, card.top() + 14, card.width() - 2, 36));
    p.setBrush(kAccent);
    p.drawRoundedRect(QRectF(card.left() + 20, card.top() + 6, 60, 3), 1.5, 1.5);
    p.setPen(QPen(kLine, 1));
    p.drawLine(QPointF(card.left() + 16, card.top() + 50.5), QPointF(card.right() - 16, card.top() + 50.5));
    p.drawLine(QPointF(card.left() + 16, card.bottom() - 58.5), QPointF(card.right() - 16, card.bottom() - 58.5));
    drawHatch(p, QRectF(card.right() - 90, card.bottom() - 56, 76, 44), QColor(255, 255, 255, 9), 5);
    p.end();
    return keyOutSeeThrough(img);
}

QImage updateArt() {
    QImage img = blankPicture(kUpdateSize.width(), kUpdateSize.height());
    QPainter p;
    begin(img, p);
    const QRectF r(0, 0, kUpdateSize.width(), kUpdateSize.height());
    drawSurface(p, r, 10, QColor(30, 35, 43), QColor(18, 21, 27), kLine);
    p.setPen(QPen(kAccent, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12, 1.5), QPointF(60, 1.5));
    drawGlyph(p, Glyph::Chip, QRectF(22, 26, 50, 50), kAccent);
    // A file travelling into the chip: a document, then a dotted path with arrowheads.
    const QRectF doc(456, 24, 40, 52);
    QPainterPath page;
    page.moveTo(doc.left(), doc.top());
    page.lineTo(doc.right() - 12, doc.top());
    page.lineTo(doc.right(), doc.top() + 12);
    page.lineTo(doc.right(), doc.bottom());
    page.lineTo(doc.left(), doc.bottom());
    page.closeSubpath();
    p.setPen(QPen(kMuted, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(12, 14, 18));
    p.drawPath(page);
    p.drawPolyline(QPolygonF{QPointF(doc.right() - 12, doc.top()), QPointF(doc.right() - 12, doc.top() + 12),
                             QPointF(doc.right(), doc.top() + 12)});
    for (int i = 0; i < 3; ++i) p.drawLine(QPointF(doc.left() + 8, doc.top() + 24 + i * 8), QPointF(doc.right() - 8, doc.top() + 24 + i * 8));
    p.setPen(QPen(kLineHi, 2, Qt::DotLine, Qt::RoundCap));
    p.drawLine(QPointF(104, 51), QPointF(436, 51));
    p.setPen(QPen(kAccent, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (int i = 0; i < 3; ++i) {
        const qreal x = 120 + i * 110;
        p.drawPolyline(QPolygonF{QPointF(x + 6, 45), QPointF(x, 51), QPointF(x + 6, 57)});
    }
    drawHatch(p, QRectF(160, 70, 220, 22), QColor(255, 255, 255, 8), 6);
    return img;
}

}  // namespace

void addControlPictures(std::vector<PictureEntry>& out) {
    const struct { const char* prefix; int w, h; QImage (*draw)(int, int, State); } families[] = {
        {"BtnS", 110, 27, pushButton},   {"SetS", 100, 30, tabButton},
        {"KeyS", 170, 27, keyButton},    {"MacroS", 110, 27, pushButton},
        {"MacroBtnS", 44, 27, pushButton},
    };
    const State states[] = {State::Normal, State::Hover, State::Selected};
    for (const auto& f : families) {
        for (int s = 0; s < 3; ++s) {
            auto draw = f.draw;
            const int w = f.w, h = f.h;
            const State st = states[s];
            out.push_back({QStringLiteral("%1_0%2").arg(QLatin1String(f.prefix)).arg(s + 1), w, h,
                           [=] { return draw(w, h, st); }});
        }
    }
    for (int s = 0; s < 3; ++s) {
        const State st = states[s];
        out.push_back({QStringLiteral("ExitS_0%1").arg(s + 1), 18, 18, [=] { return exitIcon(st); }});
    }
    // Web button: 02 is the clicked picture, 03 the hover one.
    out.push_back({QStringLiteral("WebS_01"), 200, 66, [] { return webButton(State::Normal); }});
    out.push_back({QStringLiteral("WebS_02"), 200, 66, [] { return webButton(State::Selected); }});
    out.push_back({QStringLiteral("WebS_03"), 200, 66, [] { return webButton(State::Hover); }});

    out.push_back({QStringLiteral("CbS_D"), 16, 16, [] { return checkBox(false); }});
    out.push_back({QStringLiteral("CbS_E"), 16, 16, [] { return checkBox(true); }});
    out.push_back({QStringLiteral("RdS_D"), 15, 15, [] { return radioMark(false); }});
    out.push_back({QStringLiteral("RdS_E"), 15, 15, [] { return radioMark(true); }});
    out.push_back({QStringLiteral("Bar1_D"), 26, 18, [] { return barSegment(26, 18, false); }});
    out.push_back({QStringLiteral("Bar1_E"), 26, 18, [] { return barSegment(26, 18, true); }});
    out.push_back({QStringLiteral("Bar2_D"), 20, 18, [] { return barSegment(20, 18, false); }});
    out.push_back({QStringLiteral("Bar2_E"), 20, 18, [] { return barSegment(20, 18, true); }});
    out.push_back({QStringLiteral("Col_F"), 30, 30, swatchFrame});

    for (int g = 0; g < 7; ++g) {
        for (int s = 0; s < 2; ++s) {
            out.push_back({QStringLiteral("Gun%1_0%2").arg(g + 1).arg(s + 1), 120, 56,
                           [=] { return gunCard(g, s == 1); }});
        }
    }
    for (int m = 0; m < 5; ++m) {
        const int size = kGunModeSize[static_cast<std::size_t>(m)];
        out.push_back({QStringLiteral("GunMode%1").arg(m + 1), size, size, [=] { return gunMode(m + 1, size); }});
    }
    out.push_back({QStringLiteral("InsertDelayBase"), 207, 162, [] { return insertBase(Glyph::Clock); }});
    out.push_back({QStringLiteral("InsertKeyBase"), 207, 162, [] { return insertBase(Glyph::Key); }});
    out.push_back({QStringLiteral("InsertXYBase"), 207, 162, [] { return insertBase(Glyph::Axis); }});
    out.push_back({QStringLiteral("Msg"), kMsgSize.width(), kMsgSize.height(), dialogCard});
    out.push_back({QStringLiteral("Update"), kUpdateSize.width(), kUpdateSize.height(), updateArt});
}

std::vector<PictureEntry> allPictures() {
    std::vector<PictureEntry> out;
    for (const char* set : {"L1", "L2", "L3"}) addPanelPictures(out, QLatin1String(set));
    addControlPictures(out);
    return out;
}

}  // namespace skinart
