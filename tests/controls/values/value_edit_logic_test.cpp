#include "controls/values/value_edit_logic.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vyr::values;

namespace {

using Events = std::vector<SliderEvent>;
constexpr auto Click = SliderEvent::Click;
constexpr auto Change = SliderEvent::Change;

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

TEST(ValueEditFormat, PrecisionFactorAndStrippedZeros)
{
    struct Case {
        double value, factor;
        int32_t precision;
        const char* text;
    };
    const Case cases[] = {
        {0.0025, 1000, 4, "2.5"},
        {12, 1, 0, "12"},
        {100, 1, 0, "100"},
        {100, 1, 3, "100"},
        {0.5, 1, 4, "0.5"},
        {1.23456, 1, 2, "1.23"},
        {-0.00001, 1, 2, "-0"},
        {2.5, 1, -1, "2.500000"}, // a negative precision means six decimals, kept
        {1, 1, 1000, "1"},
        {INFINITY, 1, 4, "inf"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(formatEditValue(c.value, c.factor, c.precision), c.text) << c.value << " p" << c.precision;
}

TEST(ValueEditLayout, ButtonsSpinColumnAndEditArea)
{
    const ValueEditGeometry g = layoutValueEdit({0, 0, 200, 24}, true, 2, 35);
    ASSERT_EQ(g.valueButtons.size(), 2u);
    EXPECT_EQ(g.valueButtons[0], (PixelRect{130, 0, 165, 24}));
    EXPECT_EQ(g.valueButtons[1], (PixelRect{165, 0, 200, 24}));
    EXPECT_EQ(g.upButton, (PixelRect{101, 0, 126, 12}));
    EXPECT_EQ(g.downButton, (PixelRect{101, 12, 126, 24}));
    EXPECT_EQ(g.spinGap, (PixelRect{97, 0, 101, 24}));
    EXPECT_EQ(g.editArea, (PixelRect{0, 0, 97, 24}));
    EXPECT_EQ(g.editBox(13), (PixelRect{2, 5, 95, 18}));

    const ValueEditGeometry bare = layoutValueEdit({0, 0, 200, 24}, false, 0, 35);
    EXPECT_EQ(bare.editArea, (PixelRect{0, 0, 200, 24}));
    EXPECT_TRUE(bare.upButton.isEmpty());
    EXPECT_EQ(bare.hitTest({150, 5}).part, ValueEditPart::None);

    const ValueEditGeometry spinOnly = layoutValueEdit({0, 0, 200, 24}, true, 0, 35);
    EXPECT_EQ(spinOnly.upButton, (PixelRect{175, 0, 200, 12}));
    EXPECT_EQ(spinOnly.editArea, (PixelRect{0, 0, 171, 24}));
}

class ValueEditTest : public testing::Test {
protected:
    void SetUp() override
    {
        edit.setValueButtonsText("1 2,5 x10");
        edit.relayout({0, 0, 250, 24});
        edit.refresh(reading(0, 100, 50));
    }
    ValueEditLogic edit;
};

TEST_F(ValueEditTest, ValueButtonsAreNumbersOnly)
{
    EXPECT_EQ(edit.valueButtonsText(), "1 2 5 10");
    edit.setValueButtonsText("Min 3 Max");
    EXPECT_EQ(edit.valueButtonsText(), "3");
    edit.properties().unitFactor = 1000;
    EXPECT_EQ(edit.valueButtonLabel(0), "3000");
    EXPECT_EQ(edit.valueButtonLabel(5), "");
}

TEST_F(ValueEditTest, DownSpinStopsAtTheMinimum)
{
    edit.refresh(reading(0, 100, 0.5));
    edit.act(MousePress{centreOf(edit.geometry().downButton)});
    ValueEffects fx = edit.act(TimerTick{200});
    EXPECT_EQ(edit.value(), 0.0);
    EXPECT_EQ(fx.events, (Events{Click, Change}));
    fx = edit.act(MouseRelease{});
    EXPECT_TRUE(fx.events.empty());
    EXPECT_EQ(fx.fieldText, "0"); // the text is shown again even without a change
}

TEST_F(ValueEditTest, PressElsewhereFocusesTheField)
{
    const ValueEffects fx = edit.act(MousePress{{5, 5}});
    EXPECT_TRUE(fx.focusEdit);
    EXPECT_EQ(fx.capture, CaptureChange::None);
    EXPECT_EQ(edit.press(), ValueEditPress::None);
}

TEST_F(ValueEditTest, Keys)
{
    edit.properties().step = 2.5;
    struct Case {
        ValueKey key;
        int repeat;
        double value;
    };
    const Case cases[] = {
        {ValueKey::Up, 1, 52.5},       {ValueKey::PageUp, 2, 55},  {ValueKey::Down, 1, 47.5},
        {ValueKey::PageDown, 4, 40},   {ValueKey::End, 1, 100},    {ValueKey::Home, 1, 0},
        {ValueKey::Up, 100, 100},
    };
    for (const Case& c : cases) {
        edit.refresh(reading(0, 100, 50));
        const ValueEffects fx = edit.act(KeyStroke{c.key, c.repeat});
        EXPECT_EQ(edit.value(), c.value) << int(c.key);
        EXPECT_EQ(fx.events, (Events{Click, Change}));
    }
    // Left and Right belong to the edit field's cursor.
    edit.refresh(reading(0, 100, 50));
    EXPECT_TRUE(edit.act(KeyStroke{ValueKey::Right}).events.empty());
    EXPECT_EQ(edit.value(), 50.0);
}

TEST_F(ValueEditTest, CommittedText)
{
    struct Case {
        const char* text;
        double value;
        std::optional<std::string> shown;
    };
    const Case cases[] = {
        {"75.5", 75.5, "75.5"},
        {"1000", 100, "100"}, // beyond the maximum shows the maximum
        {"-1", 0, "0"},
        {"abc", 50, std::nullopt}, // value and text stay as they are
        {"nan", 50, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        edit.refresh(reading(0, 100, 50));
        const ValueEffects fx = edit.act(CommitText{c.text});
        EXPECT_EQ(edit.value(), c.value);
        EXPECT_EQ(fx.fieldText, c.shown);
        EXPECT_TRUE(fx.events.empty());
    }
}

TEST_F(ValueEditTest, TypedTextIsMeantInTheShownUnit)
{
    edit.properties().unitFactor = 1000;
    edit.refresh(reading(0, 1, 0.0025));
    EXPECT_EQ(edit.text(), "2.5");
    const ValueEffects fx = edit.act(CommitText{"40"});
    EXPECT_DOUBLE_EQ(edit.value(), 0.04);
    EXPECT_EQ(fx.fieldText, "40");
}

TEST_F(ValueEditTest, ServerReads)
{
    // A value read from the server is shown and clamped, but never written back.
    ValueEffects fx = edit.refresh(reading(0, 10, 20));
    EXPECT_EQ(edit.value(), 10.0);
    EXPECT_EQ(fx.fieldText, "10");
    EXPECT_FALSE(fx.sentValue);
    EXPECT_TRUE(fx.events.empty());
    EXPECT_TRUE(fx.repaint);

    fx = edit.refresh(reading(0, 10, 10 + 1e-60));
    EXPECT_FALSE(fx.repaint);
    EXPECT_FALSE(fx.fieldText);

    fx = edit.refresh(reading(NAN, -INFINITY, NAN));
    EXPECT_EQ(edit.minimum(), 0.0);
    EXPECT_EQ(edit.maximum(), 10.0);
    EXPECT_EQ(edit.value(), 10.0);

    CommandReading failed;
    failed.failed = true;
    fx = edit.refresh(failed);
    EXPECT_FALSE(edit.enabled());
    EXPECT_TRUE(fx.repaint);
    EXPECT_TRUE(fx.relayout);
}

TEST_F(ValueEditTest, FocusLossEndsAPress)
{
    edit.act(MousePress{centreOf(edit.geometry().upButton)});
    const ValueEffects fx = edit.act(FocusLoss{});
    EXPECT_EQ(fx.timer.kind, TimerChange::Kind::Stop);
    EXPECT_EQ(fx.capture, CaptureChange::Release);
    EXPECT_TRUE(edit.act(TimerTick{200}).events.empty());
    EXPECT_EQ(edit.value(), 50.0);
}

} // namespace
