// Colours of the layout tables: three keys ..._R, ..._G, ..._B combined into one number
// R + 256 x G + 65536 x B, and its conversion to QColor.
#pragma once

#include <QColor>

#include <cstdint>

namespace nivra::skin {

using Colour = std::int32_t;

constexpr Colour colourFromRgb(int r, int g, int b) { return r + 256 * g + 65536 * b; }
constexpr int colourRed(Colour c) { return c & 0xFF; }
constexpr int colourGreen(Colour c) { return (c >> 8) & 0xFF; }
constexpr int colourBlue(Colour c) { return (c >> 16) & 0xFF; }

inline QColor toQColor(Colour c) { return QColor(colourRed(c), colourGreen(c), colourBlue(c)); }

}  // namespace nivra::skin
