#include "controls/frames/grabgeometry.h"
#include <cmath>
#include <gtest/gtest.h>

namespace vyr::frames {
namespace {

GrabValues field(double w, double h, double rotation, GrabRange x = {}, GrabRange y = {})
{
    GrabValues v;
    v.width = {0, 1000, w};
    v.height = {0, 1000, h};
    v.offsetX = x;
    v.offsetY = y;
    v.rotation = rotation;
    return v;
}

struct Box {
    double left, top, right, bottom;
};
Box boxOf(const GrabGeometry& g)
{
    Box b{1e300, 1e300, -1e300, -1e300};
    for (const GrabPoint& p : g.corners)
        b = {std::min(b.left, p.x), std::min(b.top, p.y), std::max(b.right, p.x), std::max(b.bottom, p.y)};
    return b;
}

TEST(GrabGeometry, QuarterTurnSwapsWidthAndHeight)
{
    // A 20 x 10 field turned by 90 degrees, offsets fixed at 0: the world is the field itself,
    // 10 wide and 20 high, scaled into 98 x 198 (client 100 x 200 less a 1 px inset) by 9.8.
    const GrabGeometry g = grabGeometry(field(20, 10, 90), {0, 0, 100, 200}, 1);
    ASSERT_EQ(g.state, GrabGeometry::State::Field);
    EXPECT_DOUBLE_EQ(g.factor, 9.8);
    const Box b = boxOf(g);
    EXPECT_NEAR(b.right - b.left, 98, 1e-9);
    EXPECT_NEAR(b.bottom - b.top, 196, 1e-9);
    // Centred in the inner rectangle; the world is the field's outline.
    EXPECT_NEAR(b.left, 1, 1e-9);
    EXPECT_NEAR(b.top, 2, 1e-9);
    EXPECT_NEAR(g.worldLeft, b.left, 1e-9);
    EXPECT_NEAR(g.worldBottom, b.bottom, 1e-9);
}

TEST(GrabGeometry, FixedOffsetMakesTheWorldTheFieldWidth)
{
    const GrabGeometry g = grabGeometry(field(100, 50, 0, {0, 0, 0}, {-25, 25, 0}), {0, 0, 204, 204}, 3);
    ASSERT_EQ(g.state, GrabGeometry::State::Field);
    // World 100 x 100 (50 high field plus 2 x 25 travel); inner 200 x 200 after an inset of 2.
    EXPECT_DOUBLE_EQ(g.factor, 2.0);
    EXPECT_NEAR(g.worldRight - g.worldLeft, 200, 1e-9);
    EXPECT_NEAR(g.corners[1].x - g.corners[0].x, 200, 1e-9);
}

TEST(GrabGeometry, UpperEdgeFollowsTheRotation)
{
    struct Row {
        double degrees;
        double dx, dy; // direction of the upper edge, corner 0 to corner 1
        bool upperAbove; // the upper edge lies above the centre (smaller y)
    };
    const double c30 = std::cos(M_PI / 6), s30 = std::sin(M_PI / 6);
    for (const Row& r : {Row{0, 1, 0, true}, Row{30, c30, -s30, true}, Row{90, 0, -1, false}, Row{180, -1, 0, false}}) {
        SCOPED_TRACE(r.degrees);
        const GrabGeometry g = grabGeometry(field(40, 20, r.degrees, {-50, 50, 0}, {-50, 50, 0}), {0, 0, 400, 400}, 0);
        ASSERT_EQ(g.state, GrabGeometry::State::Field);
        const double ex = g.corners[1].x - g.corners[0].x, ey = g.corners[1].y - g.corners[0].y;
        EXPECT_NEAR(std::hypot(ex, ey), 40 * g.factor, 1e-6); // the edges keep their length
        EXPECT_NEAR(ex / (40 * g.factor), r.dx, 1e-9);
        EXPECT_NEAR(ey / (40 * g.factor), r.dy, 1e-9);
        const double upperMidY = (g.corners[0].y + g.corners[1].y) / 2;
        EXPECT_EQ(upperMidY < g.centre.y - 1e-9, r.upperAbove);
    }
    // At 90 degrees the upper edge is the left side.
    const GrabGeometry q = grabGeometry(field(40, 20, 90, {-50, 50, 0}, {-50, 50, 0}), {0, 0, 400, 400}, 0);
    EXPECT_LT(q.corners[0].x, q.centre.x);
}

TEST(GrabGeometry, DegenerateAndEmptyCases)
{
    // A field of no size within a range: a cross through the centre.
    GrabGeometry g = grabGeometry(field(0, 0, 0, {-10, 10, 5}, {-10, 10, 0}), {0, 0, 100, 100}, 1);
    ASSERT_EQ(g.state, GrabGeometry::State::Field);
    EXPECT_TRUE(g.degenerate);
    EXPECT_FALSE(g.hitsField(g.centre.x, g.centre.y));
    // Nothing to cover at all: background only.
    EXPECT_EQ(grabGeometry(field(0, 0, 0), {0, 0, 100, 100}, 1).state, GrabGeometry::State::Background);
    EXPECT_EQ(grabGeometry(field(0.5, 10, 0), {0, 0, 100, 100}, 1).state, GrabGeometry::State::Background);
    // No room: a zero client, or a frame wider than the client.
    EXPECT_EQ(grabGeometry(field(10, 10, 0), {0, 0, 0, 0}, 1).state, GrabGeometry::State::Background);
    EXPECT_EQ(grabGeometry(field(10, 10, 0), {0, 0, 50, 50}, 1000000).state, GrabGeometry::State::Background);
    // Values that are not finite give no geometry.
    for (double bad : {NAN, INFINITY, -INFINITY}) {
        EXPECT_EQ(grabGeometry(field(bad, 10, 0), {0, 0, 100, 100}, 1).state, GrabGeometry::State::Invalid);
        EXPECT_EQ(grabGeometry(field(10, 10, bad), {0, 0, 100, 100}, 1).state, GrabGeometry::State::Invalid);
        EXPECT_EQ(grabGeometry(field(10, 10, 0, {0, bad, 0}), {0, 0, 100, 100}, 1).state,
                  GrabGeometry::State::Invalid);
    }
    // Huge values that overflow the world.
    EXPECT_EQ(grabGeometry(field(10, 10, 0, {-1e308, 1e308, 0}), {0, 0, 100, 100}, 1).state,
              GrabGeometry::State::Invalid);
    // A negative frame width insets nothing.
    g = grabGeometry(field(10, 10, 0), {0, 0, 100, 100}, -7);
    EXPECT_DOUBLE_EQ(g.factor, 10);
}

TEST(GrabGeometry, HitTestFollowsTheRotatedField)
{
    const GrabGeometry g = grabGeometry(field(40, 40, 45, {-100, 100, 0}, {-100, 100, 0}), {0, 0, 300, 300}, 0);
    ASSERT_EQ(g.state, GrabGeometry::State::Field);
    EXPECT_TRUE(g.hitsField(g.centre.x, g.centre.y));
    // Turned by 45 degrees, the corner of the unturned square lies outside; a point along the
    // axis beyond the unturned edge lies inside.
    const double half = 20 * g.factor;
    EXPECT_FALSE(g.hitsField(g.centre.x + half * 0.95, g.centre.y + half * 0.95));
    EXPECT_TRUE(g.hitsField(g.centre.x + half * 1.3, g.centre.y));
    EXPECT_FALSE(g.hitsField(g.centre.x + half * 1.5, g.centre.y));
}

TEST(GrabShift, TravelDividedByTheScaleAndClamped)
{
    const GrabValues v = field(40, 20, 0, {-80, 80, 10}, {-80, 80, -5});
    const GrabGeometry g = grabGeometry(v, {0, 0, 210, 210}, 1); // factor 208 / 200
    ASSERT_DOUBLE_EQ(g.factor, 1.04);
    GrabShift shift;
    ASSERT_TRUE(shift.begin(g, v, {100, 100}));
    GrabPoint o = shift.offsetsAt({152, 74});
    EXPECT_NEAR(o.x, 60, 1e-9);
    EXPECT_NEAR(o.y, -30, 1e-9);
    o = shift.offsetsAt({100 + 500, 100 - 500});
    EXPECT_EQ(o.x, 80);
    EXPECT_EQ(o.y, -80);
    o = shift.offsetsAt({100, 100});
    EXPECT_EQ(o.x, 10);
    EXPECT_EQ(o.y, -5);
}

TEST(GrabShift, NoShiftWithoutAScaleAndSaneClamping)
{
    GrabShift shift;
    EXPECT_FALSE(shift.begin(grabGeometry(field(0, 0, 0), {0, 0, 100, 100}, 1), field(0, 0, 0), {1, 1}));
    EXPECT_FALSE(shift.active());
    EXPECT_FALSE(shift.begin(grabGeometry(field(NAN, 1, 0), {0, 0, 100, 100}, 1), field(NAN, 1, 0), {1, 1}));
    // A range whose minimum lies above its maximum holds the value at the minimum.
    EXPECT_EQ(clampToRange(5, 10, -10), 10);
    EXPECT_EQ(clampToRange(NAN, -1, 1), -1);
    EXPECT_EQ(clampToRange(-3, -1, 1), -1);
}

} // namespace
} // namespace vyr::frames
