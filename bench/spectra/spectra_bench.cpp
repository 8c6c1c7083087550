// Costs of the spectra display's drawing: rebuilding the band bitmap of a 1280-pixel-wide
// display, drawing 10 curves of 10,000 points, plotting them for the whole band, and the
// control's full repaint with both (at 1, and at 1.5 and 2 device pixels per logical one).
#include "controls/spectra/bandimage.h"
#include "controls/spectra/curveplot.h"
#include "controls/spectra/curvesource.h"
#include "controls/spectra/spectractrl.h"
#include "controls/spectra/spectralayout.h"
#include "controls/qtwidget/commandserver.h"
#include <QApplication>
#include <QPushButton>
#include <QWidget>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cmath>

using namespace vyr::spectra;

namespace {

const QRect kClient(0, 0, 1280, 160);

SpectraLayout benchLayout()
{
    return layoutSpectra(kClient, true, measureWith(QFontMetrics(QApplication::font())));
}

BandLook benchLook()
{
    BandLook look;
    look.showSpectra = true;
    look.displayMode = eCurveAboveSpectra;
    look.rainbowHeight = 20;
    return look;
}

const std::vector<double> kLasers = {405, 488, 561, 633};

std::vector<Curve> benchCurves(double lo, double hi)
{
    std::vector<Curve> curves;
    for (int c = 0; c < 10; ++c) {
        std::vector<CurvePoint> pts(10'000);
        for (size_t i = 0; i < pts.size(); ++i) {
            const double x = lo + (hi - lo) * double(i) / double(pts.size() - 1);
            pts[i] = {x, std::exp(-std::pow((x - (lo + (hi - lo) * (c + 0.5) / 10)) / 20, 2))};
        }
        curves.push_back(Curve::make(OLE_COLOR(0x102030 * (c + 1)), std::move(pts)));
    }
    return curves;
}

// Axis 350..800 nm with a 50 nm window: a band bitmap about nine times the visible width.
void BM_RebuildBand(benchmark::State& state)
{
    const SpectraLayout layout = benchLayout();
    const WavelengthMap map(SpectraAxis{350, 800, 550, 50}, layout.area.size());
    for (auto _ : state) {
        QImage band = renderBand(map, benchLook(), kLasers);
        benchmark::DoNotOptimize(band.constBits());
    }
    state.counters["columns"] = map.bandColumns();
    state.counters["rows"] = layout.area.height();
}
BENCHMARK(BM_RebuildBand)->Unit(benchmark::kMillisecond);

void BM_DrawCurves(benchmark::State& state)
{
    const SpectraLayout layout = benchLayout();
    const WavelengthMap map(SpectraAxis{350, 800, 550, 50}, layout.area.size());
    const BandLook look = benchLook();
    QImage band = renderBand(map, look, kLasers);
    const std::vector<Curve> curves = benchCurves(350, 800);
    const CurveFrame frame = curveFrame(look, map.bandColumns(), band.height());
    const auto mode = CurveDrawMode(state.range(0));
    for (auto _ : state) {
        QPainter p(&band);
        drawCurves(p, curves, frame, map.lo(), map.hi(), mode,
                   [](OLE_COLOR c) { return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); });
    }
}
BENCHMARK(BM_DrawCurves)->Arg(ePolyline)->Arg(eSpline)->Arg(ePixel)->Unit(benchmark::kMillisecond);

// Plotting the curves for the whole band bitmap (the display plots three windows' widths of it):
// what the first paint after new curve data or a new geometry costs on top of a repaint.
void BM_PlotCurves(benchmark::State& state)
{
    const SpectraLayout layout = benchLayout();
    const WavelengthMap map(SpectraAxis{350, 800, 550, 50}, layout.area.size());
    const BandLook look = benchLook();
    const std::vector<Curve> curves = benchCurves(350, 800);
    const PlotGeometry geometry{curveFrame(look, map.bandColumns(), map.bandImageSize().height()), map.lo(), map.hi(),
                                CurveDrawMode(state.range(0)), 1};
    const ColumnRange band{0, map.bandImageSize().width() - 1};
    for (auto _ : state) {
        const std::vector<CurvePlot> plots = plotCurves(curves, geometry, band);
        benchmark::DoNotOptimize(plots.data());
    }
}
BENCHMARK(BM_PlotCurves)->Arg(ePolyline)->Arg(eSpline)->Arg(ePixel)->Unit(benchmark::kMillisecond);

// The control itself, 1280 x 160, bound to a memory server with 10 curves of 10,000 points
// and four laser lines: one paint with the band bitmap already built (a scroll step), and one
// that rebuilds it first (a resize or a new axis).
struct HostedSpectra {
    HostedSpectra()
    {
        auto& centre = (*server)["Centre"];
        centre.minimum = 350;
        centre.maximum = 800;
        centre.value = 550;
        (*server)["Width"].value = 50;
        for (size_t i = 0; i < kLasers.size(); ++i)
            (*server)["Lasers"].entries.push_back({"", 0, 0, kLasers[i]});
        auto source = vyr::com::make<CurveSource>();
        for (const Curve& c : benchCurves(350, 800))
            source->addCurve(c.color, c.points);
        (*server)["Spectra"].object = vyr::com::ComPtr<IUnknown>(source->unknown());

        parent.resize(kClient.size());
        const RECT r{0, 0, kClient.width(), kClient.height()};
        ctrl->CreateControlWindow(&parent, &r, nullptr);
        const auto set = [&](vyr::controls::CommandBinding& b, const char* text) { b.setText(text); };
        set(ctrl->command(), "Centre");
        set(ctrl->widthCommand, "Width");
        set(ctrl->spectraCommand, "Spectra");
        set(ctrl->laserLinesCommand, "Lasers");
        ctrl->showSpectra = 1;
        ctrl->curveDisplayMode = eCurveAboveSpectra;
        ctrl->rainbowHeight = 20;
        ctrl->SetCommandServer(server.get());
    }
    void paint()
    {
        QPainter p(&image);
        ctrl->onDraw(p, kClient);
    }
    // On a target of `ratio` device pixels per logical pixel.
    void paintAt(qreal ratio)
    {
        if (image.devicePixelRatio() != ratio) {
            image = QImage((QSizeF(kClient.size()) * ratio).toSize(), QImage::Format_RGB32);
            image.setDevicePixelRatio(ratio);
        }
        paint();
    }

    vyr::com::ComPtr<vyr::CommandServer> server = vyr::com::make<vyr::CommandServer>();
    vyr::com::ComPtr<vyr::controls::SpectraCtrl> ctrl = vyr::com::make<vyr::controls::SpectraCtrl>();
    QWidget parent;
    QImage image{kClient.size(), QImage::Format_RGB32};
};

void BM_Repaint(benchmark::State& state)
{
    HostedSpectra h;
    h.ctrl->curveDrawMode = CurveDrawMode(state.range(0));
    h.paint();
    for (auto _ : state)
        h.paint();
    state.counters["curves"] = double(h.ctrl->curves().size());
}
BENCHMARK(BM_Repaint)->Arg(ePolyline)->Arg(eSpline)->Arg(ePixel)->Unit(benchmark::kMillisecond);

// The same at 1.5 and 2: band, curves (antialiased) and lines in device pixels.
void BM_RepaintAtRatio(benchmark::State& state)
{
    HostedSpectra h;
    const qreal ratio = state.range(0) / 10.0;
    h.paintAt(ratio);
    for (auto _ : state)
        h.paintAt(ratio);
}
BENCHMARK(BM_RepaintAtRatio)->Arg(15)->Arg(20)->Unit(benchmark::kMillisecond);

void BM_RepaintWithBandRebuild(benchmark::State& state)
{
    HostedSpectra h;
    for (auto _ : state) {
        h.ctrl->discardBand();
        h.paint();
    }
}
BENCHMARK(BM_RepaintWithBandRebuild)->Unit(benchmark::kMillisecond);

} // namespace
