#include "controls/core/draw/drawing.h"
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>

namespace vyr::controls::draw {

bool IsClipBoxEmpty(const QPainter& painter)
{
    if (!painter.isActive() || !painter.device())
        return true;
    const QRect device(0, 0, painter.device()->width(), painter.device()->height());
    QRect box = device;
    // A paint event's region arrives as the engine's system clip (an empty region: none).
    if (const QPaintEngine* engine = painter.paintEngine(); engine && !engine->systemClip().isEmpty())
        box &= engine->systemClip().boundingRect();
    if (painter.hasClipping())
        box &= painter.combinedTransform().mapRect(painter.clipBoundingRect()).toAlignedRect();
    return box.isEmpty();
}

} // namespace vyr::controls::draw
