#include "controls/values/value_scale.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vyr::values;

namespace {

struct RatioCase {
    const char* name;
    SliderMode mode;
    double min, max;
    std::vector<double> discrete;
    double value;
    double ratio;
};

TEST(ValueScale, RatioOfValue)
{
    const RatioCase cases[] = {
        {"linear start", SliderMode::Normal, 0, 100, {}, 0, 0.0},
        {"linear end", SliderMode::Normal, 0, 100, {}, 100, 1.0},
        {"linear quarter", SliderMode::Normal, -50, 50, {}, -25, 0.25},
        {"equal ends sit in the middle", SliderMode::Normal, 5, 5, {}, 5, 0.5},
        {"equal ends win over a list", SliderMode::Normal, 5, 5, {1, 2}, 2, 0.5},
        {"equal ends in log mode", SliderMode::Logarithmic, 5, 5, {}, 9, 0.5},
        {"one discrete value", SliderMode::Normal, 0, 10, {7}, 7, 0.0},
        {"list index", SliderMode::Normal, 0, 10, {1, 2, 5, 10}, 5, 2.0 / 3},
        {"list nearest", SliderMode::List, 0, 10, {1, 2, 5, 10}, 6.9, 2.0 / 3},
        {"list tie goes to first", SliderMode::List, 0, 10, {1, 2, 5, 10}, 1.5, 0.0},
        {"log end", SliderMode::Logarithmic, 0, 999, {}, 999, 1.0},
        {"log mid", SliderMode::Logarithmic, 0, 999, {}, std::sqrt(1000.0) - 1, 0.5},
        {"log reversed range is linear", SliderMode::Logarithmic, 10, 0, {}, 7.5, 0.25},
        {"value beyond max pins", SliderMode::Normal, 0, 10, {}, 15, 1.0},
        {"value below min pins", SliderMode::Normal, 0, 10, {}, -5, 0.0},
        {"log far below min", SliderMode::Logarithmic, 0, 10, {}, -5, 0.0},
        {"NaN value", SliderMode::Normal, 0, 10, {}, NAN, 0.0},
        {"NaN value in log", SliderMode::Logarithmic, 0, 10, {}, NAN, 0.0},
        {"NaN in a list", SliderMode::List, 0, 10, {1, 2}, NAN, 0.0},
        {"+inf value", SliderMode::Normal, 0, 10, {}, INFINITY, 1.0},
        {"-inf value", SliderMode::Normal, 0, 10, {}, -INFINITY, 0.0},
        {"+inf in a list", SliderMode::List, 0, 10, {1, 2, 3}, INFINITY, 1.0},
        {"infinite range", SliderMode::Normal, -INFINITY, INFINITY, {}, 0, 0.0},
        {"NaN range", SliderMode::Normal, NAN, NAN, {}, 0, 0.5},
    };
    for (const RatioCase& c : cases) {
        SCOPED_TRACE(c.name);
        const ValueScale s(c.mode, c.min, c.max, c.discrete);
        const double r = s.ratio(c.value);
        EXPECT_TRUE(std::isfinite(r));
        EXPECT_NEAR(r, c.ratio, 1e-12);
    }
}

TEST(ValueScale, LogarithmicMiddleOfTrack)
{
    const ValueScale s(SliderMode::Logarithmic, 0, 999, {});
    // No grid: the raw mapped value.
    EXPECT_NEAR(s.valueAtOffset(50, 100, 0.0), 30.62, 0.01);
    // With a step of 1 the dragged value lands on the grid.
    EXPECT_EQ(s.valueAtOffset(50, 100, 1.0), 31.0);
    EXPECT_EQ(s.valueAtOffset(0, 100, 1.0), 0.0);
    EXPECT_EQ(s.valueAtOffset(100, 100, 1.0), 999.0);
}

TEST(ValueScale, DraggedValue)
{
    struct Case {
        const char* name;
        SliderMode mode;
        double min, max;
        std::vector<double> discrete;
        double offset, length, grid;
        double value;
    };
    const Case cases[] = {
        {"linear on grid", SliderMode::Normal, 0, 100, {}, 33, 100, 5, 35},
        {"grid is anchored at zero", SliderMode::Normal, 1, 100, {}, 0, 99, 5, 1}, // 0 clamps to 1
        {"grid rounds half up", SliderMode::Normal, 0, 10, {}, 25, 100, 1, 3},
        {"tiny grid is no grid", SliderMode::Normal, 0, 10, {}, 33, 100, 1e-60, 3.3},
        {"before the slot clamps", SliderMode::Normal, 0, 10, {}, -40, 100, 1, 0},
        {"after the slot clamps", SliderMode::Normal, 0, 10, {}, 400, 100, 1, 10},
        {"zero-length slot", SliderMode::Normal, 0, 10, {}, 0, 0, 1, 0},
        {"negative-length slot", SliderMode::Normal, 0, 10, {}, 1, -5, 1, 10},
        {"list snaps to first", SliderMode::Normal, 0, 10, {1, 2, 5, 10}, 16, 100, 1, 1},
        {"list snaps to second", SliderMode::Normal, 0, 10, {1, 2, 5, 10}, 17, 100, 1, 2},
        {"list snaps to third", SliderMode::Normal, 0, 10, {1, 2, 5, 10}, 60, 100, 1, 5},
        {"list far beyond", SliderMode::Normal, 0, 10, {1, 2, 5, 10}, 1e9, 100, 1, 10},
        {"list far before", SliderMode::Normal, 0, 10, {1, 2, 5, 10}, -1e9, 100, 1, 1},
        {"list is not put on the grid", SliderMode::List, 0, 10, {0.3, 0.7}, 100, 100, 1, 0.7},
        {"list entry outside range clamps", SliderMode::Normal, 0, 10, {1, 20}, 100, 100, 1, 10},
        {"one discrete value", SliderMode::Normal, 0, 10, {4}, 90, 100, 1, 4},
        {"equal ends", SliderMode::Normal, 3, 3, {}, 50, 100, 1, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ValueScale s(c.mode, c.min, c.max, c.discrete);
        EXPECT_NEAR(s.valueAtOffset(c.offset, c.length, c.grid), c.value, 1e-9);
    }
}

TEST(ValueScale, ListSpacingIsEvenAlongTheTrack)
{
    const ValueScale s(SliderMode::Normal, 0, 10, {1, 2, 5, 10});
    for (int k = 0; k < 4; ++k)
        EXPECT_NEAR(s.ratio(s.valueAtOffset(k * 100.0, 300, 1)), k / 3.0, 1e-12) << k;
}

TEST(ValueScale, StepsMoveListIndexByRoundedStep)
{
    const ValueScale s(SliderMode::List, 0, 100, {0, 10, 20, 30, 40, 50});
    struct Case {
        double step, count, from, to;
    };
    const Case cases[] = {
        {0.5, 1, 20, 30},   // half rounds away from zero
        {-0.5, 1, 20, 10},  // on both sides
        {0.49, 1, 20, 20},  // below half stays
        {1.5, 1, 0, 20},
        {2.5, 1, 0, 30},
        {1, 3, 10, 40},     // repeat count
        {1, -2, 20, 0},
        {1, 100, 20, 50},   // clamped at the last index
        {1, -1e300, 20, 0}, // and the first, without overflow
        {INFINITY, 1, 20, 50},
        {NAN, 1, 20, 20},
        {1, 1, 24, 30},     // from the nearest entry
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "step " << c.step << " x" << c.count << " from " << c.from);
        EXPECT_EQ(s.stepped(c.from, c.step, c.count), c.to);
    }
}

TEST(ValueScale, StepsMoveContinuousValueAndClamp)
{
    const ValueScale lin(SliderMode::Normal, 0, 10, {});
    EXPECT_EQ(lin.stepped(5, 1, 1), 6);
    EXPECT_EQ(lin.stepped(5, 0.25, -4), 4);
    EXPECT_EQ(lin.stepped(9.5, 1, 1), 10);
    EXPECT_EQ(lin.stepped(0.5, 1, -1), 0);
    EXPECT_EQ(lin.stepped(5, INFINITY, 1), 10);
    EXPECT_EQ(lin.stepped(5, NAN, 1), 5);
    // Logarithmic sliders step by value, not by position.
    const ValueScale log(SliderMode::Logarithmic, 0, 999, {});
    EXPECT_EQ(log.stepped(30, 1, 1), 31);
    EXPECT_EQ(log.first(), 0);
    EXPECT_EQ(log.last(), 999);
    const ValueScale list(SliderMode::List, 0, 100, {3, 7, 9});
    EXPECT_EQ(list.first(), 3);
    EXPECT_EQ(list.last(), 9);
}

TEST(ValueScale, ClampAtBothEnds)
{
    struct Case {
        double min, max, in, out;
    };
    const Case cases[] = {
        {0, 10, 5, 5}, {0, 10, 10, 10}, {0, 10, 11, 10}, {0, 10, 0, 0}, {0, 10, -1, 0},
        {0, 10, INFINITY, 10}, {0, 10, -INFINITY, 0}, {0, 10, NAN, 0},
        {10, 0, 5, 0}, // a reversed range: the maximum test comes first
    };
    for (const Case& c : cases)
        EXPECT_EQ(clampToRange(c.in, c.min, c.max), c.out) << c.in << " in " << c.min << ".." << c.max;
}

TEST(ValueScale, SnapToGrid)
{
    EXPECT_EQ(snapToGrid(7.4, 0.5), 7.5);
    EXPECT_EQ(snapToGrid(-7.3, 0.5), -7.5);
    EXPECT_EQ(snapToGrid(-7.25, 0.5), -7.0); // half rounds up
    EXPECT_EQ(snapToGrid(7.4, -0.5), 7.5);   // a negative step's magnitude counts
    EXPECT_EQ(snapToGrid(7.4, 0), 7.4);
    EXPECT_EQ(snapToGrid(7.4, INFINITY), 7.4);
    EXPECT_EQ(snapToGrid(7.4, NAN), 7.4);
    EXPECT_EQ(snapToGrid(1e308, 1e-308), 1e308); // the quotient overflows: keep the value
}

} // namespace
