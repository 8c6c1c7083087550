#include "platform/gdi/invert.h"
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

using namespace vyr::gdi;

namespace {

QImage gradient()
{
    QImage image(12, 10, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(20 * x, 25 * y, 7 * (x + y)));
    return image;
}

QRgb inverted(QRgb c) { return qRgb(255 - qRed(c), 255 - qGreen(c), 255 - qBlue(c)); }

template <class F>
QImage drawn(QImage image, F draw)
{
    QPainter p(&image);
    draw(p);
    return image;
}

} // namespace

TEST(Invert, NotRectangleInvertsTheOutlineOnceAndTwiceRestores)
{
    const QImage before = gradient();
    const QRect r(2, 3, 6, 4);
    const QImage once = drawn(before, [&](QPainter& p) { DrawNotRect(p, r); });
    for (const QPoint at : {QPoint(2, 3), QPoint(7, 3), QPoint(2, 6), QPoint(7, 6), QPoint(4, 3), QPoint(2, 5)})
        EXPECT_EQ(once.pixel(at), inverted(before.pixel(at))) << at.x() << "," << at.y();
    for (const QPoint at : {QPoint(3, 4), QPoint(6, 5), QPoint(1, 3), QPoint(8, 6), QPoint(2, 7)})
        EXPECT_EQ(once.pixel(at), before.pixel(at)) << at.x() << "," << at.y();
    const QImage twice = drawn(once, [&](QPainter& p) { DrawNotRect(p, r); });
    EXPECT_EQ(twice, before);
}

TEST(Invert, NotRectangleOfOnePixelHeightInvertsTheRowOnce)
{
    const QImage before = gradient();
    const QImage once = drawn(before, [](QPainter& p) { DrawNotRect(p, QRect(1, 1, 5, 1)); });
    EXPECT_EQ(once.pixel(1, 1), inverted(before.pixel(1, 1)));
    EXPECT_EQ(once.pixel(5, 1), inverted(before.pixel(5, 1)));
    EXPECT_EQ(once.pixel(5, 2), before.pixel(5, 2));
}

TEST(Invert, InvertRectCoversTheWholeArea)
{
    const QImage before = gradient();
    const QImage once = drawn(before, [](QPainter& p) { InvertRect(p, QRect(1, 1, 3, 3)); });
    EXPECT_EQ(once.pixel(2, 2), inverted(before.pixel(2, 2)));
    EXPECT_EQ(once.pixel(4, 4), before.pixel(4, 4));
}

TEST(Invert, FocusRectangleDotsFollowTheDeviceGrid)
{
    const QImage before = gradient();
    const QRect r(2, 2, 7, 5);
    const QImage once = drawn(before, [&](QPainter& p) { DrawFocusRect(p, r); });
    // Dots where x + y is even along the outline, nothing inside.
    EXPECT_EQ(once.pixel(2, 2), inverted(before.pixel(2, 2)));
    EXPECT_EQ(once.pixel(3, 2), before.pixel(3, 2));
    EXPECT_EQ(once.pixel(4, 2), inverted(before.pixel(4, 2)));
    EXPECT_EQ(once.pixel(2, 3), before.pixel(2, 3));
    EXPECT_EQ(once.pixel(8, 6), inverted(before.pixel(8, 6)));
    EXPECT_EQ(once.pixel(4, 4), before.pixel(4, 4));
    EXPECT_EQ(drawn(once, [&](QPainter& p) { DrawFocusRect(p, r); }), before);

    // A painter translated by one pixel keeps the dots on the same device pixels.
    const QImage shifted = drawn(before, [&](QPainter& p) {
        p.translate(1, 0);
        DrawFocusRect(p, r.translated(-1, 0));
    });
    EXPECT_EQ(shifted, once);
}
