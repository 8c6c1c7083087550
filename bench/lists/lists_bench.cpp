// A MultiList of 10,000 rows x 5 columns on a memory command server: the first fill, a full
// refresh that finds nothing changed, and one in which every cell changed.
#include "controls/core/host.h"
#include "controls/lists/multilist.h"
#include "controls/qtwidget/commandserver.h"
#include <benchmark/benchmark.h>

using namespace vyr;

namespace {

constexpr int kRows = 10000;
constexpr int kColumns = 5;

void fill(vyr::CommandServer& s, const std::string& suffix)
{
    for (int c = 0; c < kColumns; ++c) {
        auto& cmd = s["C" + std::to_string(c)];
        cmd.entries.resize(kRows);
        for (int r = 0; r < kRows; ++r)
            cmd.entries[size_t(r)].text = "cell " + std::to_string(r) + "," + std::to_string(c) + suffix;
    }
}

struct Table {
    Table()
    {
        fill(*server, "");
        host.resize(600, 400);
        host.create("VyrControls.MultiList");
        host.setProperty("NumberOfColumns", com::Variant::fromShort(kColumns));
        for (int c = 0; c < kColumns; ++c) {
            host.setProperty("CurrentColumn", com::Variant::fromShort(int16_t(c)));
            host.setProperty("Command", com::Variant::fromString("C" + std::to_string(c)));
        }
    }
    QTreeWidget* view() const
    {
        return dynamic_cast<controls::MultiList*>(vyr::controls::ControlBase::from(host.dispatch()))->view();
    }
    com::ComPtr<vyr::CommandServer> server = com::make<vyr::CommandServer>();
    controls::HostWidget host;
};

void BM_MultiListFirstFill(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        Table t;
        state.ResumeTiming();
        t.host.setCommandServer(t.server.get());
        benchmark::DoNotOptimize(t.view()->topLevelItemCount());
        state.PauseTiming();
        t.host.setCommandServer(nullptr);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_MultiListFirstFill)->Unit(benchmark::kMillisecond);

void BM_MultiListRefreshUnchanged(benchmark::State& state)
{
    Table t;
    t.host.setCommandServer(t.server.get());
    for (auto _ : state) {
        t.server->log.clear();
        t.server->notify("C0");
    }
}
BENCHMARK(BM_MultiListRefreshUnchanged)->Unit(benchmark::kMillisecond);

void BM_MultiListRefreshAllChanged(benchmark::State& state)
{
    Table t;
    t.host.setCommandServer(t.server.get());
    bool flip = false;
    for (auto _ : state) {
        state.PauseTiming();
        fill(*t.server, flip ? "" : "'");
        flip = !flip;
        t.server->log.clear();
        state.ResumeTiming();
        t.server->notify("C0");
    }
}
BENCHMARK(BM_MultiListRefreshAllChanged)->Unit(benchmark::kMillisecond);

} // namespace
