// Each row of the speed table measured beside its plain Qt or SQLite equivalent: "Row/ours"
// and "Row/theirs". The equivalents are written the way a Qt developer would write them, with
// no tricks; compare_main.cpp prints the median ratios.
#include "controls/core/control.h"
#include "controls/core/host.h"
#include "controls/frames/frame.h"
#include "controls/spectra/curvesource.h"
#include "controls/spectra/spectractrl.h"
#include "bench/support/fixed_server.h"
#include "bench/support/frame_layout.h"
#include "bench/support/grown_database.h"
#include "bench/support/store_answers.h"
#include "platform/dao/database.h"
#include "controls/qtwidget/commandserver.h"
#include "vtx/model/load.h"
#include "vtx/model/sql_script.h"
#include "vtx/model/store.h"

#include <QAbstractButton>
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
using bench::FixedServer;
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
    state.counters["widgets"] = double(f.form.template findChildren<QWidget*>().size());
}
BENCHMARK_TEMPLATE(renderForm, OurForm)->Name("Render200/ours")->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(renderForm, TheirForm)->Name("Render200/theirs")->Unit(benchmark::kMillisecond);

// One control rendered alone beside the Qt widget a developer would use in its place.
void renderOneOurs(benchmark::State& state, const char* classId, const char* caption)
{
    HostWidget h;
    h.resize(100, 40);
    h.create(classId);
    if (caption)
        h.setProperty("Caption", com::Variant::fromString(caption));
    h.setProperty("Command", com::Variant::fromString("Shared"));
    h.setCommandServer(enabledServer());
    h.show();
    QImage image(h.size(), QImage::Format_RGB32);
    h.render(&image);
    for (auto _ : state)
        h.render(&image);
    state.counters["widgets"] = double(h.findChildren<QWidget*>().size() + 1);
}

// The widget is made inside the benchmark: benchmarks are registered before QApplication exists.
void renderOneTheirs(benchmark::State& state, QWidget* (*make)())
{
    std::unique_ptr<QWidget> w(make());
    w->resize(100, 40);
    w->show();
    QImage image(w->size(), QImage::Format_RGB32);
    w->render(&image);
    for (auto _ : state)
        w->render(&image);
    state.counters["widgets"] = double(w->findChildren<QWidget*>().size() + 1);
}

QWidget* pushButton() { return new QPushButton("Caption"); }
QWidget* radioButton() { return new QRadioButton("Caption"); }
QWidget* slider() { return new QSlider(Qt::Horizontal); }
QWidget* spinBox() { return new QDoubleSpinBox; }

BENCHMARK_CAPTURE(renderOneOurs, button, "VyrControls.Button", "Caption")
    ->Name("RenderButton/ours")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(renderOneTheirs, button, pushButton)
    ->Name("RenderButton/theirs")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(renderOneOurs, option, "VyrControls.OptionButton", "Caption")
    ->Name("RenderOptionButton/ours")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(renderOneTheirs, option, radioButton)
    ->Name("RenderOptionButton/theirs")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(renderOneOurs, slider, "VyrControls.Slider", nullptr)
    ->Name("RenderSlider/ours")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(renderOneTheirs, slider, slider)
    ->Name("RenderSlider/theirs")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(renderOneOurs, valueedit, "VyrControls.ValueEdit", nullptr)
    ->Name("RenderValueEdit/ours")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(renderOneTheirs, valueedit, spinBox)
    ->Name("RenderValueEdit/theirs")->Unit(benchmark::kMicrosecond);

// ---------------------------------------------------------------- command fan-out

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

std::vector<spectra::CurvePoint> curvePoints(int c, size_t count = 10'000)
{
    std::vector<spectra::CurvePoint> pts(count);
    for (size_t i = 0; i < pts.size(); ++i) {
        const double x = 350 + 450 * double(i) / double(pts.size() - 1);
        pts[i] = {x, std::exp(-std::pow((x - (350 + 450 * (c + 0.5) / 10)) / 20, 2))};
    }
    return pts;
}

// state.range(0) is the number of points of all ten curves together.
size_t pointsPerCurve(const benchmark::State& state) { return size_t(state.range(0) / 10); }

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
        source->addCurve(OLE_COLOR(0x102030 * (c + 1)), curvePoints(c, pointsPerCurve(state)));
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
BENCHMARK(spectraOurs)->Name("Spectra/ours")->RangeMultiplier(10)->Range(1'000, 1'000'000)
    ->Unit(benchmark::kMillisecond);

// The same 10 polylines over a prepared background, scaled to the visible
// 50 nm window of the 350..800 nm axis and clipped to it.
void spectraTheirs(benchmark::State& state)
{
    std::vector<std::vector<spectra::CurvePoint>> curves;
    for (int c = 0; c < 10; ++c)
        curves.push_back(curvePoints(c, pointsPerCurve(state)));
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
BENCHMARK(spectraTheirs)->Name("Spectra/theirs")->RangeMultiplier(10)->Range(1'000, 1'000'000)
    ->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------- Store

namespace fs = std::filesystem;

// The demo System Database, its tables multiplied `scale` times.
std::string demoDatabase(int scale = 1)
{
    const fs::path dir = fs::temp_directory_path() / ("vyr-compare-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string path = (dir / ("System-x" + std::to_string(scale) + ".mdb")).string();
    if (!fs::exists(path)) {
        const fs::path data = fs::path(VYR_SOURCE_DIR) / "vtx" / "data";
        vtx::createDatabaseFromScripts(path, {(data / "schema.sql").string(), (data / "demo.sql").string()});
        bench::growDatabase(path, scale);
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
    explicit StoreSetup(int scale) : path(demoDatabase(scale)) {}
    std::string path;
    dao::Database db = dao::Database::open(path);
    vtx::ConfigurationEditor editor{vtx::loadConfiguration(db, 21000)};
    Silent boxes;
    NoWheel wheel;
    bool store() { return vtx::storeConfiguration(db, 21000, editor, boxes, wheel) == vtx::StoreResult::Completed; }
};

// state.range(0): how many times the demo database's rows are multiplied.
void storeOurs(benchmark::State& state)
{
    StoreSetup s(int(state.range(0)));
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
BENCHMARK(storeOurs)->Name("Store/ours")->Arg(1)->Arg(100)->Unit(benchmark::kMillisecond);

// The writes one Store makes, replayed as SQL text in one transaction on a connection of
// its own.
void storeTheirs(benchmark::State& state)
{
    std::vector<std::string> writes;
    {
        StoreSetup s(int(state.range(0)));
        s.store(); // the first Store adds what is missing; the timed ones follow another
        gLog = {};
        gLog.recording = true;
        s.store();
        gLog.recording = false;
        writes = gLog.writes;
    }
    sqlite3* db = nullptr;
    sqlite3_open(demoDatabase(int(state.range(0))).c_str(), &db);
    for (auto _ : state) {
        sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        bool failed = false;
        for (const std::string& w : writes)
            failed = failed || sqlite3_exec(db, w.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK;
        if (failed) {
            state.SkipWithError(sqlite3_errmsg(db));
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
            break;
        }
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    }
    sqlite3_close(db);
    state.counters["writes"] = double(writes.size());
}
BENCHMARK(storeTheirs)->Name("Store/theirs")->Arg(1)->Arg(100)->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------- footprint of a hosted Button

constexpr int kFootprint = 200;

size_t heapInUse() { return mallinfo2().uordblks; }


// Creating and showing 200 controls on a Frame page (Buttons captioned); counters: heap bytes
// and widgets each.
void footprintOurs(benchmark::State& state, const char* classId)
{
    const bool captioned = std::string_view(classId) == "VyrControls.Button";
    double bytes = 0, widgets = 0;
    for (auto _ : state) {
        HostWidget host;
        host.resize(800, 600);
        host.create("VyrControls.Frame");
        host.show();
        frames::ControlPage& page = *bench::frameOf(host)->inner().page(0);
        const int before = int(host.findChildren<QWidget*>().size());
        const size_t heap = heapInUse();
        for (int i = 0; i < kFootprint; ++i) {
            const QRect r = cell(i);
            page.insertControl(classId, {r.left(), r.top(), r.right() + 1, r.bottom() + 1});
            HostWidget* h = page.hosts().back();
            if (captioned)
                h->setProperty("Caption", com::Variant::fromString("Item " + std::to_string(i)));
            // Bound to an enabled command, as the Qt widgets it is compared with are enabled.
            h->setProperty("Command", com::Variant::fromString("Shared"));
            h->setCommandServer(enabledServer());
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
void footprintTheirs(benchmark::State& state, QWidget* (*make)())
{
    double bytes = 0, widgets = 0;
    for (auto _ : state) {
        QWidget page;
        page.resize(800, 600);
        page.show();
        const size_t heap = heapInUse();
        for (int i = 0; i < kFootprint; ++i) {
            QWidget* w = make();
            w->setParent(&page);
            if (auto* b = qobject_cast<QAbstractButton*>(w))
                b->setText(QString("Item %1").arg(i));
            w->setGeometry(cell(i));
            w->show();
        }
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
BENCHMARK_CAPTURE(footprintOurs, buttons, "VyrControls.Button")
    ->Name("Create200Buttons/ours")->Iterations(4)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(footprintTheirs, buttons, pushButton)
    ->Name("Create200Buttons/theirs")->Iterations(4)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(footprintOurs, sliders, "VyrControls.Slider")
    ->Name("Create200Sliders/ours")->Iterations(4)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(footprintTheirs, sliders, slider)
    ->Name("Create200Sliders/theirs")->Iterations(4)->Unit(benchmark::kMillisecond);

} // namespace

int compareBenchAutoExtension = [] {
    sqlite3_auto_extension(reinterpret_cast<void (*)()>(traceEveryConnection));
    return 0;
}();

#include "compare_bench.moc"
