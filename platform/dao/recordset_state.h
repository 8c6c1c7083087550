#pragma once
// Inside the database layer: what a recordset holds. A Table recordset keeps the row ids of
// its table in table order and reads the current row on demand (inside a transaction, from
// the rows the connection keeps); a Snapshot keeps copies.
#include "platform/dao/connection.h"
#include "platform/dao/recordset.h"

#include <optional>

namespace vyr::dao {

struct Recordset::State {
    enum class Mode { None, Edit, AddNew };

    std::shared_ptr<detail::Connection> conn;
    RecordsetType type = RecordsetType::Table;
    std::string table;   // empty for a snapshot of SQL
    std::vector<std::string> columns;
    std::vector<std::vector<Value>> rows;   // Snapshot
    std::vector<int64_t> rowids;            // Table
    std::vector<Value> current;             // Table: the current row, once read
    std::shared_ptr<detail::TableRows> kept;   // Table: the connection's rows of the table
    std::vector<std::shared_ptr<detail::TableRows>> found;   // Table: the connection's look-ups it holds
    bool loaded = false;
    bool deleted = false;   // the current row was deleted; the next one sits at pos
    size_t pos = 0;
    Mode mode = Mode::None;
    std::vector<std::optional<Value>> buffer;

    static State& checked(const std::unique_ptr<State>& s);
    size_t column(const std::string& name) const;
    size_t count() const;
    const std::vector<Value>& currentRow();
    // True when the connection knows the current row exists (so that Edit need not read it).
    bool currentKnown() const;
    void requireUpdatable(const char* what) const;

};

} // namespace vyr::dao
