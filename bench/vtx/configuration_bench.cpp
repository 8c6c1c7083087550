// What the configuration form's load and Store cost on the demo database.
#include "bench/support/store_answers.h"
#include "platform/dao/database.h"
#include "vtx/model/backups.h"
#include "vtx/model/load.h"
#include "vtx/model/sql_script.h"
#include "vtx/model/store.h"
#include "vtx/model/store_undo.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <optional>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace vyr;

std::string demo()
{
    fs::path dir = fs::temp_directory_path() / ("vtx-config-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::string path = (dir / "System.mdb").string();
    if (!fs::exists(path)) {
        fs::path data = fs::path(VYR_SOURCE_DIR) / "vtx" / "data";
        vtx::createDatabaseFromScripts(path, {(data / "schema.sql").string(), (data / "demo.sql").string()});
    }
    return path;
}

using bench::NoWheel;
using bench::Silent;

void BM_LoadConfiguration(benchmark::State& state)
{
    dao::Database db = dao::Database::open(demo());
    for (auto _ : state)
        benchmark::DoNotOptimize(vtx::loadConfiguration(db, 21000));
}
BENCHMARK(BM_LoadConfiguration)->Unit(benchmark::kMillisecond);

// A complete store of the demo configuration, committed each time.
void BM_StoreConfiguration(benchmark::State& state)
{
    dao::Database db = dao::Database::open(demo());
    vtx::ConfigurationEditor editor(vtx::loadConfiguration(db, 21000));
    Silent boxes;
    NoWheel wheel;
    for (auto _ : state) {
        if (vtx::storeConfiguration(db, 21000, editor, boxes, wheel) != vtx::StoreResult::Completed)
            state.SkipWithError("store refused");
    }
}
BENCHMARK(BM_StoreConfiguration)->Unit(benchmark::kMillisecond);

// The asking phase alone: reads only, no lock.
void BM_PlanStore(benchmark::State& state)
{
    dao::Database db = dao::Database::open(demo());
    vtx::ConfigurationEditor editor(vtx::loadConfiguration(db, 21000));
    Silent boxes;
    NoWheel wheel;
    for (auto _ : state)
        benchmark::DoNotOptimize(vtx::planStore(db, 21000, editor.configuration(), boxes, wheel));
}
BENCHMARK(BM_PlanStore)->Unit(benchmark::kMillisecond);

// The demo database with system 21000's configuration loaded and its Store planned, as the
// writing benchmarks start from.
struct PlannedStore {
    std::string path = demo();
    dao::Database db = dao::Database::open(path);
    vtx::ConfigurationEditor editor{vtx::loadConfiguration(db, 21000)};
    Silent boxes;
    NoWheel wheel;
    vtx::StorePlan plan = vtx::planStore(db, 21000, editor.configuration(), boxes, wheel);
};

// The writing phase: how long Store holds the write lock, without and with the backup it
// takes inside the transaction.
void BM_WriteStore(benchmark::State& state)
{
    PlannedStore p;
    bool backup = state.range(0) != 0;
    for (auto _ : state) {
        if (vtx::writeStore(p.db, 21000, p.editor, p.plan, p.boxes, [&] {
                if (backup)
                    vtx::keepBackup(p.path);
            }) != vtx::StoreResult::Completed)
            state.SkipWithError("store refused");
    }
}
BENCHMARK(BM_WriteStore)->Arg(0)->Arg(1)->ArgName("backup")->Unit(benchmark::kMillisecond);

// Store as the window and vtxctl run it: the backup, the writes and the row changes kept for
// Undo (the written tables' rows before and after, inside the transaction).
void BM_StoreKeepingUndo(benchmark::State& state)
{
    PlannedStore p;
    for (auto _ : state)
        if (vtx::storeKeepingUndo(p.db, 21000, p.editor, p.plan, p.boxes) != vtx::StoreResult::Completed)
            state.SkipWithError("store refused");
}
BENCHMARK(BM_StoreKeepingUndo)->Unit(benchmark::kMillisecond);

// The dry run: the writes in a transaction that is rolled back, and the row changes they make.
void BM_PreviewStore(benchmark::State& state)
{
    PlannedStore p;
    for (auto _ : state)
        benchmark::DoNotOptimize(vtx::previewStore(p.db, 21000, p.editor.configuration(), p.plan));
}
BENCHMARK(BM_PreviewStore)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
