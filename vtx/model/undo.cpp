#include "vtx/model/undo.h"

#include "platform/dao/error.h"
#include "vtx/model/transaction.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace vyr::vtx {

namespace fs = std::filesystem;

namespace {

constexpr const char* kHeader = "vtx-undo 1";

std::string escaped(const std::string& s)
{
    std::string out;
    for (char c : s) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
    return out;
}

std::string unescaped(const std::string& s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\' || i + 1 == s.size()) {
            out += s[i];
            continue;
        }
        char c = s[++i];
        out += c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c;
    }
    return out;
}

// "-" no row, "N" Null, "T" text, "R" number, "B0"/"B1" Boolean.
std::string encoded(const std::optional<dao::Value>& v)
{
    if (!v)
        return "-";
    switch (v->kind()) {
    case dao::Value::Kind::Null: return "N";
    case dao::Value::Kind::Text: return "T" + escaped(v->text());
    case dao::Value::Kind::Boolean: return v->boolean() ? "B1" : "B0";
    case dao::Value::Kind::Number: {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.17g", v->number());
        return std::string("R") + buf;
    }
    }
    return "N";
}

bool decoded(const std::string& s, std::optional<dao::Value>& v)
{
    if (s == "-") {
        v.reset();
        return true;
    }
    if (s.empty())
        return false;
    std::string rest = s.substr(1);
    switch (s[0]) {
    case 'N': v = dao::Value(); return rest.empty();
    case 'T': v = dao::Value(unescaped(rest)); return true;
    case 'B': v = dao::Value(rest == "1"); return rest == "0" || rest == "1";
    case 'R': {
        char* end = nullptr;
        double d = std::strtod(rest.c_str(), &end);
        v = dao::Value(d);
        return !rest.empty() && end && *end == '\0';
    }
    default: return false;
    }
}

std::vector<std::string> fields(const std::string& line)
{
    std::vector<std::string> out(1);
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\t')
            out.emplace_back();
        else if (line[i] == '\\' && i + 1 < line.size())
            out.back() += {line[i], line[++i]};   // an escape stays whole until unescaped
        else
            out.back() += line[i];
    }
    return out;
}

using RowId = std::pair<std::string, std::string>;   // table, key

const TableSnapshot::Row* findRow(const TableSnapshot& s, const std::string& table, const std::string& key)
{
    auto t = s.tables.find(table);
    if (t == s.tables.end())
        return nullptr;
    for (const TableSnapshot::Row& r : t->second)
        if (r.key == key)
            return &r;
    return nullptr;
}

std::optional<dao::Value> cell(const TableSnapshot::Row* row, const std::string& column)
{
    if (!row)
        return std::nullopt;
    for (const auto& [name, value] : row->columns)
        if (name == column)
            return value;
    return dao::Value();
}

// The cells that do not hold what the Store left; for a row the Store added, every column
// counts (deleting it must lose nothing written since).
std::vector<UndoConflict> conflictsWith(const TableSnapshot& now, const std::vector<RowChange>& changes)
{
    std::vector<UndoConflict> out;
    std::set<RowId> added;
    for (const RowChange& c : changes) {
        const TableSnapshot::Row* row = findRow(now, c.table, c.key);
        if (!c.after) {
            if (row)
                out.push_back({c, cell(row, c.column)});
            continue;
        }
        std::optional<dao::Value> value = cell(row, c.column);
        if (value != c.after)
            out.push_back({c, value});
        if (!c.before)
            added.insert({c.table, c.key});
    }
    for (const auto& [table, key] : added) {
        const TableSnapshot::Row* row = findRow(now, table, key);
        if (!row)
            continue;
        for (const auto& [column, value] : row->columns) {
            bool listed = false;
            for (const RowChange& c : changes)
                listed = listed || (c.table == table && c.key == key && c.column == column);
            if (!listed && !value.isNull())
                out.push_back({{table, key, column, std::nullopt, dao::Value()}, value});
        }
    }
    return out;
}

bool alreadyUndone(const TableSnapshot& now, const std::vector<RowChange>& changes)
{
    for (const RowChange& c : changes) {
        const TableSnapshot::Row* row = findRow(now, c.table, c.key);
        if (!c.before ? row != nullptr : cell(row, c.column) != c.before)
            return false;
    }
    return true;
}

void applyInverse(dao::Database& db, const std::vector<RowChange>& changes)
{
    std::map<std::string, std::map<std::string, std::vector<const RowChange*>>> byTable;
    for (const RowChange& c : changes)
        byTable[c.table][c.key].push_back(&c);
    for (auto& [table, rows] : byTable) {
        dao::Recordset r = db.openRecordset(table);
        RowKeys keys(r.fieldNames());
        std::set<std::string> seen;
        for (; !r.eof(); r.moveNext()) {
            std::string key = keys.next(r);
            auto found = rows.find(key);
            if (found == rows.end())
                continue;
            seen.insert(key);
            if (!found->second.front()->before) {
                r.remove();   // a row the Store added
                continue;
            }
            r.edit();
            for (const RowChange* c : found->second)
                r.setValue(c->column, *c->before);
            r.update();
        }
        // Rows the Store removed come back with the values they had.
        for (const auto& [key, list] : rows) {
            if (seen.count(key) || list.front()->after)
                continue;
            r.addNew();
            for (const RowChange* c : list)
                r.setValue(c->column, *c->before);
            r.update();
        }
    }
}

} // namespace

std::string undoFile(const std::string& backup)
{
    return backup + kUndoSuffix;
}

void saveUndo(const std::string& backup, const std::vector<RowChange>& changes)
{
    const std::string path = undoFile(backup);
    const std::string part = path + ".part";
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        out << kHeader << "\n";
        for (const RowChange& c : changes)
            out << escaped(c.table) << '\t' << escaped(c.key) << '\t' << escaped(c.column) << '\t'
                << encoded(c.before) << '\t' << encoded(c.after) << '\n';
        out.flush();
        if (!out) {
            std::error_code ec;
            fs::remove(part, ec);
            throw dao::DaoError(dao::ErrorNumber::IoError, "Cannot write '" + part + "'");
        }
    }
    std::error_code ec;
    fs::rename(part, path, ec);
    if (ec) {
        fs::remove(part, ec);
        throw dao::DaoError(dao::ErrorNumber::IoError, "Cannot write '" + path + "': " + ec.message());
    }
}

std::optional<std::vector<RowChange>> readUndo(const std::string& backup)
{
    std::ifstream in(undoFile(backup), std::ios::binary);
    std::string line;
    if (!in || !std::getline(in, line) || line != kHeader)
        return std::nullopt;
    std::vector<RowChange> out;
    while (std::getline(in, line)) {
        std::vector<std::string> f = fields(line);
        if (f.size() != 5)
            return std::nullopt;
        RowChange c{unescaped(f[0]), unescaped(f[1]), unescaped(f[2]), std::nullopt, std::nullopt};
        if (!decoded(f[3], c.before) || !decoded(f[4], c.after))
            return std::nullopt;
        out.push_back(std::move(c));
    }
    return out;
}

std::string describe(const UndoConflict& k)
{
    const RowChange& c = k.change;
    std::string wrote = c.after ? valueText(*c.after) : "(row removed)";
    std::string now = k.now ? valueText(*k.now) : "(no row)";
    return "[" + c.table + "] " + c.key + ": [" + c.column + "] Store wrote " + wrote + ", now " + now;
}

std::string undoRefusal(const std::vector<UndoConflict>& conflicts)
{
    std::string text = "These rows were changed after the Store:";
    for (const UndoConflict& k : conflicts)
        text += "\n" + describe(k);
    return text + "\nNothing was undone.";
}

UndoOutcome undoRows(dao::Database& db, const std::vector<RowChange>& changes)
{
    UndoOutcome out;
    Transaction transaction(db);
    TableSnapshot now = snapshotTables(db);
    if (alreadyUndone(now, changes)) {
        out.undone = true;   // a second Undo, or one cut short after its commit
        return out;
    }
    out.conflicts = conflictsWith(now, changes);
    if (!out.conflicts.empty())
        return out;   // rolled back: nothing was written
    applyInverse(db, changes);
    transaction.commit();
    out.undone = true;
    return out;
}

} // namespace vyr::vtx
