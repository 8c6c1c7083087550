// Saving and loading a layout of 1,000 hosted controls across 10 pages of a Frame: the stream
// a container keeps for a tabbed form.
#include "bench/support/frame_layout.h"
#include "controls/core/host.h"
#include "controls/frames/frame.h"
#include "platform/com/memstream.h"
#include <QApplication>
#include <benchmark/benchmark.h>

using namespace vyr;
using controls::HostWidget;

namespace {

constexpr int kPages = 10;
constexpr int kPerPage = 100;

// Ten pages of 100 Buttons each.
std::unique_ptr<HostWidget> buildLayout() { return bench::buildLayout(kPages * kPerPage, kPages); }

void BM_SaveLayout(benchmark::State& state)
{
    auto host = buildLayout();
    size_t bytes = 0;
    for (auto _ : state) {
        auto s = com::MemoryStream::create();
        host->save(s.get(), false);
        bytes = s->bytes().size();
    }
    state.counters["bytes"] = double(bytes);
    state.SetItemsProcessed(state.iterations() * kPages * kPerPage);
}
BENCHMARK(BM_SaveLayout)->Unit(benchmark::kMillisecond);

// Loading into an active Frame: every control is created (load option 2).
void BM_LoadLayoutCreatingControls(benchmark::State& state)
{
    bench::timeLayoutLoads(state, bench::savedLayout(*buildLayout()));
    state.SetItemsProcessed(state.iterations() * kPages * kPerPage);
}
BENCHMARK(BM_LoadLayoutCreatingControls)->Unit(benchmark::kMillisecond);

// Loading before activation: the pages keep their controls as cached data.
void BM_LoadLayoutCached(benchmark::State& state)
{
    const auto bytes = bench::savedLayout(*buildLayout());
    for (auto _ : state) {
        auto frame = com::make<controls::Frame>();
        auto s = com::MemoryStream::create(bytes);
        if (FAILED(frame->Load(s.get())))
            state.SkipWithError("load failed");
    }
    state.SetItemsProcessed(state.iterations() * kPages * kPerPage);
}
BENCHMARK(BM_LoadLayoutCached)->Unit(benchmark::kMillisecond);

// Saving a Frame loaded that way: the cached data is written back as it is.
void BM_SaveLayoutCached(benchmark::State& state)
{
    const auto bytes = bench::savedLayout(*buildLayout());
    auto frame = com::make<controls::Frame>();
    auto in = com::MemoryStream::create(bytes);
    frame->Load(in.get());
    for (auto _ : state) {
        auto s = com::MemoryStream::create();
        frame->Save(s.get(), FALSE);
        benchmark::DoNotOptimize(s->bytes().data());
    }
    state.SetItemsProcessed(state.iterations() * kPages * kPerPage);
}
BENCHMARK(BM_SaveLayoutCached)->Unit(benchmark::kMillisecond);

} // namespace
