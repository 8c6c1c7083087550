#include "platform/gdi/raster.h"
#include <QPainter>
#include <algorithm>
#include <vector>

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
    std::vector<QRgb> back;
    back.reserve(background.size());
    for (const QColor& c : background)
        back.push_back(c.rgb() & 0x00FFFFFF);
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uchar* bits = mask.scanLine(y - area.top()); // most significant bit first
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QRgb pixel = row[x] & 0x00FFFFFF;
            if (std::find(back.begin(), back.end(), pixel) == back.end()) {
                const int col = x - area.left();
                bits[col >> 3] &= uchar(~(0x80 >> (col & 7)));
            }
        }
    }
    return mask;
}

void BlitMaskWithBrush(QPainter& p, int x, int y, const QImage& mask, const QColor& brush)
{
    if (mask.isNull())
        return;
    // The brush where the mask is 0 and nothing where it is 1, laid over the destination: the
    // mask's two indexes recoloured, expanded by Qt's own conversion.
    QImage mono = mask.format() == QImage::Format_Mono ? mask : mask.convertToFormat(QImage::Format_Mono);
    mono.setColorTable({qRgb(brush.red(), brush.green(), brush.blue()), 0u});
    QImage stamp = mono.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    stamp.setDevicePixelRatio(mask.devicePixelRatio());
    const auto mode = p.compositionMode();
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.drawImage(QPoint(x, y), stamp);
    p.setCompositionMode(mode);
}

} // namespace vyr::gdi
