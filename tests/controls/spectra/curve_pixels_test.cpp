// Curves are plotted once for the whole band (cut down to each pixel column's first, lowest,
// highest and last point) and drawn only where the window shows them. These tests hold that to
// the plain drawing: every point mapped and the whole polyline (or every pixel) drawn, pixel
// for pixel, on random data.
#include "controls/spectra/curveplot.h"
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <random>

using namespace vyr::spectra;

namespace {

QRgb asRgb(OLE_COLOR c) { return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

const CurveFrame kFrame{0, 1, 2000, 98};
constexpr double kLo = 300, kHi = 900;

// The band bitmap's coordinates are shifted by `origin` and clipped to `window`, as the
// display paints the curves through its visible window.
struct Window {
    int origin;
    QRect window;
};

QImage fast(const std::vector<Curve>& curves, const Window& w, CurveDrawMode mode)
{
    QImage image(400, 100, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    p.setClipRect(w.window);
    p.translate(w.origin, 0);
    drawCurves(p, curves, kFrame, kLo, kHi, mode, asRgb);
    return image;
}

QImage plain(const std::vector<Curve>& curves, const Window& w, CurveDrawMode mode)
{
    QImage image(400, 100, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    p.setClipRect(w.window);
    p.translate(w.origin, 0);
    for (const Curve& c : curves) {
        const CurveScaler scaler(kFrame, kLo, kHi, c.bounds);
        std::vector<QPoint> pts;
        for (const CurvePoint& pt : c.points)
            pts.push_back(scaler.map(pt));
        p.setPen(QPen(QColor(asRgb(c.color)), 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        if (mode == ePixel || pts.size() == 1)
            p.drawPoints(pts.data(), int(pts.size()));
        else
            p.drawPolyline(pts.data(), int(pts.size()));
    }
    return image;
}

// Wavelengths from `from` to `to` in `n` steps (ascending when from < to), values noisy.
Curve noisy(OLE_COLOR colour, double from, double to, int n, unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> value(0, 1);
    std::vector<CurvePoint> pts;
    for (int i = 0; i < n; ++i)
        pts.push_back({from + (to - from) * i / (n - 1), value(rng)});
    return Curve::make(colour, std::move(pts));
}

const std::vector<Window> kWindows = {
    {0, QRect(0, 0, 400, 100)},       // the axis' start
    {-700, QRect(0, 0, 400, 100)},    // the middle of the axis
    {-1650, QRect(0, 0, 400, 100)},   // past the axis' end
    {-900, QRect(37, 10, 211, 60)},   // a clip that is not the whole image
    {-950, QRect(50, 5, 200, 90)},    // a small scroll: kept plots still cover it
};

TEST(CurvePixels, DenseAscendingCurvesMatchThePlainDrawing)
{
    // From many points per pixel column down to fewer than one.
    const std::vector<Curve> curves = {noisy(0x0000FF, 300, 900, 50'000, 1), noisy(0x00FF00, 300, 900, 5'000, 2),
                                       noisy(0xFF0000, 300, 900, 1'500, 3), noisy(0xFFFF00, 450, 700, 20'000, 4)};
    for (const Window& w : kWindows) {
        EXPECT_EQ(fast(curves, w, ePolyline), plain(curves, w, ePolyline)) << "origin " << w.origin;
        EXPECT_EQ(fast(curves, w, ePixel), plain(curves, w, ePixel)) << "origin " << w.origin;
    }
}

TEST(CurvePixels, SmoothCurveWithLongVerticalRunsMatches)
{
    // Steep flanks: whole runs of points share a column and climb it.
    std::vector<CurvePoint> pts;
    for (int i = 0; i < 30'000; ++i) {
        const double x = 300 + 600.0 * i / 29'999;
        pts.push_back({x, std::exp(-std::pow((x - 640) / 0.8, 2)) + 0.5 * std::exp(-std::pow((x - 320) / 3, 2))});
    }
    const std::vector<Curve> curves = {Curve::make(0x00FFFF, std::move(pts))};
    for (const Window& w : kWindows)
        EXPECT_EQ(fast(curves, w, ePolyline), plain(curves, w, ePolyline)) << "origin " << w.origin;
}

TEST(CurvePixels, CurvesNotInWavelengthOrderAreDrawnWhole)
{
    Curve backwards = noisy(0xFF00FF, 900, 300, 4'000, 5);
    EXPECT_FALSE(backwards.ascending);
    std::vector<CurvePoint> zigzag;
    for (int i = 0; i < 3'000; ++i)
        zigzag.push_back({i % 2 ? 310.0 + i * 0.19 : 880.0 - i * 0.19, (i % 7) / 7.0});
    const std::vector<Curve> curves = {backwards, Curve::make(0x80FF80, zigzag)};
    EXPECT_FALSE(curves[1].ascending);
    for (const Window& w : kWindows)
        EXPECT_EQ(fast(curves, w, ePolyline), plain(curves, w, ePolyline)) << "origin " << w.origin;
}

TEST(CurvePixels, RepeatedWavelengthsAndFewPointsMatch)
{
    // Equal wavelengths keep the order ascending; a flat curve runs along the middle.
    const std::vector<Curve> curves = {
        Curve::make(0x0000FF, {{500, 0}, {500, 1}, {500, 0.3}, {640, 0.5}, {640, 0.9}}),
        Curve::make(0x00FF00, {{620, 0.2}, {660, 0.2}, {700, 0.2}}),
        Curve::make(0xFF0000, {{650, 1}}),
        Curve::make(0xFFFFFF, {{299, 0}, {301, 1}}),
    };
    EXPECT_TRUE(curves[0].ascending);
    for (const Window& w : kWindows) {
        EXPECT_EQ(fast(curves, w, ePolyline), plain(curves, w, ePolyline)) << "origin " << w.origin;
        EXPECT_EQ(fast(curves, w, ePixel), plain(curves, w, ePixel)) << "origin " << w.origin;
    }
}

// As the display draws: plotted once for the whole band bitmap (2001 columns), through a cache,
// then drawn through each window in turn.
TEST(CurvePixels, PlotsOfTheWholeBandMatchThePlainDrawingThroughEveryWindow)
{
    const std::vector<Curve> curves = {noisy(0x0000FF, 300, 900, 80'000, 6), noisy(0x00FF00, 250, 950, 3'000, 7),
                                       noisy(0xFF0000, 300, 900, 900, 8), noisy(0xFF00FF, 900, 300, 2'000, 9)};
    for (const CurveDrawMode mode : {ePolyline, ePixel}) {
        CurvePlotCache cache;
        const PlotGeometry geometry{kFrame, kLo, kHi, mode, 1};
        for (Window w : kWindows) {
            w.window &= QRect(w.origin, 0, kFrame.right + 1, 100); // the display never shows beyond the band
            QImage image(400, 100, QImage::Format_RGB32);
            image.fill(Qt::black);
            QPainter p(&image);
            p.setClipRect(w.window);
            p.translate(w.origin, 0);
            const ColumnRange shown{w.window.left() - w.origin, w.window.right() - w.origin};
            drawPlots(p, cache.plots(curves, geometry, shown, {0, kFrame.right}), 1, asRgb);
            p.end();
            EXPECT_EQ(image, plain(curves, w, mode)) << "origin " << w.origin << ", mode " << mode;
        }
    }
}

TEST(CurvePixels, DenseCurvesKeepAtMostFourPointsPerColumn)
{
    const std::vector<Curve> curves = {noisy(0x0000FF, 300, 900, 200'000, 10), noisy(0x00FF00, 100, 1100, 50'000, 11)};
    const std::vector<CurvePlot> plots = plotCurves(curves, PlotGeometry{kFrame, kLo, kHi, ePolyline, 1}, {0, 2000});
    ASSERT_EQ(plots.size(), 2u);
    for (const CurvePlot& plot : plots) {
        EXPECT_TRUE(plot.ascending);
        // The band's columns, plus one point on each side of it for the lines leaving it.
        EXPECT_LE(plot.points.size(), 4u * 2001 + 2);
        EXPECT_GT(plot.points.size(), 2u * 2001);
    }
}

TEST(CurvePixels, CacheFollowsGeometryAndData)
{
    const std::vector<Curve> a = {noisy(0x0000FF, 300, 900, 5'000, 12)};
    const std::vector<Curve> b = {noisy(0x0000FF, 300, 900, 5'000, 13)};
    auto pointsOf = [](const std::vector<CurvePlot>& plots) { return plots.at(0).points; };
    const PlotGeometry g1{kFrame, kLo, kHi, ePolyline, 1};
    const ColumnRange all{0, 2000};
    PlotGeometry g2 = g1;
    g2.lo = 400;
    CurvePlotCache cache;
    EXPECT_EQ(pointsOf(cache.plots(a, g1, all, all)), pointsOf(plotCurves(a, g1, all)));
    EXPECT_EQ(pointsOf(cache.plots(a, g2, all, all)), pointsOf(plotCurves(a, g2, all)));
    // The same geometry keeps the plots until the data are said to have changed.
    EXPECT_EQ(pointsOf(cache.plots(b, g2, all, all)), pointsOf(plotCurves(a, g2, all)));
    cache.clear();
    EXPECT_EQ(pointsOf(cache.plots(b, g2, all, all)), pointsOf(plotCurves(b, g2, all)));
    EXPECT_TRUE(sameCurves(a, a));
    EXPECT_FALSE(sameCurves(a, b));
    EXPECT_FALSE(sameCurves(a, {}));
}

} // namespace
