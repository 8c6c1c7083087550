#include "controls/values/number_text.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vyr::values;

namespace {

struct ReadCase {
    const char* name;
    const char* text;
    std::optional<double> expected;
};

TEST(NumberText, ReadsAsPercentLfWould)
{
    const ReadCase cases[] = {
        {"plain", "12.5", 12.5},
        {"leading blanks", "  \t7", 7.0},
        {"trailing junk ignored", "12abc", 12.0},
        {"negative", "-3.25", -3.25},
        {"explicit plus", "+4", 4.0},
        {"exponent", "2.5e3", 2500.0},
        {"dangling exponent", "1e", 1.0},
        {"leading point", ".5", 0.5},
        {"letters only", "abc", std::nullopt},
        {"empty", "", std::nullopt},
        {"sign alone", "-", std::nullopt},
        {"two signs", "--1", std::nullopt},
        {"point alone", ".", std::nullopt},
        {"nan refused", "nan", std::nullopt},
        {"out of range refused", "1e999", std::nullopt},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(readNumber(c.text), c.expected);
    }
    EXPECT_EQ(readNumber("inf"), INFINITY);
    EXPECT_EQ(readNumber("-inf"), -INFINITY);
}

TEST(NumberText, NumberTokens)
{
    struct Case {
        const char* name;
        const char* text;
        std::vector<double> expected;
    };
    const Case cases[] = {
        {"blank separated", "1 2 5 10", {1, 2, 5, 10}},
        {"minus separates", "-3", {3}},
        {"comma and letters separate", "1 2,5 x10", {1, 2, 5, 10}},
        {"unreadable runs dropped", "e . 4 ee", {4}},
        {"exponent kept in run", "1e3", {1000}},
        {"infinite runs dropped", "1e999 7", {7}},
        {"nothing", "  ", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(numberTokens(c.text), c.expected);
    }
}

TEST(NumberText, ShortFormatIsPercent6lg)
{
    EXPECT_EQ(formatShort(0.5), "0.5");
    EXPECT_EQ(formatShort(100), "100");
    EXPECT_EQ(formatShort(3.14159265), "3.14159");
    EXPECT_EQ(formatShort(1234567), "1.23457e+06");
    EXPECT_EQ(formatShort(1e-7), "1e-07");
    EXPECT_EQ(joinShort({1, 2.5, 10}), "1 2.5 10");
    EXPECT_EQ(joinShort({}), "");
}

TEST(NumberText, FixedFormatBoundsItsDecimals)
{
    EXPECT_EQ(formatFixed(2.5, 4), "2.5000");
    EXPECT_EQ(formatFixed(12, 0), "12");
    EXPECT_EQ(formatFixed(0.25, -1), "0.250000"); // printf's default for a negative count
    EXPECT_EQ(formatFixed(1, 1000000000L).size(), 2 + size_t(kMaxDecimals));
    EXPECT_EQ(formatFixed(-1.7976931348623157e308, 30).size(), 1 + 309 + 1 + 30);
    EXPECT_EQ(formatFixed(INFINITY, 4), "inf");
}

TEST(NumberText, StripsTrailingZerosOfDecimalsOnly)
{
    const std::pair<const char*, const char*> cases[] = {
        {"0.500000", "0.5"}, {"100.000000", "100"}, {"2.5000", "2.5"}, {"1,50", "1,5"},
        {"100", "100"},      {"0.000", "0"},        {"inf", "inf"},
    };
    for (auto [in, out] : cases)
        EXPECT_EQ(stripTrailingZeros(in), out) << in;
    EXPECT_EQ(formatButtonNumber(0.5), "0.5");
    EXPECT_EQ(formatButtonNumber(100), "100");
}

} // namespace
