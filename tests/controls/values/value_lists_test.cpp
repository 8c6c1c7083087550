#include "controls/values/unit_list.h"
#include "controls/values/value_buttons.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vyr::values;

namespace {

using Kind = ValueButton::Kind;

TEST(ValueButtons, MinAndMaxInAnyCaseBetweenNumbers)
{
    struct Case {
        const char* text;
        std::vector<ValueButton> buttons;
        const char* rewritten;
    };
    const Case cases[] = {
        {"min 0.5 Max", {{Kind::Minimum, 0}, {Kind::Number, 0.5}, {Kind::Maximum, 0}}, "Min 0.5 Max"},
        {"MAX,1e2;mIn", {{Kind::Maximum, 0}, {Kind::Number, 100}, {Kind::Minimum, 0}}, "Max 100 Min"},
        {"5Max", {{Kind::Number, 5}, {Kind::Maximum, 0}}, "5 Max"},
        {"mi 3 xx", {{Kind::Number, 3}}, "3"},
        {"", {}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const auto parsed = parseValueButtons(c.text, RangeButtons::Allowed);
        EXPECT_EQ(parsed, c.buttons);
        EXPECT_EQ(valueButtonsText(parsed), c.rewritten);
        // The rewritten text parses back to the same buttons.
        EXPECT_EQ(parseValueButtons(valueButtonsText(parsed), RangeButtons::Allowed), parsed);
    }
}

TEST(ValueButtons, NumbersOnlyIgnoresMinMax)
{
    const auto parsed = parseValueButtons("1 2,5 x10 Min Max", RangeButtons::NumbersOnly);
    EXPECT_EQ(valueButtonsText(parsed), "1 2 5 10");
}

TEST(ValueButtons, LabelsAndTargets)
{
    const ValueButton half{Kind::Number, 0.5};
    EXPECT_EQ(valueButtonLabel(half, 1.0), "0.5");
    EXPECT_EQ(valueButtonLabel(half, 1000.0), "500");
    EXPECT_EQ(valueButtonLabel({Kind::Minimum, 0}, 1000.0), "Min");
    EXPECT_EQ(valueButtonLabel({Kind::Maximum, 0}, 1000.0), "Max");
    EXPECT_EQ(valueButtonTarget(half, 0, 10), 0.5);
    EXPECT_EQ(valueButtonTarget({Kind::Minimum, 0}, -2, 10), -2);
    EXPECT_EQ(valueButtonTarget({Kind::Maximum, 0}, -2, 10), 10);
}

TEST(Units, EntriesPairNamesAndFactorsUpToTheLongerList)
{
    struct Case {
        const char* names;
        const char* factors;
        std::vector<Unit> units;
        const char* namesText;
        const char* factorsText;
    };
    const Case cases[] = {
        {"mm um nm", "1 1000 1e6", {{"mm", 1}, {"um", 1000}, {"nm", 1e6}}, "mm um nm", "1 1000 1e+06"},
        {"s ms", "", {{"s", 1}, {"ms", 1}}, "s ms", "1 1"},
        {"", "2 4", {{"", 2}, {"", 4}}, " ", "2 4"},
        {"V, mV;", "1 1000 7", {{"V", 1}, {"mV", 1000}, {"", 7}}, "V mV ", "1 1000 7"},
        {"µm nm", "1 1000", {{"µm", 1}, {"nm", 1000}}, "µm nm", "1 1000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.names);
        const auto units = parseUnits(c.names, c.factors);
        EXPECT_EQ(units, c.units);
        EXPECT_EQ(unitNamesText(units), c.namesText);
        EXPECT_EQ(unitFactorsText(units), c.factorsText);
    }
}

TEST(Units, AutomaticUnitShowsTheSmallestNumberNotBelowOne)
{
    const auto units = parseUnits("mm um nm", "1 1000 1000000");
    EXPECT_EQ(automaticUnit(units, 0.0025), 1u);  // 2.5 um
    EXPECT_EQ(automaticUnit(units, 3.0), 0u);     // 3 mm
    EXPECT_EQ(automaticUnit(units, 2e-8), 2u);    // 0.02 nm: nothing reaches 1, largest wins
    EXPECT_EQ(automaticUnit(units, -0.5), 1u);    // magnitude counts
    EXPECT_EQ(automaticUnit(units, 0.0), 0u);
    EXPECT_EQ(automaticUnit(units, NAN), 0u);
    EXPECT_EQ(automaticUnit({}, 5.0), 0u);
}

} // namespace
