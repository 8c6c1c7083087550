// Costs of the spectra display's drawing: rebuilding the band bitmap of a 1280-pixel-wide
// display, and drawing 10 curves of 10,000 points into it.
#include "controls/spectra/bandimage.h"
#include "controls/spectra/curve.h"
#include "controls/spectra/spectralayout.h"
#include <QApplication>
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

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
