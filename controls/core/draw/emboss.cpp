// The embossed look of a disabled face.
#include "controls/core/draw/drawing.h"
#include "platform/gdi/raster.h"
#include <QPainter>

namespace vyr::controls::draw {

void DrawDisabledBitmap(QPainter& painter, int x, int y, int width, int height, const QImage& bitmap, int srcX,
                        int srcY, const QColor& background)
{
    if (width <= 0 || height <= 0)
        return;
    using namespace gdi;
    // Pixels of the face's own colours are background (1); all else is drawing (0), which
    // comes out as shadow over a highlight one pixel down and right.
    const QImage mask = MonoMask(bitmap, QRect(srcX, srcY, width, height), {background, SysColor(COLOR_BTNFACE)});
    FillSolid(painter, QRect(x, y, width, height), SysColor(COLOR_BTNFACE));
    BlitMaskWithBrush(painter, x + 1, y + 1, mask, SysColor(COLOR_BTNHIGHLIGHT));
    BlitMaskWithBrush(painter, x, y, mask, SysColor(COLOR_BTNSHADOW));
}

} // namespace vyr::controls::draw
