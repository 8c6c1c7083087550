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
std::vector<RowChange> rowChanges(const TableSnapshot& before, const TableSnapshot& after);

// "[table] key: [column] old → new", values quoted, Null and missing rows named as such.
std::string describe(const RowChange& change);

} // namespace vyr::vtx
