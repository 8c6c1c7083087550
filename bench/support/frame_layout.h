#pragma once
// The layout the frame benchmarks save and load: a Frame whose pages hold captioned Buttons,
// every page loaded with its window (load option 2), as a tabbed form keeps it.
#include "controls/core/control.h"
#include "controls/core/host.h"
#include "controls/frames/frame.h"
#include "platform/com/memstream.h"
#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <memory>
#include <string>
#include <vector>

namespace vyr::bench {

inline controls::Frame* frameOf(controls::HostWidget& host)
{
    return dynamic_cast<controls::Frame*>(controls::ControlBase::from(host.control()));
}

// The place of the i-th Button of a page: ten columns, ten rows, repeating after a hundred.
inline QRect layoutSlot(int i) { return QRect(5 + (i % 10) * 75, 5 + (i / 10 % 10) * 45, 70, 40); }

// `count` Buttons dealt over `pages` pages: Button i on page i % pages. Load option 2 loads
// every page with its window; 1, the Frame's default, only the page shown, keeping the others'
// data until they are shown.
inline std::unique_ptr<controls::HostWidget> buildLayout(int count, int pages = 10, long loadOption = 2)
{
    auto host = std::make_unique<controls::HostWidget>();
    host->resize(800, 600);
    host->create("VyrControls.Frame");
    host->setProperty("LoadOption", com::Variant::fromLong(2)); // every page open while it is filled
    host->setProperty("ButtonCount", com::Variant::fromLong(pages));
    controls::Frame* frame = frameOf(*host);
    for (int i = 0; i < count; ++i) {
        frames::ControlPage& page = *frame->inner().page(i % pages);
        const QRect r = layoutSlot(i / pages);
        page.insertControl("VyrControls.Button", {r.left(), r.top(), r.right() + 1, r.bottom() + 1});
        page.hosts().back()->setProperty("Caption", com::Variant::fromString("Button " + std::to_string(i)));
    }
    host->setProperty("LoadOption", com::Variant::fromLong(loadOption));
    return host;
}

inline std::vector<uint8_t> savedLayout(controls::HostWidget& host)
{
    auto s = com::MemoryStream::create();
    host.save(s.get(), false);
    return s->bytes();
}

// Times loading `bytes` into a new active Frame, which creates every control; tearing it
// down is not timed.
inline void timeLayoutLoads(benchmark::State& state, const std::vector<uint8_t>& bytes)
{
    for (auto _ : state) {
        controls::HostWidget host;
        host.resize(800, 600);
        host.create("VyrControls.Frame");
        auto s = com::MemoryStream::create(bytes);
        if (FAILED(host.load(s.get()))) {
            state.SkipWithError("load failed");
            break;
        }
        state.PauseTiming();
        // Every widget the loaded Frame is made of, the hidden pages' included.
        state.counters["widgets"] = double(host.findChildren<QWidget*>().size() + 1);
        host.destroyControl();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
}

} // namespace vyr::bench
