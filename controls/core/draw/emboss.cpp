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
    // The mask keeps the bitmap's resolution: a face composed at the device pixel ratio is
    // embossed in device pixels.
    const qreal dpr = bitmap.devicePixelRatio();
    const QRect area = QRectF(srcX * dpr, srcY * dpr, width * dpr, height * dpr).toRect();
    QImage mask = MonoMask(bitmap, area, {background, SysColor(COLOR_BTNFACE)});
    mask.setDevicePixelRatio(dpr);
    FillSolid(painter, QRect(x, y, width, height), SysColor(COLOR_BTNFACE));
    BlitMaskWithBrush(painter, x + 1, y + 1, mask, SysColor(COLOR_BTNHIGHLIGHT));
    BlitMaskWithBrush(painter, x, y, mask, SysColor(COLOR_BTNSHADOW));
}

} // namespace vyr::controls::draw
