#include "platform/gdi/edge.h"
#include "platform/gdi/syscolors.h"
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

using namespace vyr::gdi;

namespace {

const QRgb kCanvas = qRgb(255, 0, 255);

struct Drawn {
    QImage image;
    QRect inside;
};

Drawn draw(const QRect& rect, UINT edge, UINT flags)
{
    QImage image(14, 12, QImage::Format_RGB32);
    image.fill(kCanvas);
    QPainter p(&image);
    const QRect inside = DrawEdge(p, rect, edge, flags);
    p.end();
    return {image, inside};
}

QRgb sys(int index) { return SysColor(index).rgb(); }

} // namespace

// The rectangle (2, 2)-(12, 10) exclusive: outer ring on x 2 and 11, y 2 and 9; inner ring on
// x 3 and 10, y 3 and 8.
TEST(DrawEdge, RingColoursAndCornersOfTheFourEdges)
{
    struct Row {
        const char* name;
        UINT edge;
        int ltOuter, rbOuter, ltInner, rbInner;
    };
    const Row rows[] = {
        {"raised", EDGE_RAISED, COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW},
        {"sunken", EDGE_SUNKEN, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW, COLOR_3DLIGHT},
        {"etched", EDGE_ETCHED, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW},
        {"bump", EDGE_BUMP, COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_3DDKSHADOW, COLOR_3DLIGHT},
    };
    for (const Row& r : rows) {
        const Drawn d = draw(QRect(2, 2, 10, 8), r.edge, BF_RECT);
        const QImage& i = d.image;
        EXPECT_EQ(i.pixel(2, 2), sys(r.ltOuter)) << r.name << " outer top-left corner";
        EXPECT_EQ(i.pixel(6, 2), sys(r.ltOuter)) << r.name << " outer top";
        EXPECT_EQ(i.pixel(2, 6), sys(r.ltOuter)) << r.name << " outer left";
        EXPECT_EQ(i.pixel(11, 2), sys(r.rbOuter)) << r.name << " outer top-right corner";
        EXPECT_EQ(i.pixel(2, 9), sys(r.rbOuter)) << r.name << " outer bottom-left corner";
        EXPECT_EQ(i.pixel(11, 9), sys(r.rbOuter)) << r.name << " outer bottom-right corner";
        EXPECT_EQ(i.pixel(6, 9), sys(r.rbOuter)) << r.name << " outer bottom";
        EXPECT_EQ(i.pixel(3, 3), sys(r.ltInner)) << r.name << " inner top-left corner";
        EXPECT_EQ(i.pixel(6, 3), sys(r.ltInner)) << r.name << " inner top";
        EXPECT_EQ(i.pixel(10, 3), sys(r.rbInner)) << r.name << " inner top-right corner";
        EXPECT_EQ(i.pixel(3, 8), sys(r.rbInner)) << r.name << " inner bottom-left corner";
        EXPECT_EQ(i.pixel(10, 6), sys(r.rbInner)) << r.name << " inner right";
        EXPECT_EQ(i.pixel(4, 4), kCanvas) << r.name << " inside untouched";
        EXPECT_EQ(i.pixel(1, 1), kCanvas) << r.name << " outside untouched";
        EXPECT_EQ(i.pixel(12, 10), kCanvas) << r.name << " outside untouched";
        EXPECT_EQ(d.inside, QRect(4, 4, 6, 4)) << r.name;
    }
}

TEST(DrawEdge, MiddleFillsTheInside)
{
    const Drawn d = draw(QRect(2, 2, 10, 8), EDGE_SUNKEN, BF_RECT | BF_MIDDLE);
    EXPECT_EQ(d.image.pixel(4, 4), sys(COLOR_BTNFACE));
    EXPECT_EQ(d.image.pixel(9, 7), sys(COLOR_BTNFACE));
    const Drawn mono = draw(QRect(2, 2, 10, 8), EDGE_SUNKEN, BF_RECT | BF_MIDDLE | BF_MONO);
    EXPECT_EQ(mono.image.pixel(4, 4), sys(COLOR_WINDOW));
    EXPECT_EQ(mono.image.pixel(2, 2), sys(COLOR_WINDOWFRAME));
}

TEST(DrawEdge, SomeSidesOnly)
{
    const Drawn d = draw(QRect(2, 2, 10, 8), EDGE_RAISED, BF_TOP | BF_LEFT);
    EXPECT_EQ(d.image.pixel(11, 2), sys(COLOR_3DLIGHT)) << "no right side: the top runs to the end";
    EXPECT_EQ(d.image.pixel(11, 3), sys(COLOR_BTNHIGHLIGHT)) << "and so does the inner top";
    EXPECT_EQ(d.image.pixel(2, 9), sys(COLOR_3DLIGHT)) << "no bottom: the left runs to the end";
    EXPECT_EQ(d.image.pixel(11, 9), kCanvas);
    EXPECT_EQ(d.image.pixel(10, 6), kCanvas);
    EXPECT_EQ(d.inside, QRect(QPoint(4, 4), QPoint(11, 9)));

    const Drawn bottom = draw(QRect(2, 2, 10, 8), EDGE_SUNKEN, BF_BOTTOM);
    EXPECT_EQ(bottom.image.pixel(2, 9), sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(bottom.image.pixel(2, 8), sys(COLOR_3DLIGHT));
    EXPECT_EQ(bottom.image.pixel(2, 2), kCanvas);
}

TEST(DrawEdge, VariantsOfTheColours)
{
    const Drawn inner = draw(QRect(2, 2, 10, 8), BDR_RAISEDINNER, BF_RECT);
    EXPECT_EQ(inner.image.pixel(2, 2), sys(COLOR_BTNHIGHLIGHT)) << "a lone inner border takes the outer ring";
    EXPECT_EQ(inner.image.pixel(11, 9), sys(COLOR_BTNSHADOW));
    EXPECT_EQ(inner.image.pixel(3, 3), kCanvas);
    EXPECT_EQ(inner.inside, QRect(3, 3, 8, 6));

    const Drawn soft = draw(QRect(2, 2, 10, 8), EDGE_RAISED, BF_RECT | BF_SOFT);
    EXPECT_EQ(soft.image.pixel(2, 2), sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(soft.image.pixel(3, 3), sys(COLOR_3DLIGHT));
    EXPECT_EQ(soft.image.pixel(11, 9), sys(COLOR_3DDKSHADOW));

    const Drawn flat = draw(QRect(2, 2, 10, 8), EDGE_RAISED, BF_RECT | BF_FLAT);
    EXPECT_EQ(flat.image.pixel(2, 2), sys(COLOR_BTNSHADOW));
    EXPECT_EQ(flat.image.pixel(11, 9), sys(COLOR_BTNSHADOW));
    EXPECT_EQ(flat.image.pixel(3, 3), sys(COLOR_BTNFACE));

    const Drawn diagonal = draw(QRect(2, 2, 10, 8), EDGE_RAISED, BF_DIAGONAL | BF_RECT);
    EXPECT_EQ(diagonal.image.pixel(2, 2), kCanvas);
    EXPECT_EQ(diagonal.inside, QRect(2, 2, 10, 8));
}
