#pragma once
// For the high-DPI tests: a picture blown up from a lower resolution is made of uniform
// 2 x 2 device-pixel blocks; one drawn at device resolution is not.
#include <QImage>
#include <QRect>

namespace vyr::controls::test {

// Aligned 2 x 2 device-pixel blocks inside `area` whose four pixels are not all alike.
inline int mixedBlocks(const QImage& image, const QRect& area)
{
    int n = 0;
    for (int y = area.top() & ~1; y + 1 <= area.bottom(); y += 2)
        for (int x = area.left() & ~1; x + 1 <= area.right(); x += 2) {
            const QRgb a = image.pixel(x, y);
            n += image.pixel(x + 1, y) != a || image.pixel(x, y + 1) != a || image.pixel(x + 1, y + 1) != a;
        }
    return n;
}

} // namespace vyr::controls::test
