// The band slider's geometry, band rules, snapping and press-state machine, by plain calls.
#include "controls/values/spi_logic.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

using namespace vyr::values;

namespace {

// Stands in for the command server: records every write; a veto answers `allow`.
struct FakePort final : SpiPort {
    std::vector<std::string> writes;
    bool veto = false;
    bool allow = true;
    int asked = 0;
    void write(SpiThumb t, double v) override
    {
        char text[64];
        std::snprintf(text, sizeof text, "%s %g", t == SpiThumb::Lower ? "lower" : "upper", v);
        writes.push_back(text);
    }
    bool hasVeto() const override { return veto; }
    bool allowed() override
    {
        ++asked;
        return allow;
    }
};

SpiReading reading(double min, double max, double lower, double upper, double step)
{
    SpiReading r;
    r.minimum = min;
    r.maximum = max;
    r.lower = lower;
    r.upper = upper;
    r.step = step;
    r.enabled = true;
    return r;
}

PixelPoint centreOf(const PixelRect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
using Writes = std::vector<std::string>;

// A 0..100 axis, band 20..40, step 1, on a 232 x 30 client: each travel is 200 pixels, so
// one value unit is two pixels.
class SpiLogicTest : public testing::Test {
protected:
    void SetUp() override
    {
        s.relayout({0, 0, 232, 30});
        s.refresh(reading(0, 100, 20, 40, 1));
    }
    // The pointer x that puts a thumb's centre (pressed at its centre) on value v.
    int xFor(SpiThumb t, double v) const
    {
        const Travel& tr = s.geometry().travel(t);
        return tr.left + int(std::lround(v / 100.0 * tr.width()));
    }
    PixelPoint at(int x) const { return {x, 15}; }
    SpiSliderLogic s;
    FakePort port;
};

TEST(SpiGeometry, FrameThumbsAndBandFollowTheValues)
{
    SpiGeometry g = layoutSpiFrame({0, 0, 240, 30}, SlotWidth::Small);
    EXPECT_EQ(g.inner, (PixelRect{2, 2, 238, 28}));
    EXPECT_EQ(g.slot, (PixelRect{9, 13, 231, 17}));
    EXPECT_EQ(g.lowerTravel.left, 9);
    EXPECT_EQ(g.lowerTravel.right, 217);
    EXPECT_EQ(g.upperTravel.left, 23);
    EXPECT_EQ(g.upperTravel.right, 231);
    placeSpiThumbs(g, 0, 100, 0, 100);
    EXPECT_EQ(g.lowerThumb, (PixelRect{2, 6, 16, 24})) << "centred on the slot's start";
    EXPECT_EQ(g.upperThumb, (PixelRect{224, 6, 238, 24})) << "centred on the slot's end";
    EXPECT_EQ(g.band, (PixelRect{16, 14, 224, 16})) << "inside the slot's outer line";

    // Equal values: the thumbs touch, the band is empty.
    placeSpiThumbs(g, 50, 50, 0, 100);
    EXPECT_EQ(g.lowerThumb.right, g.upperThumb.left);
    EXPECT_TRUE(g.band.isEmpty());

    // Equal ends put both thumbs in the middle of their travels.
    placeSpiThumbs(g, 7, 7, 7, 7);
    EXPECT_EQ(g.lowerThumb.left, 113 - 7);

    const SpiGeometry wide = layoutSpiFrame({0, 0, 240, 32}, SlotWidth::Wide);
    EXPECT_EQ(wide.slot.top, (30 + 2 * 2) / 3);
    EXPECT_EQ(wide.slot.bottom, (2 + 2 * 30) / 3);
    // Too small a window: the inner rectangle is enlarged to 30 x 14.
    const SpiGeometry tiny = layoutSpiFrame({0, 0, 10, 10}, SlotWidth::Small);
    EXPECT_EQ(tiny.inner, (PixelRect{2, 2, 32, 16}));
}

TEST(SpiGeometry, WildValuesStayOnScreen)
{
    SpiGeometry g = layoutSpiFrame({0, 0, 240, 30}, SlotWidth::Small);
    for (double v : {double(NAN), double(INFINITY), -double(INFINITY), 1e300}) {
        placeSpiThumbs(g, v, v, 0, 100);
        EXPECT_LE(std::abs(g.lowerThumb.left), int(kPixelLimit)) << v;
        EXPECT_LE(std::abs(g.upperThumb.left), int(kPixelLimit)) << v;
    }
}

TEST(SpiGeometry, TicksOfThreeLevelsWithoutDoubles)
{
    SpiGeometry g = layoutSpiFrame({0, 0, 240, 30}, SlotWidth::Small);
    // Small 5, middle 10, large 50 on 0..100: 21 positions, each drawn once.
    const auto ticks = planSpiTicks(g, {5, 10, 50}, 0, 100);
    ASSERT_EQ(ticks.size(), 21u);
    // The gap above the slot is 11 pixels: 0.4, 0.6 and 0.8 of it.
    int small = 0, middle = 0, large = 0;
    for (const SpiTick& t : ticks) {
        small += t.above == 4;
        middle += t.above == 6;
        large += t.above == 8;
    }
    EXPECT_EQ(small, 10);
    EXPECT_EQ(middle, 8);
    EXPECT_EQ(large, 3);
    // Value 0 sits half a thumb into the slot, value 100 half a thumb before its end.
    const auto [first, last] = std::minmax_element(ticks.begin(), ticks.end(),
                                                   [](const SpiTick& a, const SpiTick& b) { return a.x < b.x; });
    EXPECT_EQ(first->x, g.slot.left + 7);
    EXPECT_EQ(last->x, g.slot.right - 7);
    EXPECT_TRUE(planSpiTicks(g, {0, 10, 50}, 0, 100).empty()) << "no small spacing: no scale";
    EXPECT_TRUE(planSpiTicks(g, {1, 10, 50}, 0, 1e300).empty()) << "a comb is left out";
    // Below the minimum nothing is drawn.
    for (const SpiTick& t : planSpiTicks(g, {5, 10, 0}, 42, 100))
        EXPECT_GE(t.x, g.slot.left + 7);
}

TEST_F(SpiLogicTest, ThumbsNeverCross)
{
    s.set(SpiThumb::Lower, 60, port);
    EXPECT_EQ(s.lower(), 60);
    EXPECT_EQ(s.upper(), 60) << "the upper thumb is pushed along";
    EXPECT_EQ(port.writes, (Writes{"upper 60", "lower 60"}));

    port.writes.clear();
    s.set(SpiThumb::Upper, 10, port);
    EXPECT_EQ(s.lower(), 10);
    EXPECT_EQ(s.upper(), 10);
    EXPECT_EQ(port.writes, (Writes{"lower 10", "upper 10"}));

    port.writes.clear();
    s.set(SpiThumb::Upper, 10, port);
    EXPECT_TRUE(port.writes.empty()) << "an unchanged value is not written";
    s.set(SpiThumb::Upper, 250, port);
    EXPECT_EQ(s.upper(), 100) << "clamped to the maximum";
}

TEST_F(SpiLogicTest, ValuesWithinATenThousandthOfAStepSnapToTheEnds)
{
    s.refresh(reading(0, 100, 20, 40, 10));
    s.set(SpiThumb::Upper, 99.9995, port);
    EXPECT_EQ(s.upper(), 100);
    s.set(SpiThumb::Lower, 0.0009, port);
    EXPECT_EQ(s.lower(), 0);
    s.set(SpiThumb::Lower, 0.0011, port);
    EXPECT_EQ(s.lower(), 0.0011);
}

TEST_F(SpiLogicTest, SnapsToTheStepAndAMissingStepLeavesValues)
{
    s.refresh(reading(0, 100, 20, 40, 0.5));
    EXPECT_EQ(s.snap(3.3), 3.5);
    EXPECT_EQ(s.snap(3.2), 3.0);
    s.refresh(reading(0, 100, 20, 40, 0));
    EXPECT_EQ(s.snap(3.3), 3.3) << "no step command: nothing to snap to";
}

TEST_F(SpiLogicTest, DraggingTheLowerThumbPastTheUpperStopsAtIt)
{
    SpiEffects fx = s.act(MousePress{centreOf(s.geometry().lowerThumb)}, port);
    EXPECT_EQ(s.press(), SpiPress::Lower);
    EXPECT_EQ(fx.capture, CaptureChange::Grab);

    s.act(MouseMove{at(xFor(SpiThumb::Lower, 30))}, port);
    EXPECT_EQ(s.lower(), 30);
    s.act(MouseMove{at(xFor(SpiThumb::Lower, 70))}, port);
    EXPECT_EQ(s.lower(), 70);
    EXPECT_EQ(s.upper(), 70) << "the upper thumb goes along, the thumbs never cross";
    EXPECT_GE(s.geometry().upperThumb.left, s.geometry().lowerThumb.right);

    fx = s.act(MouseRelease{}, port);
    EXPECT_EQ(s.press(), SpiPress::None);
    EXPECT_EQ(fx.capture, CaptureChange::Release);
    EXPECT_EQ(port.writes, (Writes{"lower 30", "upper 70", "lower 70"}));
}

TEST_F(SpiLogicTest, DraggingSnapsToTheStep)
{
    s.refresh(reading(0, 100, 20, 40, 5));
    s.act(MousePress{centreOf(s.geometry().upperThumb)}, port);
    ASSERT_EQ(s.press(), SpiPress::Upper);
    // 63 units from the start: 65 on a grid of 5.
    s.act(MouseMove{at(xFor(SpiThumb::Upper, 63))}, port);
    EXPECT_EQ(s.upper(), 65);
    s.act(MouseMove{at(xFor(SpiThumb::Upper, 1000))}, port);
    EXPECT_EQ(s.upper(), 100) << "clamped at the end";
}

TEST_F(SpiLogicTest, DraggingTheBandKeepsItsWidthAndClampsAtBothEnds)
{
    const PixelPoint grip = {(s.geometry().lowerThumb.right + s.geometry().upperThumb.left) / 2, 15};
    s.act(MousePress{grip}, port);
    ASSERT_EQ(s.press(), SpiPress::Band);
    EXPECT_EQ(s.cursorAt(grip), SpiCursor::Resize);

    s.act(MouseMove{{grip.x + 2 * 30, 15}}, port);
    EXPECT_EQ(s.lower(), 50);
    EXPECT_EQ(s.upper(), 70);
    s.act(MouseMove{{grip.x + 2 * 500, 15}}, port);
    EXPECT_EQ(s.lower(), 80);
    EXPECT_EQ(s.upper(), 100);
    s.act(MouseMove{{grip.x - 2 * 500, 15}}, port);
    EXPECT_EQ(s.lower(), 0);
    EXPECT_EQ(s.upper(), 20);
    s.act(MouseRelease{}, port);
    EXPECT_EQ(s.upper() - s.lower(), 20);
}

TEST_F(SpiLogicTest, AVetoOnReleasePutsBothThumbsBack)
{
    port.veto = true;
    port.allow = false;
    const PixelPoint grip = {(s.geometry().lowerThumb.right + s.geometry().upperThumb.left) / 2, 15};
    s.act(MousePress{grip}, port);
    SpiEffects fx = s.act(MouseMove{{grip.x + 20, 15}}, port);
    EXPECT_EQ(fx.cursor, SpiCursor::NotAllowed);
    EXPECT_EQ(s.lower(), 30);
    s.act(MouseRelease{}, port);
    EXPECT_EQ(s.lower(), 20);
    EXPECT_EQ(s.upper(), 40);
    EXPECT_EQ(port.writes.back(), "upper 40");

    // Allowed: the drag stays.
    port.allow = true;
    s.act(MousePress{grip}, port);
    fx = s.act(MouseMove{{grip.x + 20, 15}}, port);
    EXPECT_EQ(fx.cursor, SpiCursor::Resize);
    s.act(MouseRelease{}, port);
    EXPECT_EQ(s.lower(), 30);
}

TEST_F(SpiLogicTest, AdvancedModeDragsFreelyAndMakesTheBandWholeStepsOnRelease)
{
    s.properties().advancedMode = 1;
    s.refresh(reading(0, 100, 20, 40, 10));
    s.act(MousePress{centreOf(s.geometry().upperThumb)}, port);
    // Two pixels are one unit: 40 + 13.5 units is not snapped while dragging.
    s.act(MouseMove{at(xFor(SpiThumb::Upper, 40) + 27)}, port);
    EXPECT_EQ(s.upper(), 53.5);
    s.act(MouseRelease{}, port);
    EXPECT_EQ(s.upper(), 53.5) << "the dragged thumb stays";
    EXPECT_EQ(s.lower(), 23.5) << "the other one makes the band three steps wide";

    // Against the maximum the band loses a step rather than pass it.
    s.refresh(reading(0, 100, 75, 94, 10));
    s.act(MousePress{centreOf(s.geometry().lowerThumb)}, port);
    s.act(MouseMove{at(xFor(SpiThumb::Lower, 73))}, port);
    s.act(MouseRelease{}, port);
    EXPECT_EQ(s.lower(), 73);
    EXPECT_EQ(s.upper(), 93) << "73 + 20 (21 snapped) - no step needed below the maximum";
    s.refresh(reading(0, 100, 81, 99, 10));
    s.act(MousePress{centreOf(s.geometry().lowerThumb)}, port);
    s.act(MouseMove{at(xFor(SpiThumb::Lower, 81.5))}, port);
    s.act(MouseRelease{}, port);
    EXPECT_EQ(s.upper(), 91.5) << "81.5 + 20 passes 100: one step less";
}

TEST_F(SpiLogicTest, KeysMoveTheBandOrOneThumb)
{
    struct Case {
        const char* name;
        ValueKey key;
        KeyModifiers mods;
        double lower, upper;
        SpiCursor cursor;
    };
    const Case cases[] = {
        {"Right moves the band", ValueKey::Right, {}, 21, 41, SpiCursor::Resize},
        {"PageDown moves it back", ValueKey::PageDown, {}, 19, 39, SpiCursor::Resize},
        {"Shift moves the upper thumb", ValueKey::Up, {true, false}, 20, 41, SpiCursor::Arrow},
        {"Ctrl moves the lower thumb", ValueKey::Left, {false, true}, 19, 40, SpiCursor::Arrow},
        {"End puts the band against the maximum", ValueKey::End, {}, 80, 100, SpiCursor::Resize},
        {"Home puts the band on the minimum", ValueKey::Home, {}, 0, 20, SpiCursor::Resize},
        {"Ctrl+End pushes the upper thumb", ValueKey::End, {false, true}, 100, 100, SpiCursor::Arrow},
        {"Shift+Home pushes the lower thumb", ValueKey::Home, {true, false}, 0, 0, SpiCursor::Arrow},
    };
    for (const Case& c : cases) {
        SpiSliderLogic logic;
        logic.relayout({0, 0, 232, 30});
        logic.refresh(reading(0, 100, 20, 40, 1));
        const SpiEffects fx = logic.act(KeyStroke{c.key, 1, c.mods}, port);
        EXPECT_EQ(logic.lower(), c.lower) << c.name;
        EXPECT_EQ(logic.upper(), c.upper) << c.name;
        EXPECT_EQ(fx.cursor, c.cursor) << c.name;
    }
}

TEST_F(SpiLogicTest, AVetoAfterAKeyRestoresBothValues)
{
    port.veto = true;
    port.allow = false;
    const SpiEffects fx = s.act(KeyStroke{ValueKey::End, 1, {}}, port);
    EXPECT_EQ(s.lower(), 20);
    EXPECT_EQ(s.upper(), 40);
    EXPECT_EQ(fx.cursor, SpiCursor::NotAllowed);
    EXPECT_EQ(port.asked, 1);
    EXPECT_EQ(port.writes, (Writes{"upper 100", "lower 80", "lower 20", "upper 40"}))
        << "written in an order that never collapses the band on the way";
}

TEST_F(SpiLogicTest, KeysWaitForAPressToEndAndMoveByOneWithoutAStep)
{
    s.act(MousePress{centreOf(s.geometry().lowerThumb)}, port);
    s.act(KeyStroke{ValueKey::Right, 1, {}}, port);
    EXPECT_EQ(s.lower(), 20);
    s.act(FocusLoss{}, port);
    EXPECT_EQ(s.press(), SpiPress::None);

    s.refresh(reading(0, 100, 20, 40, 0));
    s.act(KeyStroke{ValueKey::Right, 1, {}}, port);
    EXPECT_EQ(s.lower(), 21);
}

TEST_F(SpiLogicTest, ReadsRepaintOnlyOnChangeAndTheFirstSetsThePressValues)
{
    SpiSliderLogic fresh;
    EXPECT_EQ(fresh.lower(), 1.0);
    EXPECT_EQ(fresh.upper(), 100.0);
    EXPECT_TRUE(fresh.refresh(reading(0, 10, 2, 3, 1)));
    EXPECT_EQ(fresh.pressValue(SpiThumb::Lower), 2);
    EXPECT_FALSE(fresh.refresh(reading(0, 10, 2, 3, 1)));
    EXPECT_TRUE(fresh.refresh(reading(0, 10, 2, 4, 1)));
    EXPECT_EQ(fresh.pressValue(SpiThumb::Upper), 3) << "later reads leave the press values";
    SpiReading coloured = reading(0, 10, 2, 4, 1);
    coloured.bandColor = 0xFF;
    EXPECT_TRUE(fresh.refresh(coloured));
    EXPECT_TRUE(fresh.readFailed());
    EXPECT_FALSE(fresh.enabled());
    EXPECT_FALSE(fresh.readFailed());
}

TEST_F(SpiLogicTest, ToolTipsNameTheThumbsAndTheBand)
{
    s.properties().toolTipPrecision = 2;
    EXPECT_EQ(s.toolText(SpiTool::Lower), "20.00");
    EXPECT_EQ(s.toolText(SpiTool::Band), "20.00 ... 40.00");
    EXPECT_EQ(s.toolAt(centreOf(s.geometry().upperThumb)), SpiTool::Upper);
    EXPECT_EQ(s.toolAt({1, 1}), std::nullopt);
    s.act(MousePress{centreOf(s.geometry().upperThumb)}, port);
    EXPECT_EQ(s.toolAt({1, 1}), SpiTool::Upper) << "the dragged tool covers the client";
    EXPECT_EQ(s.toolRect(SpiTool::Upper), (PixelRect{0, 0, 232, 30}));
}

} // namespace
