#include "tests/reliability/support.h"
#include <regex>

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <iostream>
#include <sqlite3.h>
#include <stdexcept>

namespace vyr::reliability {

namespace {

std::string rows(sqlite3* db, const std::string& sql, const std::vector<std::string>& ignored = {})
{
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
        return "<" + std::string(sqlite3_errmsg(db)) + ">";
    std::string out;
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        for (int i = 0; i < sqlite3_column_count(st); ++i) {
            if (std::find(ignored.begin(), ignored.end(), sqlite3_column_name(st, i)) != ignored.end()) {
                out += "*|";
                continue;
            }
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
            out += std::to_string(sqlite3_column_type(st, i)) + ":" + (text ? text : "") + "|";
        }
        out += "\n";
    }
    if (rc != SQLITE_DONE)
        out += "<" + std::string(sqlite3_errmsg(db)) + ">";
    sqlite3_finalize(st);
    return out;
}

} // namespace

std::string contentOf(const std::string& path, const std::vector<std::string>& ignored)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        std::string why = db ? sqlite3_errmsg(db) : "no memory";
        sqlite3_close(db);
        return "<cannot open: " + why + ">";
    }
    std::string out = "integrity: " + rows(db, "PRAGMA integrity_check");
    sqlite3_stmt* st = nullptr;
    std::vector<std::string> tables;
    if (sqlite3_prepare_v2(db, "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name", -1, &st,
                           nullptr) == SQLITE_OK) {
        while (sqlite3_step(st) == SQLITE_ROW)
            tables.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
    }
    for (const std::string& t : tables) {
        std::string quoted = "\"";
        for (char c : t)
            quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
        quoted += "\"";
        out += "[" + t + "]\n" + rows(db, "SELECT * FROM " + quoted + " ORDER BY rowid", ignored);
    }
    sqlite3_close(db);
    return out;
}

uint64_t checksumOf(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return 0;
    uint64_t h = 1469598103934665603ull;
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        for (std::streamsize i = 0; i < in.gcount(); ++i)
            h = (h ^ uint8_t(buffer[i])) * 1099511628211ull;
        if (!in)
            break;
    }
    return h;
}

void copyFile(const std::string& from, const std::string& to)
{
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
}

std::vector<std::string> strayFiles(const std::filesystem::path& dir, const std::vector<std::string>& expected)
{
    // Store keeps a backup beside the database before it writes ("db.yyyymmdd-hhmmss-mmm.bak")
    // with the row changes it made for Undo (".bak.undo"), and a backup cut short stays under
    // its scratch name (".bak.part…", ".bak.undo.part") until the next backup sweeps it: none
    // of them is taken for the database nor stops the next start.
    static const std::regex backup(R"(db\.\d{8}-\d{6}-\d{3}\.bak(\.undo(\.part)?|\.part(-journal|-wal|-shm)?)?)");
    std::vector<std::string> stray;
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
        const std::string name = e.path().filename().string();
        if (std::find(expected.begin(), expected.end(), name) == expected.end() && !std::regex_match(name, backup))
            stray.push_back(name);
    }
    return stray;
}

void report(const Outcomes& o)
{
    std::cout << "| " << o.operation << " | " << o.runs << " | " << o.before << " | " << o.after << " | "
              << o.other << " |\n";
    for (const std::string& d : o.details)
        std::cout << "    other: " << d << "\n";
    ::testing::Test::RecordProperty(o.operation, std::to_string(o.runs) + " runs, before " +
                                                     std::to_string(o.before) + ", after " +
                                                     std::to_string(o.after) + ", other " +
                                                     std::to_string(o.other));
}

} // namespace vyr::reliability
