#include "controls/frames/buttonrules.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace vyr::frames::test {
namespace {

// One character per button: 'S' visible and set, 's' hidden and set, 'v' visible not set,
// '-' hidden not set.
std::vector<ButtonState> states(const std::string& pattern)
{
    std::vector<ButtonState> out;
    for (char c : pattern)
        out.push_back({c == 'S' || c == 'v', true, c == 'S' || c == 's'});
    return out;
}

TEST(ButtonRules, NearestVisibleAndSetButton)
{
    const struct {
        const char* pattern;
        LONG current;
        LONG expected;
    } cases[] = {
        {"vSv", 1, 1},   // current is usable: stays
        {"SvS", 1, 2},   // distance 1: after before before
        {"Svvv", 2, 0},  // only before
        {"vvvS", 0, 3},  // only far after
        {"SvvvvS", 2, 0}, // distance 2 before wins over distance 3 after
        {"s-vSv", 0, 3}, // hidden but set does not count
        {"vvv", 1, 1},   // none: stays
        {"", 0, 0},
        {"vS", 5, 1},    // current beyond the buttons still finds one
    };
    for (const auto& c : cases)
        EXPECT_EQ(nearestVisibleSet(states(c.pattern), c.current), c.expected) << c.pattern << " from " << c.current;
}

TEST(ButtonRules, StoredCountAndRows)
{
    EXPECT_EQ(storedButtonCount(0), 1);
    EXPECT_EQ(storedButtonCount(-7), 1);
    EXPECT_EQ(storedButtonCount(4), 4);

    const struct {
        LONG rows, count, expected;
    } cases[] = {{0, 3, 1}, {-2, 3, 1}, {2, 3, 2}, {5, 3, 3}, {1, 0, 1}, {4, 0, 1}};
    for (const auto& c : cases)
        EXPECT_EQ(clampButtonRows(c.rows, c.count), c.expected) << c.rows << " of " << c.count;
}

TEST(ButtonRules, WhichButtonMayBecomeCurrent)
{
    const ButtonState enabled{true, true, false};
    const ButtonState disabled{true, false, false};
    EXPECT_EQ(checkButtonCurrent(1, 3, true, true, enabled), S_OK);
    EXPECT_EQ(checkButtonCurrent(-1, 3, true, false, enabled), E_FAIL);
    EXPECT_EQ(checkButtonCurrent(3, 3, true, false, enabled), E_FAIL);
    EXPECT_EQ(checkButtonCurrent(1, 3, false, false, enabled), E_FAIL);
    EXPECT_EQ(checkButtonCurrent(1, 3, true, true, disabled), E_FAIL);
    EXPECT_EQ(checkButtonCurrent(1, 3, true, false, disabled), S_OK); // design mode ignores the command
}

} // namespace
} // namespace vyr::frames::test
