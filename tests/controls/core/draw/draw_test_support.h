#pragma once
// Canvases and pictures for the drawing tests.
#include "controls/core/draw/drawing.h"
#include <QImage>
#include <QPainter>

namespace vyr::controls::draw::test {

constexpr QRgb kCanvas = 0xFFFF00FF; // magenta: nothing drawn here

inline QImage canvas(int w, int h, QRgb fill = kCanvas)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

inline com::ComPtr<IPictureDisp> pictureOf(const QImage& image)
{
    com::ComPtr<IPictureDisp> p;
    com::createPicture(image, p.put());
    return p;
}

inline QImage solid(int w, int h, QRgb colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

inline QRgb sys(int index) { return gdi::SysColor(index).rgb(); }

// The bounding box of pixels that differ from `background`.
inline QRect inkOf(const QImage& image, QRgb background)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background)
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace vyr::controls::draw::test
