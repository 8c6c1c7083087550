// Rows measured at growing sizes, each beside its Qt equivalent: a MultiList's first fill and
// its refresh with nothing changed against a QTableWidget, and loading a saved Frame layout
// against QUiLoader building the same number of buttons from a .ui form. The argument is the
// number of rows or controls; compare_main.cpp prints the cost per item, which should stay
// flat as the work grows.
#include "bench/support/fixed_server.h"
#include "bench/support/frame_layout.h"
#include "controls/core/host.h"
#include "controls/lists/multilist.h"

#include <QApplication>
#include <QBuffer>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeWidget>
#include <QUiLoader>
#include <benchmark/benchmark.h>
#include <memory>

using namespace vyr;
using namespace vyr::bench;
using controls::HostWidget;

namespace {

// ---------------------------------------------------------------- MultiList

constexpr int kColumns = 5;

std::u16string cellText(int r, int c)
{
    const std::string s = "cell " + std::to_string(r) + "," + std::to_string(c);
    return std::u16string(s.begin(), s.end());
}

com::ComPtr<FixedServer> tableServer(int rows)
{
    auto server = com::make<FixedServer>();
    server->columns.resize(kColumns);
    for (int c = 0; c < kColumns; ++c)
        for (int r = 0; r < rows; ++r)
            server->columns[size_t(c)].push_back(cellText(r, c));
    return server;
}

std::unique_ptr<HostWidget> multiList()
{
    auto host = std::make_unique<HostWidget>();
    host->resize(600, 400);
    host->create("VyrControls.MultiList");
    host->setProperty("NumberOfColumns", com::Variant::fromShort(kColumns));
    for (int c = 0; c < kColumns; ++c) {
        host->setProperty("CurrentColumn", com::Variant::fromShort(int16_t(c)));
        host->setProperty("Command", com::Variant::fromString("C" + std::to_string(c)));
    }
    host->show();
    return host;
}

void multiListFillOurs(benchmark::State& state)
{
    const int rows = int(state.range(0));
    auto server = tableServer(rows);
    for (auto _ : state) {
        state.PauseTiming();
        auto host = multiList();
        state.ResumeTiming();
        host->setCommandServer(server.get());
        QCoreApplication::processEvents();
        state.PauseTiming();
        host->setCommandServer(nullptr);
        server->clients.clear();
        host.reset();
        state.ResumeTiming();
    }
}

void multiListRefreshOurs(benchmark::State& state)
{
    auto server = tableServer(int(state.range(0)));
    auto host = multiList();
    host->setCommandServer(server.get());
    QCoreApplication::processEvents();
    for (auto _ : state) {
        server->clients.front()->OnCommandStateChanged();
        QCoreApplication::processEvents();
    }
    host->setCommandServer(nullptr);
}

// What the server itself spends answering one refresh: every entry text of every column, the
// same calls the control makes. Reported as the row's "server" side and left out of the ratio.
void multiListServerOnly(benchmark::State& state)
{
    const int rows = int(state.range(0));
    auto server = tableServer(rows);
    for (auto _ : state) {
        for (LONG c = 0; c < kColumns; ++c) {
            LONG count = 0;
            server->GetEntryCount(2 + c, &count);
            for (LONG r = 0; r < count; ++r) {
                BSTR text = nullptr;
                server->GetEntryText(2 + c, r, &text);
                SysFreeString(text);
            }
        }
    }
}

// A Qt developer's table from the same texts: fill creates the items, refresh sets every
// cell's text again (QTableWidgetItem ignores an unchanged value).
struct QtTable {
    explicit QtTable(int rows) : table(rows, kColumns)
    {
        texts.resize(size_t(rows) * kColumns);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < kColumns; ++c)
                texts[size_t(r) * kColumns + size_t(c)] = cellText(r, c);
        table.resize(600, 400);
        table.show();
    }
    QString text(int r, int c) const
    {
        const std::u16string& t = texts[size_t(r) * kColumns + size_t(c)];
        return QString::fromUtf16(t.data(), qsizetype(t.size()));
    }
    void fill()
    {
        for (int r = 0; r < table.rowCount(); ++r)
            for (int c = 0; c < kColumns; ++c)
                table.setItem(r, c, new QTableWidgetItem(text(r, c)));
    }
    void refresh()
    {
        for (int r = 0; r < table.rowCount(); ++r)
            for (int c = 0; c < kColumns; ++c)
                table.item(r, c)->setText(text(r, c));
    }
    std::vector<std::u16string> texts;
    QTableWidget table;
};

void multiListFillTheirs(benchmark::State& state)
{
    const int rows = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto t = std::make_unique<QtTable>(rows);
        state.ResumeTiming();
        t->fill();
        QCoreApplication::processEvents();
        state.PauseTiming();
        t.reset();
        state.ResumeTiming();
    }
}

void multiListRefreshTheirs(benchmark::State& state)
{
    QtTable t(int(state.range(0)));
    t.fill();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        t.refresh();
        QCoreApplication::processEvents();
    }
}

BENCHMARK(multiListFillOurs)->Name("MultiListFill/ours")->RangeMultiplier(10)->Range(1'000, 100'000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(multiListServerOnly)->Name("MultiListFill/server")->RangeMultiplier(10)->Range(1'000, 100'000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(multiListFillTheirs)->Name("MultiListFill/theirs")->RangeMultiplier(10)->Range(1'000, 100'000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(multiListRefreshOurs)->Name("MultiListRefresh/ours")->RangeMultiplier(10)->Range(1'000, 100'000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(multiListServerOnly)->Name("MultiListRefresh/server")->RangeMultiplier(10)->Range(1'000, 100'000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(multiListRefreshTheirs)->Name("MultiListRefresh/theirs")->RangeMultiplier(10)
    ->Range(1'000, 100'000)->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------- layout load

constexpr int kPages = 10;

void layoutLoadOurs(benchmark::State& state)
{
    timeLayoutLoads(state, savedLayout(*buildLayout(int(state.range(0)), kPages)));
}

// The Frame's default: the page shown is loaded, the others when they are first shown.
void layoutLoadShownOurs(benchmark::State& state)
{
    timeLayoutLoads(state, savedLayout(*buildLayout(int(state.range(0)), kPages, 1)));
}

// The same buttons as a Designer form: ten page widgets of a QStackedWidget.
QByteArray uiForm(int count)
{
    QByteArray ui = "<ui version=\"4.0\"><class>Form</class><widget class=\"QWidget\" name=\"Form\">"
                    "<widget class=\"QStackedWidget\" name=\"pages\">";
    for (int p = 0; p < kPages; ++p) {
        ui += "<widget class=\"QWidget\" name=\"page" + QByteArray::number(p) + "\">";
        for (int i = p; i < count; i += kPages) {
            const QRect r = layoutSlot(i / kPages);
            ui += "<widget class=\"QPushButton\" name=\"b" + QByteArray::number(i) + "\"><property name=\"geometry\">"
                  "<rect><x>" + QByteArray::number(r.x()) + "</x><y>" + QByteArray::number(r.y()) +
                  "</y><width>70</width><height>40</height></rect></property><property name=\"text\"><string>Button " +
                  QByteArray::number(i) + "</string></property></widget>";
        }
        ui += "</widget>";
    }
    return ui + "</widget></widget></ui>";
}

void layoutLoadTheirs(benchmark::State& state)
{
    const QByteArray ui = uiForm(int(state.range(0)));
    QUiLoader loader;
    for (auto _ : state) {
        QBuffer buffer;
        buffer.setData(ui);
        buffer.open(QIODevice::ReadOnly);
        std::unique_ptr<QWidget> form(loader.load(&buffer));
        if (!form)
            state.SkipWithError("QUiLoader failed");
        state.PauseTiming();
        form.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
}

BENCHMARK(layoutLoadOurs)->Name("LayoutLoad/ours")->RangeMultiplier(10)->Range(100, 10'000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(layoutLoadTheirs)->Name("LayoutLoad/theirs")->RangeMultiplier(10)->Range(100, 10'000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(layoutLoadShownOurs)->Name("LayoutLoadShown/ours")->RangeMultiplier(10)->Range(100, 10'000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(layoutLoadTheirs)->Name("LayoutLoadShown/theirs")->RangeMultiplier(10)->Range(100, 10'000)
    ->Unit(benchmark::kMillisecond);

} // namespace
