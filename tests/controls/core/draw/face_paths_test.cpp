// An enabled face is drawn straight onto the target; the image it used to be composed in
// stays for disabled and focused faces. Both ways must give the same pixels, whatever the
// style, caption, pictures, pressed state, update rectangle, the painter's own clip and state,
// and the kind of image painted on.
#include "tests/controls/core/draw/draw_test_support.h"
#include <gtest/gtest.h>

namespace vyr::controls::draw {
namespace {

using test::canvas;
using test::pictureOf;
using test::solid;

struct Case {
    int style;
    std::string caption;
    int captionPosition, picturePosition;
    bool pressed;
    bool withPicture, withBackPicture;
    QRect update;   // in the canvas; null for all
};

template <class Draw>
QImage paint(QImage::Format format, const Case& c, IUnknown* picture, IUnknown* back, Draw draw)
{
    QImage image = canvas(120, 70).convertToFormat(format);
    QPainter p(&image);
    // What a caller may have left in its painter: a clip of its own, pen, brush, opacity.
    p.setClipRect(QRect(4, 3, 112, 60));
    p.setPen(QPen(Qt::green, 3));
    p.setBrush(Qt::blue);
    p.setBackgroundMode(Qt::OpaqueMode);
    p.setBackground(Qt::yellow);
    QFont font("DejaVu Sans");
    font.setPixelSize(c.style == 1 ? 15 : 12);
    font.setUnderline(c.style == 2);
    draw(p, QRect(7, 5, 100, c.style >= 2 ? 56 : 34), c.update, c.style, c.captionPosition, c.picturePosition,
         c.caption, 0x80000012, c.style == 3 ? 0x0000C0FF : 0x8000000F, &font, c.withPicture ? picture : nullptr,
         c.withBackPicture ? back : nullptr, c.pressed, true, false);
    return image;
}

// The box of the pixels where two drawings differ.
QRect differences(const QImage& a, const QImage& b)
{
    QRect box;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                box |= QRect(x, y, 1, 1);
    return box;
}

TEST(FacePaths, DrawnDirectlyAndThroughAnImageAlike)
{
    QImage bitmap = solid(12, 10, qRgb(0, 0, 255));
    bitmap.setPixel(3, 3, 0xFFC0C0C0);   // the key colour shows the face
    QImage icon(9, 9, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    for (int i = 0; i < 9; ++i)
        icon.setPixel(i, i, qRgba(200, 0, 0, 160));
    const auto picture = pictureOf(bitmap);
    const auto back = pictureOf(solid(5, 7, qRgb(0, 160, 0)));
    const auto translucent = pictureOf(icon);
    const std::vector<Case> cases = {
        {0, "Caption", 4, 4, false, false, false, QRect()},
        {0, "&Start scan", 7, 1, true, true, false, QRect()},
        {0, "Two\\nlines && more", 4, 0, false, true, true, QRect()},
        {0, "A caption much wider than the face is", 1, 5, false, false, true, QRect(20, 10, 40, 15)},
        {1, "Round", 4, 4, false, true, false, QRect()},
        {1, "Round", 2, 3, true, false, true, QRect(0, 0, 50, 30)},
        {2, "Rhomb", 4, 4, false, true, true, QRect()},
        {2, "R&homb", 6, 8, true, false, false, QRect(60, 20, 100, 100)},
        {3, "Flat", 4, 4, false, true, true, QRect()},
        {3, "", 4, 4, true, true, false, QRect()},
        {9, "Unknown style", 3, 2, false, false, false, QRect()},
    };
    for (QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied})
        for (size_t i = 0; i < cases.size(); ++i)
            for (IUnknown* pic : {picture.get(), translucent.get()}) {
                const Case& c = cases[i];
                const QImage direct =
                    paint(format, c, pic, back.get(),
                          [](QPainter& p, auto&&... args) { DrawButtonFace(p, args..., nullptr); });
                const QImage composed = paint(format, c, pic, back.get(), [](QPainter& p, auto&&... args) {
                    DrawButtonFaceImage(p, args...);
                });
                ASSERT_EQ(differences(direct, composed), QRect()) << "case " << i << ", format " << int(format);
            }
}

} // namespace
} // namespace vyr::controls::draw
