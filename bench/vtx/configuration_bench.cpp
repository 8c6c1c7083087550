// What the configuration form's load and Store cost on the demo database.
#include "platform/dao/database.h"
#include "vtx/model/load.h"
#include "vtx/model/sql_script.h"
#include "vtx/model/store.h"

#include <benchmark/benchmark.h>
#include <filesystem>
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

class Silent : public vtx::MessageBoxes {
public:
    vtx::Answer show(const std::string&, const std::string&, vtx::Buttons) override { return vtx::Answer::No; }
};

class NoWheel : public vtx::FilterWheelDialog {
public:
    bool choosePlace(dao::Database&, vtx::MessageBoxes&) override { return false; }
};

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

} // namespace

BENCHMARK_MAIN();
