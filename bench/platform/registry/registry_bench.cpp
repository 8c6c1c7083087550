// What the registry store costs per call: every call is a transaction on the file.
#include "platform/registry/regkey.h"
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

using namespace vyr::registry;

namespace {

// A fresh store file for one benchmark, removed afterwards.
struct BenchStore {
    BenchStore()
    {
        std::string tmpl = (std::filesystem::temp_directory_path() / "vyr-bench-XXXXXX").string();
        dir = mkdtemp(tmpl.data()) ? tmpl : std::string();
        setenv("VYR_REGISTRY", (dir + "/registry.db").c_str(), 1);
    }
    ~BenchStore()
    {
        unsetenv("VYR_REGISTRY");
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    std::string dir;
};

void SetValue(benchmark::State& state)
{
    BenchStore store;
    RegKey k;
    k.create(HKEY_CURRENT_USER, "Software\\Halvern\\VTX\\VTXControlForm");
    DWORD v = 0;
    for (auto _ : state)
        k.setDword("Left", ++v);
}
BENCHMARK(SetValue);

void QueryValue(benchmark::State& state)
{
    BenchStore store;
    RegKey k;
    k.create(HKEY_CURRENT_USER, "Software\\Halvern\\VTX\\VTXControlForm");
    k.setDword("Left", 1);
    DWORD v = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(k.queryDword("Left", v));
}
BENCHMARK(QueryValue);

void OpenKey(benchmark::State& state)
{
    BenchStore store;
    RegKey k;
    k.create(HKEY_CLASSES_ROOT, "CLSID\\{A19F6964-7884-11D0-BEF3-00400538977D}\\InprocServer32");
    for (auto _ : state) {
        RegKey open;
        benchmark::DoNotOptimize(open.open(HKEY_CLASSES_ROOT, "clsid\\{a19f6964-7884-11d0-bef3-00400538977d}\\InprocServer32"));
    }
}
BENCHMARK(OpenKey);

// One class written as registration writes it: a key, nine default values, a named value.
void RegisterClass(benchmark::State& state)
{
    BenchStore store;
    for (auto _ : state) {
        RegKey k;
        k.create(HKEY_CLASSES_ROOT, "CLSID\\{A19F6964-7884-11D0-BEF3-00400538977D}");
        for (const char* sub : {"", "ProgID", "InprocServer32", "ToolboxBitmap32", "MiscStatus",
                                "MiscStatus\\1", "Control", "TypeLib", "Version"})
            RegSetValue(k.get(), sub, REG_SZ, "value", 0);
        RegKey server;
        server.open(k.get(), "InprocServer32", KEY_SET_VALUE);
        server.setString("ThreadingModel", "Apartment");
    }
}
BENCHMARK(RegisterClass);

} // namespace

BENCHMARK_MAIN();
