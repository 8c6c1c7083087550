// The slider's per-event work: a drag move (mapping, grid, clamp) for each kind of scale,
// a full layout, and the parsing of a long list property.
#include "controls/values/slider_logic.h"

#include <benchmark/benchmark.h>

#include <string>

using namespace vyr::values;

namespace {

CommandReading range(double min, double max, double value)
{
    CommandReading r;
    r.minimum = min;
    r.maximum = max;
    r.value = value;
    r.enabled = true;
    return r;
}

void dragAcross(benchmark::State& state, SliderLogic& slider)
{
    slider.relayout({0, 0, 400, 30}, 13);
    slider.act(MousePress{{slider.thumb().left + 8, 15}});
    int x = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(slider.act(MouseMove{{x, 15}}));
        x = (x + 7) % 400;
    }
}

void BM_DragLinear(benchmark::State& state)
{
    SliderLogic slider;
    slider.refresh(range(0, 1000, 500));
    dragAcross(state, slider);
}
BENCHMARK(BM_DragLinear);

void BM_DragLogarithmic(benchmark::State& state)
{
    SliderLogic slider;
    slider.properties().mode = SliderMode::Logarithmic;
    slider.modeChanged();
    slider.refresh(range(0, 999, 30));
    dragAcross(state, slider);
}
BENCHMARK(BM_DragLogarithmic);

void BM_DragList(benchmark::State& state)
{
    SliderLogic slider;
    std::string values;
    for (int i = 0; i < state.range(0); ++i)
        values += std::to_string(i) + " ";
    slider.setDiscreteValuesText(values);
    slider.refresh(range(0, double(state.range(0)), 1));
    dragAcross(state, slider);
}
BENCHMARK(BM_DragList)->Arg(8)->Arg(1024);

void BM_Layout(benchmark::State& state)
{
    SliderLogic slider;
    slider.properties().valueDisplay = ValueDisplay::Right;
    slider.setUnitStrings("mm um nm");
    slider.setValueButtonsText("Min 1 2 5 Max");
    for (auto _ : state) {
        slider.relayout({0, 0, 500, 30}, 13);
        benchmark::DoNotOptimize(slider.geometry());
    }
}
BENCHMARK(BM_Layout);

void BM_ParseDiscreteValues(benchmark::State& state)
{
    std::string text;
    for (int i = 0; i < 10000; ++i)
        text += std::to_string(i * 0.5) + ", ";
    SliderLogic slider;
    for (auto _ : state) {
        slider.setDiscreteValuesText(text);
        benchmark::DoNotOptimize(slider.discreteValuesText());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_ParseDiscreteValues);

} // namespace

BENCHMARK_MAIN();
