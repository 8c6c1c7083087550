// The ButtonList grid (hit-testing a click, as every press does, over growing lists) and one
// paint of a ButtonList and of a radio group refreshing its container.
#include "controls/buttons/buttonlistlayout.h"
#include "controls/core/host.h"
#include "controls/qtwidget/commandserver.h"
#include <QApplication>
#include <QPixmap>
#include <benchmark/benchmark.h>

using namespace vyr;
using controls::ButtonListLayout;
using controls::HostWidget;

namespace {

void BM_ListHitLastButton(benchmark::State& state)
{
    const auto n = int32_t(state.range(0));
    const ButtonListLayout l{n, 8, 1, 2, 2, 0};
    const RECT bounds{0, 0, 800, 200};
    const RECT last = l.cell(bounds, n - 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(l.hit(bounds, last.left + 1, last.top + 1));
}
BENCHMARK(BM_ListHitLastButton)->Arg(5)->Arg(100)->Arg(4096);

void BM_ListPaint(benchmark::State& state)
{
    auto server = com::make<vyr::CommandServer>();
    for (int i = 0; i < state.range(0); ++i)
        (*server)["Lines"].entries.push_back({std::to_string(400 + i) + " nm", LONG(0x80000000 | 15), 0, 0});
    HostWidget host;
    host.resize(800, 200);
    host.create("VyrControls.ButtonList");
    host.setProperty("ButtonRows", com::Variant::fromLong(4));
    host.setProperty("Command", com::Variant::fromString("Lines"));
    host.setCommandServer(server.get());
    QPixmap target(800, 200);
    for (auto _ : state)
        host.controlWindow()->render(&target);
}
BENCHMARK(BM_ListPaint)->Arg(5)->Arg(40)->Unit(benchmark::kMicrosecond);

// Switching one radio of a group of n on a widget of n radios: every sibling is asked for its
// group number through IDispatch.
void BM_RadioCheckInGroup(benchmark::State& state)
{
    QWidget parent;
    std::vector<HostWidget*> radios;
    for (int i = 0; i < state.range(0); ++i) {
        auto* h = new HostWidget(&parent);
        h->create("VyrControls.RadioButton");
        h->setProperty("GroupNumber", com::Variant::fromLong(1));
        radios.push_back(h);
    }
    size_t next = 0;
    for (auto _ : state) {
        radios[next]->setProperty("Value", com::Variant::fromBool(true));
        next = (next + 1) % radios.size();
    }
}
BENCHMARK(BM_RadioCheckInGroup)->Arg(3)->Arg(50)->Unit(benchmark::kMicrosecond);

} // namespace
