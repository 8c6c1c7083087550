#pragma once
// Opaque rectangle fill.
#include <QColor>
#include <QRect>

class QPainter;

namespace vyr::gdi {

// Fills `rect` with `color`, replacing what is there whatever the painter's composition mode
// (as an opaque text-out of no characters does); the painter's state is left as it was.
void FillSolid(QPainter& painter, const QRect& rect, const QColor& color);

} // namespace vyr::gdi
