#pragma once
// A database opened by path, in the shape of the classic data access objects: recordsets by
// table name or by SQL, table definitions, Execute and Close. A System Database is a SQLite
// file; its name may still end in ".mdb". A database and its recordsets belong to one thread
// at a time, like the objects they are modelled on; another thread opens its own.
#include "platform/dao/recordset.h"
#include "platform/dao/row_log.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vyr::dao {

namespace detail { struct Connection; }

struct TableDef {
    std::string name;
};

class Database {
public:
    // Opens an existing database for reading and writing. Fails with a description for a
    // missing file (an empty path included), a file that is not a database, and a database
    // that another connection holds locked.
    static Database open(const std::string& path);
    // Creates a new, empty database; fails when the file exists.
    static Database create(const std::string& path);

    Database();
    Database(Database&&) noexcept;
    Database& operator=(Database&&) noexcept;
    ~Database();

    bool isOpen() const;
    const std::string& path() const;

    // A table by name ("System Versions" or "[System Versions]") as an updatable Table
    // recordset; or, with Snapshot, SQL text (or a table name) as a read-only copy of its rows
    // in the order the statement returns them.
    Recordset openRecordset(const std::string& source, RecordsetType type = RecordsetType::Table);
    // An updatable Table recordset of only the rows of `table` whose `column` holds the text
    // `text` (compared exactly), in table order: found by SQL, through an index where the
    // table has one, so that its cost follows the rows found rather than the table's size.
    // Inside a transaction the rows found are kept until the transaction ends (or a write could
    // change what the look-up finds), so that looking up the same text again runs no statement.
    Recordset openRecordsetWhere(const std::string& table, const std::string& column, const std::string& text);
    // The same for the rows that hold any of `texts`, found with one statement; with Snapshot a
    // read-only copy of them. A Snapshot outside a transaction leaves its rows with the
    // connection: a transaction that looks up the same texts while the file has not changed
    // since (no connection, this one included, wrote to it) takes them without reading again.
    Recordset openRecordsetWhere(const std::string& table, const std::string& column,
                                 const std::vector<std::string>& texts, RecordsetType type = RecordsetType::Table);
    // An updatable Table recordset of the table's first row only (in table order), or of no
    // row when the table is empty.
    Recordset openFirstRow(const std::string& table);
    std::vector<TableDef> tableDefs() const;
    // Runs SQL text of one or more statements that return no rows.
    void execute(const std::string& sql);
    // From now on, every row the recordsets of this database write is logged (row_log.h) until
    // takeRowLog(). False, and no log, when the connection cannot see every row a write
    // changes (triggers or foreign-key actions); then the caller must compare states instead.
    bool startRowLog();
    RowLog takeRowLog();
    // Closes the database; its recordsets fail from then on. Closing twice is harmless.
    void close();

private:
    explicit Database(std::shared_ptr<detail::Connection> c);
    // A Table (or Snapshot) recordset of part of a table, which `fill` reads.
    Recordset openPart(const std::string& table, RecordsetType type, const std::function<void(Recordset::State&)>& fill);
    // Runs `fill` on a new recordset, with the exact name of `source`'s table (null when
    // `source` names none: SQL, unless `tableOnly` refuses that), and runs it again after
    // looking the name up afresh when a remembered table has gone since.
    Recordset openNamed(const std::string& source, RecordsetType type, bool tableOnly,
                        const std::function<void(Recordset::State&, const std::string*)>& fill);
    std::shared_ptr<detail::Connection> conn_;
};

} // namespace vyr::dao
