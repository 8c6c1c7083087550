#include "controls/spectra/spectrascroll.h"
#include <gtest/gtest.h>

using namespace vyr::spectra;

namespace {

// Default axis 1..100, width 10, over a 200-pixel area.
WavelengthMap mapAt(double centre, double width = 10)
{
    return WavelengthMap(SpectraAxis{1, 100, centre, width}, QSize(200, 30));
}

// Feeds inputs and keeps the centre as the control would.
struct Driver {
    SpectraScroller scroller;
    double centre = 50;
    ScrollEffect last;
    int writes = 0;
    ScrollEffect operator()(ScrollInput::Kind kind, int value = 0)
    {
        last = scroller.apply({kind, value}, mapAt(centre));
        if (last.moved)
            centre = last.centre;
        writes += last.writeCentre;
        return last;
    }
};

TEST(SpectraScroll, ArrowRepeatsAfter200ThenEvery50AndStepsOnceMoreOnRelease)
{
    Driver d;
    d.scroller.setStep(2);
    ScrollEffect e = d(ScrollInput::PressLeftArrow);
    EXPECT_EQ(d.scroller.state(), PressState::LeftButton);
    EXPECT_EQ(e.startTimer, 200);
    EXPECT_TRUE(e.capture);
    EXPECT_FALSE(e.moved); // pressing alone does not move

    e = d(ScrollInput::Timer, 200);
    EXPECT_EQ(e.stopTimer, 200);
    EXPECT_EQ(e.startTimer, 50);
    EXPECT_TRUE(e.moved);
    EXPECT_TRUE(e.writeCentre);
    EXPECT_EQ(d.centre, 48);

    e = d(ScrollInput::Timer, 50);
    EXPECT_EQ(e.startTimer, 0); // already repeating
    EXPECT_EQ(d.centre, 46);
    e = d(ScrollInput::Timer, 200); // a stale tick of the first timer does nothing
    EXPECT_FALSE(e.moved);

    e = d(ScrollInput::ReleaseArrow);
    EXPECT_EQ(e.stopTimer, 50);
    EXPECT_TRUE(e.releaseCapture);
    EXPECT_EQ(d.centre, 44);
    EXPECT_EQ(d.scroller.state(), PressState::None);
    EXPECT_EQ(d.writes, 3);
    e = d(ScrollInput::Timer, 50);
    EXPECT_FALSE(e.moved);

    d(ScrollInput::PressRightArrow);
    EXPECT_EQ(d.scroller.state(), PressState::RightButton);
    d(ScrollInput::ReleaseArrow); // a click is one step
    EXPECT_EQ(d.centre, 46);
}

TEST(SpectraScroll, KeysStepOrJumpToTheEnds)
{
    struct Case { ScrollKey key; double from; double to; };
    const Case cases[] = {
        {ScrollKey::PageUp, 50, 51}, {ScrollKey::Up, 50, 51},    {ScrollKey::Right, 50, 51},
        {ScrollKey::PageDown, 50, 49}, {ScrollKey::Left, 50, 49}, {ScrollKey::Down, 50, 49},
        {ScrollKey::Home, 50, 6},    {ScrollKey::End, 50, 95},
        {ScrollKey::Right, 94.5, 95}, // clamped to hi - w/2
    };
    for (const Case& c : cases) {
        Driver d;
        d.centre = c.from;
        const ScrollEffect e = d(ScrollInput::Key, int(c.key));
        EXPECT_EQ(d.centre, c.to) << int(c.key);
        EXPECT_TRUE(e.writeCentre);
    }
}

TEST(SpectraScroll, AtTheAxisMinimumScrollingLeftIsRefused)
{
    Driver d;
    d.centre = 6;
    const ScrollEffect key = d(ScrollInput::Key, int(ScrollKey::Left));
    EXPECT_FALSE(key.moved);
    EXPECT_FALSE(key.writeCentre);
    d(ScrollInput::PressLeftArrow);
    d(ScrollInput::Timer, 200);
    d(ScrollInput::ReleaseArrow);
    EXPECT_EQ(d.centre, 6);
    EXPECT_EQ(d.writes, 0);
    // A centre outside the range comes back inside on the first scroll.
    d.centre = 2;
    d(ScrollInput::Key, int(ScrollKey::Right));
    EXPECT_EQ(d.centre, 6);
}

TEST(SpectraScroll, DragFollowsThePointerAndWritesOnRelease)
{
    Driver d;
    EXPECT_TRUE(d(ScrollInput::PressBand, 100).capture);
    EXPECT_EQ(d.scroller.state(), PressState::Dragging);
    ScrollEffect e = d(ScrollInput::MoveBand, 80); // 20 px left: the window moves 1 nm right
    EXPECT_TRUE(e.moved);
    EXPECT_FALSE(e.writeCentre);
    EXPECT_DOUBLE_EQ(d.centre, 51);
    d(ScrollInput::MoveBand, 120);
    EXPECT_DOUBLE_EQ(d.centre, 49);
    e = d(ScrollInput::ReleaseBand);
    EXPECT_TRUE(e.writeCentre);
    EXPECT_TRUE(e.releaseCapture);
    EXPECT_EQ(d.writes, 1);
    e = d(ScrollInput::MoveBand, 0); // no longer dragging
    EXPECT_FALSE(e.moved);

    // A press and release without moving writes nothing.
    d(ScrollInput::PressBand, 10);
    EXPECT_FALSE(d(ScrollInput::ReleaseBand).writeCentre);
}

TEST(SpectraScroll, LosingFocusLetsGoAndKeepsTheServerInStep)
{
    Driver d;
    d(ScrollInput::PressRightArrow);
    ScrollEffect e = d(ScrollInput::LoseFocus);
    EXPECT_EQ(e.stopTimer, 200);
    EXPECT_TRUE(e.releaseCapture);
    EXPECT_EQ(d.scroller.state(), PressState::None);
    EXPECT_FALSE(d(ScrollInput::ReleaseArrow).moved); // the release after it is ignored

    d(ScrollInput::PressBand, 50);
    d(ScrollInput::MoveBand, 10);
    e = d(ScrollInput::LoseFocus);
    EXPECT_TRUE(e.writeCentre); // the dragged centre is not left unwritten
}

TEST(SpectraScroll, NothingScrollsWithoutButtonsOrWithoutAnAxis)
{
    Driver d;
    d.scroller.setWithButtons(false);
    EXPECT_EQ(d(ScrollInput::PressLeftArrow).startTimer, 0);
    d(ScrollInput::Key, int(ScrollKey::End));
    d(ScrollInput::PressBand, 10);
    d(ScrollInput::MoveBand, 0);
    EXPECT_EQ(d.centre, 50);

    SpectraScroller s;
    const WavelengthMap flat(SpectraAxis{50, 50, 50, 10}, QSize(200, 30));
    EXPECT_FALSE(s.apply({ScrollInput::Key, int(ScrollKey::End)}, flat).moved);
    s.apply({ScrollInput::PressBand, 0}, flat);
    EXPECT_FALSE(s.apply({ScrollInput::MoveBand, 100}, flat).moved);
    const WavelengthMap noWidth(SpectraAxis{1, 100, 50, 0}, QSize(200, 30));
    s.setStep(std::numeric_limits<double>::quiet_NaN());
    EXPECT_FALSE(s.apply({ScrollInput::Key, int(ScrollKey::Up)}, mapAt(50)).moved);
    EXPECT_FALSE(s.apply({ScrollInput::Key, int(ScrollKey::Home)}, noWidth).moved);
}

} // namespace
