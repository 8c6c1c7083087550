#include "controls/values/slider_logic.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vyr::values;

namespace {

using Events = std::vector<SliderEvent>;
constexpr auto Click = SliderEvent::Click;
constexpr auto Change = SliderEvent::Change;
constexpr auto Scroll = SliderEvent::Scroll;

PixelPoint centreOf(const PixelRect& r)
{
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

CommandReading reading(double min, double max, double value)
{
    CommandReading r;
    r.minimum = min;
    r.maximum = max;
    r.value = value;
    r.enabled = true;
    return r;
}

class SliderLogicTest : public testing::Test {
protected:
    void SetUp() override
    {
        slider.relayout({0, 0, 200, 30}, 13);
        slider.refresh(reading(0, 100, 50));
    }
    // A point on the slot at relative position r along the axis.
    PixelPoint onSlot(double r) const
    {
        const SliderGeometry& g = slider.geometry();
        const int along = g.axis.start(g.slot) + int(std::lround(r * g.slotLength()));
        const int across = (g.axis.crossStart(g.track) + g.axis.crossEnd(g.track)) / 2;
        return g.axis.vertical() ? PixelPoint{across, along} : PixelPoint{along, across};
    }
    SliderLogic slider;
};

TEST_F(SliderLogicTest, DragScrollsOnChangeAndReportsAllOnRelease)
{
    ValueEffects fx = slider.act(MousePress{centreOf(slider.thumb())});
    EXPECT_EQ(slider.press(), SliderPress::Dragging);
    EXPECT_EQ(fx.capture, CaptureChange::Grab);
    EXPECT_EQ(fx.timer.kind, TimerChange::Kind::None);
    EXPECT_TRUE(fx.events.empty());

    fx = slider.act(MouseMove{onSlot(0.25)});
    EXPECT_EQ(slider.value(), 25.0);
    EXPECT_EQ(fx.sentValue, 25.0);
    EXPECT_EQ(fx.events, Events{Scroll});

    fx = slider.act(MouseMove{onSlot(0.25)});
    EXPECT_FALSE(fx.sentValue);
    EXPECT_TRUE(fx.events.empty());

    fx = slider.act(MouseMove{{-500, 15}});
    EXPECT_EQ(slider.value(), 0.0);
    EXPECT_EQ(fx.events, Events{Scroll});

    fx = slider.act(MouseRelease{});
    EXPECT_EQ(fx.events, (Events{Click, Change, Scroll}));
    EXPECT_EQ(fx.capture, CaptureChange::Release);
    EXPECT_EQ(slider.press(), SliderPress::None);
    // Moves after the release do nothing.
    EXPECT_TRUE(slider.act(MouseMove{onSlot(0.9)}).events.empty());
    EXPECT_EQ(slider.value(), 0.0);
}

TEST_F(SliderLogicTest, ReleasingAnUnmovedDragStillReportsAll)
{
    slider.act(MousePress{centreOf(slider.thumb())});
    const ValueEffects fx = slider.act(MouseRelease{});
    EXPECT_EQ(fx.events, (Events{Click, Change, Scroll}));
    EXPECT_FALSE(fx.sentValue);
    EXPECT_EQ(slider.value(), 50.0);
}

TEST_F(SliderLogicTest, HeldArrowRepeatsAfter200ThenEvery80AndOnceOnRelease)
{
    ValueEffects fx = slider.act(MousePress{centreOf(slider.geometry().upperArrow)});
    EXPECT_EQ(slider.press(), SliderPress::UpperArrow);
    EXPECT_EQ(fx.timer.kind, TimerChange::Kind::Start);
    EXPECT_EQ(fx.timer.interval, 200);
    EXPECT_EQ(slider.value(), 50.0); // nothing before the first delay

    fx = slider.act(TimerTick{200});
    EXPECT_EQ(fx.timer.kind, TimerChange::Kind::Start);
    EXPECT_EQ(fx.timer.interval, 80);
    EXPECT_EQ(slider.value(), 51.0);
    EXPECT_EQ(fx.sentValue, 51.0);
    EXPECT_EQ(fx.events, (Events{Click, Change}));

    for (double expected : {52.0, 53.0}) {
        fx = slider.act(TimerTick{80});
        EXPECT_EQ(fx.timer.kind, TimerChange::Kind::None);
        EXPECT_EQ(slider.value(), expected);
    }
    // A tick of the replaced timer is stale.
    EXPECT_TRUE(slider.act(TimerTick{200}).events.empty());
    EXPECT_EQ(slider.value(), 53.0);

    fx = slider.act(MouseRelease{});
    EXPECT_EQ(fx.timer.kind, TimerChange::Kind::Stop);
    EXPECT_EQ(fx.timer.interval, 80);
    EXPECT_EQ(slider.value(), 54.0);
    EXPECT_EQ(fx.events, (Events{Click, Change}));
    EXPECT_EQ(slider.timerInterval(), 0);
    EXPECT_TRUE(slider.act(TimerTick{80}).events.empty());
}

TEST_F(SliderLogicTest, LowerArrowAtTheMinimumFiresNothing)
{
    slider.refresh(reading(0, 100, 0));
    slider.act(MousePress{centreOf(slider.geometry().lowerArrow)});
    EXPECT_TRUE(slider.act(TimerTick{200}).events.empty());
    const ValueEffects fx = slider.act(MouseRelease{});
    EXPECT_TRUE(fx.events.empty());
    EXPECT_FALSE(fx.sentValue);
}

TEST_F(SliderLogicTest, TrackClickStepsOnceOnReleaseWithoutRepeat)
{
    slider.properties().shiftStep = 10;
    slider.properties().controlStep = 25;
    struct Case {
        const char* name;
        double at;
        KeyModifiers modifiers;
        double value;
    };
    const Case cases[] = {
        {"above", 0.9, {}, 51},
        {"below", 0.1, {}, 49},
        {"shift", 0.9, {true, false}, 60},
        {"ctrl wins over shift", 0.1, {true, true}, 25},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        slider.refresh(reading(0, 100, 50));
        ValueEffects fx = slider.act(MousePress{onSlot(c.at)});
        EXPECT_EQ(fx.timer.kind, TimerChange::Kind::None);
        EXPECT_EQ(fx.capture, CaptureChange::Grab);
        EXPECT_EQ(slider.value(), 50.0);
        fx = slider.act(MouseRelease{c.modifiers});
        EXPECT_EQ(slider.value(), c.value);
        EXPECT_EQ(fx.events, (Events{Click, Change}));
    }
}

TEST_F(SliderLogicTest, ValueButtonsJumpOnRelease)
{
    slider.properties().valueDisplay = ValueDisplay::Right;
    slider.setValueButtonsText("min 25 Max");
    slider.relayout({0, 0, 300, 30}, 13);
    ASSERT_EQ(slider.geometry().valueButtons.size(), 3u);
    struct Case {
        int button;
        double value;
    };
    for (Case c : {Case{1, 25}, Case{0, 0}, Case{2, 100}}) {
        SCOPED_TRACE(c.button);
        ValueEffects fx = slider.act(MousePress{centreOf(slider.geometry().valueButtons[size_t(c.button)])});
        EXPECT_EQ(slider.press(), SliderPress::ValueButton);
        EXPECT_EQ(slider.pressedButton(), c.button);
        EXPECT_EQ(fx.capture, CaptureChange::Grab);
        fx = slider.act(MouseRelease{});
        EXPECT_EQ(slider.value(), c.value);
        EXPECT_EQ(slider.pressedButton(), -1);
        EXPECT_EQ(fx.events, (Events{Click, Change}));
        // Pressing it again changes nothing and fires nothing.
        slider.act(MousePress{centreOf(slider.geometry().valueButtons[size_t(c.button)])});
        EXPECT_TRUE(slider.act(MouseRelease{}).events.empty());
    }
}

TEST_F(SliderLogicTest, Keys)
{
    slider.properties().step = 2;
    slider.properties().shiftStep = 5;
    slider.properties().controlStep = 20;
    struct Case {
        const char* name;
        int16_t orientation;
        ValueKey key;
        int repeat;
        KeyModifiers modifiers;
        double value;
    };
    const Case cases[] = {
        {"up", 0, ValueKey::Up, 1, {}, 52},
        {"right", 0, ValueKey::Right, 1, {}, 52},
        {"page up repeated", 0, ValueKey::PageUp, 3, {}, 56},
        {"left", 0, ValueKey::Left, 1, {}, 48},
        {"down with shift", 0, ValueKey::Down, 1, {true, false}, 45},
        {"page down with ctrl", 0, ValueKey::PageDown, 2, {false, true}, 10},
        {"repeat clamps", 0, ValueKey::Up, 1000, {}, 100},
        {"end", 0, ValueKey::End, 1, {}, 100},
        {"home", 0, ValueKey::Home, 1, {}, 0},
        {"vertical down increases", 1, ValueKey::Down, 1, {}, 52},
        {"vertical up decreases", 1, ValueKey::Up, 2, {}, 46},
        {"vertical end is still the maximum", 1, ValueKey::End, 1, {}, 100},
        {"zero repeat counts once", 0, ValueKey::Up, 0, {}, 52},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        slider.properties().orientation = c.orientation;
        slider.relayout({0, 0, c.orientation ? 30 : 200, c.orientation ? 200 : 30}, 13);
        slider.refresh(reading(0, 100, 50));
        const ValueEffects fx = slider.act(KeyStroke{c.key, c.repeat, c.modifiers});
        EXPECT_EQ(slider.value(), c.value);
        EXPECT_EQ(fx.sentValue, c.value);
        EXPECT_EQ(fx.events, (Events{Click, Change}));
    }
}

TEST_F(SliderLogicTest, KeysWaitWhileSomethingIsPressed)
{
    slider.act(MousePress{centreOf(slider.thumb())});
    const ValueEffects fx = slider.act(KeyStroke{ValueKey::End});
    EXPECT_TRUE(fx.events.empty());
    EXPECT_EQ(slider.value(), 50.0);
}

TEST_F(SliderLogicTest, DiscreteValuesSnapAndStepByIndex)
{
    slider.setDiscreteValuesText("1 2 5 10");
    EXPECT_EQ(slider.discreteValuesText(), "1 2 5 10");
    slider.refresh(reading(0, 10, 2));
    EXPECT_NEAR(slider.ratio(), 1.0 / 3, 1e-12);

    slider.act(MousePress{centreOf(slider.thumb())});
    const double targets[] = {1, 2, 5, 10};
    for (int k = 0; k < 4; ++k) {
        slider.act(MouseMove{onSlot(k / 3.0)});
        EXPECT_EQ(slider.value(), targets[k]) << k;
    }
    slider.act(MouseRelease{});

    slider.properties().step = 0.5; // rounds away from zero to one index
    slider.act(KeyStroke{ValueKey::Left});
    EXPECT_EQ(slider.value(), 5.0);
    slider.act(KeyStroke{ValueKey::Left, 5});
    EXPECT_EQ(slider.value(), 1.0);
    slider.act(KeyStroke{ValueKey::End});
    EXPECT_EQ(slider.value(), 10.0);
    slider.act(KeyStroke{ValueKey::Home});
    EXPECT_EQ(slider.value(), 1.0);
}

TEST_F(SliderLogicTest, DiscreteValuesTextIsRewritten)
{
    slider.setDiscreteValuesText("-3 x 4.50,1e1");
    EXPECT_EQ(slider.discreteValuesText(), "3 4.5 10");
    EXPECT_EQ(slider.discreteValues(), (std::vector<double>{3, 4.5, 10}));
    // List mode takes its values from the command server instead.
    slider.properties().mode = SliderMode::List;
    slider.modeChanged();
    EXPECT_TRUE(slider.discreteValues().empty());
    EXPECT_EQ(slider.discreteValuesText(), "3 4.5 10");
    slider.properties().mode = SliderMode::Normal;
    slider.modeChanged();
    EXPECT_EQ(slider.discreteValues().size(), 3u);
}

TEST_F(SliderLogicTest, LogarithmicDragMiddle)
{
    slider.properties().mode = SliderMode::Logarithmic;
    slider.modeChanged();
    slider.refresh(reading(0, 999, 0));
    slider.act(MousePress{centreOf(slider.thumb())});
    slider.act(MouseMove{onSlot(0.5)});
    EXPECT_EQ(slider.value(), 31.0); // 30.6 rounded to the step grid
    slider.act(MouseRelease{});
    EXPECT_NEAR(slider.ratio(), std::log(32.0) / std::log(1000.0), 1e-12);
}

TEST_F(SliderLogicTest, TypedTextIsClampedAndSentWithoutEvents)
{
    struct Case {
        const char* text;
        double value;
        bool sent;
    };
    const Case cases[] = {
        {"75", 75, true},   {"150", 100, true}, {"-4", 0, true},   {"abc", 50, false},
        {"", 50, false},    {"nan", 50, false}, {"inf", 100, true}, {" 12.5xyz", 12.5, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        slider.refresh(reading(0, 100, 50));
        const ValueEffects fx = slider.act(CommitText{c.text});
        EXPECT_EQ(slider.value(), c.value);
        EXPECT_EQ(fx.sentValue.has_value(), c.sent);
        EXPECT_TRUE(fx.events.empty());
    }
}

TEST_F(SliderLogicTest, UnitsScaleTheFieldAndTypedText)
{
    slider.setUnitStrings("mm um");
    slider.setUnitFactors("1 1000");
    slider.setValueButtonsText("0.0025 Max");
    slider.refresh(reading(0, 10, 0.0025));
    EXPECT_EQ(slider.unitStringsText(), "mm um");
    EXPECT_EQ(slider.unitFactorsText(), "1 1000");
    EXPECT_EQ(slider.shownUnit(), 1u); // 2.5 um reads better than 0.0025 mm
    EXPECT_EQ(slider.valueText(), "2.5000");
    EXPECT_EQ(slider.valueButtonLabel(0), "2.5");
    EXPECT_EQ(slider.valueButtonLabel(1), "Max");
    // Typed text is meant in the unit shown.
    slider.act(CommitText{"40"});
    EXPECT_DOUBLE_EQ(slider.value(), 0.04);
    // A selectable unit shows the user's pick.
    slider.properties().unitSelectable = true;
    slider.selectUnit(0);
    EXPECT_EQ(slider.valueText(), "0.0400");
    slider.selectUnit(7);
    EXPECT_EQ(slider.selectedUnit(), -1);
    // Changing one list keeps the other.
    slider.setUnitStrings("m");
    EXPECT_EQ(slider.units().size(), 2u);
    EXPECT_EQ(slider.unitStringsText(), "m ");
}

TEST_F(SliderLogicTest, ServerReadsIgnoreNoiseAndBadNumbers)
{
    ValueEffects fx = slider.refresh(reading(0, 100, 50 + 1e-60));
    EXPECT_FALSE(fx.repaint);
    EXPECT_EQ(slider.value(), 50.0);

    fx = slider.refresh(reading(NAN, INFINITY, NAN));
    EXPECT_EQ(slider.minimum(), 0.0);
    EXPECT_EQ(slider.maximum(), 100.0);
    EXPECT_EQ(slider.value(), 50.0);

    slider.refresh(reading(0, 100, INFINITY));
    EXPECT_EQ(slider.value(), 100.0);
    slider.refresh(reading(0, 100, -INFINITY));
    EXPECT_EQ(slider.value(), 0.0);
    // A value beyond the range is kept as read; the thumb stays on the slot.
    slider.refresh(reading(0, 100, 250));
    EXPECT_EQ(slider.value(), 250.0);
    EXPECT_EQ(slider.ratio(), 1.0);
}

TEST_F(SliderLogicTest, FailedReadDisablesAndRepaints)
{
    CommandReading r;
    r.minimum = 10;
    r.failed = true;
    const ValueEffects fx = slider.refresh(r);
    EXPECT_FALSE(slider.enabled());
    EXPECT_TRUE(fx.repaint);
    EXPECT_TRUE(fx.relayout);
    EXPECT_EQ(slider.minimum(), 10.0); // what was read before the failure counts
    EXPECT_EQ(slider.value(), 50.0);
    EXPECT_TRUE(slider.refresh(reading(0, 100, 50)).relayout);
    EXPECT_TRUE(slider.enabled());
}

TEST_F(SliderLogicTest, ListModeWidensTheRangeToTheEntries)
{
    slider.properties().mode = SliderMode::List;
    slider.modeChanged();
    CommandReading r;
    r.value = 20;
    r.enabled = true;
    r.minimum = 40; // not read in List mode, so not used
    r.entries = std::vector<double>{-5, 20, NAN, 250};
    const ValueEffects fx = slider.refresh(r);
    EXPECT_TRUE(fx.repaint);
    EXPECT_EQ(slider.minimum(), -5.0);
    EXPECT_EQ(slider.maximum(), 250.0);
    EXPECT_EQ(slider.discreteValues(), (std::vector<double>{-5, 20, 250}));
    EXPECT_DOUBLE_EQ(slider.ratio(), 0.5);
    r.entries = std::vector<double>{1, 2};
    slider.refresh(r);
    EXPECT_EQ(slider.minimum(), 0.0);
    EXPECT_EQ(slider.maximum(), 100.0);
    EXPECT_FALSE(slider.refresh(r).repaint);
}

TEST_F(SliderLogicTest, DegenerateInputsKeepTheThumbOnTheTrack)
{
    struct Case {
        const char* name;
        double min, max, value;
        const char* discrete;
    };
    const Case cases[] = {
        {"equal ends", 5, 5, 5, ""},
        {"one discrete value", 0, 10, 3, "3"},
        {"NaN value", 0, 10, NAN, ""},
        {"infinite value", 0, 10, INFINITY, ""},
        {"huge range", -1e308, 1e308, 0, ""},
        {"reversed range", 10, 0, 5, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SliderLogic s;
        s.setDiscreteValuesText(c.discrete);
        s.relayout({0, 0, 200, 30}, 13);
        s.refresh(reading(c.min, c.max, c.value));
        const PixelRect thumb = s.thumb();
        const PixelRect& slot = s.geometry().slot;
        const int centre = (thumb.left + thumb.right) / 2;
        EXPECT_GE(centre, slot.left);
        EXPECT_LE(centre, slot.right);
        // Dragging such a slider yields a number, never NaN.
        s.act(MousePress{centreOf(thumb)});
        s.act(MouseMove{{100, 15}});
        EXPECT_FALSE(std::isnan(s.value()));
        s.act(MouseRelease{});
    }
    SliderLogic equal;
    equal.relayout({0, 0, 200, 30}, 13);
    equal.refresh(reading(5, 5, 5));
    EXPECT_EQ(equal.geometry().thumbCentre(equal.ratio()), 100); // the middle
}

TEST_F(SliderLogicTest, VerticalMinimumIsAtTheTop)
{
    slider.properties().orientation = 1;
    slider.relayout({0, 0, 30, 200}, 13);
    slider.refresh(reading(0, 100, 0));
    EXPECT_EQ(slider.thumb().top, slider.geometry().slot.top - 8);
    slider.act(MousePress{centreOf(slider.thumb())});
    slider.act(MouseMove{{15, 199}});
    EXPECT_EQ(slider.value(), 100.0);
    slider.act(MouseMove{onSlot(0.25)});
    EXPECT_EQ(slider.value(), 25.0);
    slider.act(MouseRelease{});
}

TEST_F(SliderLogicTest, FocusLossEndsAPress)
{
    slider.act(MousePress{centreOf(slider.geometry().lowerArrow)});
    const ValueEffects fx = slider.act(FocusLoss{});
    EXPECT_EQ(slider.press(), SliderPress::None);
    EXPECT_EQ(fx.capture, CaptureChange::Release);
    EXPECT_EQ(fx.timer.kind, TimerChange::Kind::Stop);
    EXPECT_TRUE(fx.repaint);
    // A release after that steps no more.
    EXPECT_TRUE(slider.act(MouseRelease{}).events.empty());
    EXPECT_EQ(slider.value(), 50.0);
}

} // namespace
