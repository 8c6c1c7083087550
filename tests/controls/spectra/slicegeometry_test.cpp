#include "controls/spectra/slicegeometry.h"
#include "fakemetrics.h"
#include <gtest/gtest.h>
#include <limits>

using namespace vyr::spectra;

namespace {

std::vector<SliceChannel> fourChannels()
{
    return {{2.0, 0x0000FF, "Ch1"}, {4.0, 0x00FF00, "Ch2"}, {0.0, 0xFF0000, "Ch3"}, {1.5, 0x00FFFF, "Ch4"}};
}

TEST(SliceGeometry, ColumnsBarsAndLabels)
{
    // Client 410 x 221: two 10-pixel label rows plus 1 leave a 200-pixel drawing area, so with
    // the range 0..100 one micrometre is 2 pixels.
    const QRect client(0, 0, 410, 221);
    const SliceDistance distance{0, 100, 20};
    const SliceGeometry g = layoutSlice(client, distance, fourChannels(), 1, test::fakeMeasure());
    EXPECT_EQ(g.drawing, QRect(0, 0, 410, 200));
    EXPECT_EQ(g.middle, 100);
    EXPECT_EQ(g.columnWidth, 100); // (410 - 8 - 2) / 4
    ASSERT_EQ(g.upper.size(), 4u);
    EXPECT_EQ(g.upper[1].left, 104); // 1 x (100 + 2) + 2
    EXPECT_EQ(g.upper[1].right, 204);
    // Channel 2: 4 µm thick (8 px), centred 10 µm (20 px) above and below the middle.
    EXPECT_EQ(g.upper[1].top, 76);
    EXPECT_EQ(g.upper[1].bottom, 84);
    EXPECT_EQ(g.lower[1].top, 116);
    EXPECT_EQ(g.lower[1].bottom, 124);
    // A value of 0 gives flat bars.
    EXPECT_EQ(g.upper[2].top, g.upper[2].bottom);

    EXPECT_EQ(g.names[0].text, "Ch1");
    EXPECT_EQ(g.names[0].rect, QRect(2 + (100 - 18) / 2, 201, 18, 10));
    EXPECT_EQ(g.values[0].text, "2.0 \u00b5m");
    EXPECT_EQ(g.values[0].rect.top(), 211);
    EXPECT_FALSE(g.unitFallback);
}

TEST(SliceGeometry, TooWideValuesDropTheUnitAndShowItOnce)
{
    const SliceGeometry g = layoutSlice(QRect(0, 0, 150, 100), SliceDistance{}, fourChannels(), 2,
                                        test::fakeMeasure());
    EXPECT_EQ(g.columnWidth, 35); // "2.00 µm" is 42 pixels wide
    EXPECT_TRUE(g.unitFallback);
    EXPECT_EQ(g.values[0].text, "2.00");
    EXPECT_EQ(g.unit.text, "(\u00b5m)");
    EXPECT_EQ(g.unit.rect, QRect(150 - 24, 90, 24, 10));
}

TEST(SliceGeometry, ValueTextRule)
{
    EXPECT_EQ(sliceValueText(1.25, 1, true), "1.2 \u00b5m"); // printf rounding of 1.25
    EXPECT_EQ(sliceValueText(1.0, 0, true), "1 \u00b5m");
    EXPECT_EQ(sliceValueText(3.14159, 3, false), "3.142");
    EXPECT_EQ(sliceValueText(2.0, -4, false), "2");
    EXPECT_EQ(sliceValueText(1e300, 32000, false).size(), 301u + 1 + 15);
}

TEST(SliceGeometry, DegenerateInputs)
{
    // No channels: no bars, no labels.
    const SliceGeometry none = layoutSlice(QRect(0, 0, 100, 100), SliceDistance{}, {}, 1, test::fakeMeasure());
    EXPECT_TRUE(none.upper.empty());
    EXPECT_EQ(none.columnWidth, 0);
    // An empty or NaN range has no scale: every bar is flat on its line.
    for (const SliceDistance d : {SliceDistance{5, 5, 1}, SliceDistance{0, std::numeric_limits<double>::quiet_NaN(), 1}}) {
        const SliceGeometry g = layoutSlice(QRect(0, 0, 100, 100), d, fourChannels(), 1, test::fakeMeasure());
        EXPECT_EQ(g.upper[0].top, g.upper[0].bottom);
        EXPECT_EQ(g.upper[0].top, g.middle);
    }
    // More channels than pixels: columns of width 0, no negative sizes.
    const SliceGeometry many = layoutSlice(QRect(0, 0, 50, 100), SliceDistance{}, std::vector<SliceChannel>(100),
                                           1, test::fakeMeasure());
    EXPECT_EQ(many.columnWidth, 0);
    // Huge and negative values stay drawable.
    const SliceGeometry huge = layoutSlice(QRect(0, 0, 100, 100), SliceDistance{},
                                           {{1e300, 0, "a"}, {-10, 0, "b"}}, 1, test::fakeMeasure());
    EXPECT_LT(huge.upper[0].top, huge.upper[0].bottom);
    EXPECT_LT(huge.upper[1].top, huge.upper[1].bottom);
}

TEST(SliceGeometry, HatchLinesRunBorderToBorderWithinTheClip)
{
    const SliceBar bar{10, 20, 40, 30}; // 30 x 10
    const QRect everything(-1000, -1000, 3000, 3000);
    const auto rising = hatchLines(bar, 5, true, everything);
    const auto falling = hatchLines(bar, 5, false, everything);
    ASSERT_EQ(rising.size(), 8u);  // x + y = 0, 5, ... 35 over offsets up to 29 + 9
    ASSERT_EQ(falling.size(), 7u); // x - y = -5, 0, ... 25 over -9 .. 29
    const QRect inside(10, 20, 30, 10);
    for (const auto* set : {&rising, &falling}) {
        for (const QLine& l : *set) {
            EXPECT_TRUE(inside.contains(l.p1()) && inside.contains(l.p2())) << l.x1() << "," << l.y1();
            EXPECT_EQ(std::abs(l.dx()), std::abs(l.dy())); // diagonal
        }
    }
    // The two families slant opposite ways.
    EXPECT_LT(rising[2].dx() * rising[2].dy(), 0);
    EXPECT_GT(falling[2].dx() * falling[2].dy(), 0);

    // Clipped to a small window the count stays bounded by the window, not the bar.
    const SliceBar tall{0, -(1 << 24), 20, 1 << 24};
    EXPECT_LE(hatchLines(tall, 1, true, QRect(0, 0, 20, 50)).size(), 70u);
    EXPECT_TRUE(hatchLines(bar, 0, true, everything).empty());
    EXPECT_TRUE(hatchLines(SliceBar{10, 20, 40, 20}, 5, true, everything).empty());
}

} // namespace
