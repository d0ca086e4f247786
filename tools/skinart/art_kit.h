// Palette and drawing helpers shared by every picture of the skin: dark surfaces, one cyan
// accent, and the see-through colour that shapes the window.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <QString>

namespace skinart {

namespace palette {
inline const QColor kVoid{8, 9, 12};
inline const QColor kBase{17, 19, 24};
inline const QColor kBaseHi{27, 31, 38};
inline const QColor kPanel{22, 26, 32};
inline const QColor kPanelHi{32, 37, 46};
inline const QColor kLine{48, 56, 68};
inline const QColor kLineHi{74, 86, 102};
inline const QColor kMuted{118, 130, 146};
inline const QColor kAccent{28, 186, 255};
inline const QColor kAccentSoft{18, 120, 176};
inline const QColor kAccentDeep{6, 52, 82};
inline const QColor kDanger{255, 84, 84};
// The colour the window treats as see-through.
inline const QColor kSeeThrough{128, 0, 0};
}  // namespace palette

// A fresh picture: fully transparent (alpha) unless a fill is given.
QImage blankPicture(int w, int h);

// Turns a picture drawn with alpha into one with hard edges on the see-through colour:
// pixels less than half covered become RGB(128, 0, 0), all others become opaque. Used for
// the pictures whose outside shapes the window (backgrounds, the dialog card).
QImage keyOutSeeThrough(const QImage& drawn);

QPainterPath roundedRect(const QRectF& r, qreal radius);

// A raised surface: vertical gradient, hairline border, faint top highlight.
void drawSurface(QPainter& p, const QRectF& r, qreal radius, const QColor& top,
                 const QColor& bottom, const QColor& border);

// A soft glow of COLOR around the path (a few widening translucent strokes).
void drawGlow(QPainter& p, const QPainterPath& path, const QColor& color, int layers = 4);

// A recessed group box with a small accent tab at its top left and an optional glyph.
void drawGroupBox(QPainter& p, const QRectF& r);

// Fine diagonal hatching inside R, for texture.
void drawHatch(QPainter& p, const QRectF& r, const QColor& color, int step);

// Small pictograms drawn from lines, used as language-free headings.
enum class Glyph { Crosshair, Gauge, Bolt, Pointer, Wave, Palette, List, Chip, Clock, Key, Axis, Gun };
void drawGlyph(QPainter& p, Glyph g, const QRectF& box, const QColor& color);

QFont artFont(int pixelSize, bool bold);

}  // namespace skinart
