#include "controls/core/draw/drawing.h"
#include <QPaintDevice>
#include <QPainter>

namespace vyr::controls::draw {

bool IsClipBoxEmpty(const QPainter& painter)
{
    if (!painter.isActive() || !painter.device())
        return true;
    // Only the painter's own clip counts, in its logical coordinates. A paint event's region
    // (the engine's system clip) is in the coordinates of the device painted into, which for a
    // widget rendered into another surface (grab, render) is not the widget's own; the window
    // already skips paint events whose region is empty.
    if (painter.hasClipping())
        return painter.clipRegion().isEmpty();
    return painter.device()->width() <= 0 || painter.device()->height() <= 0;
}

} // namespace vyr::controls::draw
