#pragma once
// Test support for the configuration form's logic: every table's rows as text, to compare a
// database before and after a store, and a filter-wheel dialog that tests answer.
#include "platform/dao/database.h"
#include "vtx/model/filterwheel.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace vyr::vtx::test {

using TableRows = std::map<std::string, std::vector<std::string>>;

inline TableRows allRows(dao::Database& db)
{
    TableRows out;
    for (const dao::TableDef& t : db.tableDefs()) {
        dao::Recordset r = db.openRecordset("SELECT * FROM [" + t.name + "]", dao::RecordsetType::Snapshot);
        std::vector<std::string> names = r.fieldNames();
        for (; !r.eof(); r.moveNext()) {
            std::string row;
            for (const std::string& n : names) {
                dao::Value v = r.value(n);
                row += (v.isNull() ? std::string("<null>") : v.text()) + "|";
            }
            out[t.name].push_back(row);
        }
    }
    return out;
}

// Rows that differ between two dumps, as "table: row" texts of the second.
inline std::vector<std::string> changedRows(const TableRows& before, const TableRows& after)
{
    std::vector<std::string> out;
    for (const auto& [table, rows] : after) {
        auto old = before.find(table);
        for (size_t i = 0; i < rows.size(); ++i)
            if (old == before.end() || i >= old->second.size() || old->second[i] != rows[i])
                out.push_back(table + ": " + rows[i]);
    }
    return out;
}

// Types `place` into the dialog and presses OK once; "cancel" cancels. `whileOpen` runs while
// the dialog is open, as the user thinks.
class FakeWheel : public FilterWheelDialog {
public:
    explicit FakeWheel(std::string place = "cancel") : place(std::move(place)) {}
    std::optional<int> choosePlace(dao::Database& db, MessageBoxes& boxes) override
    {
        ++shown;
        if (whileOpen)
            whileOpen();
        if (place == "cancel")
            return std::nullopt;
        return FilterWheelChoice(db).accept(place, boxes);
    }
    std::string place;
    int shown = 0;
    std::function<void()> whileOpen;
};

} // namespace vyr::vtx::test
