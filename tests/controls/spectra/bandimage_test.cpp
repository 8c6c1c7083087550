#include "controls/spectra/bandimage.h"
#include "controls/spectra/wavelengthcolor.h"
#include <gtest/gtest.h>

using namespace vyr::spectra;

namespace {

const QRgb kBack = qRgb(0xF0, 0xF0, 0xF0);
const QRgb kLaser = qRgb(0xFF, 0xFF, 0xFF);

// Axis 400..700 nm over 3000 band columns: column i holds 400 + i / 10 nm.
WavelengthMap testMap(int height = 40)
{
    return WavelengthMap(SpectraAxis{400, 700, 550, 30}, QSize(301, height));
}

BandLook shown(CurveDisplayMode mode = eCurveInSpectra)
{
    BandLook look;
    look.showSpectra = true;
    look.displayMode = mode;
    look.backColor = kBack;
    look.laserLineColor = kLaser;
    return look;
}

TEST(BandImage, ColumnsCarryTheColourOfTheirWavelength)
{
    const WavelengthMap map = testMap();
    ASSERT_EQ(map.bandColumns(), 3000);
    const QImage band = renderBand(map, shown(), {});
    ASSERT_EQ(band.size(), QSize(3001, 40));
    struct Case { int column; double nm; };
    for (const Case c : {Case{0, 400}, Case{500, 450}, Case{1000, 500}, Case{1500, 550}, Case{2100, 610},
                         Case{2999, 699.9}}) {
        EXPECT_EQ(band.pixel(c.column, 0), wavelengthRgb(c.nm)) << c.column;
        EXPECT_EQ(band.pixel(c.column, 39), wavelengthRgb(c.nm)) << c.column;
    }
    // The spare column beyond the axis stays in the background colour.
    EXPECT_EQ(band.pixel(3000, 20), kBack);
}

TEST(BandImage, BandRowsFollowTheDisplayMode)
{
    const WavelengthMap map = testMap();
    const QRgb green = wavelengthRgb(550);
    struct Case { CurveDisplayMode mode; int rainbow; int firstBandRow; int lastBandRow; };
    const Case cases[] = {
        {eCurveInSpectra, 10, 0, 39},
        {eCurveAboveSpectra, 10, 30, 39},
        {eCurveBelowSpectra, 10, 0, 9},
        {eCurveAboveSpectra, 0, 0, 39},   // no rainbow height: whole height
        {eCurveBelowSpectra, -3, 0, 39},
        {eCurveBelowSpectra, 500, 0, 39}, // taller than the bitmap
    };
    for (const Case& c : cases) {
        BandLook look = shown(c.mode);
        look.rainbowHeight = c.rainbow;
        const QImage band = renderBand(map, look, {});
        for (int y = 0; y < 40; ++y) {
            const bool inBand = y >= c.firstBandRow && y <= c.lastBandRow;
            EXPECT_EQ(band.pixel(1500, y), inBand ? green : kBack) << "mode " << c.mode << " row " << y;
        }
    }
}

TEST(BandImage, LaserLinesInTheirColourAtTheirColumn)
{
    const WavelengthMap map = testMap();
    const QImage band = renderBand(map, shown(eCurveAboveSpectra), {488.0, 561.04, 350.0, 750.0, 700.0});
    EXPECT_EQ(band.pixel(880, 35), kLaser);  // (488 - 400) * 10
    EXPECT_EQ(band.pixel(1610, 30), kLaser); // 1610.4 rounds down
    EXPECT_EQ(band.pixel(1611, 30), wavelengthRgb(561.1));
    EXPECT_EQ(band.pixel(3000, 39), kLaser); // the axis maximum lands on the spare column
    EXPECT_EQ(band.pixel(880, 10), kBack);   // only across the band rows
    EXPECT_EQ(band.pixel(879, 35), wavelengthRgb(487.9));

    BandLook off = shown();
    off.showLaserLines = false;
    EXPECT_EQ(renderBand(map, off, {488.0}).pixel(880, 5), wavelengthRgb(488));
}

TEST(BandImage, HiddenColoursShowTheLaserLinesOverTheWholeHeight)
{
    for (CurveDisplayMode mode : {eCurveAboveSpectra, eCurveBelowSpectra, eCurveInSpectra}) {
        BandLook look = shown(mode);
        look.showSpectra = false;
        const QImage band = renderBand(testMap(), look, {488.0});
        for (int y : {0, 10, 20, 35, 39}) {
            EXPECT_EQ(band.pixel(880, y), kLaser) << "mode " << mode << " row " << y;
            EXPECT_EQ(band.pixel(1500, y), kBack) << "mode " << mode << " row " << y;
        }
        look.showLaserLines = false;
        EXPECT_EQ(renderBand(testMap(), look, {488.0}).pixel(880, 35), kBack);
    }
}

TEST(BandImage, OutsideTheColouredRangeIsBlack)
{
    const WavelengthMap map(SpectraAxis{50, 1250, 600, 120}, QSize(101, 4));
    const QImage band = renderBand(map, shown(), {});
    ASSERT_EQ(map.bandColumns(), 1000);
    EXPECT_EQ(band.pixel(0, 0), qRgb(0, 0, 0));   // 50 nm
    EXPECT_EQ(band.pixel(40, 0), qRgb(0, 0, 0));  // 98 nm
    EXPECT_EQ(band.pixel(999, 0), qRgb(0, 0, 0)); // 1248.8 nm
    EXPECT_EQ(band.pixel(417, 0), wavelengthRgb(550.4));
}

TEST(BandImage, NoBandWithoutAValidAxis)
{
    EXPECT_TRUE(renderBand(WavelengthMap(SpectraAxis{5, 5, 5, 10}, QSize(100, 10)), shown(), {5.0}).isNull());
    EXPECT_TRUE(renderBand(WavelengthMap(SpectraAxis{1, 100, 50, 0}, QSize(100, 10)), shown(), {}).isNull());
    EXPECT_TRUE(renderBand(WavelengthMap(SpectraAxis{}, QSize(100, 0)), shown(), {}).isNull());
}

} // namespace
