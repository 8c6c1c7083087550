#include "controls/spectra/spectralayout.h"
#include "controls/spectra/wavelengthmap.h"
#include "fakemetrics.h"
#include <gtest/gtest.h>
#include <cmath>
#include <limits>

using namespace vyr::spectra;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(SpectraLayout, PartsFollowFromClientAndFont)
{
    const SpectraLayout l = layoutSpectra(QRect(0, 0, 400, 100), true, test::fakeMeasure());
    EXPECT_EQ(l.inner, QRect(2, 2, 396, 96));
    EXPECT_EQ(l.header, 10 + 24 + 13); // "0" high, "0000" long, plus 13
    EXPECT_EQ(l.area, QRect(16, 49, 368, 49));
    EXPECT_EQ(l.leftButton, QRect(2, 49, 20, 49));
    EXPECT_EQ(l.rightButton, QRect(378, 49, 20, 49));
    EXPECT_EQ(l.band, QRect(22, 49, 356, 49));
    EXPECT_EQ(l.bandInset(), 6);
    EXPECT_EQ(l.scale, QRect(16, 0, 368, 49));
    EXPECT_EQ(l.laserStrip, QRect(16, 0, 368, 49 - 19));

    const SpectraLayout bare = layoutSpectra(QRect(0, 0, 400, 100), false, test::fakeMeasure());
    EXPECT_EQ(bare.band, bare.area);
    EXPECT_TRUE(bare.leftButton.isEmpty());
    EXPECT_EQ(bare.bandInset(), 0);
}

TEST(SpectraLayout, TinyClientKeepsTheMinimumInnerSizeAndNoNegativeSizes)
{
    for (const QRect client : {QRect(0, 0, 0, 0), QRect(0, 0, 10, 10), QRect(5, 5, -20, -3)}) {
        const SpectraLayout l = layoutSpectra(client, true, test::fakeMeasure());
        EXPECT_EQ(l.inner.width(), 30);
        EXPECT_EQ(l.inner.height(), 14);
        EXPECT_GE(l.area.height(), 0);
        EXPECT_GE(l.band.width(), 0);
        EXPECT_GE(l.laserStrip.height(), 0);
    }
}

TEST(WavelengthMap, DefaultWindowShows45To55OnABandAboutTenTimesWider)
{
    const WavelengthMap map(SpectraAxis{}, QSize(368, 47));
    ASSERT_TRUE(map.valid());
    EXPECT_EQ(map.windowStart(), 45.0);
    EXPECT_EQ(map.windowEnd(), 55.0);
    EXPECT_EQ(map.scaleX(45), 0);
    EXPECT_EQ(map.scaleX(55), 367);
    EXPECT_EQ(map.bandColumns(), 3633); // trunc(99 * 367 / 10 + 0.5)
    EXPECT_NEAR(double(map.bandColumns()) / 368, 9.9, 0.1);
    EXPECT_EQ(map.bandImageSize(), QSize(3634, 47));
    // The band column shown at the area's left edge holds 45 nm.
    EXPECT_NEAR(map.columnWavelength(map.bandOffset()), 45.0, 99.0 / 3633);
    EXPECT_EQ(map.bandColumn(100), 3633);
}

TEST(WavelengthMap, BandIsAtLeastAsWideAsTheArea)
{
    const WavelengthMap map(SpectraAxis{1, 100, 50, 500}, QSize(300, 20));
    EXPECT_EQ(map.bandColumns(), 300);
}

TEST(WavelengthMap, CentreIsClampedAtBothAxisEnds)
{
    const WavelengthMap map(SpectraAxis{}, QSize(368, 47));
    EXPECT_EQ(map.clampCentre(0), 6.0);
    EXPECT_EQ(map.clampCentre(6.0), 6.0);
    EXPECT_EQ(map.clampCentre(1000), 95.0);
    EXPECT_EQ(map.clampCentre(70), 70.0);
    EXPECT_EQ(map.clampCentre(kNaN), 6.0);
    // A window wider than the axis sits in its middle.
    EXPECT_EQ(WavelengthMap(SpectraAxis{1, 100, 10, 500}, QSize(300, 20)).clampCentre(10), 50.5);
}

TEST(WavelengthMap, DegenerateAxesHaveNoBand)
{
    const SpectraAxis axes[] = {
        {50, 50, 50, 10},   // equal ends
        {100, 1, 50, 10},   // reversed
        {1, 100, 50, 0},    // window width 0
        {1, 100, 50, -5},   // negative width
        {kNaN, 100, 50, 10}, {1, kNaN, 50, 10}, {1, 100, 50, kNaN},
        {-1e308, 1e308, 0, 10}, // span not representable
    };
    for (const SpectraAxis& a : axes) {
        const WavelengthMap map(a, QSize(368, 47));
        EXPECT_FALSE(map.valid()) << a.lo << ".." << a.hi << " w " << a.width;
        EXPECT_TRUE(map.bandImageSize().isEmpty());
        EXPECT_EQ(map.scaleX(50), 0);
        EXPECT_EQ(map.bandOffset(), 0);
        EXPECT_TRUE(std::isfinite(map.clampCentre(60)));
    }
    EXPECT_FALSE(WavelengthMap(SpectraAxis{}, QSize(0, 47)).valid());
}

TEST(WavelengthMap, NaNCentreStartsAtTheAxisMinimum)
{
    const WavelengthMap map(SpectraAxis{1, 100, kNaN, 10}, QSize(368, 47));
    ASSERT_TRUE(map.valid());
    EXPECT_EQ(map.centre(), 6.0);
}

TEST(WavelengthMap, TinyWindowIsWidenedToTheLargestBandThatMayBeBuilt)
{
    const WavelengthMap map(SpectraAxis{1, 1200, 600, 1e-9}, QSize(1280, 100));
    ASSERT_TRUE(map.valid());
    const QSize size = map.bandImageSize();
    EXPECT_LE((long long)size.width() * size.height(), kMaxBandPixels);
    EXPECT_GT(map.width(), 1e-9);
    // Band and scale still agree: the window's left edge is at the left of the area.
    EXPECT_NEAR(map.columnWavelength(map.bandOffset()), map.windowStart(), 2 * 1199.0 / map.bandColumns());
}

} // namespace
