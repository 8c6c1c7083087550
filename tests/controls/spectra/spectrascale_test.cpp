#include "controls/spectra/spectrascale.h"
#include "fakemetrics.h"
#include <gtest/gtest.h>
#include <algorithm>

using namespace vyr::spectra;

namespace {

struct Scene {
    SpectraLayout layout;
    WavelengthMap map;
};

Scene scene(int clientWidth, SpectraAxis axis = {}, int charWidth = test::kCharWidth)
{
    Scene s;
    s.layout = layoutSpectra(QRect(0, 0, clientWidth, 100), true, test::fakeMeasure(charWidth));
    s.map = WavelengthMap(axis, s.layout.area.size());
    return s;
}

std::vector<int> ticksOfLength(const ScalePlan& plan, int length)
{
    std::vector<int> xs;
    for (const ScaleTick& t : plan.ticks)
        if (t.length == length)
            xs.push_back(t.x);
    return xs;
}

TEST(SpectraScale, DefaultWindowTicksAndLabel)
{
    const Scene s = scene(400);
    const ScalePlan plan = planScale(s.layout, s.map, ScaleSpacing{}, test::fakeMeasure());
    EXPECT_EQ(ticksOfLength(plan, kLargeTick), std::vector<int>{200}); // 16 + trunc(5 * 367 / 10 + 0.5)
    // 45 and 55 fall under the buttons; 50 belongs to the large level.
    EXPECT_TRUE(ticksOfLength(plan, kMiddleTick).empty());
    const std::vector<int> small = ticksOfLength(plan, kSmallTick);
    ASSERT_EQ(small.size(), 8u); // 46..54 without 50
    EXPECT_EQ(small.front(), 53);
    ASSERT_EQ(plan.labels.size(), 1u);
    EXPECT_EQ(plan.labels[0].text, "50");
    EXPECT_EQ(plan.labels[0].rect, QRect(195, 31, 12, 10)); // centred, bottom 8 above the area
}

TEST(SpectraScale, SmallOrMiddleSpacingZeroDrawsNoScale)
{
    const Scene s = scene(400);
    for (const ScaleSpacing sp : {ScaleSpacing{0, 5, 10}, ScaleSpacing{1, 0, 10}}) {
        const ScalePlan plan = planScale(s.layout, s.map, sp, test::fakeMeasure());
        EXPECT_TRUE(plan.ticks.empty());
        EXPECT_TRUE(plan.labels.empty());
    }
    // Large spacing 0 only drops its own level; the middle level then skips nothing.
    const ScalePlan plan = planScale(s.layout, s.map, ScaleSpacing{1, 5, 0}, test::fakeMeasure());
    EXPECT_TRUE(ticksOfLength(plan, kLargeTick).empty());
    EXPECT_EQ(ticksOfLength(plan, kMiddleTick), std::vector<int>{200});
}

TEST(SpectraScale, NegativeOrHugeTickCountsEndAndDrawNothingForThatLevel)
{
    const Scene s = scene(400);
    const ScalePlan negative = planScale(s.layout, s.map, ScaleSpacing{-1, -5, -10}, test::fakeMeasure());
    EXPECT_TRUE(negative.ticks.empty());
    const Scene wide = scene(400, SpectraAxis{0, 1e9, 5e8, 1e9});
    const ScalePlan dense = planScale(wide.layout, wide.map, ScaleSpacing{1, 5, 10}, test::fakeMeasure());
    EXPECT_TRUE(dense.ticks.empty());
}

TEST(SpectraScale, CrowdedLabelsClimbTheIntervalUntilNoneOverlap)
{
    // 400 nm over 367 pixels: large ticks 9 pixels apart, labels 36 pixels wide.
    const Scene s = scene(400, SpectraAxis{1, 1000, 500, 400}, 12);
    const ScalePlan plan = planScale(s.layout, s.map, ScaleSpacing{}, test::fakeMeasure(12));
    EXPECT_EQ(plan.largeInterval, 5);
    EXPECT_EQ(plan.middleInterval, 2); // even indices are large ticks: no middle labels are left
    ASSERT_FALSE(plan.labels.empty());
    for (const ScaleLabel& l : plan.labels)
        EXPECT_EQ(std::stoi(l.text) % 50, 0) << l.text;
}

TEST(SpectraScale, LabelsNeverOverlapAndStayInside)
{
    EXPECT_EQ(nextLabelInterval(1), 2);
    EXPECT_EQ(nextLabelInterval(2), 5);
    EXPECT_EQ(nextLabelInterval(500), 1000);
    EXPECT_EQ(nextLabelInterval(1000), 0);
    for (int width = 40; width <= 1300; width += 97) {
        for (double window : {10.0, 37.0, 120.0, 700.0}) {
            const Scene s = scene(width, SpectraAxis{1, 1200, 600, window});
            const ScalePlan plan = planScale(s.layout, s.map, ScaleSpacing{}, test::fakeMeasure());
            for (size_t i = 0; i < plan.labels.size(); ++i) {
                EXPECT_TRUE(s.layout.inner.contains(plan.labels[i].rect));
                for (size_t j = i + 1; j < plan.labels.size(); ++j)
                    EXPECT_FALSE(plan.labels[i].rect.intersects(plan.labels[j].rect))
                        << width << " px, " << window << " nm: " << plan.labels[i].text << " / "
                        << plan.labels[j].text;
            }
        }
    }
}

TEST(SpectraScale, LaserLabelsInsideTheWindowOnly)
{
    const Scene s = scene(400);
    const auto labels = planLaserLabels(s.layout, s.map, {48.0, 50.5, 44.0, 200.0, 54.9}, test::fakeMeasure());
    ASSERT_EQ(labels.size(), 2u); // 54.9 lands under the right button
    EXPECT_EQ(labels[0].x, 126);  // 16 + trunc(3 * 368 / 10 + 0.5)
    EXPECT_EQ(labels[0].text, "48");
    EXPECT_EQ(labels[0].tickBottom, s.layout.laserStrip.bottom() + 1);
    EXPECT_EQ(labels[0].tickTop, labels[0].tickBottom - 4);
    // Upright text: as wide as a line is high, as tall as the text is long, above the tick.
    EXPECT_EQ(labels[0].textBox, QRect(121, 12, 10, 12));
    EXPECT_EQ(labels[1].text, "51");
}

} // namespace
