#include "platform/gdi/fill.h"
#include <QPainter>

namespace vyr::gdi {

void FillSolid(QPainter& painter, const QRect& rect, const QColor& color)
{
    if (rect.isEmpty())
        return;
    // An opaque colour replaces what is there under either mode: switching to Source, which
    // costs a state change per call, matters only to a painter in another mode.
    const QColor opaque(color.red(), color.green(), color.blue());
    const auto mode = painter.compositionMode();
    if (mode == QPainter::CompositionMode_SourceOver || mode == QPainter::CompositionMode_Source) {
        painter.fillRect(rect, opaque);
        return;
    }
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(rect, opaque);
    painter.setCompositionMode(mode);
}

} // namespace vyr::gdi
