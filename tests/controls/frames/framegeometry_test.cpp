#include "controls/frames/framegeometry.h"
#include "tests/controls/frames/rects.h"
#include <gtest/gtest.h>

namespace vyr::frames::test {
namespace {

TEST(FrameGeometry, BannerDepthAndBorderWidthPerStyle)
{
    const LONG depth[12] = {0, 0, 0, 2, 2, 4, 4, 0, 2, 2, 4, 4};
    for (int style = 0; style < 12; ++style)
        EXPECT_EQ(bannerDepth(style), depth[style]) << style;
    const LONG border[6] = {0, 2, 2, 2, 4, 4};
    for (int style = 0; style < 6; ++style)
        EXPECT_EQ(borderWidth(style), border[style]) << style;
}

FrameLayoutInput bare(LONG w, LONG h, int buttons)
{
    FrameLayoutInput in;
    in.client = {0, 0, w, h};
    in.captionStyle = 0;
    in.frameStyle = 0;
    in.buttonVisible.assign(size_t(buttons), true);
    return in;
}

struct ButtonsCase {
    const char* name;
    FrameLayoutInput in;
    RECT bar;
    RECT page;
    std::vector<RECT> buttons;
};

FrameLayoutInput with(FrameLayoutInput in, int align, LONG rows, LONG size = 50)
{
    in.buttonAlign = align;
    in.buttonRows = rows;
    in.buttonSize = size;
    return in;
}

FrameLayoutInput hiding(FrameLayoutInput in, size_t index)
{
    in.buttonVisible[index] = false;
    return in;
}

class FrameButtons : public testing::TestWithParam<ButtonsCase> {};

TEST_P(FrameButtons, BarPageAndButtonRectangles)
{
    const ButtonsCase& c = GetParam();
    const FrameGeometry g = layoutFrame(c.in);
    EXPECT_EQ(tie(g.bar), tie(c.bar)) << g.bar;
    EXPECT_EQ(tie(g.page), tie(c.page)) << g.page;
    ASSERT_EQ(g.buttons.size(), c.buttons.size());
    for (size_t i = 0; i < c.buttons.size(); ++i)
        EXPECT_EQ(tie(g.buttons[i]), tie(c.buttons[i])) << "button " << i << " " << g.buttons[i];
}

INSTANTIATE_TEST_SUITE_P(
    Examples, FrameButtons,
    testing::Values(
        ButtonsCase{"OneButtonNoBar", with(bare(200, 100, 1), 1, 1), {}, {0, 0, 200, 100}, {{}}},
        ButtonsCase{"TwoOnTop", with(bare(200, 100, 2), 1, 1), {0, 0, 200, 50}, {0, 50, 200, 100},
                    {{0, 0, 100, 50}, {100, 0, 200, 50}}},
        ButtonsCase{"FiveInTwoRows", with(bare(300, 200, 5), 1, 2, 20), {0, 0, 300, 40}, {0, 40, 300, 200},
                    {{0, 0, 100, 20}, {100, 0, 200, 20}, {200, 0, 300, 20}, {0, 20, 150, 40}, {150, 20, 300, 40}}},
        ButtonsCase{"ThreeOnTheLeftTruncating", with(bare(100, 100, 3), 0, 1, 30), {0, 0, 30, 100}, {30, 0, 100, 100},
                    {{0, 0, 30, 33}, {0, 33, 30, 66}, {0, 66, 30, 100}}},
        ButtonsCase{"TwoOnTheRightInTwoRows", with(bare(100, 80, 2), 2, 2, 10), {80, 0, 100, 80}, {0, 0, 80, 80},
                    {{80, 0, 90, 80}, {90, 0, 100, 80}}},
        ButtonsCase{"ThreeAtTheBottom", with(bare(90, 60, 3), 3, 1, 15), {0, 45, 90, 60}, {0, 0, 90, 45},
                    {{0, 45, 30, 60}, {30, 45, 60, 60}, {60, 45, 90, 60}}},
        ButtonsCase{"HiddenButtonTakesNoPlace", hiding(with(bare(200, 100, 3), 1, 1), 1), {0, 0, 200, 50},
                    {0, 50, 200, 100}, {{0, 0, 100, 50}, {}, {100, 0, 200, 50}}},
        ButtonsCase{"OneVisibleOfTwoNoBar", hiding(with(bare(200, 100, 2), 1, 1), 0), {}, {0, 0, 200, 100}, {{}, {}}},
        ButtonsCase{"RowsAboveVisibleCount", with(bare(200, 100, 2), 1, 5, 10), {0, 0, 200, 20}, {0, 20, 200, 100},
                    {{0, 0, 200, 10}, {0, 10, 200, 20}}},
        ButtonsCase{"UnknownAlignNoBar", with(bare(200, 100, 2), 4, 1), {}, {0, 0, 200, 100}, {{}, {}}},
        ButtonsCase{"StripLargerThanInterior", with(bare(200, 30, 2), 1, 1), {0, 0, 200, 30}, {0, 30, 200, 30},
                    {{0, 0, 100, 30}, {100, 0, 200, 30}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FrameGeometry, NormalCaptionInsideASunkenBorder)
{
    FrameLayoutInput in;
    in.client = {0, 0, 200, 100};
    in.captionStyle = 1; // d = 0
    in.frameStyle = 3;   // w = 2
    in.fontHeight = 13;
    const FrameGeometry g = layoutFrame(in);
    EXPECT_EQ(tie(g.frame), tie(RECT{0, 0, 200, 100}));
    EXPECT_EQ(tie(g.caption), tie(RECT{2, 2, 198, 15}));
    EXPECT_TRUE(isEmpty(g.captionBand));
    EXPECT_EQ(tie(g.interior), tie(RECT{2, 15, 198, 98}));
    EXPECT_EQ(tie(g.page), tie(g.interior));
}

TEST(FrameGeometry, CaptionOnTheBorderLine)
{
    FrameLayoutInput in;
    in.client = {0, 0, 200, 100};
    in.captionStyle = 5; // d = 4
    in.frameStyle = 4;   // w = 4
    in.captionTop = true;
    in.fontHeight = 14;
    const FrameGeometry g = layoutFrame(in);
    // The border runs through the middle of the caption: (4 + 14) / 2 - 1.
    EXPECT_EQ(tie(g.frame), tie(RECT{0, 8, 200, 100}));
    EXPECT_EQ(tie(g.caption), tie(RECT{10, 0, 190, 22}));
    EXPECT_EQ(tie(g.captionBand), tie(RECT{0, 0, 200, 8}));
    EXPECT_EQ(tie(g.interior), tie(RECT{4, 22, 196, 96}));
}

TEST(FrameGeometry, NoCaptionLeavesTheInteriorToTheBorder)
{
    FrameLayoutInput in;
    in.client = {0, 0, 120, 80};
    in.captionStyle = 0;
    in.frameStyle = 5;
    in.fontHeight = 13;
    const FrameGeometry g = layoutFrame(in);
    EXPECT_TRUE(isEmpty(g.caption));
    EXPECT_EQ(tie(g.interior), tie(RECT{4, 4, 116, 76}));
}

TEST(FrameGeometry, ButtonAtFindsTheFirstButtonHoldingThePoint)
{
    const FrameGeometry g = layoutFrame(with(bare(200, 100, 3), 1, 1));
    const struct {
        LONG x, y;
        int expected;
    } cases[] = {{0, 0, 0}, {65, 49, 0}, {66, 10, 1}, {199, 0, 2}, {200, 0, -1}, {10, 50, -1}};
    for (const auto& c : cases)
        EXPECT_EQ(buttonAt(g, c.x, c.y), c.expected) << c.x << "," << c.y;
}

} // namespace
} // namespace vyr::frames::test
