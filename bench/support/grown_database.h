#pragma once
// A System Database grown around the rows the tool edits: every table whose first column is
// its key gets `scale - 1` copies of each row under keys of their own ("<key> #k"), so the
// configuration Store edits stays the same while the tables around it grow. The version
// table stays as it is. Used by the benchmarks and by the tests that compare a Store on the
// demo database with one on a grown one.
#include <sqlite3.h>
#include <string>
#include <vector>

namespace vyr::bench {

inline void multiplyRows(sqlite3* db, int scale)
{
    std::vector<std::string> tables;
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "SELECT name FROM sqlite_master WHERE type = 'table'", -1, &st, nullptr);
    while (sqlite3_step(st) == SQLITE_ROW)
        tables.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    for (const std::string& t : tables) {
        if (t == "System Versions")
            continue;
        std::vector<std::string> columns;
        sqlite3_prepare_v2(db, ("SELECT name FROM pragma_table_info('" + t + "')").c_str(), -1, &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW)
            columns.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
        std::string select = "[" + columns[0] + "] || ' #' || k";
        for (size_t i = 1; i < columns.size(); ++i)
            select += ", [" + columns[i] + "]";
        const std::string sql = "WITH RECURSIVE n(k) AS (SELECT 1 UNION ALL SELECT k + 1 FROM n WHERE k < " +
                                std::to_string(scale - 1) + ") INSERT INTO [" + t + "] SELECT " + select +
                                " FROM [" + t + "], n";
        sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    }
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
}

// The file at `path` grown `scale` times (nothing for scale 1).
inline void growDatabase(const std::string& path, int scale)
{
    if (scale <= 1)
        return;
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    multiplyRows(db, scale);
    sqlite3_close(db);
}

} // namespace vyr::bench
