#include "platform/gdi/raster.h"
#include <QPainter>

namespace vyr::gdi {

QImage MonoMask(const QImage& source, const QRect& area, std::initializer_list<QColor> background)
{
    QImage mask(area.size(), QImage::Format_Mono);
    if (mask.isNull())
        return mask;
    mask.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    mask.fill(1);
    const QImage rgb = source.convertToFormat(QImage::Format_RGB32);
    const QRect inside = area & rgb.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QRgb pixel = row[x] & 0x00FFFFFF;
            bool isBackground = false;
            for (const QColor& c : background)
                isBackground = isBackground || pixel == (c.rgb() & 0x00FFFFFF);
            if (!isBackground)
                mask.setPixel(x - area.left(), y - area.top(), 0);
        }
    }
    return mask;
}

void BlitMaskWithBrush(QPainter& p, int x, int y, const QImage& mask, const QColor& brush)
{
    if (mask.isNull())
        return;
    // The brush where the mask is 0 and nothing where it is 1, laid over the destination.
    QImage stamp(mask.size(), QImage::Format_ARGB32_Premultiplied);
    stamp.setDevicePixelRatio(mask.devicePixelRatio());
    const QRgb paint = qRgb(brush.red(), brush.green(), brush.blue());
    for (int row = 0; row < mask.height(); ++row) {
        auto* out = reinterpret_cast<QRgb*>(stamp.scanLine(row));
        for (int col = 0; col < mask.width(); ++col)
            out[col] = mask.pixelIndex(col, row) ? 0u : paint;
    }
    const auto mode = p.compositionMode();
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.drawImage(QPoint(x, y), stamp);
    p.setCompositionMode(mode);
}

} // namespace vyr::gdi
