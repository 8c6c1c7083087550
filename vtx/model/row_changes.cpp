#include "vtx/model/row_changes.h"


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
}

std::string RowKeys::next(const dao::Recordset& r)
{
    ++ordinal_;
    std::string key;
    if (byId_)
        key = keyText(r.value("ID Available"));
    if (byPlace_)
        key += " place " + keyText(r.value("Position"));
    if (byPotential_)
        key = keyText(r.value("ID Potential"));
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

std::string describe(const RowChange& c)
{
    std::string from = c.before ? valueText(*c.before) : "(no row)";
    std::string to = c.after ? valueText(*c.after) : "(row removed)";
    return "[" + c.table + "] " + c.key + ": [" + c.column + "] " + from + " \u2192 " + to;
}

} // namespace vyr::vtx
