// The costs the user feels with the popup and instrument controls: opening and closing a
// PopupDialog whose page of 20 Sliders is re-created at every opening (load option 0) or kept
// (load option 1), and one GrabField paint with its geometry, as every drag step repaints it.
#include "controls/core/host.h"
#include "controls/frames/grabfield.h"
#include "controls/frames/popupdialog.h"
#include "controls/qtwidget/commandserver.h"
#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

using namespace vyr;
using controls::HostWidget;

namespace {

controls::ControlBase* controlOf(HostWidget& host)
{
    return static_cast<controls::ControlBase*>(static_cast<IDispatch*>(host.control()));
}

void popupCycle(benchmark::State& state, long loadOption)
{
    QWidget top;
    top.resize(300, 200);
    auto* host = new HostWidget(&top);
    host->setGeometry(10, 10, 100, 30);
    host->create("VyrControls.PopupDialog");
    host->setProperty("LoadOption", com::Variant::fromLong(loadOption));
    host->setProperty("PopupHeight", com::Variant::fromLong(20 * 30 + 10));
    top.show();
    auto* popup = dynamic_cast<controls::PopupDialog*>(controlOf(*host));
    popup->open();
    for (int i = 0; i < 20; ++i)
        popup->page()->insertControl("VyrControls.Slider", {5, 5 + i * 30, 95, 30 + i * 30});
    popup->close(false);
    for (auto _ : state) {
        popup->open();
        popup->close(false);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

void BM_PopupOpenCloseRecreating(benchmark::State& state) { popupCycle(state, 0); }
BENCHMARK(BM_PopupOpenCloseRecreating)->Unit(benchmark::kMillisecond);

void BM_PopupOpenCloseKept(benchmark::State& state) { popupCycle(state, 1); }
BENCHMARK(BM_PopupOpenCloseKept)->Unit(benchmark::kMicrosecond);

void BM_GrabFieldPaint(benchmark::State& state)
{
    auto server = com::make<vyr::CommandServer>();
    (*server)["F.Width"].value = 60, (*server)["F.Height"].value = 30, (*server)["F.Rotation"].value = 30;
    for (const char* c : {"F.OffsetX", "F.OffsetY"})
        (*server)[c].minimum = -100, (*server)[c].maximum = 100;
    HostWidget host;
    host.resize(400, 400);
    host.create("VyrControls.GrabField");
    host.setProperty("Command", com::Variant::fromString("F"));
    host.setCommandServer(server.get());
    auto* field = static_cast<controls::GrabField*>(controlOf(host));
    QImage image(400, 400, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&image);
        field->onDraw(p, QRect(0, 0, 400, 400));
    }
}
BENCHMARK(BM_GrabFieldPaint)->Unit(benchmark::kMicrosecond);

} // namespace
