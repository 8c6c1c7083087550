#include "controls/spectra/curveplot.h"
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <cmath>
#include <limits>

using namespace vyr::spectra;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
const QRgb kBack = qRgb(0, 0, 0);

QRgb asRgb(OLE_COLOR c) { return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

TEST(Curve, KeepsOnlyNumbersAndKnowsItsBounds)
{
    const Curve c = Curve::make(0xFF, {{400, 0.5}, {kNaN, 1}, {450, kNaN}, {500, 2}, {420, -1},
                                       {std::numeric_limits<double>::infinity(), 0}});
    ASSERT_EQ(c.points.size(), 3u);
    EXPECT_EQ(c.bounds.xMin, 400);
    EXPECT_EQ(c.bounds.xMax, 500);
    EXPECT_EQ(c.bounds.yMin, -1);
    EXPECT_EQ(c.bounds.yMax, 2);
}

TEST(Curve, FrameFollowsTheDisplayMode)
{
    BandLook look;
    look.showSpectra = true;
    look.rainbowHeight = 10;
    struct Case { CurveDisplayMode mode; bool shown; int top; int bottom; };
    for (const Case c : {Case{eCurveInSpectra, true, 1, 38}, Case{eCurveAboveSpectra, true, 1, 28},
                         Case{eCurveBelowSpectra, true, 11, 38}, Case{eCurveAboveSpectra, false, 1, 38}}) {
        look.displayMode = c.mode;
        look.showSpectra = c.shown;
        const CurveFrame f = curveFrame(look, 500, 40);
        EXPECT_EQ(f.left, 0);
        EXPECT_EQ(f.right, 500);
        EXPECT_EQ(f.top, c.top) << c.mode;
        EXPECT_EQ(f.bottom, c.bottom) << c.mode;
    }
    look.showSpectra = true;
    look.displayMode = eCurveAboveSpectra;
    look.rainbowHeight = 0; // the band takes the whole height: no room above it
    EXPECT_TRUE(curveFrame(look, 500, 40).empty());
}

TEST(Curve, ScalesAxisAndOwnValueRangeOntoTheFrame)
{
    const CurveFrame f{0, 1, 1000, 38};
    const CurveScaler s(f, 400, 500, CurveBounds{400, 500, 0, 2});
    EXPECT_EQ(s.map({400, 0}), QPoint(0, 38));
    EXPECT_EQ(s.map({500, 2}), QPoint(1000, 1));
    EXPECT_EQ(s.map({450, 1}), QPoint(500, 20)); // trunc(38 - 18.5 + 0.5)
    EXPECT_EQ(s.map({450.04, 0}), QPoint(500, 38));
    EXPECT_EQ(s.map({450.05, 0}), QPoint(501, 38));
    // Far outside the axis the pixels saturate instead of overflowing.
    const QPoint far = s.map({1e300, -1e300});
    EXPECT_GT(far.x(), 1000);
    EXPECT_GT(far.y(), 38);
}

TEST(Curve, EqualValueBoundsRunAlongTheMiddle)
{
    const Curve c = Curve::make(0, {{400, 3}, {500, 3}});
    const CurveScaler s(CurveFrame{0, 1, 100, 39}, 400, 500, c.bounds);
    EXPECT_EQ(s.map({400, 3}).y(), 20);
    EXPECT_EQ(s.map({500, 3}).y(), 20);
}

TEST(Curve, SplinePointsArePaddedToWholeSegments)
{
    const CurveScaler s(CurveFrame{0, 1, 100, 39}, 0, 10, CurveBounds{0, 10, 0, 10});
    for (size_t n = 0; n <= 8; ++n) {
        std::vector<CurvePoint> pts;
        for (size_t i = 0; i < n; ++i)
            pts.push_back({double(i), double(i)});
        const Curve c = Curve::make(0, pts);
        EXPECT_EQ(curvePixels(c, s, ePolyline).size(), n);
        EXPECT_EQ(curvePixels(c, s, ePixel).size(), n);
        const std::vector<QPoint> spline = curvePixels(c, s, eSpline);
        if (n == 0) {
            EXPECT_TRUE(spline.empty());
            continue;
        }
        EXPECT_EQ(spline.size(), 3 * ((n + 3) / 3) + 1) << n;
        EXPECT_EQ((spline.size() - 1) % 3, 0u);
        for (size_t i = n; i < spline.size(); ++i)
            EXPECT_EQ(spline[i], s.map(pts.back())) << "padding " << i;
    }
}

bool columnHas(const QImage& img, int x, int fromY, int toY, QRgb color)
{
    for (int y = fromY; y <= toY; ++y)
        if (img.pixel(x, y) == color)
            return true;
    return false;
}

QImage drawn(const std::vector<Curve>& curves, CurveDrawMode mode)
{
    QImage image(101, 40, QImage::Format_RGB32);
    image.fill(kBack);
    QPainter p(&image);
    drawCurves(p, curves, CurveFrame{0, 1, 100, 38}, 0, 100, mode, asRgb);
    return image;
}

TEST(Curve, DrawModesPutThePenWhereThePointsAre)
{
    const OLE_COLOR red = 0x0000FF;
    const Curve c = Curve::make(red, {{10, 0}, {50, 0}, {90, 1}});
    for (CurveDrawMode mode : {ePolyline, eSpline, ePixel}) {
        const QImage img = drawn({c}, mode);
        EXPECT_EQ(img.pixel(10, 38), qRgb(255, 0, 0)) << mode; // the first point is on every path
    }
    const QImage poly = drawn({c}, ePolyline);
    EXPECT_EQ(poly.pixel(30, 38), qRgb(255, 0, 0)); // on the line between the first two points
    const QImage dots = drawn({c}, ePixel);
    EXPECT_EQ(dots.pixel(90, 1), qRgb(255, 0, 0));
    EXPECT_EQ(dots.pixel(50, 38), qRgb(255, 0, 0));
    EXPECT_EQ(dots.pixel(30, 38), kBack);
    // The spline takes the points as Bézier control points: it leaves the first point along
    // the line to the second and bends towards the third, below the straight polyline.
    const QImage spline = drawn({c}, eSpline);
    EXPECT_TRUE(columnHas(spline, 12, 36, 38, qRgb(255, 0, 0)));
    EXPECT_EQ(spline.pixel(70, 20), kBack);
}

TEST(Curve, DegenerateCurvesDrawSafely)
{
    const OLE_COLOR blue = 0xFF0000;
    // No points: nothing. One point: one pixel in every mode. Only NaN: nothing.
    for (CurveDrawMode mode : {ePolyline, eSpline, ePixel}) {
        EXPECT_EQ(drawn({Curve::make(blue, {})}, mode), drawn({}, mode));
        EXPECT_EQ(drawn({Curve::make(blue, {{kNaN, kNaN}})}, mode), drawn({}, mode));
        const QImage one = drawn({Curve::make(blue, {{40, 7}})}, mode);
        EXPECT_EQ(one.pixel(40, 20), qRgb(0, 0, 255)) << mode;
    }
    // An empty frame or a flat axis draws nothing.
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(kBack);
    QPainter p(&image);
    drawCurves(p, {Curve::make(blue, {{1, 1}, {2, 2}})}, CurveFrame{0, 5, 10, 5}, 0, 10, ePolyline, asRgb);
    drawCurves(p, {Curve::make(blue, {{1, 1}, {2, 2}})}, CurveFrame{0, 1, 10, 8}, 5, 5, ePolyline, asRgb);
    p.end();
    EXPECT_EQ(image.pixel(1, 1), kBack);
    EXPECT_EQ(image.pixel(2, 5), kBack);
}

TEST(Curve, PiecesOutsideTheClipAreLeftOutWithoutChangingPixelsInside)
{
    // A curve that runs in and out of the clipped window many times.
    std::vector<CurvePoint> pts;
    for (int i = 0; i <= 400; ++i)
        pts.push_back({i * 0.25, std::sin(i * 0.37) + (i % 7 == 0 ? 1.5 : 0)});
    const Curve c = Curve::make(0x00FF00, pts);
    const QRect clip(23, 0, 31, 40);
    for (CurveDrawMode mode : {ePolyline, eSpline, ePixel}) {
        const QImage whole = drawn({c}, mode);
        QImage clipped(101, 40, QImage::Format_RGB32);
        clipped.fill(kBack);
        QPainter p(&clipped);
        p.setClipRect(clip);
        drawCurves(p, {c}, CurveFrame{0, 1, 100, 38}, 0, 100, mode, asRgb);
        p.end();
        EXPECT_EQ(clipped.copy(clip), whole.copy(clip)) << mode;
    }
}

TEST(Curve, MillionPointCurveDraws)
{
    std::vector<CurvePoint> pts(1'000'000);
    for (size_t i = 0; i < pts.size(); ++i)
        pts[i] = {i * 100.0 / pts.size(), std::sin(i * 1e-4)};
    const Curve c = Curve::make(0x00FF00, std::move(pts));
    for (CurveDrawMode mode : {ePolyline, eSpline, ePixel}) {
        const QImage img = drawn({c}, mode);
        // The first hundredth of the curve, sin 0 .. sin 1, fills the first column from about
        // the middle upwards.
        EXPECT_EQ(img.pixel(0, 15), qRgb(0, 255, 0)) << mode;
    }
}

} // namespace
