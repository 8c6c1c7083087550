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
    std::string next(const std::vector<dao::Value>& row);   // the values in fieldNames' order

private:
    std::string next(const dao::Value* id, const dao::Value* place, const dao::Value* potential);
    bool byId_, byPlace_, byPotential_;
    size_t id_ = 0, place_ = 0, potential_ = 0;   // their columns
    int ordinal_ = 0;
    std::map<std::string, int> seen_;
};
std::vector<RowChange> rowChanges(const TableSnapshot& before, const TableSnapshot& after);

// The same changes for the rows a row log holds, read in the transaction that wrote them:
// only the tables written are read, once each. The log must be complete.
std::vector<RowChange> loggedRowChanges(dao::Database& db, const dao::RowLog& log);

// A value as the lists print it: text quoted, Null as Null.
std::string valueText(const dao::Value& v);

// "[table] key: [column] old → new", values quoted, Null and missing rows named as such.
std::string describe(const RowChange& change);

} // namespace vyr::vtx
