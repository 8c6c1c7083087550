// Each row of the speed table measured beside its plain Qt or SQLite equivalent: "Row/ours"
// and "Row/theirs". The equivalents are written the way a Qt developer would write them, with
// no tricks; compare_main.cpp prints the median ratios.
#include "controls/core/control.h"
#include "controls/core/host.h"
#include "controls/frames/frame.h"
#include "controls/spectra/curvesource.h"
#include "controls/spectra/spectractrl.h"
#include "bench/support/store_answers.h"
#include "platform/dao/database.h"
#include "controls/qtwidget/commandserver.h"
#include "vtx/model/load.h"
#include "vtx/model/sql_script.h"
#include "vtx/model/store.h"

#include <QApplication>
#include <QDoubleSpinBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <benchmark/benchmark.h>
#include <cmath>
#include <filesystem>
#include <malloc.h>
#include <optional>
#include <sqlite3.h>
#include <unistd.h>

using namespace vyr;
using controls::HostWidget;

namespace {

// ---------------------------------------------------------------- rendering a form

constexpr int kFormControls = 200;
const QSize kCell(78, 28);

QRect cell(int i) { return QRect(QPoint(4 + (i % 10) * 80, 4 + (i / 10) * 30), kCell); }

ICommandServer* enabledServer();

// Bound to an enabled command, as on a real form (an unbound control draws itself disabled).
struct OurForm {
    QWidget form;
    OurForm()
    {
        const char* classes[] = {"VyrControls.Button", "VyrControls.OptionButton", "VyrControls.Slider",
                                 "VyrControls.ValueEdit"};
        form.resize(808, 608);
        for (int i = 0; i < kFormControls; ++i) {
            auto* h = new HostWidget(&form);
            h->setGeometry(cell(i));
            h->create(classes[i % 4]);
            if (i % 4 < 2)
                h->setProperty("Caption", com::Variant::fromString("Item " + std::to_string(i)));
            h->setProperty("Command", com::Variant::fromString("Shared"));
            h->setCommandServer(enabledServer());
        }
        form.show();
    }
};

struct TheirForm {
    QWidget form;
    TheirForm()
    {
        form.resize(808, 608);
        for (int i = 0; i < kFormControls; ++i) {
            QWidget* w = nullptr;
            switch (i % 4) {
            case 0: w = new QPushButton(QString("Item %1").arg(i), &form); break;
            case 1: w = new QRadioButton(QString("Item %1").arg(i), &form); break;
            case 2: w = new QSlider(Qt::Horizontal, &form); break;
            default: w = new QDoubleSpinBox(&form); break;
            }
            w->setGeometry(cell(i));
        }
        form.show();
    }
};

template <class Form>
void renderForm(benchmark::State& state)
{
    Form f;
    QImage image(f.form.size(), QImage::Format_RGB32);
    f.form.render(&image);   // the first render loads fonts and fills caches: not timed
    for (auto _ : state)
        f.form.render(&image);
}
BENCHMARK_TEMPLATE(renderForm, OurForm)->Name("Render200/ours")->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(renderForm, TheirForm)->Name("Render200/theirs")->Unit(benchmark::kMillisecond);

void renderOneOurs(benchmark::State& state)
{
    HostWidget h;
    h.resize(100, 40);
    h.create("VyrControls.Button");
    h.setProperty("Caption", com::Variant::fromString("Caption"));
    h.setProperty("Command", com::Variant::fromString("Shared"));
    h.setCommandServer(enabledServer());
    h.show();
    QImage image(h.size(), QImage::Format_RGB32);
    h.render(&image);
    for (auto _ : state)
        h.render(&image);
}
BENCHMARK(renderOneOurs)->Name("RenderButton/ours")->Unit(benchmark::kMicrosecond);

void renderOneTheirs(benchmark::State& state)
{
    QPushButton b("Caption");
    b.resize(100, 40);
    b.show();
    QImage image(b.size(), QImage::Format_RGB32);
    b.render(&image);
    for (auto _ : state)
        b.render(&image);
}
BENCHMARK(renderOneTheirs)->Name("RenderButton/theirs")->Unit(benchmark::kMicrosecond);

// ---------------------------------------------------------------- command fan-out

// A host's command server reduced to what a notification needs: one command whose state
// stays enabled and visible, and the list of its clients.
class FixedServer final : public com::Object<ICommandServer> {
public:
    std::vector<com::ComPtr<ICommandClient>> clients;

    void notifyAll()
    {
        for (auto& c : clients)
            c->OnCommandStateChanged();
    }

    STDMETHOD(GetTypeInfoCount)(UINT* n) override { *n = 0; return S_OK; }
    STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHOD(Invoke)(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { return E_NOTIMPL; }
    STDMETHOD(HostSlot7)() override { return E_NOTIMPL; }
    STDMETHOD(HostSlot8)() override { return E_NOTIMPL; }
    STDMETHOD(RegisterCommand)(BSTR, ICommandClient* client, LONG* cookie) override
    {
        clients.emplace_back(client);
        *cookie = 1;
        return S_OK;
    }
    STDMETHOD(UnregisterCommand)(LONG, ICommandClient* client) override
    {
        std::erase_if(clients, [&](auto& c) { return c.get() == client; });
        return S_OK;
    }
    STDMETHOD(GetCommandVisible)(LONG, LONG* visible) override { *visible = 1; return S_OK; }
    STDMETHOD(GetCommandEnabled)(LONG, VARIANT_BOOL* enabled) override { *enabled = VARIANT_TRUE; return S_OK; }
    STDMETHOD(GetCommandState)(LONG, LONG* state) override { *state = 0; return S_OK; }
    STDMETHOD(GetMinimum)(LONG, double*) override { return E_NOTIMPL; }
    STDMETHOD(GetMaximum)(LONG, double*) override { return E_NOTIMPL; }
    STDMETHOD(GetEntryCount)(LONG, LONG*) override { return E_NOTIMPL; }
    STDMETHOD(GetEntryText)(LONG, LONG, BSTR*) override { return E_NOTIMPL; }
    STDMETHOD(GetEntryLong)(LONG, LONG, LONG*) override { return E_NOTIMPL; }
    STDMETHOD(GetValue)(LONG, double*) override { return E_NOTIMPL; }
    STDMETHOD(GetIndex)(LONG, LONG*) override { return E_NOTIMPL; }
    STDMETHOD(GetText)(LONG, BSTR*) override { return E_NOTIMPL; }
    STDMETHOD(GetColor)(LONG, OLE_COLOR*) override { return E_NOTIMPL; }
    STDMETHOD(GetEntryState)(LONG, LONG, LONG*) override { return E_NOTIMPL; }
    STDMETHOD(GetEntryValue)(LONG, LONG, double*) override { return E_NOTIMPL; }
    STDMETHOD(ExecuteCommand)(LONG) override { return E_NOTIMPL; }
    STDMETHOD(ActivateEntry)(LONG, LONG) override { return E_NOTIMPL; }
    STDMETHOD(SelectEntry)(LONG, LONG) override { return E_NOTIMPL; }
    STDMETHOD(SetValue)(LONG, double) override { return E_NOTIMPL; }
    STDMETHOD(SetState)(LONG, LONG) override { return E_NOTIMPL; }
    STDMETHOD(SetText)(LONG, BSTR) override { return E_NOTIMPL; }
    STDMETHOD(HostSlot31)() override { return E_NOTIMPL; }
    STDMETHOD(HostSlot32)() override { return E_NOTIMPL; }
    STDMETHOD(HostSlot33)() override { return E_NOTIMPL; }
    STDMETHOD(GetObject)(LONG, IUnknown**) override { return E_NOTIMPL; }
};

ICommandServer* enabledServer()
{
    static auto* server = com::make<FixedServer>().detach();
    return server;
}

constexpr int kReceivers = 1000;

void fanOutOurs(benchmark::State& state)
{
    auto server = com::make<FixedServer>();
    QWidget form;
    form.resize(1000, 1000);
    for (int i = 0; i < kReceivers; ++i) {
        auto* h = new HostWidget(&form);
        h->setGeometry((i % 40) * 25, (i / 40) * 25, 24, 24);
        h->create("VyrControls.Button");
        h->setProperty("Command", com::Variant::fromString("Shared"));
        h->setCommandServer(server.get());
    }
    form.show();
    for (auto _ : state)
        server->notifyAll();
    state.counters["receivers"] = double(server->clients.size());
}
BENCHMARK(fanOutOurs)->Name("FanOut1000/ours")->Unit(benchmark::kMicrosecond);

// The plain Qt way: a model object with a changed() signal and a lambda per button that
// reads the state back and applies it.
class CommandModel : public QObject {
    Q_OBJECT
public:
    bool enabled() const { return enabled_; }
    bool visible() const { return visible_; }
    bool checked() const { return checked_; }
    bool enabled_ = true, visible_ = true, checked_ = false;
signals:
    void changed();
};

void fanOutTheirs(benchmark::State& state)
{
    CommandModel model;
    QWidget form;
    form.resize(1000, 1000);
    std::vector<QMetaObject::Connection> connections;
    for (int i = 0; i < kReceivers; ++i) {
        auto* b = new QPushButton(&form);
        b->setGeometry((i % 40) * 25, (i / 40) * 25, 24, 24);
        b->setCheckable(true);
        QObject::connect(&model, &CommandModel::changed, b, [b, &model] {
            b->setEnabled(model.enabled());
            b->setVisible(model.visible());
            b->setChecked(model.checked());
        });
    }
    form.show();
    for (auto _ : state)
        emit model.changed();
}
BENCHMARK(fanOutTheirs)->Name("FanOut1000/theirs")->Unit(benchmark::kMicrosecond);

// ---------------------------------------------------------------- spectra repaint

const QRect kSpectraClient(0, 0, 1280, 160);
const std::vector<double> kLasers = {405, 488, 561, 633};

std::vector<spectra::CurvePoint> curvePoints(int c)
{
    std::vector<spectra::CurvePoint> pts(10'000);
    for (size_t i = 0; i < pts.size(); ++i) {
        const double x = 350 + 450 * double(i) / double(pts.size() - 1);
        pts[i] = {x, std::exp(-std::pow((x - (350 + 450 * (c + 0.5) / 10)) / 20, 2))};
    }
    return pts;
}

void spectraOurs(benchmark::State& state)
{
    auto server = com::make<vyr::CommandServer>();
    auto ctrl = com::make<controls::SpectraCtrl>();
    auto& centre = (*server)["Centre"];
    centre.minimum = 350;
    centre.maximum = 800;
    centre.value = 550;
    (*server)["Width"].value = 50;
    for (double l : kLasers)
        (*server)["Lasers"].entries.push_back({"", 0, 0, l});
    auto source = com::make<spectra::CurveSource>();
    for (int c = 0; c < 10; ++c)
        source->addCurve(OLE_COLOR(0x102030 * (c + 1)), curvePoints(c));
    (*server)["Spectra"].object = com::ComPtr<IUnknown>(source->unknown());
    QWidget parent;
    parent.resize(kSpectraClient.size());
    const RECT r{0, 0, kSpectraClient.width(), kSpectraClient.height()};
    ctrl->CreateControlWindow(&parent, &r, nullptr);
    ctrl->command().setText("Centre");
    ctrl->widthCommand.setText("Width");
    ctrl->spectraCommand.setText("Spectra");
    ctrl->laserLinesCommand.setText("Lasers");
    ctrl->showSpectra = 1;
    ctrl->curveDisplayMode = spectra::eCurveAboveSpectra;
    ctrl->rainbowHeight = 20;
    ctrl->SetCommandServer(server.get());
    QImage image(kSpectraClient.size(), QImage::Format_RGB32);
    {
        QPainter p(&image);
        ctrl->onDraw(p, kSpectraClient); // builds the band bitmap once, as the first paint does
    }
    for (auto _ : state) {
        QPainter p(&image);
        ctrl->onDraw(p, kSpectraClient);
    }
    ctrl->SetCommandServer(nullptr);
}
BENCHMARK(spectraOurs)->Name("Spectra10x10k/ours")->Unit(benchmark::kMillisecond);

// The same 10 polylines of 10,000 points over a prepared background, scaled to the visible
// 50 nm window of the 350..800 nm axis and clipped to it.
void spectraTheirs(benchmark::State& state)
{
    std::vector<std::vector<spectra::CurvePoint>> curves;
    for (int c = 0; c < 10; ++c)
        curves.push_back(curvePoints(c));
    QImage background(kSpectraClient.size(), QImage::Format_RGB32);
    background.fill(Qt::white);
    QImage image(kSpectraClient.size(), QImage::Format_RGB32);
    const QRect area = kSpectraClient.adjusted(0, 30, 0, -24);
    const double lo = 525, hi = 575;
    for (auto _ : state) {
        QPainter p(&image);
        p.drawImage(0, 0, background);
        p.setClipRect(area);
        for (size_t c = 0; c < curves.size(); ++c) {
            QPolygonF line;
            line.reserve(int(curves[c].size()));
            for (const auto& pt : curves[c])
                line << QPointF(area.left() + (pt.x - lo) * area.width() / (hi - lo),
                                area.bottom() - pt.y * (area.height() - 1));
            p.setPen(QColor::fromRgb(QRgb(0x102030 * (c + 1))));
            p.drawPolyline(line);
        }
    }
}
BENCHMARK(spectraTheirs)->Name("Spectra10x10k/theirs")->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------- Store

namespace fs = std::filesystem;

std::string demoDatabase()
{
    const fs::path dir = fs::temp_directory_path() / ("vyr-compare-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string path = (dir / "System.mdb").string();
    if (!fs::exists(path)) {
        const fs::path data = fs::path(VYR_SOURCE_DIR) / "vtx" / "data";
        vtx::createDatabaseFromScripts(path, {(data / "schema.sql").string(), (data / "demo.sql").string()});
    }
    return path;
}

// Every statement any connection of this process runs, through a trace each new connection
// gets: Store's writes are replayed by the raw side, and its statement count is reported.
struct StatementLog {
    bool recording = false;
    std::vector<std::string> writes;
    int statements = 0;
};
StatementLog gLog;

int traced(unsigned, void*, void* stmt, void*)
{
    if (!gLog.recording)
        return 0;
    auto* s = static_cast<sqlite3_stmt*>(stmt);
    ++gLog.statements;
    if (!sqlite3_stmt_readonly(s)) {
        const std::string sql = sqlite3_sql(s);
        if (sql.rfind("BEGIN", 0) != 0 && sql.rfind("COMMIT", 0) != 0 && sql.rfind("ROLLBACK", 0) != 0) {
            char* expanded = sqlite3_expanded_sql(s);
            gLog.writes.emplace_back(expanded ? expanded : sql.c_str());
            sqlite3_free(expanded);
        }
    }
    return 0;
}

int traceEveryConnection(sqlite3* db, const char**, const sqlite3_api_routines*)
{
    sqlite3_trace_v2(db, SQLITE_TRACE_STMT, traced, nullptr);
    return SQLITE_OK;
}

using bench::NoWheel;
using bench::Silent;

struct StoreSetup {
    std::string path = demoDatabase();
    dao::Database db = dao::Database::open(path);
    vtx::ConfigurationEditor editor{vtx::loadConfiguration(db, 21000)};
    Silent boxes;
    NoWheel wheel;
    bool store() { return vtx::storeConfiguration(db, 21000, editor, boxes, wheel) == vtx::StoreResult::Completed; }
};

void storeOurs(benchmark::State& state)
{
    StoreSetup s;
    gLog = {};
    gLog.recording = true;
    const bool ok = s.store();
    gLog.recording = false;
    if (!ok)
        state.SkipWithError("store refused");
    state.counters["statements"] = gLog.statements;
    state.counters["writes"] = double(gLog.writes.size());
    for (auto _ : state)
        s.store();
}
BENCHMARK(storeOurs)->Name("Store/ours")->Unit(benchmark::kMillisecond);

// The writes one Store makes, replayed as SQL text in one transaction on a connection of
// its own.
void storeTheirs(benchmark::State& state)
{
    std::vector<std::string> writes;
    {
        StoreSetup s;
        gLog = {};
        gLog.recording = true;
        s.store();
        gLog.recording = false;
        writes = gLog.writes;
    }
    sqlite3* db = nullptr;
    sqlite3_open(demoDatabase().c_str(), &db);
    for (auto _ : state) {
        sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        for (const std::string& w : writes)
            if (sqlite3_exec(db, w.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
                state.SkipWithError(sqlite3_errmsg(db));
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    }
    sqlite3_close(db);
    state.counters["writes"] = double(writes.size());
}
BENCHMARK(storeTheirs)->Name("Store/theirs")->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------- footprint of a hosted Button

constexpr int kFootprint = 200;

size_t heapInUse() { return mallinfo2().uordblks; }

controls::Frame* frameOf(HostWidget& host)
{
    return dynamic_cast<controls::Frame*>(static_cast<controls::ControlBase*>(static_cast<IDispatch*>(host.control())));
}

// Creating 200 captioned Buttons on a Frame page; counters: heap bytes and widgets each.
void footprintOurs(benchmark::State& state)
{
    double bytes = 0, widgets = 0;
    for (auto _ : state) {
        HostWidget host;
        host.resize(800, 600);
        host.create("VyrControls.Frame");
        host.show();
        frames::ControlPage& page = *frameOf(host)->inner().page(0);
        const int before = int(host.findChildren<QWidget*>().size());
        const size_t heap = heapInUse();
        for (int i = 0; i < kFootprint; ++i) {
            const QRect r = cell(i);
            page.insertControl("VyrControls.Button", {r.left(), r.top(), r.right() + 1, r.bottom() + 1});
            page.hosts().back()->setProperty("Caption", com::Variant::fromString("Item " + std::to_string(i)));
        }
        QCoreApplication::processEvents();
        bytes = double(heapInUse() - heap) / kFootprint;
        widgets = double(int(host.findChildren<QWidget*>().size()) - before) / kFootprint;
        state.PauseTiming();
        host.destroyControl();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
    state.counters["bytes_per_control"] = bytes;
    state.counters["widgets_per_control"] = widgets;
}
BENCHMARK(footprintOurs)->Name("Create200Buttons/ours")->Iterations(4)->Unit(benchmark::kMillisecond);

void footprintTheirs(benchmark::State& state)
{
    double bytes = 0, widgets = 0;
    for (auto _ : state) {
        QWidget page;
        page.resize(800, 600);
        page.show();
        const size_t heap = heapInUse();
        for (int i = 0; i < kFootprint; ++i)
            (new QPushButton(QString("Item %1").arg(i), &page))->setGeometry(cell(i));
        QCoreApplication::processEvents();
        bytes = double(heapInUse() - heap) / kFootprint;
        widgets = double(page.findChildren<QWidget*>().size()) / kFootprint;
        state.PauseTiming();
        for (QWidget* w : page.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            delete w;
        state.ResumeTiming();
    }
    state.counters["bytes_per_control"] = bytes;
    state.counters["widgets_per_control"] = widgets;
}
BENCHMARK(footprintTheirs)->Name("Create200Buttons/theirs")->Iterations(4)->Unit(benchmark::kMillisecond);

} // namespace

int compareBenchAutoExtension = [] {
    sqlite3_auto_extension(reinterpret_cast<void (*)()>(traceEveryConnection));
    return 0;
}();

#include "compare_bench.moc"
