// The band slider's per-event work beside the slider's: a drag move of a thumb and of the
// band (mapping, snapping, the band rules, writes to a port), a key step, the layout, and
// the scale ticks.
#include "controls/values/spi_logic.h"

#include <benchmark/benchmark.h>

using namespace vyr::values;

namespace {

// A port that only counts, as a command server that answers at once.
struct CountingPort final : SpiPort {
    long writes = 0;
    bool veto = false;
    void write(SpiThumb, double) override { ++writes; }
    bool hasVeto() const override { return veto; }
    bool allowed() override { return true; }
};

SpiReading band(double step)
{
    SpiReading r;
    r.minimum = 0;
    r.maximum = 1000;
    r.lower = 300;
    r.upper = 500;
    r.step = step;
    r.enabled = true;
    return r;
}

PixelPoint centreOf(const PixelRect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

void drag(benchmark::State& state, SpiSliderLogic& s, PixelPoint grip, CountingPort& port)
{
    s.act(MousePress{grip}, port);
    int x = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(s.act(MouseMove{{x, 15}}, port));
        x = (x + 7) % 400;
    }
    benchmark::DoNotOptimize(port.writes);
}

void BM_SpiDragThumb(benchmark::State& state)
{
    SpiSliderLogic s;
    CountingPort port;
    port.veto = state.range(0) != 0;
    s.relayout({0, 0, 400, 30});
    s.refresh(band(1));
    drag(state, s, centreOf(s.geometry().lowerThumb), port);
}
BENCHMARK(BM_SpiDragThumb)->ArgName("veto")->Arg(0)->Arg(1);

void BM_SpiDragBand(benchmark::State& state)
{
    SpiSliderLogic s;
    CountingPort port;
    s.properties().advancedMode = int32_t(state.range(0));
    s.relayout({0, 0, 400, 30});
    s.refresh(band(1));
    const SpiGeometry& g = s.geometry();
    drag(state, s, {(g.lowerThumb.right + g.upperThumb.left) / 2, 15}, port);
}
BENCHMARK(BM_SpiDragBand)->ArgName("advanced")->Arg(0)->Arg(1);

void BM_SpiKeyStep(benchmark::State& state)
{
    SpiSliderLogic s;
    CountingPort port;
    s.relayout({0, 0, 400, 30});
    s.refresh(band(1));
    bool up = true;
    for (auto _ : state) {
        benchmark::DoNotOptimize(s.act(KeyStroke{up ? ValueKey::Right : ValueKey::Left, 1, {}}, port));
        up = !up;
    }
}
BENCHMARK(BM_SpiKeyStep);

void BM_SpiLayout(benchmark::State& state)
{
    SpiSliderLogic s;
    s.refresh(band(1));
    for (auto _ : state) {
        s.relayout({0, 0, 500, 30});
        benchmark::DoNotOptimize(s.geometry());
    }
}
BENCHMARK(BM_SpiLayout);

void BM_SpiTicks(benchmark::State& state)
{
    SpiSliderLogic s;
    s.properties().scaleSmall = 10;
    s.properties().scaleMiddle = 50;
    s.properties().scaleLarge = 100;
    s.relayout({0, 0, 500, 30});
    s.refresh(band(1));
    for (auto _ : state)
        benchmark::DoNotOptimize(s.ticks());
}
BENCHMARK(BM_SpiTicks);

} // namespace
