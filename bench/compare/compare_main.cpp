// Entry point of the side-by-side benchmark: a QApplication on the offscreen platform, nine
// repetitions of every benchmark interleaved at random (so both sides of a pair see the same
// machine load), and at the end a table of median ratios ours / theirs per row.
#include <QApplication>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// Pairs are named "Row/ours" and "Row/theirs", or "Row/ours/N" for a row measured at size N
// (shown as "Row@N"); a third side "server" is time the host's command server spends, which
// the net ratio leaves out. The reporter keeps each side's median CPU time.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            if (r.run_type != Run::RT_Aggregate || r.aggregate_name != "median")
                continue;
            std::string name = r.run_name.function_name;
            const long size = r.run_name.args.empty() ? 0 : std::stol(r.run_name.args);
            const size_t slash = name.rfind('/');
            if (slash == std::string::npos)
                continue;
            std::string row = name.substr(0, slash);
            if (size)
                row += "@" + std::to_string(size);
            if (!medians_.count(row))
                order_.push_back(row);
            medians_[row][name.substr(slash + 1)] = r.GetAdjustedCPUTime();
            units_[row] = benchmark::GetTimeUnitString(r.time_unit);
            sizes_[row] = size;
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        // Interleaving runs the rows in random order; the tables list them by name, sizes in
        // ascending order.
        std::sort(order_.begin(), order_.end(), [&](const std::string& a, const std::string& b) {
            const std::string ra = a.substr(0, a.find('@')), rb = b.substr(0, b.find('@'));
            return ra != rb ? ra < rb : sizes_[a] < sizes_[b];
        });
        std::printf("\n%-34s %14s %14s %8s %14s %8s\n", "row (median CPU time)", "ours", "theirs", "ratio",
                    "server", "net");
        for (const std::string& row : order_) {
            auto& m = medians_[row];
            if (!m.count("ours") || !m.count("theirs"))
                continue;
            const char* unit = units_[row].c_str();
            std::printf("%-34s %11.3f %-2s %11.3f %-2s %8.2f", row.c_str(), m["ours"], unit, m["theirs"], unit,
                        m["ours"] / m["theirs"]);
            if (m.count("server"))
                std::printf(" %11.3f %-2s %8.2f", m["server"], unit, (m["ours"] - m["server"]) / m["theirs"]);
            std::printf("\n");
        }
        // Cost per item of the rows measured at several sizes: flat (or falling) as the work
        // grows means the work scales linearly (or better).
        std::printf("\n%-34s %14s %14s\n", "row (CPU time per item)", "ours", "theirs");
        for (const std::string& row : order_) {
            auto& m = medians_[row];
            const long n = sizes_[row];
            if (!n || !m.count("ours") || !m.count("theirs"))
                continue;
            const double toNs = nanoseconds(units_[row]) / double(n);
            std::printf("%-34s %11.1f ns %11.1f ns\n", row.c_str(), (m["ours"] - (m.count("server") ? m["server"] : 0)) * toNs,
                        m["theirs"] * toNs);
        }
    }

private:
    static double nanoseconds(const std::string& unit)
    {
        return unit == "s" ? 1e9 : unit == "ms" ? 1e6 : unit == "us" ? 1e3 : 1;
    }

    std::vector<std::string> order_;
    std::map<std::string, long> sizes_;
    std::map<std::string, std::map<std::string, double>> medians_;
    std::map<std::string, std::string> units_;
};

bool given(int argc, char** argv, const std::string& flag)
{
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]).rfind(flag, 0) == 0)
            return true;
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::vector<std::string> defaults;
    if (!given(argc, argv, "--benchmark_repetitions"))
        defaults.push_back("--benchmark_repetitions=9");
    if (!given(argc, argv, "--benchmark_enable_random_interleaving"))
        defaults.push_back("--benchmark_enable_random_interleaving=true");
    if (!given(argc, argv, "--benchmark_report_aggregates_only"))
        defaults.push_back("--benchmark_report_aggregates_only=true");
    std::vector<char*> args(argv, argv + argc);
    for (std::string& d : defaults)
        args.push_back(d.data());
    int n = int(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&n, args.data());
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
