#pragma once
// Inside the database layer: the shared SQLite connection, prepared statements and the
// translation of SQLite result codes into DaoError descriptions.
#include "platform/dao/error.h"
#include "platform/dao/row_log.h"
#include "platform/dao/value.h"

#include <cstdint>
#include <memory>
#include <sqlite3.h>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vyr::dao::detail {

// How long a statement waits for another connection's lock before it reports "locked".
constexpr int kBusyTimeoutMs = 1000;
// How many compiled statements a connection keeps; SQL texts with their values written in
// are many, and when the limit is reached the kept ones not running are let go.
constexpr size_t kKeptStatements = 128;

// A prepared statement kept by its SQL text for the next Statement of the same text.
struct CachedStatement {
    sqlite3_stmt* stmt = nullptr;
    bool more = false;   // the SQL text holds a further statement
    bool inUse = false;  // a Statement runs it now; a second one of the same text prepares its own
};

// The rows of one table as read inside the current transaction, in rowid order.
struct TableRows {
    bool valid = true;   // false once the connection let them go
    std::vector<std::string> columns;
    std::vector<int64_t> rowids;
    std::vector<std::vector<Value>> rows;
    std::vector<char> fresh;   // false: written since, to be read again
    // The index of `rowid`, or -1.
    std::ptrdiff_t find(int64_t rowid) const;
};

struct Connection {
    sqlite3* db = nullptr;
    std::string path;
    // Statements compiled once per connection: the layer runs the same few texts (table
    // look-ups, row reads and writes by rowid) over and over. SQLite prepares a kept
    // statement again by itself when the schema changes under it.
    mutable std::unordered_map<std::string, std::unique_ptr<CachedStatement>> statements;
    // Exact names of tables and views found by earlier look-ups, by their name in lower case.
    // Only names that exist are kept; a kept name that no longer opens is looked up again.
    mutable std::unordered_map<std::string, std::string> tableNames;

    // Inside a transaction no other connection can change what this one reads, so the rows
    // of a table read once are kept (by exact table name) until anything but a recordset's own
    // row write could change them: the end of the transaction, SQL run by execute, any other
    // writing statement. A recordset's row write keeps them, marking that row to be read again,
    // when the write changes nothing but its row (see plainRowWrites).
    mutable std::unordered_map<std::string, std::shared_ptr<TableRows>> tableRows;
    // In the same way, the rows found by one column's exact text (Database::openRecordsetWhere),
    // by table, then by the column's name and the text: a second look-up of the
    // same rows in the transaction runs no statement. A row write marks its row to be read
    // again; a write of that column, or a new row in the table, lets the affected look-ups go.
    struct FoundRows {
        std::string column;
        std::string text;
        std::shared_ptr<TableRows> rows;
    };
    mutable std::unordered_map<std::string, std::vector<FoundRows>> foundRows;
    // Rows found outside a transaction (a Snapshot of openRecordsetWhere), with the file's data
    // version they were read at. A transaction takes them as found while the file is still at
    // that version (no connection, this one included, has changed it since); any write of this
    // connection lets them go.
    struct ReadRows {
        std::string table, column, text;
        uint32_t version = 0;
        std::shared_ptr<TableRows> rows;
    };
    mutable std::vector<ReadRows> readRows;
    // The data version of the file, when this connection holds a lock on it (so that the
    // version is the file's own, not an older one); false otherwise.
    bool lockedDataVersion(uint32_t* version) const;
    std::shared_ptr<TableRows> found(const std::string& table, const std::string& column, const std::string& text) const;
    // Called after each step of a statement: `rowWrite` marks a recordset's own single-row
    // write, which leaves the tables as they were.
    void afterStatement(bool readOnly, bool rowWrite) const;
    void afterExec(bool begins = false) const;   // `begins`: the SQL only began a transaction
    // After a recordset wrote row `rowid` of `table` (inserted, changed or deleted it).
    // `columns` are those a change wrote.
    enum class RowChange { Inserted, Changed, Deleted };
    void rowWritten(const std::string& table, int64_t rowid, RowChange change,
                    const std::vector<std::string>& columns = {}) const;
    void dropKeptRows() const;
    // The log of row writes, while one is kept (Database::startRowLog): a recordset calls
    // logRow before it changes or deletes a row, with the row's values, and after it added one.
    mutable std::unique_ptr<RowLog> rowLog;
    void logRow(const std::string& table, const std::vector<std::string>& columns, int64_t rowid,
                const std::vector<Value>* before) const;
    // True when a write of one row changes nothing but that row: no triggers and no
    // foreign-key actions. Looked up once per change of tables.
    bool plainRowWrites() const;

    Connection() = default;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection();
    void close();
    sqlite3* handle() const;   // throws ObjectClosed after close()

private:
    mutable uint64_t schemaChanges_ = 0;               // SQL that may have changed tables
    mutable uint64_t plainChecked_ = ~uint64_t(0);   // schemaChanges_ when plain_ was read
    mutable bool plain_ = false;
};

// Throws the DaoError for SQLite result `rc`; `what` says what was being done.
[[noreturn]] void fail(const Connection& c, int rc, const std::string& what);

class Statement {
public:
    Statement(const Connection& c, std::string_view sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void bind(int index, const Value& v);
    void bindText(int index, const std::string& text);
    bool step();   // true while a row is ready; throws on error
    int columns() const { return sqlite3_column_count(stmt_); }
    std::string columnName(int i) const;
    Value column(int i) const;
    // The current row's values from column `first` on.
    std::vector<Value> row(int first = 0) const;
    int64_t columnInt(int i) const { return sqlite3_column_int64(stmt_, i); }
    std::string columnText(int i) const;
    bool readOnly() const { return sqlite3_stmt_readonly(stmt_) != 0; }
    bool hasMore() const { return more_; }   // the SQL text holds a further statement
    // Marks the statement as a recordset's write of one row (see Connection::afterStatement).
    void markRowWrite() { rowWrite_ = true; }

private:
    [[noreturn]] void failPrepare(int rc) const;

    bool more_ = false;
    bool rowWrite_ = false;
    const Connection& conn_;
    sqlite3_stmt* stmt_ = nullptr;
    CachedStatement* cached_ = nullptr;   // the connection's kept statement, when this is it
    std::string sql_;
};

std::string lowerAscii(std::string s);   // ASCII letters only, as SQLite folds names

// "name" quoted as an SQL identifier; a name given in [brackets] loses them first.
std::string quoteIdentifier(std::string_view name);
std::string stripBrackets(std::string_view name);

// Executes SQL text (one or more statements) that returns no rows.
void exec(const Connection& c, const std::string& sql, const std::string& what);

} // namespace vyr::dao::detail
