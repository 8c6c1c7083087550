// The spectra display on high-DPI targets: the band bitmap and the curves are composed in the
// target's device pixels, so at 1.5 and 2 they carry detail finer than a logical pixel instead
// of logical pixels blown up. With VYR_RENDER_DIR set the scenes are written there as PNG files
// (spectra-scale-<ratio>.png).
#include "controls/spectra/curveshapes.h"
#include "controls/spectra/spectrapaint.h"
#include "controls/spectra/wavelengthcolor.h"
#include "platform/gdi/devicepixels.h"
#include <QApplication>
#include <QDir>
#include <QPainter>
#include "tests/support/pixelblocks.h"
#include <gtest/gtest.h>
#include <cmath>
#include <random>

using namespace vyr;
using namespace vyr::spectra;

namespace {

QRgb asRgb(OLE_COLOR c) { return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

int devicePixels(double v, double scale) { return int(std::lround(v * scale)); }

TEST(SpectraHighDpi, BandColumnsAndLaserLinesAreDevicePixels)
{
    // Axis 400..700 nm over 3000 logical columns; the band is the bottom 10 of 40 rows.
    const WavelengthMap map(SpectraAxis{400, 700, 550, 30}, QSize(301, 40));
    BandLook look;
    look.showSpectra = true;
    look.displayMode = eCurveAboveSpectra;
    look.laserLineColor = qRgb(255, 0, 255);
    for (const double scale : {1.0, 1.5, 2.0}) {
        const QImage band = renderBand(map, look, {488.0}, scale);
        ASSERT_EQ(band.size(), QSize(int(std::ceil(3001 * scale)), int(std::ceil(40 * scale)))) << scale;
        EXPECT_EQ(band.devicePixelRatio(), scale);
        const int row = devicePixels(35, scale);
        // Every device column has the colour of its own wavelength, away from the laser line.
        int changes = 0;
        for (int j = 0; j < int(3000 * scale); ++j) {
            const double nm = 400 + j * 300.0 / (3000 * scale);
            if (std::abs(nm - 488) > 0.5) {
                ASSERT_EQ(band.pixel(j, row), wavelengthRgb(nm)) << "scale " << scale << ", column " << j;
            }
            changes += j > 0 && band.pixel(j, row) != band.pixel(j - 1, row);
        }
        EXPECT_GT(changes, 290); // a colour per nanometre at every scale
        // The laser line: as wide as a logical pixel in whole device pixels, over its place.
        std::vector<int> laser;
        for (int j = 0; j < band.width(); ++j)
            if (band.pixel(j, row) == look.laserLineColor)
                laser.push_back(j);
        ASSERT_EQ(int(laser.size()), std::max(1, devicePixels(1, scale))) << scale;
        const int place = int(std::floor((880 + 0.5) * scale));
        EXPECT_TRUE(std::find(laser.begin(), laser.end(), place) != laser.end()) << scale;
        // The band rows: the bottom ten logical rows in device rows.
        EXPECT_EQ(band.pixel(100, devicePixels(30, scale)), wavelengthRgb(400 + 100 * 300.0 / (3000 * scale)));
        EXPECT_EQ(band.pixel(100, devicePixels(30, scale) - 1), look.backColor) << scale;
    }
}

QImage blank(QSize size, double scale)
{
    QImage image = gdi::imageAtScale(size, scale, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

void drawAt(QImage& image, const std::vector<Curve>& curves, const CurveFrame& frame, double lo, double hi,
            CurveDrawMode mode)
{
    QPainter p(&image);
    const gdi::DevicePixels device(p);
    drawPlots(p, plotCurves(curves, PlotGeometry{frame, lo, hi, mode, device.ratio()}), device.ratio(), asRgb);
}

TEST(SpectraHighDpi, ACurveIsOneLogicalPixelWideAtItsPlace)
{
    // A flat curve runs along the middle of its frame: logical row 20 of rows 1..39.
    const std::vector<Curve> flat = {Curve::make(0x0000FF, {{10, 5}, {90, 5}})};
    struct Case {
        double scale;
        std::vector<int> rows; // device rows fully in the curve's colour, in the middle column
    };
    for (const Case& c : {Case{1, {20}}, Case{2, {40, 41}}, Case{3, {60, 61, 62}}}) {
        QImage image = blank({101, 41}, c.scale);
        drawAt(image, flat, CurveFrame{0, 1, 100, 39}, 0, 100, ePolyline);
        std::vector<int> rows;
        for (int y = 0; y < image.height(); ++y)
            if (image.pixel(image.width() / 2, y) == qRgb(255, 0, 0))
                rows.push_back(y);
        EXPECT_EQ(rows, c.rows) << "scale " << c.scale;
    }
}

Curve noisy(OLE_COLOR colour, int n, unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> value(0, 1);
    std::vector<CurvePoint> pts;
    for (int i = 0; i < n; ++i)
        pts.push_back({300 + 600.0 * i / (n - 1), value(rng) * value(rng)});
    return Curve::make(colour, std::move(pts));
}

TEST(SpectraHighDpi, ReducedCurvesLookLikeTheWholePolylineAtFinerScales)
{
    // Many points per device column and fewer than one: the reduced drawing against every
    // point drawn with the same pen.
    const CurveFrame frame{0, 1, 400, 78};
    for (const auto& [scale, points] : {std::pair{1.5, 5'000}, std::pair{2.0, 5'000}, std::pair{1.5, 300}}) {
        const std::vector<Curve> curves = {noisy(0x00FF00, points, 1)};
        QImage reduced = blank({401, 80}, scale);
        drawAt(reduced, curves, frame, 300, 900, ePolyline);
        QImage whole = blank({401, 80}, scale);
        {
            QPainter p(&whole);
            const gdi::DevicePixels device(p);
            p.setRenderHint(QPainter::Antialiasing);
            for (const Curve& c : curves) {
                const CurveScaler scaler(frame, 300, 900, c.bounds);
                QPolygonF line;
                for (const CurvePoint& pt : c.points) {
                    const QPointF e = scaler.exact(pt);
                    line << QPointF((e.x() + 0.5) * scale, (e.y() + 0.5) * scale);
                }
                p.setPen(QPen(QColor(asRgb(c.color)), scale, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
                p.drawPolyline(line);
            }
        }
        // Each line pixel of one drawing has one of the other within a device pixel: the
        // reduced points may lie up to a column's width beside the whole polyline's.
        auto strong = [](QRgb c, int level) { return qGreen(c) > level; };
        auto missing = [&](const QImage& a, const QImage& b) {
            int lit = 0, alone = 0;
            for (int y = 1; y + 1 < a.height(); ++y)
                for (int x = 1; x + 1 < a.width(); ++x) {
                    if (!strong(a.pixel(x, y), 160))
                        continue;
                    ++lit;
                    bool near = false;
                    for (int dy = -1; dy <= 1 && !near; ++dy)
                        for (int dx = -1; dx <= 1 && !near; ++dx)
                            near = strong(b.pixel(x + dx, y + dy), 80);
                    alone += !near;
                }
            return std::pair{lit, alone};
        };
        const auto [lit, alone] = missing(whole, reduced);
        EXPECT_GT(lit, whole.width() * whole.height() / (points > 1000 ? 5 : 20)) << scale;
        EXPECT_EQ(alone, 0) << "scale " << scale;
        EXPECT_EQ(missing(reduced, whole).second, 0) << "scale " << scale;
    }
}

// The display at `scale`: a 300 nm window over 600 pixels (a colour every other logical
// column), laser lines, and three curves above the band.
QImage scene(double scale)
{
    SpectraScene s;
    s.font = QApplication::font();
    s.layout = layoutSpectra(QRect(0, 0, 640, 150), true, measureWith(QFontMetrics(s.font)));
    s.map = WavelengthMap(SpectraAxis{350, 750, 520, 300}, s.layout.area.size());
    s.look.showSpectra = true;
    s.look.displayMode = eCurveAboveSpectra;
    s.look.rainbowHeight = 24;
    const std::vector<double> lasers = {405, 488, 561, 633};
    const QImage band = renderBand(s.map, s.look, lasers, scale);
    s.band = &band;
    s.backColor = QColor(240, 240, 240);
    s.textColor = Qt::black;
    s.spacing = {1, 5, 10};
    s.laserLines = &lasers;
    const std::vector<Curve> curves = {Curve::make(0x00FFFFFF, bandPassCurve(500, 550)),
                                       Curve::make(0x000000C0, dyeCurve(520, 14)),
                                       Curve::make(0x00C00000, dyeCurve(590, 18))};
    s.curves = &curves;
    s.colorOf = asRgb;
    QImage image = blank({640, 150}, scale);
    {
        QPainter p(&image);
        paintSpectra(p, s);
    }
    if (const QByteArray dir = qgetenv("VYR_RENDER_DIR"); !dir.isEmpty())
        image.save(QDir(QString::fromLocal8Bit(dir)).filePath(QStringLiteral("spectra-scale-%1.png").arg(scale)));
    return image;
}

using vyr::controls::test::mixedBlocks;

TEST(SpectraHighDpi, BandAndCurvesHaveDevicePixelDetail)
{
    const QImage atOne = scene(1);
    SpectraLayout layout = layoutSpectra(QRect(0, 0, 640, 150), true, measureWith(QFontMetrics(QApplication::font())));
    const QRect band = layout.band.adjusted(0, 1, 0, -1);
    const QRect curves(band.left(), band.top(), band.width(), band.height() - 26);
    const QRect colours(band.left(), band.bottom() - 22, band.width(), 20);
    for (const double scale : {1.5, 2.0}) {
        const QImage image = scene(scale);
        auto device = [&](const QRect& r) {
            return QRect(QPoint(devicePixels(r.left(), scale), devicePixels(r.top(), scale)),
                         QPoint(devicePixels(r.right() + 1, scale) - 1, devicePixels(r.bottom() + 1, scale) - 1));
        };
        // The same scene at 1 blown up to this scale: what a logical drawing would show.
        const QImage blownUp = atOne.scaled(image.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
        for (const QRect& part : {curves, colours}) {
            const QRect d = device(part);
            int differ = 0;
            for (int y = d.top(); y <= d.bottom(); ++y)
                for (int x = d.left(); x <= d.right(); ++x)
                    differ += image.pixel(x, y) != blownUp.pixel(x, y);
            EXPECT_GT(differ, d.width() / 4) << "scale " << scale << ", part at row " << part.top();
            if (scale == 2) {
                EXPECT_GT(mixedBlocks(image, d), d.width() / 8) << "no 2 x 2 blocks, part at row " << part.top();
            }
        }
    }
}

} // namespace
