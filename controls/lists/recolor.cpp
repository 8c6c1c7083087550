#include "controls/lists/recolor.h"

namespace vyr::controls::lists {

QImage recolorRed(const QImage& image, const QColor& color)
{
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb to = color.rgba();
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if ((line[x] & 0xFFFFFFu) == 0xFF0000u && qAlpha(line[x]) != 0)
                line[x] = to;
    }
    return out;
}

} // namespace vyr::controls::lists
