#pragma once
// Drawing by inverting destination pixels (the NOT raster operation): drawing the same figure
// twice gives back the original pixels, which is what makes these usable as transient feedback.
#include <QRect>

class QPainter;

namespace vyr::gdi {

// Inverts every pixel of `rect`.
void InvertRect(QPainter& painter, const QRect& rect);
// Inverts the one-pixel outline of `rect` (each pixel once), as a rectangle drawn with a NOT
// pen and no brush.
void DrawNotRect(QPainter& painter, const QRect& rect);
// The focus rectangle: every other pixel of the one-pixel outline of `rect` inverted, in a
// checkerboard aligned to the device's pixel grid, so the dots line up across controls.
void DrawFocusRect(QPainter& painter, const QRect& rect);

} // namespace vyr::gdi
