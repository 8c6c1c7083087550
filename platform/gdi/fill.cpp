#include "platform/gdi/fill.h"
#include <QPainter>

namespace vyr::gdi {

void FillSolid(QPainter& painter, const QRect& rect, const QColor& color)
{
    if (rect.isEmpty())
        return;
    const auto mode = painter.compositionMode();
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(rect, QColor(color.red(), color.green(), color.blue()));
    painter.setCompositionMode(mode);
}

} // namespace vyr::gdi
