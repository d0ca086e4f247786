// The window background and the page panels of a picture set: the wells, grooves and group
// boxes behind the controls that the layout tables place, and the mouse with its call-outs.
#include "tools/skinart/pictures.h"

#include "tools/skinart/art_kit.h"
#include "tools/skinart/geometry.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QRadialGradient>

namespace skinart {
namespace {

using namespace palette;

void beginPainter(QImage& img, QPainter& p) {
    p.begin(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
}

void drawPanelSurface(QPainter& p, const QSize& size) {
    const QRectF r(0, 0, size.width(), size.height());
    drawSurface(p, r, 12, QColor(24, 28, 35, 235), QColor(15, 17, 22, 235), kLine);
}

// A recessed groove behind a row of controls.
void drawGroove(QPainter& p, const QRectF& r) {
    p.save();
    p.setPen(QPen(QColor(0, 0, 0, 140), 1));
    p.setBrush(QColor(9, 11, 14));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    p.setPen(QPen(QColor(255, 255, 255, 14), 1));
    p.drawLine(QPointF(r.left() + 4, r.bottom() - 0.5), QPointF(r.right() - 4, r.bottom() - 0.5));
    p.restore();
}

void drawBoxGlyph(QPainter& p, const QRect& box, Glyph g) {
    drawGroupBox(p, box);
    drawGlyph(p, g, QRectF(box.right() - 26, box.top() + 6, 18, 18), kAccentSoft);
}

// The texts a panel picture carries, in the language of its picture set (L1 Simplified
// Chinese, L2 Traditional Chinese, L3 English), drawn with that language's font. The
// controls over these places have blank captions in the language tables.
struct PanelTexts {
    const char* font;
    const char* dpiLevels;
    const char* reportRate;
    const char* fireKeys;
    const char* pointerSpeed;
    const char* doubleClickSpeed;
    const char* wheelLines;
    const char* effect;
    const char* breathingSpeed;
    const char* slow;
    const char* fast;
    const char* colours;
    const char* pcMacros;
    const char* mouseMacros;
    const char* listing;
    const char* delay;
    const char* recordDelay;
    const char* defaultDelay;
    const char* noDelay;
    const char* gunSettings;
    const char* keepLeftKey;
};

const PanelTexts& panelTexts(const QString& set) {
    static const PanelTexts simplified{
        "Noto Sans CJK SC", "DPI档位", "回报率", "连发键", "指针速度", "双击速度", "滚轮行数",
        "灯效", "呼吸速度", "慢", "快", "颜色", "电脑宏", "鼠标宏", "宏内容", "延时",
        "录制延时", "默认延时", "无延时", "枪械设置", "枪键是否保留左键"};
    static const PanelTexts traditional{
        "Noto Sans CJK TC", "DPI檔位", "回報率", "連發鍵", "指標速度", "按兩下速度", "滾輪行數",
        "燈效", "呼吸速度", "慢", "快", "顏色", "電腦巨集", "滑鼠巨集", "巨集內容", "延遲",
        "錄製延遲", "預設延遲", "無延遲", "槍械設定", "槍鍵是否保留左鍵"};
    static const PanelTexts english{
        "DejaVu Sans Condensed", "DPI Levels", "Report Rate", "Fire Keys", "Pointer Speed",
        "Double-Click Speed", "Wheel Lines", "Lighting Effect", "Breathing Speed", "Slow", "Fast",
        "Colours", "PC Macros", "Mouse Macros", "Macro Content", "Delay", "Record Delay",
        "Default Delay", "No Delay", "Gun Settings", "Keep Left Key"};
    if (set == QLatin1String("L1")) return simplified;
    if (set == QLatin1String("L2")) return traditional;
    return english;
}

void drawCaption(QPainter& p, const PanelTexts& t, const QPointF& baseline, const char* text, int pixelSize = 12,
                 bool bold = true, const QColor& colour = QColor(214, 224, 236)) {
    QFont f(QString::fromLatin1(t.font));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferFullHinting);
    p.save();
    p.setFont(f);
    p.setPen(colour);
    p.drawText(baseline, QString::fromUtf8(text));
    p.restore();
}

// A group box's heading, under its accent tab.
void drawHeading(QPainter& p, const PanelTexts& t, const QRect& box, const char* text) {
    drawCaption(p, t, QPointF(box.left() + 12, box.top() + 21), text);
}

// ---------------------------------------------------------------- background

QImage background() {
    QImage img = blankPicture(kWindowW, kWindowH);
    QPainter p;
    beginPainter(img, p);
    const QRectF all(0, 0, kWindowW, kWindowH);
    // The shape covers the whole picture edge to edge, so only the corners are see-through.
    const QPainterPath shape = roundedRect(all, kCornerRadius);
    p.setClipPath(shape);

    QLinearGradient base(all.topLeft(), all.bottomLeft());
    base.setColorAt(0, kBase);
    base.setColorAt(1, kVoid);
    p.fillRect(all, base);

    // Cool glow behind the content area.
    QRadialGradient glow(QPointF(610, 330), 520);
    glow.setColorAt(0, QColor(20, 70, 110, 70));
    glow.setColorAt(1, QColor(20, 70, 110, 0));
    p.fillRect(all, glow);

    // Dot grid over the content area.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 12));
    for (int y = kHeaderH + 14; y < kFooterY - 6; y += 16) {
        for (int x = kSidebarW + 14; x < kWindowW - 8; x += 16) p.drawEllipse(QPointF(x, y), 0.9, 0.9);
    }

    // Header band.
    QLinearGradient head(QPointF(0, 0), QPointF(0, kHeaderH));
    head.setColorAt(0, QColor(30, 35, 44));
    head.setColorAt(1, QColor(19, 22, 28));
    p.fillRect(QRectF(0, 0, kWindowW, kHeaderH), head);
    p.setPen(QPen(kLine, 1));
    p.drawLine(QPointF(0, kHeaderH - 0.5), QPointF(kWindowW, kHeaderH - 0.5));
    QLinearGradient accentLine(QPointF(0, 0), QPointF(kWindowW, 0));
    accentLine.setColorAt(0, QColor(28, 186, 255, 0));
    accentLine.setColorAt(0.12, kAccent);
    accentLine.setColorAt(0.45, QColor(28, 186, 255, 0));
    p.setPen(QPen(QBrush(accentLine), 2));
    p.drawLine(QPointF(0, kHeaderH - 1), QPointF(kWindowW, kHeaderH - 1));
    drawHatch(p, QRectF(300, 8, 300, kHeaderH - 16), QColor(255, 255, 255, 7), 7);

    // Mark: a hexagon with a chevron, then the product's name.
    {
        const QPointF c(48, 32);
        QPolygonF hex;
        for (int i = 0; i < 6; ++i) {
            const qreal a = 3.14159265 / 3 * i + 3.14159265 / 6;
            hex << QPointF(c.x() + 17 * std::cos(a), c.y() + 17 * std::sin(a));
        }
        QPainterPath hp;
        hp.addPolygon(hex);
        hp.closeSubpath();
        drawGlow(p, hp, kAccent, 3);
        p.setPen(QPen(kAccent, 2));
        p.setBrush(QColor(6, 40, 62));
        p.drawPath(hp);
        p.setPen(QPen(QColor(210, 244, 255), 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF{QPointF(40, 40), QPointF(40, 24), QPointF(56, 40), QPointF(56, 24)});
        QFont f = artFont(24, true);
        f.setLetterSpacing(QFont::AbsoluteSpacing, 5);
        p.setFont(f);
        p.setPen(QColor(232, 238, 245));
        p.drawText(QPointF(78, 42), QStringLiteral("NIVRA"));
        p.setPen(QPen(kAccent, 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(80, 50), QPointF(112, 50));
    }

    // Sidebar.
    QLinearGradient side(QPointF(0, 0), QPointF(kSidebarW, 0));
    side.setColorAt(0, QColor(12, 14, 18, 230));
    side.setColorAt(1, QColor(16, 19, 24, 230));
    p.fillRect(QRectF(0, kHeaderH, kSidebarW, kFooterY - kHeaderH), side);
    p.setPen(QPen(kLine, 1));
    p.drawLine(QPointF(kSidebarW - 0.5, kHeaderH), QPointF(kSidebarW - 0.5, kFooterY));
    // No mark of the page in view here: the page button's own picture carries it.
    // A divider between the page buttons and the profile file buttons.
    p.setPen(QPen(kLine, 1));
    p.drawLine(QPointF(24, 402.5), QPointF(kSidebarW - 24, 402.5));
    p.setPen(Qt::NoPen);
    p.setBrush(kAccentSoft);
    p.drawEllipse(QPointF(kSidebarW / 2.0, 402.5), 2, 2);

    // Footer band.
    p.fillRect(QRectF(0, kFooterY, kWindowW, kWindowH - kFooterY), QColor(13, 15, 19));
    p.setPen(QPen(kLine, 1));
    p.drawLine(QPointF(0, kFooterY + 0.5), QPointF(kWindowW, kFooterY + 0.5));
    drawHatch(p, QRectF(24, kFooterY + 14, 220, 28), QColor(255, 255, 255, 8), 6);

    // Corner brackets of the content area.
    p.setPen(QPen(kLineHi, 1.4, Qt::SolidLine, Qt::RoundCap));
    const QRectF content(kSidebarW + 10, kHeaderH + 10, kWindowW - kSidebarW - 20, kFooterY - kHeaderH - 20);
    const qreal L = 16;
    p.drawLine(content.topLeft(), content.topLeft() + QPointF(L, 0));
    p.drawLine(content.topLeft(), content.topLeft() + QPointF(0, L));
    p.drawLine(content.topRight(), content.topRight() + QPointF(-L, 0));
    p.drawLine(content.topRight(), content.topRight() + QPointF(0, L));
    p.drawLine(content.bottomLeft(), content.bottomLeft() + QPointF(L, 0));
    p.drawLine(content.bottomLeft(), content.bottomLeft() + QPointF(0, -L));
    p.drawLine(content.bottomRight(), content.bottomRight() + QPointF(-L, 0));
    p.drawLine(content.bottomRight(), content.bottomRight() + QPointF(0, -L));

    // Rim.
    p.setClipping(false);
    p.setPen(QPen(kLineHi, 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(roundedRect(all.adjusted(0.5, 0.5, -0.5, -0.5), kCornerRadius - 0.5));
    p.end();
    return keyOutSeeThrough(img);
}

// ---------------------------------------------------------------- profile panel

QPainterPath mouseBody() {
    QPainterPath b(QPointF(340, 34));
    b.cubicTo(QPointF(385, 34), QPointF(412, 60), QPointF(416, 120));
    b.cubicTo(QPointF(420, 170), QPointF(432, 230), QPointF(428, 285));
    b.cubicTo(QPointF(424, 335), QPointF(390, 362), QPointF(340, 362));
    b.cubicTo(QPointF(290, 362), QPointF(256, 335), QPointF(252, 285));
    b.cubicTo(QPointF(248, 230), QPointF(260, 170), QPointF(264, 120));
    b.cubicTo(QPointF(268, 60), QPointF(295, 34), QPointF(340, 34));
    b.closeSubpath();
    return b;
}

void drawMouse(QPainter& p) {
    const QPainterPath body = mouseBody();
    drawGlow(p, body, kAccent, 5);
    QLinearGradient shell(QPointF(252, 0), QPointF(432, 0));
    shell.setColorAt(0, QColor(22, 26, 33));
    shell.setColorAt(0.5, QColor(44, 51, 62));
    shell.setColorAt(1, QColor(22, 26, 33));
    p.setPen(QPen(kLineHi, 1.5));
    p.setBrush(shell);
    p.drawPath(body);

    p.save();
    p.setClipPath(body);
    // The two main buttons end on a curve; the split runs down the middle.
    QPainterPath front;
    front.moveTo(240, 176);
    front.quadTo(QPointF(340, 196), QPointF(440, 176));
    front.lineTo(440, 20);
    front.lineTo(240, 20);
    front.closeSubpath();
    QLinearGradient fg(QPointF(0, 34), QPointF(0, 190));
    fg.setColorAt(0, QColor(52, 60, 73));
    fg.setColorAt(1, QColor(34, 40, 49));
    p.setPen(Qt::NoPen);
    p.setBrush(fg);
    p.drawPath(front);
    p.setPen(QPen(QColor(8, 10, 13), 2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(QPainterPath(front));
    p.drawLine(QPointF(340, 30), QPointF(340, 110));
    // Palm light zone.
    QRadialGradient zone(QPointF(340, 286), 46);
    zone.setColorAt(0, QColor(28, 186, 255, 110));
    zone.setColorAt(1, QColor(28, 186, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(zone);
    p.drawEllipse(QPointF(340, 286), 46, 46);
    // Side light strips.
    p.setPen(QPen(QColor(28, 186, 255, 150), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(262, 300), QPointF(276, 344));
    p.drawLine(QPointF(418, 300), QPointF(404, 344));
    p.restore();

    // Mark on the palm.
    p.setPen(QPen(QColor(210, 244, 255), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF{QPointF(332, 294), QPointF(332, 278), QPointF(348, 294), QPointF(348, 278)});

    auto part = [&](const QRectF& r, qreal radius) {
        p.setPen(QPen(QColor(6, 8, 11), 1.5));
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, QColor(70, 80, 96));
        g.setColorAt(1, QColor(38, 44, 54));
        p.setBrush(g);
        p.drawRoundedRect(r, radius, radius);
    };
    // Wheel with ribs.
    part(QRectF(331, 46, 18, 40), 8);
    p.setPen(QPen(QColor(20, 24, 30), 1.2));
    for (int y = 52; y < 82; y += 5) p.drawLine(QPointF(334, y), QPointF(346, y));
    part(QRectF(333, 116, 14, 20), 4);  // CPI up
    part(QRectF(333, 142, 14, 20), 4);  // CPI down
    part(QRectF(255, 162, 13, 30), 5);  // forward
    part(QRectF(255, 200, 13, 30), 5);  // back
    part(QRectF(254, 242, 15, 20), 4);  // sniper
    part(QRectF(257, 280, 12, 22), 5);
    part(QRectF(275, 323, 14, 14), 4);
    part(QRectF(411, 192, 12, 28), 5);
    part(QRectF(408, 250, 12, 26), 5);
}

void drawCallouts(QPainter& p) {
    QFont f = artFont(10, true);
    p.setFont(f);
    for (int m = 1; m <= 12; ++m) {
        const KeySlot& s = kButtonSlots[static_cast<std::size_t>(m - 1)];
        const QRect slot = keySlotRect(m);
        const qreal midY = slot.top() + slot.height() / 2.0;
        const qreal edge = s.right ? slot.left() : slot.right() + 1;
        const QPointF badge(s.right ? edge - 14 : edge + 14, midY);
        const QPointF elbow(s.right ? edge - 44 : edge + 44, midY);
        const QPointF anchor(s.anchor);

        QPainterPath line(QPointF(badge.x() + (s.right ? -8 : 8), midY));
        line.lineTo(elbow);
        line.lineTo(anchor);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(28, 186, 255, 60), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(line);
        p.setPen(QPen(QColor(120, 214, 255), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(line);
        // Anchor dot on the button.
        p.setPen(QPen(QColor(6, 8, 11), 1.5));
        p.setBrush(kAccent);
        p.drawEllipse(anchor, 3.4, 3.4);
        // Numbered badge next to the key label.
        p.setPen(QPen(kAccent, 1.2));
        p.setBrush(QColor(8, 32, 50));
        p.drawEllipse(badge, 8.5, 8.5);
        p.setPen(QColor(225, 246, 255));
        p.drawText(QRectF(badge.x() - 9, badge.y() - 9, 18, 18), Qt::AlignCenter, QString::number(m));
        // A faint tray where the key label lies.
        p.setPen(QPen(QColor(255, 255, 255, 14), 1, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(slot).adjusted(-2.5, -2.5, 2.5, 2.5), 5, 5);
    }
}

QImage profilePanel() {
    QImage img = blankPicture(680, 380);
    QPainter p;
    beginPainter(img, p);
    drawPanelSurface(p, img.size());
    QRadialGradient halo(QPointF(340, 200), 210);
    halo.setColorAt(0, QColor(28, 186, 255, 40));
    halo.setColorAt(1, QColor(28, 186, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(halo);
    p.drawEllipse(QPointF(340, 200), 210, 190);
    // Range rings behind the mouse.
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 3; ++i) {
        p.setPen(QPen(QColor(255, 255, 255, 10 + 4 * i), 1, Qt::DotLine));
        p.drawEllipse(QPointF(340, 200), 120.0 + 30 * i, 168.0 + 10 * i);
    }
    drawMouse(p);
    drawCallouts(p);
    return img;
}

// ---------------------------------------------------------------- advanced panel

QImage advancedPanel(const PanelTexts& t) {
    QImage img = blankPicture(800, 374);
    QPainter p;
    beginPainter(img, p);
    drawPanelSurface(p, img.size());
    drawBoxGlyph(p, kCpiBox, Glyph::Gauge);
    drawBoxGlyph(p, kRateBox, Glyph::Wave);
    drawBoxGlyph(p, kFireKeyBox, Glyph::Bolt);
    drawBoxGlyph(p, kSpeedBox, Glyph::Pointer);

    // CPI rows: eight levels and the AIM level, each a stripe with a groove for the bar.
    for (int r = 0; r < 9; ++r) {
        const int y = kCpiRow0Y + r * kCpiRowStep;
        const QRectF stripe(kCpiBox.left() + 6, y - 7, kCpiBox.width() - 12, 32);
        p.setPen(Qt::NoPen);
        p.setBrush(r % 2 ? QColor(255, 255, 255, 6) : QColor(255, 255, 255, 11));
        if (r == 8) p.setBrush(QColor(28, 186, 255, 20));
        p.drawRoundedRect(stripe, 5, 5);
        drawGroove(p, QRectF(kCpiStepsX - 3, y - 2, 12 * 20 + 4, 22));
        if (r < 8) {
            p.setPen(QPen(QColor(0, 0, 0, 150), 1));
            p.setBrush(QColor(9, 11, 14));
            p.drawRoundedRect(QRectF(kCpiColourX - 2, y - 8, 34, 34), 6, 6);
        } else {
            drawGlyph(p, Glyph::Crosshair, QRectF(kCpiCheckX - 1, y, 18, 18), kAccent);
        }
    }
    drawHeading(p, t, kCpiBox, t.dpiLevels);
    drawHeading(p, t, kRateBox, t.reportRate);
    drawHeading(p, t, kFireKeyBox, t.fireKeys);
    // The report-rate choices and the pointer scales are captioned by the page's own labels
    // (from the language tables), so the picture carries only the headings.
    // Fire keys: a groove per key.
    for (int y : kFireKeyY) {
        drawGroove(p, QRectF(kFireKeyBox.left() + 30, y - 3, kFireKeyBox.width() - 44, 26));
        p.setPen(Qt::NoPen);
        p.setBrush(kAccentSoft);
        p.drawEllipse(QPointF(kFireKeyBox.left() + 18, y + 10), 3, 3);
    }
    drawGlyph(p, Glyph::List, QRectF(kFireCntX + 18, kFireKeyBox.top() + 8, 16, 16), kMuted);
    drawGlyph(p, Glyph::Clock, QRectF(kFireDelayX + 18, kFireKeyBox.top() + 8, 16, 16), kMuted);
    // Pointer speed, double-click speed, wheel lines: a groove per bar.
    for (std::size_t i = 0; i < kSpeedY.size(); ++i) drawGroove(p, QRectF(kSpeedX - 3, kSpeedY[i] - 2, 11 * 26 + 4, 22));
    return img;
}

// ---------------------------------------------------------------- breathing panel

QImage breathingPanel(const PanelTexts&) {
    QImage img = blankPicture(801, 375);
    QPainter p;
    beginPainter(img, p);
    drawPanelSurface(p, img.size());
    drawBoxGlyph(p, kEffectBox, Glyph::Wave);
    drawBoxGlyph(p, kStepBox, Glyph::Clock);
    drawBoxGlyph(p, kColourBox, Glyph::Palette);
    for (int i = 0; i < 6; ++i) {
        const int y = kEffectY0 + i * kEffectStep;
        p.setPen(Qt::NoPen);
        p.setBrush(i % 2 ? QColor(255, 255, 255, 6) : QColor(255, 255, 255, 11));
        p.drawRoundedRect(QRectF(kEffectBox.left() + 8, y - 10, kEffectBox.width() - 16, 36), 6, 6);
    }
    drawGroove(p, QRectF(kStepTime.x() - 4, kStepTime.y() - 3, 10 * kStepPitch + 6, 24));
    // A slow-to-fast ramp under the speed bar.
    QPainterPath ramp(QPointF(kStepTime.x(), kStepTime.y() + 44));
    ramp.lineTo(kStepTime.x() + 10 * kStepPitch - 2, kStepTime.y() + 30);
    ramp.lineTo(kStepTime.x() + 10 * kStepPitch - 2, kStepTime.y() + 44);
    ramp.closeSubpath();
    QLinearGradient rg(QPointF(kStepTime.x(), 0), QPointF(kStepTime.x() + 10 * kStepPitch, 0));
    rg.setColorAt(0, QColor(28, 186, 255, 20));
    rg.setColorAt(1, QColor(28, 186, 255, 120));
    p.setPen(Qt::NoPen);
    p.setBrush(rg);
    p.drawPath(ramp);
    // The panel titles and the fast and slow ends of the speed bar are the page's own labels
    // (from the language tables), so the picture carries no text here.
    for (int row = 0; row < 2; ++row) {
        for (int i = 0; i < 5; ++i) {
            const QRectF well(kColourX0 + i * kColourStep - 3, kColourRowY[static_cast<std::size_t>(row)] - 3, 36, 36);
            p.setPen(QPen(QColor(0, 0, 0, 150), 1));
            p.setBrush(QColor(9, 11, 14));
            p.drawRoundedRect(well, 7, 7);
        }
    }
    return img;
}

// ---------------------------------------------------------------- macro panel

void drawListWell(QPainter& p, const PanelTexts& t, const QRect& r, Glyph g, const char* heading) {
    drawGroupBox(p, QRectF(r).adjusted(-6, -30, 6, 6));
    drawGlyph(p, g, QRectF(r.left() + 2, r.top() - 24, 16, 16), kAccentSoft);
    drawCaption(p, t, QPointF(r.left() + 24, r.top() - 11), heading);
    p.setPen(QPen(QColor(0, 0, 0, 160), 1));
    p.setBrush(QColor(10, 12, 15));
    p.drawRoundedRect(QRectF(r).adjusted(-1.5, -1.5, 1.5, 1.5), 4, 4);
}

QImage macroPanel(const PanelTexts& t) {
    QImage img = blankPicture(800, 374);
    QPainter p;
    beginPainter(img, p);
    drawPanelSurface(p, img.size());
    drawListWell(p, t, kPcListRect, Glyph::Chip, t.pcMacros);
    drawListWell(p, t, kDevListRect, Glyph::Pointer, t.mouseMacros);
    drawListWell(p, t, kContentRect, Glyph::List, t.listing);
    drawGroupBox(p, kGroupRect);
    drawHeading(p, t, kGroupRect, t.delay);
    // The three delay choices are captioned by their buttons (from the language tables).
    drawGlyph(p, Glyph::Clock, QRectF(kGroupRect.right() - 26, kGroupRect.top() + 8, 18, 18), kAccentSoft);
    // Flow arrows from the PC list to the device list to the listing.
    p.setPen(QPen(kAccentSoft, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (int x : {kPcListRect.right() + 6, kDevListRect.right() + 6}) {
        const qreal y = kPcListRect.top() + kPcListRect.height() / 2.0;
        p.drawPolyline(QPolygonF{QPointF(x - 2, y - 5), QPointF(x + 3, y), QPointF(x - 2, y + 5)});
    }
    return img;
}

// ---------------------------------------------------------------- fire macro panel

QImage fireMacroPanel(const PanelTexts& t) {
    QImage img = blankPicture(720, 650);
    QPainter p;
    beginPainter(img, p);
    drawPanelSurface(p, img.size());
    drawGlyph(p, Glyph::Crosshair, QRectF(18, 10, 20, 20), kAccent);
    drawCaption(p, t, QPointF(46, 25), t.gunSettings, 13);
    {
        QFont f(QString::fromLatin1(t.font));
        f.setPixelSize(13);
        f.setBold(true);
        const qreal w = QFontMetricsF(f).horizontalAdvance(QString::fromUtf8(t.gunSettings));
        p.setPen(QPen(kLine, 1));
        p.drawLine(QPointF(46 + w + 10, 20.5), QPointF(700, 20.5));
    }
    drawGroupBox(p, kGunBox);
    drawBoxGlyph(p, kGunEditBox, Glyph::Gun);
    // The scope row (guns 6 and 7 only) and the fire macro recorder (hidden until revealed)
    // get their boxes from the page while they are shown: the panel draws neither.
    // Gun slots.
    for (int i = 0; i < 7; ++i) {
        drawGroove(p, QRectF(kGunX - 3, kGunY0 + i * kGunStep - 3, 126, 62));
    }
    // Column headings of the gun edits, as pictograms: count, X, X offset, Y, Y offset,
    // time, colour.
    const Glyph heads[7] = {Glyph::List, Glyph::Axis, Glyph::Axis, Glyph::Axis, Glyph::Axis, Glyph::Clock, Glyph::Palette};
    for (int c = 0; c < 7; ++c) {
        drawGlyph(p, heads[c], QRectF(kGunEditX[static_cast<std::size_t>(c)] + 20, kGunEditBox.top() + 16, 16, 16), kMuted);
    }
    for (int y : kGunEditY) {
        drawGroove(p, QRectF(kGunEditBox.left() + 10, y - 6, kGunEditBox.width() - 20, 32));
    }
    // The keep-left-key option beside its box.
    drawCaption(p, t, QPointF(kIsHasLK.x() + 24, kIsHasLK.y() + 13), t.keepLeftKey, 12, false);
    return img;
}

}  // namespace

void addPanelPictures(std::vector<PictureEntry>& out, const QString& set) {
    const PanelTexts* t = &panelTexts(set);
    out.push_back({set + QStringLiteral("_BackGround"), kWindowW, kWindowH, background});
    out.push_back({set + QStringLiteral("_Back1"), 680, 380, profilePanel});
    out.push_back({set + QStringLiteral("_Back2"), 800, 374, [t] { return advancedPanel(*t); }});
    out.push_back({set + QStringLiteral("_Back3"), 801, 375, [t] { return breathingPanel(*t); }});
    out.push_back({set + QStringLiteral("_Back4"), 800, 374, [t] { return macroPanel(*t); }});
    out.push_back({set + QStringLiteral("_Back5"), 720, 650, [t] { return fireMacroPanel(*t); }});
}

}  // namespace skinart
