#include "draw_test_support.h"
#include <gtest/gtest.h>

using namespace vyr::controls::draw;
using namespace vyr::controls::draw::test;
using namespace vyr::gdi;

TEST(IsClipBoxEmpty, FollowsThePaintersClip)
{
    QImage image = canvas(20, 10);
    QPainter inactive;
    EXPECT_TRUE(IsClipBoxEmpty(inactive));
    QPainter p(&image);
    EXPECT_FALSE(IsClipBoxEmpty(p));
    p.setClipRect(QRect(5, 5, 0, 0));
    EXPECT_TRUE(IsClipBoxEmpty(p));
    p.setClipRect(QRect(15, 5, 10, 10));
    EXPECT_FALSE(IsClipBoxEmpty(p));
    p.setClipRect(QRect(0, 0, 5, 5), Qt::IntersectClip);
    EXPECT_TRUE(IsClipBoxEmpty(p)) << "two clips that do not meet leave nothing";
    p.setClipping(false);
    p.translate(100, 0);
    p.setClipRect(QRect(-90, 0, 5, 5));
    EXPECT_FALSE(IsClipBoxEmpty(p)) << "the clip is taken through the painter's transform";
}

TEST(DrawEdge3D, EdgeByStateAndFlatFillWhenTooSmall)
{
    struct Row {
        const char* name;
        QRect rect;
        bool enabled, pressed;
        QPoint at;
        int colour;
    };
    const Row rows[] = {
        {"raised inner top-left", QRect(0, 0, 10, 8), true, false, {1, 1}, COLOR_BTNHIGHLIGHT},
        {"raised bottom-right", QRect(0, 0, 10, 8), true, false, {9, 7}, COLOR_3DDKSHADOW},
        {"sunken when pressed", QRect(0, 0, 10, 8), true, true, {0, 0}, COLOR_BTNSHADOW},
        {"sunken inner", QRect(0, 0, 10, 8), true, true, {1, 1}, COLOR_3DDKSHADOW},
        {"etched when disabled", QRect(0, 0, 10, 8), false, false, {0, 0}, COLOR_BTNSHADOW},
        {"etched inner", QRect(0, 0, 10, 8), false, true, {1, 1}, COLOR_BTNHIGHLIGHT},
        {"one pixel wide: flat", QRect(3, 0, 1, 8), true, false, {3, 4}, COLOR_BTNFACE},
        {"one pixel high: flat", QRect(0, 2, 10, 1), true, true, {5, 2}, COLOR_BTNFACE},
    };
    for (const Row& r : rows) {
        QImage image = canvas(12, 10);
        QPainter p(&image);
        DrawEdge3D(p, r.rect, r.enabled, r.pressed);
        p.end();
        EXPECT_EQ(image.pixel(r.at), sys(r.colour)) << r.name;
    }
    QImage image = canvas(12, 10);
    QPainter p(&image);
    DrawEdge3D(p, QRect(0, 0, 2, 8), true, false);
    p.end();
    // Two pixels wide is an edge already: the inner ring's left and right lines land on the
    // outer ring's right and left ones.
    EXPECT_EQ(image.pixel(0, 4), sys(COLOR_BTNSHADOW));
    EXPECT_EQ(image.pixel(1, 4), sys(COLOR_BTNHIGHLIGHT));
}

TEST(DrawRhombEdge, FourPolylinesAndTheirPens)
{
    struct Row {
        QPoint at;
        QRgb normal, pressed;
    };
    const QRgb white = qRgb(255, 255, 255), black = qRgb(0, 0, 0);
    const QRgb light = sys(COLOR_3DLIGHT), shadow = sys(COLOR_BTNSHADOW);
    // Square (2, 2)-(22, 22): mid-points x 12, y 12.
    const Row rows[] = {
        {{2, 12}, white, shadow},   // outer upper starts on the left corner
        {{7, 7}, white, shadow},    // outer upper, rising
        {{12, 2}, white, shadow},   // top corner
        {{21, 11}, white, shadow},  // outer upper, last pixel before the right corner
        {{3, 12}, light, black},    // inner upper starts one in
        {{12, 3}, light, black},
        {{22, 12}, shadow, white},  // outer lower starts at the right corner
        {{12, 22}, shadow, white},  // bottom corner
        {{3, 13}, shadow, white},   // outer lower, last pixel before the left corner
        {{21, 12}, black, light},   // inner lower
        {{12, 21}, black, light},
        {{12, 12}, kCanvas, kCanvas},
        {{2, 2}, kCanvas, kCanvas},
    };
    for (const bool pressed : {false, true}) {
        QImage image = canvas(26, 26);
        QPainter p(&image);
        DrawRhombEdge(p, QRect(2, 2, 20, 20), pressed);
        p.end();
        for (const Row& r : rows)
            EXPECT_EQ(image.pixel(r.at), pressed ? r.pressed : r.normal)
                << (pressed ? "pressed " : "") << r.at.x() << "," << r.at.y();
    }
}

TEST(DrawCircleEdge, RingColoursByAngle)
{
    // Square (0, 0)-(41, 41): centre (20, 20), radius 20; inner ring radius 19.
    const auto draw = [](bool pressed) {
        QImage image = canvas(44, 44);
        QPainter p(&image);
        DrawCircleEdge(p, QRect(0, 0, 41, 41), pressed);
        return image;
    };
    const QImage normal = draw(false);
    // On the axes c = (cos(pi/4) + 1) / 2: dark shadow (64) 85%, highlight (255) 15% -> 91.
    for (const QPoint at : {QPoint(40, 20), QPoint(0, 20), QPoint(20, 0), QPoint(20, 40)})
        EXPECT_EQ(normal.pixel(at), qRgb(91, 91, 91)) << at.x() << "," << at.y();
    // Inner ring: shadow (128) and 3D light (212, 208, 200).
    EXPECT_EQ(normal.pixel(39, 20), qRgb(140, 139, 138));
    EXPECT_EQ(draw(true).pixel(40, 20), qRgb(227, 227, 227)) << "pressed swaps the blend";
    EXPECT_EQ(normal.pixel(20, 20), kCanvas);
    EXPECT_EQ(normal.pixel(38, 20), kCanvas);

    // The blend is symmetric through the centre: upper-left and lower-right match and are the
    // darkest; upper-right and lower-left the lightest (the midpoint, c = 1/2).
    const QPoint ul(20 - 14, 20 - 14), lr(20 + 14, 20 + 14), ur(20 + 14, 20 - 14);
    ASSERT_NE(normal.pixel(ul), kCanvas);
    EXPECT_EQ(normal.pixel(ul), normal.pixel(lr));
    EXPECT_LT(qGray(normal.pixel(ul)), qGray(normal.pixel(ur)));
    EXPECT_LE(qGray(normal.pixel(ur)), 159);
}

TEST(DrawCircleEdge, ARingStopsAtItsFirstPixelOutsideTheClip)
{
    QImage image = canvas(44, 44);
    QPainter p(&image);
    p.setClipRect(QRect(0, 0, 21, 44)); // the left half; every ring starts on the right
    DrawCircleEdge(p, QRect(0, 0, 41, 41), false);
    p.end();
    EXPECT_EQ(inkOf(image, kCanvas), QRect());
}

TEST(DrawFocusMark, OnlyWhenFocused)
{
    QImage image = canvas(10, 10, qRgb(255, 255, 255));
    QPainter p(&image);
    DrawFocusMark(p, QRect(1, 1, 8, 8), false);
    EXPECT_EQ(image.pixel(1, 1), qRgb(255, 255, 255));
    DrawFocusMark(p, QRect(1, 1, 8, 8), true);
    p.end();
    EXPECT_EQ(image.pixel(2, 2), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(1, 1), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(2, 1), qRgb(255, 255, 255));
}
