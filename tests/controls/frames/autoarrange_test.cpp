#include "controls/frames/autoarrange.h"
#include "tests/controls/frames/rects.h"
#include <gtest/gtest.h>

namespace vyr::frames::test {
namespace {

TEST(AutoArrange, VerticalStacksVisibleNestedPages)
{
    const ArrangeItem items[] = {{{30, 40, 130, 90}, true, true},   // height 50
                                 {{5, 5, 25, 25}, false, true},     // a plain control keeps its place
                                 {{0, 0, 60, 30}, true, true},      // height 30
                                 {{0, 500, 10, 510}, true, false}}; // invisible: skipped
    Arrangement a;
    ASSERT_TRUE(autoArrange(1, 10, items, a));
    ASSERT_EQ(a.rects.size(), 4u);
    EXPECT_EQ(tie(a.rects[0]), tie(RECT{10, 10, 110, 60}));
    EXPECT_EQ(tie(a.rects[1]), tie(RECT{5, 5, 25, 25}));
    EXPECT_EQ(tie(a.rects[2]), tie(RECT{10, 70, 70, 100}));
    EXPECT_EQ(tie(a.rects[3]), tie(RECT{0, 500, 10, 510}));
    // The greatest bottom counts every window, the invisible one too.
    EXPECT_EQ(a.parentExtent, 520);
}

TEST(AutoArrange, TheVerticalExampleSizesTheParentTo110)
{
    const ArrangeItem items[] = {{{0, 0, 80, 50}, true, true}, {{0, 0, 80, 30}, true, true}};
    Arrangement a;
    ASSERT_TRUE(autoArrange(1, 10, items, a));
    EXPECT_EQ(a.rects[0].top, 10);
    EXPECT_EQ(a.rects[1].top, 70);
    EXPECT_EQ(a.parentExtent, 110);
}

TEST(AutoArrange, HorizontalPlacesSideBySide)
{
    const ArrangeItem items[] = {{{50, 50, 90, 70}, true, true}, {{0, 0, 20, 100}, true, true}};
    Arrangement a;
    ASSERT_TRUE(autoArrange(2, 5, items, a));
    EXPECT_EQ(tie(a.rects[0]), tie(RECT{5, 5, 45, 25}));
    EXPECT_EQ(tie(a.rects[1]), tie(RECT{50, 5, 70, 105}));
    EXPECT_EQ(a.parentExtent, 75);
}

TEST(AutoArrange, OtherModesArrangeNothing)
{
    const ArrangeItem items[] = {{{50, 50, 90, 70}, true, true}};
    Arrangement a;
    EXPECT_FALSE(autoArrange(0, 10, items, a));
    EXPECT_FALSE(autoArrange(3, 10, items, a));
    EXPECT_TRUE(a.rects.empty());
}

} // namespace
} // namespace vyr::frames::test
