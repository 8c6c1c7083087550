#include "vtx/model/row_changes.h"

#include "platform/dao/error.h"


#include <algorithm>

namespace vyr::vtx {

namespace {

bool has(const std::vector<std::string>& names, const char* name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::string keyText(const dao::Value& v)
{
    return v.isNull() ? std::string("Null") : v.text();
}

} // namespace

std::string valueText(const dao::Value& v)
{
    if (v.isNull())
        return "Null";
    if (v.kind() == dao::Value::Kind::Text)
        return "\"" + v.text() + "\"";
    return v.text();
}

RowKeys::RowKeys(const std::vector<std::string>& names)
    : byId_(has(names, "ID Available")), byPlace_(byId_ && has(names, "Position")),
      byPotential_(!byId_ && has(names, "ID Potential"))
{
    auto at = [&](const char* n) { return size_t(std::find(names.begin(), names.end(), n) - names.begin()); };
    id_ = at("ID Available");
    place_ = at("Position");
    potential_ = at("ID Potential");
}

std::string RowKeys::next(const dao::Recordset& r)
{
    dao::Value id = byId_ ? r.value("ID Available") : dao::Value();
    dao::Value place = byPlace_ ? r.value("Position") : dao::Value();
    dao::Value potential = byPotential_ ? r.value("ID Potential") : dao::Value();
    return next(&id, &place, &potential);
}

std::string RowKeys::next(const std::vector<dao::Value>& row)
{
    return next(byId_ ? &row[id_] : nullptr, byPlace_ ? &row[place_] : nullptr,
                byPotential_ ? &row[potential_] : nullptr);
}

std::string RowKeys::next(const dao::Value* id, const dao::Value* place, const dao::Value* potential)
{
    ++ordinal_;
    std::string key;
    if (byId_)
        key = keyText(*id);
    if (byPlace_)
        key += " place " + keyText(*place);
    if (byPotential_)
        key = keyText(*potential);
    if (!byId_ && !byPotential_)
        key = "row " + std::to_string(ordinal_);
    // Keys are not unique in every table: a repeated key counts its occurrences.
    if (int n = ++seen_[key]; n > 1)
        key += " (" + std::to_string(n) + ")";
    return key;
}

TableSnapshot snapshotTables(dao::Database& db)
{
    TableSnapshot out;
    for (const dao::TableDef& t : db.tableDefs()) {
        dao::Recordset r = db.openRecordset("SELECT * FROM [" + t.name + "]", dao::RecordsetType::Snapshot);
        std::vector<std::string> names = r.fieldNames();
        RowKeys keys(names);
        auto& rows = out.tables[t.name];
        for (; !r.eof(); r.moveNext()) {
            TableSnapshot::Row row;
            row.key = keys.next(r);
            for (const std::string& n : names)
                row.columns.emplace_back(n, r.value(n));
            rows.push_back(std::move(row));
        }
    }
    return out;
}

std::vector<RowChange> rowChanges(const TableSnapshot& before, const TableSnapshot& after)
{
    std::vector<RowChange> out;
    static const std::vector<TableSnapshot::Row> kNoRows;
    std::vector<std::string> tables;
    for (const auto& [name, rows] : before.tables)
        tables.push_back(name);
    for (const auto& [name, rows] : after.tables)
        if (!before.tables.count(name))
            tables.push_back(name);
    std::sort(tables.begin(), tables.end());
    for (const std::string& table : tables) {
        auto b = before.tables.find(table);
        auto a = after.tables.find(table);
        const auto& old = b == before.tables.end() ? kNoRows : b->second;
        const auto& now = a == after.tables.end() ? kNoRows : a->second;
        auto find = [](const std::vector<TableSnapshot::Row>& rows, const std::string& key) {
            return std::find_if(rows.begin(), rows.end(), [&](const TableSnapshot::Row& r) { return r.key == key; });
        };
        // Changed and added rows in the new table order, then removed ones in the old order.
        for (const TableSnapshot::Row& row : now) {
            auto was = find(old, row.key);
            for (const auto& [column, value] : row.columns) {
                std::optional<dao::Value> prior;
                if (was != old.end()) {
                    auto c = std::find_if(was->columns.begin(), was->columns.end(),
                                          [&](const auto& p) { return p.first == column; });
                    prior = c == was->columns.end() ? dao::Value() : c->second;
                    if (*prior == value)
                        continue;
                } else if (value.isNull()) {
                    continue;   // a new row lists only the columns it fills
                }
                out.push_back({table, row.key, column, prior, value});
            }
        }
        for (const TableSnapshot::Row& row : old) {
            if (find(now, row.key) != now.end())
                continue;
            for (const auto& [column, value] : row.columns)
                if (!value.isNull())
                    out.push_back({table, row.key, column, value, std::nullopt});
        }
    }
    return out;
}

std::vector<RowChange> loggedRowChanges(dao::Database& db, const dao::RowLog& log)
{
    if (!log.complete)
        throw dao::DaoError(dao::ErrorNumber::QueryFailed, "The row log of the store is incomplete");
    // Each written table as it is now and as it was: now with the logged rows' earlier values
    // in their places, the rows added left out and the rows deleted put back.
    TableSnapshot before, after;
    for (const auto& [table, written] : log.tables) {
        std::string quoted = "\"";
        for (char c : table)
            quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
        dao::Recordset r =
            db.openRecordset("SELECT rowid, * FROM " + quoted + "\" ORDER BY rowid", dao::RecordsetType::Snapshot);
        std::vector<std::string> names = r.fieldNames();
        names.erase(names.begin());
        if (names != written.columns)
            throw dao::DaoError(dao::ErrorNumber::QueryFailed, "[" + table + "] changed its columns during the store");
        std::vector<std::pair<int64_t, std::vector<dao::Value>>> now;
        for (; !r.eof(); r.moveNext()) {
            std::vector<dao::Value> row;
            for (const std::string& n : names)
                row.push_back(r.value(n));
            now.emplace_back(int64_t(r.value("rowid").number()), std::move(row));
        }
        std::vector<const std::vector<dao::Value>*> was;
        auto logged = written.before.begin();
        for (const auto& [rowid, row] : now) {
            for (; logged != written.before.end() && logged->first < rowid; ++logged)
                if (logged->second)
                    was.push_back(&*logged->second);   // deleted since
            if (logged != written.before.end() && logged->first == rowid) {
                if (logged->second)
                    was.push_back(&*logged->second);
                ++logged;
            } else {
                was.push_back(&row);
            }
        }
        for (; logged != written.before.end(); ++logged)
            if (logged->second)
                was.push_back(&*logged->second);
        auto fill = [&](std::vector<TableSnapshot::Row>& rows, auto&& each) {
            RowKeys keys(names);
            each([&](const std::vector<dao::Value>& values) {
                TableSnapshot::Row row;
                row.key = keys.next(values);
                for (size_t i = 0; i < names.size(); ++i)
                    row.columns.emplace_back(names[i], values[i]);
                rows.push_back(std::move(row));
            });
        };
        fill(after.tables[table], [&](auto&& add) { for (const auto& [rowid, row] : now) add(row); });
        fill(before.tables[table], [&](auto&& add) { for (const auto* row : was) add(*row); });
    }
    return rowChanges(before, after);
}

std::string describe(const RowChange& c)
{
    std::string from = c.before ? valueText(*c.before) : "(no row)";
    std::string to = c.after ? valueText(*c.after) : "(row removed)";
    return "[" + c.table + "] " + c.key + ": [" + c.column + "] " + from + " \u2192 " + to;
}

} // namespace vyr::vtx
