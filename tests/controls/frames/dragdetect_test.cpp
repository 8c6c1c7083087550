#include "controls/frames/dragdetect.h"
#include <gtest/gtest.h>
#include <vector>

namespace vyr::frames::test {
namespace {

using Input = DragDetector::Input;
using State = DragDetector::State;

struct Step {
    Input input;
    LONG x, y;
    int64_t ms;
};

struct DragCase {
    const char* name;
    std::vector<Step> steps;
    State expected;
};

class DragDetection : public testing::TestWithParam<DragCase> {};

// Pressed at (100, 100) at time 1000 with the default settings (2 pixels, 200 ms).
TEST_P(DragDetection, Outcome)
{
    DragDetector d(DragSettings{}, 100, 100, 1000);
    for (const Step& s : GetParam().steps)
        d.feed(s.input, s.x, s.y, s.ms);
    EXPECT_EQ(d.state(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Scenarios, DragDetection,
    testing::Values(
        DragCase{"JitterThenRelease", {{Input::Move, 102, 98, 1050}, {Input::LeftOrRightButton, 102, 98, 1100}}, State::Cancelled},
        DragCase{"LeavingTheSquare", {{Input::Move, 103, 100, 1010}}, State::Started},
        DragCase{"LeavingUpwards", {{Input::Move, 100, 97, 1010}}, State::Started},
        DragCase{"HeldStillPastTheDelay", {{Input::Tick, 100, 100, 1150}, {Input::Tick, 100, 100, 1201}}, State::Started},
        DragCase{"ExactlyTheDelayIsNotEnough", {{Input::Tick, 100, 100, 1200}}, State::Waiting},
        DragCase{"ReleaseAfterTheDelayCancels", {{Input::LeftOrRightButton, 100, 100, 1300}}, State::Cancelled},
        DragCase{"Escape", {{Input::Escape, 100, 100, 1010}, {Input::Move, 150, 150, 1020}}, State::Cancelled},
        DragCase{"KeyAwayFromThePress", {{Input::Key, 110, 100, 1010}}, State::Started},
        DragCase{"MiddleButtonInside", {{Input::OtherButton, 101, 101, 1010}}, State::Waiting},
        DragCase{"CaptureLost", {{Input::CaptureLost, 100, 100, 1010}, {Input::Tick, 100, 100, 2000}}, State::Cancelled},
        DragCase{"StartedStaysStarted", {{Input::Move, 120, 100, 1010}, {Input::Escape, 120, 100, 1020}}, State::Started}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DragDetection, SettingsFromTheProfile)
{
    DragDetector wide(DragSettings{10, 50}, 0, 0, 0);
    EXPECT_EQ(wide.feed(Input::Move, 10, -10, 20), State::Waiting);
    EXPECT_EQ(wide.feed(Input::Tick, 0, 0, 51), State::Started);
    EXPECT_EQ(wide.deadlineMs(), 51);

    DragDetector negative(DragSettings{-3, -5}, 0, 0, 0);
    EXPECT_EQ(negative.feed(Input::Move, 1, 0, 0), State::Started);
}

} // namespace
} // namespace vyr::frames::test
