// Saving and loading a layout of 1,000 hosted controls across 10 pages of a Frame: the stream
// a container keeps for a tabbed form.
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

controls::Frame* frameOf(HostWidget& host)
{
    return dynamic_cast<controls::Frame*>(static_cast<controls::ControlBase*>(static_cast<IDispatch*>(host.control())));
}

// A Frame whose ten pages hold 100 captioned Buttons each, every page with its window.
std::unique_ptr<HostWidget> buildLayout()
{
    auto host = std::make_unique<HostWidget>();
    host->resize(800, 600);
    host->create("VyrControls.Frame");
    host->setProperty("LoadOption", com::Variant::fromLong(2));
    host->setProperty("ButtonCount", com::Variant::fromLong(kPages));
    controls::Frame* frame = frameOf(*host);
    for (int p = 0; p < kPages; ++p) {
        frames::ControlPage& page = *frame->inner().page(p);
        for (int i = 0; i < kPerPage; ++i) {
            const LONG x = 5 + (i % 10) * 75, y = 5 + (i / 10) * 45;
            page.insertControl("VyrControls.Button", {x, y, x + 70, y + 40});
            page.hosts().back()->setProperty("Caption", com::Variant::fromString("Button " + std::to_string(i)));
        }
    }
    return host;
}

std::vector<uint8_t> savedBytes(HostWidget& host)
{
    auto s = com::MemoryStream::create();
    host.save(s.get(), false);
    return s->bytes();
}

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
    const auto bytes = savedBytes(*buildLayout());
    for (auto _ : state) {
        HostWidget host;
        host.resize(800, 600);
        host.create("VyrControls.Frame");
        auto s = com::MemoryStream::create(bytes);
        if (FAILED(host.load(s.get())))
            state.SkipWithError("load failed");
        state.PauseTiming();
        host.destroyControl();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kPages * kPerPage);
}
BENCHMARK(BM_LoadLayoutCreatingControls)->Unit(benchmark::kMillisecond);

// Loading before activation: the pages keep their controls as cached data.
void BM_LoadLayoutCached(benchmark::State& state)
{
    const auto bytes = savedBytes(*buildLayout());
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
    const auto bytes = savedBytes(*buildLayout());
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
