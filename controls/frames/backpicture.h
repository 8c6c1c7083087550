#pragma once
// The background of pages and frames: a colour, or a back picture tiled over it.
#include "platform/com/unknown.h"
#include <QRect>

class QPainter;
class QWidget;

namespace vyr::frames {

// Fills `rect` of `widget` with `color` unless the picture covers it, then tiles the picture,
// lined up with the top-level window when `alignTopLevel`.
void paintBackground(QPainter& painter, QWidget* widget, const QRect& rect, OLE_COLOR color, IUnknown* picture,
                     bool alignTopLevel);

} // namespace vyr::frames
