#pragma once
// Row changes between two states of a System Database: every table's rows, matched by their
// key ([ID Available] with [Position] where the table has one, else [ID Potential], else the
// row's place in the table), compared column by column. Store's dry run, the list of what a
// backup holds, and the "Changes…" list all print these.
#include "platform/dao/database.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vyr::vtx {

struct RowChange {
    std::string table;
    std::string key;
    std::string column;
    std::optional<dao::Value> before;   // nothing: the row did not exist
    std::optional<dao::Value> after;    // nothing: the row no longer exists

    bool operator==(const RowChange&) const = default;
};

// Every table's rows with their keys, as read now.
struct TableSnapshot {
    struct Row {
        std::string key;
        std::vector<std::pair<std::string, dao::Value>> columns;
    };
    std::map<std::string, std::vector<Row>> tables;
};

TableSnapshot snapshotTables(dao::Database& db);

// The keys of a table's rows, given one after the other in table order.
class RowKeys {
public:
    explicit RowKeys(const std::vector<std::string>& fieldNames);
    std::string next(const dao::Recordset& row);

private:
    bool byId_, byPlace_, byPotential_;
    int ordinal_ = 0;
    std::map<std::string, int> seen_;
};
std::vector<RowChange> rowChanges(const TableSnapshot& before, const TableSnapshot& after);

// A value as the lists print it: text quoted, Null as Null.
std::string valueText(const dao::Value& v);

// "[table] key: [column] old → new", values quoted, Null and missing rows named as such.
std::string describe(const RowChange& change);

} // namespace vyr::vtx
