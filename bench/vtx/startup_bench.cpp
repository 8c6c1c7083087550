// What a start of the tool costs: the compaction that runs on every start, the open and the
// checks, and one of the snapshot statements, on the demo database and on a bulkier one.
#include "platform/dao/database.h"
#include "vtx/model/compaction.h"
#include "vtx/model/printed_messages.h"
#include "vtx/model/session.h"
#include "vtx/model/sql_script.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <sstream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace vyr;

// The demo, plus `rows` rows of 500 bytes in a table of its own (0: the plain demo).
std::string database(int64_t rows)
{
    fs::path dir = fs::temp_directory_path() / ("vtx-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::string path = (dir / ("system-" + std::to_string(rows) + ".mdb")).string();
    if (!fs::exists(path)) {
        fs::path data = fs::path(VYR_SOURCE_DIR) / "vtx" / "data";
        vtx::createDatabaseFromScripts(path, {(data / "schema.sql").string(), (data / "demo.sql").string()});
        if (rows > 0)
            dao::Database::open(path).execute(
                "CREATE TABLE [Scan Log] ([N] INTEGER, [Text] TEXT);"
                "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
                std::to_string(rows) + ") INSERT INTO [Scan Log] SELECT i, printf('%.500c', 'x') FROM n;");
    }
    return path;
}

void BM_CompactInPlace(benchmark::State& state)
{
    std::string path = database(state.range(0));
    for (auto _ : state)
        vtx::compactInPlace(path);
    state.counters["bytes"] = double(fs::file_size(path));
}
BENCHMARK(BM_CompactInPlace)->Arg(0)->Arg(20000)->Unit(benchmark::kMillisecond);

void BM_Start(benchmark::State& state)
{
    std::string path = database(state.range(0));
    std::ostringstream sink;
    vtx::PrintedMessages messages(sink);
    for (auto _ : state) {
        vtx::Session session(messages, "");
        benchmark::DoNotOptimize(session.start(path));
    }
}
BENCHMARK(BM_Start)->Arg(0)->Arg(20000)->Unit(benchmark::kMillisecond);

void BM_FilterWheelSnapshot(benchmark::State& state)
{
    dao::Database db = dao::Database::open(database(0));
    for (auto _ : state) {
        dao::Recordset rs = db.openRecordset(
            "SELECT * FROM [Available FilterPlacement] WHERE [ID Available] = 'FW1'AND [Not Include] = False ",
            dao::RecordsetType::Snapshot);
        benchmark::DoNotOptimize(rs.recordCount());
    }
}
BENCHMARK(BM_FilterWheelSnapshot)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
