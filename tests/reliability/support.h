#pragma once
// What the reliability tests compare: a database's content (every row of every table, after
// SQLite's integrity check) and a file's bytes; and the outcome tables they print.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vyr::reliability {

// "integrity: <verdict>" followed by every table's rows in rowid order. Opening the file rolls a
// hot journal back, as the next start of any program would. Columns named in `ignored` (times
// of writing, which differ from run to run) read as "*".
std::string contentOf(const std::string& path, const std::vector<std::string>& ignored = {});

// 64-bit FNV-1a of the file's bytes; 0 for a file that cannot be read.
uint64_t checksumOf(const std::filesystem::path& path);

// Copies `from` to `to`, replacing it.
void copyFile(const std::string& from, const std::string& to);

// Files in `dir` other than those named.
std::vector<std::string> strayFiles(const std::filesystem::path& dir, const std::vector<std::string>& expected);

// One row of a fault or kill table: how runs of one operation ended.
struct Outcomes {
    std::string operation;
    int runs = 0;
    int before = 0;   // error reported (faults) or killed, and the database as it was
    int after = 0;    // succeeded (faults) or killed, and the database as the operation leaves it
    int other = 0;    // anything else: a fault
    std::vector<std::string> details;   // what each "other" run saw
    void add(int& bucket) { ++runs; ++bucket; }
    void fault(const std::string& what) { ++runs; ++other; details.push_back(what); }
};

// Prints the row (and the details of the other runs) and records it in the test's XML output.
void report(const Outcomes& o);

} // namespace vyr::reliability
