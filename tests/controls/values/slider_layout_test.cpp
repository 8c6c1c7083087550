#include "controls/values/arrow_glyph.h"
#include "controls/values/slider_layout.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

using namespace vyr::values;

namespace {

SliderLayoutParams plain(PixelRect client)
{
    SliderLayoutParams p;
    p.client = client;
    return p;
}

PixelPoint centreOf(const PixelRect& r)
{
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

TEST(SliderLayout, HorizontalParts)
{
    const SliderGeometry g = layoutSlider(plain({0, 0, 200, 30}));
    ASSERT_TRUE(g.valid);
    EXPECT_EQ(g.inner, (PixelRect{2, 2, 198, 28}));
    EXPECT_EQ(g.area, g.inner);
    EXPECT_EQ(g.lowerArrow, (PixelRect{2, 2, 18, 28}));
    EXPECT_EQ(g.upperArrow, (PixelRect{182, 2, 198, 28}));
    EXPECT_EQ(g.track, (PixelRect{18, 2, 182, 28}));
    EXPECT_EQ(g.slot, (PixelRect{25, 13, 175, 17}));
    EXPECT_TRUE(g.valueField.isEmpty());
    EXPECT_TRUE(g.valueButtons.empty());

    struct Case {
        double ratio;
        int centre;
    };
    for (Case c : {Case{0, 25}, Case{1, 175}, Case{0.5, 100}, Case{0.999, 174}}) {
        EXPECT_EQ(g.thumbCentre(c.ratio), c.centre) << c.ratio;
        EXPECT_EQ(g.thumb(c.ratio), (PixelRect{c.centre - 8, 2, c.centre + 8, 28}));
    }
}

TEST(SliderLayout, WideSlotAndNoArrows)
{
    SliderLayoutParams p = plain({0, 0, 200, 30});
    p.slotWidth = SlotWidth::Wide;
    p.arrowButtons = false;
    const SliderGeometry g = layoutSlider(p);
    EXPECT_TRUE(g.lowerArrow.isEmpty());
    EXPECT_TRUE(g.upperArrow.isEmpty());
    EXPECT_EQ(g.track, g.area);
    EXPECT_EQ(g.slot, (PixelRect{9, 8, 191, 21}));
}

TEST(SliderLayout, VerticalPutsTheLowerEndAtTheTop)
{
    SliderLayoutParams p = plain({0, 0, 30, 200});
    p.orientation = 1;
    const SliderGeometry g = layoutSlider(p);
    EXPECT_EQ(g.lowerArrow, (PixelRect{2, 2, 28, 18}));
    EXPECT_EQ(g.upperArrow, (PixelRect{2, 182, 28, 198}));
    EXPECT_EQ(g.slot, (PixelRect{13, 25, 17, 175}));
    EXPECT_EQ(g.thumb(0.0), (PixelRect{2, 17, 28, 33}));
    EXPECT_EQ(g.slotOffset({15, 100}), 75);
}

TEST(SliderLayout, FieldsAndButtonsBesideTheSlider)
{
    struct Case {
        const char* name;
        ValueDisplay display;
        ButtonSide side;
        PixelRect area, value, unit;
        std::vector<PixelRect> buttons;
    };
    const Case cases[] = {
        {"fields left, buttons after them", ValueDisplay::Left, ButtonSide::Left,
         {154, 2, 298, 28}, {2, 2, 37, 28}, {41, 2, 76, 28}, {{80, 2, 115, 28}, {115, 2, 150, 28}}},
        {"fields left, buttons right", ValueDisplay::Left, ButtonSide::Right,
         {80, 2, 224, 28}, {2, 2, 37, 28}, {41, 2, 76, 28}, {{228, 2, 263, 28}, {263, 2, 298, 28}}},
        {"fields right, buttons right", ValueDisplay::Right, ButtonSide::Right,
         {2, 2, 146, 28}, {150, 2, 185, 28}, {189, 2, 224, 28}, {{228, 2, 263, 28}, {263, 2, 298, 28}}},
        {"fields right, buttons left", ValueDisplay::Right, ButtonSide::Left,
         {76, 2, 220, 28}, {224, 2, 259, 28}, {263, 2, 298, 28}, {{2, 2, 37, 28}, {37, 2, 72, 28}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SliderLayoutParams p = plain({0, 0, 300, 30});
        p.valueDisplay = c.display;
        p.valueButtonSide = c.side;
        p.hasUnits = true;
        p.valueButtonCount = 2;
        const SliderGeometry g = layoutSlider(p);
        EXPECT_EQ(g.area, c.area);
        EXPECT_EQ(g.valueField, c.value);
        EXPECT_EQ(g.unitField, c.unit);
        EXPECT_EQ(g.valueButtons, c.buttons);
        // The edit box is the field less 2, one line high, centred.
        EXPECT_EQ(g.editBox(13), (PixelRect{c.value.left + 2, 8, c.value.right - 2, 21}));
    }
}

TEST(SliderLayout, ValueFieldWithoutUnitsEndsWhereTheUnitWouldHave)
{
    SliderLayoutParams p = plain({0, 0, 300, 30});
    p.valueDisplay = ValueDisplay::Right;
    const SliderGeometry g = layoutSlider(p);
    EXPECT_EQ(g.valueField, (PixelRect{263, 2, 298, 28}));
    EXPECT_TRUE(g.unitField.isEmpty());
    EXPECT_EQ(g.area.right, 259);
}

TEST(SliderLayout, VerticalFieldsAndButtonsDoNotOverlap)
{
    SliderLayoutParams p = plain({0, 0, 40, 300});
    p.orientation = 1;
    p.valueDisplay = ValueDisplay::Left;
    p.hasUnits = true;
    p.valueButtonCount = 2;
    p.textHeight = 13;
    const SliderGeometry g = layoutSlider(p);
    EXPECT_EQ(g.area, (PixelRect{2, 2, 38, 226}));
    EXPECT_EQ(g.valueField, (PixelRect{2, 268, 38, 281}));
    EXPECT_EQ(g.unitField, (PixelRect{2, 281, 38, 298}));
    ASSERT_EQ(g.valueButtons.size(), 2u);
    EXPECT_EQ(g.valueButtons[0], (PixelRect{2, 230, 38, 247}));
    EXPECT_EQ(g.valueButtons[1], (PixelRect{2, 247, 38, 264}));
    EXPECT_LE(g.valueButtons[1].bottom, g.valueField.top);
    EXPECT_GE(g.valueButtons[0].top, g.area.bottom);
}

TEST(SliderLayout, InnerRectangleGrowsToTheMinimum)
{
    struct Case {
        const char* name;
        int16_t orientation;
        ValueDisplay display;
        bool units;
        size_t buttons;
        PixelRect inner;
    };
    const Case cases[] = {
        {"bare horizontal", 0, ValueDisplay::None, false, 0, {2, 2, 32, 16}},
        {"horizontal with value", 0, ValueDisplay::Left, false, 0, {2, 2, 71, 16}},
        {"horizontal with units and buttons", 0, ValueDisplay::Right, true, 2, {2, 2, 184, 16}},
        {"bare vertical", 1, ValueDisplay::None, false, 0, {2, 2, 16, 32}},
        {"vertical with value", 1, ValueDisplay::Left, false, 0, {2, 2, 37, 49}},
        {"vertical with units and buttons", 1, ValueDisplay::Left, true, 1, {2, 2, 37, 87}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SliderLayoutParams p = plain({0, 0, 10, 10});
        p.orientation = c.orientation;
        p.valueDisplay = c.display;
        p.hasUnits = c.units;
        p.valueButtonCount = c.buttons;
        p.textHeight = 13;
        EXPECT_EQ(layoutSlider(p).inner, c.inner);
    }
}

TEST(SliderLayout, UnknownOrientationLaysOutNothing)
{
    SliderLayoutParams p = plain({0, 0, 200, 30});
    p.orientation = 2;
    const SliderGeometry g = layoutSlider(p);
    EXPECT_FALSE(g.valid);
    EXPECT_EQ(g.hitTest({100, 15}, 0.5).part, SliderPart::None);
}

TEST(SliderLayout, HostileWidthsStayInRange)
{
    SliderLayoutParams p = plain({0, 0, 200, 30});
    p.valueDisplay = ValueDisplay::Right;
    p.hasUnits = true;
    p.valueDisplayWidth = INT32_MAX;
    p.unitDisplayWidth = INT32_MIN;
    p.valueButtonWidth = INT32_MAX;
    p.valueButtonCount = size_t(1) << 40;
    const SliderGeometry g = layoutSlider(p);
    EXPECT_LE(g.valueButtons.size(), kMaxLaidOutButtons);
    for (const PixelRect& r : {g.inner, g.area, g.track, g.slot, g.valueField, g.unitField}) {
        EXPECT_LE(std::abs(int64_t(r.left)), kPixelLimit);
        EXPECT_LE(std::abs(int64_t(r.right)), kPixelLimit);
    }
    EXPECT_GE(g.thumbCentre(0.5), -kPixelLimit);
}

TEST(SliderLayout, HitTestFollowsTheGeometry)
{
    SliderLayoutParams p = plain({0, 0, 300, 30});
    p.valueDisplay = ValueDisplay::Left;
    p.valueButtonCount = 2;
    const SliderGeometry g = layoutSlider(p);
    const double ratio = 0.5;
    const PixelRect thumb = g.thumb(ratio);
    struct Case {
        const char* name;
        PixelPoint at;
        SliderPart part;
        int button;
    };
    const Case cases[] = {
        {"lower arrow", centreOf(g.lowerArrow), SliderPart::LowerArrow, -1},
        {"upper arrow", centreOf(g.upperArrow), SliderPart::UpperArrow, -1},
        {"thumb", centreOf(thumb), SliderPart::Thumb, -1},
        {"track below", {thumb.left - 1, 15}, SliderPart::TrackBelow, -1},
        {"track above", {thumb.right, 15}, SliderPart::TrackAbove, -1},
        {"second value button", centreOf(g.valueButtons[1]), SliderPart::ValueButton, 1},
        {"value field", centreOf(g.valueField), SliderPart::None, -1},
        {"outside", {299, 29}, SliderPart::None, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SliderHit hit = g.hitTest(c.at, ratio);
        EXPECT_EQ(hit.part, c.part);
        EXPECT_EQ(hit.button, c.button);
    }
}

TEST(ArrowGlyph, SliderArrowsMirrorEachOther)
{
    const SliderGeometry g = layoutSlider(plain({0, 0, 200, 30}));
    const auto lower = sliderArrowGlyph(g.lowerArrow, g.axis, true);
    const auto upper = sliderArrowGlyph(g.upperArrow, g.axis, false);
    ASSERT_EQ(lower.size(), 8u);
    ASSERT_EQ(upper.size(), 8u);
    // The tip a quarter in from the outer side, widening towards the track.
    EXPECT_EQ(lower.front(), (GlyphLine{{6, 14}, {6, 14}}));
    EXPECT_EQ(lower.back(), (GlyphLine{{13, 11}, {13, 17}}));
    for (size_t j = 0; j < 8; ++j) {
        EXPECT_EQ(lower[j].a.x + upper[j].a.x, g.lowerArrow.left + g.upperArrow.right - 1);
        EXPECT_EQ(lower[j].a.y, upper[j].a.y);
        EXPECT_EQ(lower[j].b.y, upper[j].b.y);
    }
}

TEST(ArrowGlyph, VerticalArrowLinesAreHorizontalAndClipped)
{
    const auto lines = sliderArrowGlyph({0, 0, 6, 16}, Axis{Orientation::Vertical}, true);
    ASSERT_EQ(lines.size(), 8u);
    for (const GlyphLine& l : lines) {
        EXPECT_EQ(l.a.y, l.b.y);
        EXPECT_GE(l.a.x, 0);
        EXPECT_LE(l.b.x, 5);
    }
    EXPECT_EQ(lines.front().a.y, 4);
}

TEST(ArrowGlyph, SpinTriangles)
{
    const auto up = spinArrowGlyph({0, 0, 25, 10}, true);
    ASSERT_EQ(up.size(), 5u); // half the height; a third of the width would allow 8
    EXPECT_EQ(up.front(), (GlyphLine{{12, 2}, {12, 2}}));
    EXPECT_EQ(up.back(), (GlyphLine{{8, 6}, {16, 6}}));
    const auto down = spinArrowGlyph({0, 10, 25, 20}, false);
    EXPECT_EQ(down.front(), (GlyphLine{{12, 16}, {12, 16}}));
    EXPECT_EQ(down.back(), (GlyphLine{{8, 12}, {16, 12}}));
    EXPECT_EQ(spinArrowGlyph({0, 0, 6, 40}, true).size(), 2u); // a third of the width
    EXPECT_TRUE(spinArrowGlyph({0, 0, 25, 1}, true).empty());
}

} // namespace
