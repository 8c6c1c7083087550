#include "controls/spectra/wavelengthcolor.h"
#include <gtest/gtest.h>
#include <cmath>
#include <limits>

using namespace vyr::spectra;

namespace {

struct Row {
    int nm;
    Rgb rgb;
};

const Row kGivenRows[] = {
    {172, {0, 0, 0}},     {173, {0, 0, 1}},     {250, {1, 0, 4}},     {300, {4, 0, 12}},
    {350, {12, 0, 33}},   {380, {23, 0, 60}},   {400, {34, 0, 90}},   {420, {51, 0, 136}},
    {440, {76, 0, 217}},  {450, {80, 0, 255}},  {460, {57, 0, 255}},  {470, {0, 65, 255}},
    {480, {0, 128, 255}}, {490, {0, 196, 255}}, {500, {0, 241, 222}}, {510, {0, 255, 176}},
    {520, {0, 255, 133}}, {530, {0, 255, 96}},  {540, {42, 255, 0}},  {550, {114, 255, 0}},
    {560, {161, 255, 0}}, {570, {209, 255, 0}}, {580, {245, 232, 0}}, {590, {255, 183, 0}},
    {600, {255, 128, 0}}, {610, {255, 68, 0}},  {620, {255, 0, 65}},  {640, {254, 0, 100}},
    {660, {210, 0, 90}},  {680, {169, 0, 74}},  {700, {132, 0, 58}},  {750, {72, 0, 32}},
    {800, {40, 0, 17}},   {900, {12, 0, 5}},    {1000, {3, 0, 1}},    {1113, {1, 0, 0}},
    {1114, {0, 0, 0}},
};

TEST(WavelengthColor, GivenRowsComeOutExactly)
{
    for (const Row& row : kGivenRows)
        EXPECT_EQ(wavelengthColor(row.nm), row.rgb) << row.nm << " nm";
}

TEST(WavelengthColor, BetweenRowsIsLinear)
{
    // Halfway between 450 (80,0,255) and 460 (57,0,255); halfway between 540 and 550 in red.
    EXPECT_EQ(wavelengthColor(455), (Rgb{69, 0, 255}));
    EXPECT_EQ(wavelengthColor(545), (Rgb{78, 255, 0}));
    // Every entry lies between its enclosing rows in each channel.
    for (size_t i = 0; i + 1 < std::size(kGivenRows); ++i) {
        const Row& a = kGivenRows[i];
        const Row& b = kGivenRows[i + 1];
        for (int nm = a.nm; nm <= b.nm; ++nm) {
            const Rgb c = wavelengthTable()[size_t(nm)];
            EXPECT_GE(c.r, std::min(a.rgb.r, b.rgb.r)) << nm;
            EXPECT_LE(c.r, std::max(a.rgb.r, b.rgb.r)) << nm;
            EXPECT_GE(c.b, std::min(a.rgb.b, b.rgb.b)) << nm;
            EXPECT_LE(c.b, std::max(a.rgb.b, b.rgb.b)) << nm;
        }
    }
}

TEST(WavelengthColor, FullTableIsBlackOutsideTheColouredRange)
{
    for (int nm = 0; nm < 173; ++nm)
        EXPECT_EQ(wavelengthTable()[size_t(nm)], (Rgb{0, 0, 0})) << nm;
    for (int nm = 1114; nm < kColorTableSize; ++nm)
        EXPECT_EQ(wavelengthTable()[size_t(nm)], (Rgb{0, 0, 0})) << nm;
}

TEST(WavelengthColor, LookupRoundsAndOnlyUses101To1199)
{
    EXPECT_EQ(wavelengthColor(454.6), wavelengthColor(455));
    EXPECT_EQ(wavelengthColor(455.49), wavelengthColor(455));
    EXPECT_EQ(wavelengthColor(455.5), wavelengthColor(456));
    const double outside[] = {100.49, 50, 0, -0.4, -500, 1199.5, 1200, 1e6, 1e300,
                              std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                              -std::numeric_limits<double>::infinity()};
    for (double nm : outside)
        EXPECT_EQ(wavelengthColor(nm), (Rgb{0, 0, 0})) << nm;
    EXPECT_EQ(wavelengthRgb(550), qRgb(114, 255, 0));
}

} // namespace
