#include "platform/dao/connection.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <strings.h>
#include <unordered_map>

namespace vyr::dao::detail {

Connection::~Connection()
{
    close();
    for (auto& [sql, kept] : statements)
        sqlite3_finalize(kept->stmt);
}

void Connection::close()
{
    dropKeptRows();
    // Kept statements go first, or the file would stay open; one that a Statement still runs
    // is finalized with the connection object.
    for (auto it = statements.begin(); it != statements.end();) {
        if (it->second->inUse) {
            ++it;
            continue;
        }
        sqlite3_finalize(it->second->stmt);
        it = statements.erase(it);
    }
    if (db) {
        sqlite3_close_v2(db);
        db = nullptr;
    }
}

sqlite3* Connection::handle() const
{
    if (!db)
        throw DaoError(ErrorNumber::ObjectClosed, "Object invalid or no longer set: the database is closed");
    return db;
}

std::ptrdiff_t TableRows::find(int64_t rowid) const
{
    auto at = std::lower_bound(rowids.begin(), rowids.end(), rowid);
    return at != rowids.end() && *at == rowid ? at - rowids.begin() : -1;
}

void Connection::dropKeptRows() const
{
    for (auto& [name, kept] : tableRows)
        kept->valid = false;
    tableRows.clear();
    for (auto& [name, list] : foundRows)
        for (FoundRows& f : list)
            f.rows->valid = false;
    foundRows.clear();
}

std::string lowerAscii(std::string s)
{
    for (char& ch : s)
        if (ch >= 'A' && ch <= 'Z')
            ch = char(ch - 'A' + 'a');
    return s;
}

namespace {

// Marks row `rowid` of `t` to be read again, or takes it out.
void forget(TableRows& t, int64_t rowid, bool deleted)
{
    auto at = std::lower_bound(t.rowids.begin(), t.rowids.end(), rowid);
    if (at == t.rowids.end() || *at != rowid)
        return;
    const std::ptrdiff_t i = at - t.rowids.begin();
    if (!deleted) {
        t.fresh[size_t(i)] = 0;
        return;
    }
    t.rowids.erase(at);
    t.rows.erase(t.rows.begin() + i);
    t.fresh.erase(t.fresh.begin() + i);
}

} // namespace

std::shared_ptr<TableRows> Connection::found(const std::string& table, const std::string& column,
                                             const std::string& text) const
{
    auto list = foundRows.find(table);
    if (list == foundRows.end())
        return nullptr;
    for (const FoundRows& f : list->second)
        if (f.text == text && strcasecmp(f.column.c_str(), column.c_str()) == 0)
            return f.rows;
    return nullptr;
}

void Connection::logRow(const std::string& table, const std::vector<std::string>& columns, int64_t rowid,
                        const std::vector<Value>* before) const
{
    if (!plainRowWrites())
        rowLog->complete = false;
    RowLog::Table& t = rowLog->tables[table];
    if (t.columns.empty())
        t.columns = columns;
    if (!t.before.count(rowid))
        t.before.emplace(rowid, before ? std::optional<std::vector<Value>>(*before) : std::nullopt);
}

bool Connection::lockedDataVersion(uint32_t* version) const
{
    if (!db || sqlite3_txn_state(db, "main") == SQLITE_TXN_NONE)
        return false;
    unsigned int v = 0;
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_DATA_VERSION, &v) != SQLITE_OK)
        return false;
    *version = v;
    return true;
}

void Connection::afterStatement(bool readOnly, bool rowWrite) const
{
    if (!readOnly)
        readRows.clear();
    if (rowLog && !readOnly && !rowWrite)
        rowLog->complete = false;
    // Back in autocommit mode, any transaction has ended (a commit, a rollback, or SQLite's own
    // rollback after an error), and other connections may write from now on; a write that is
    // not a recordset's own row write may have changed any table.
    if (!db || sqlite3_get_autocommit(db) || (!readOnly && !rowWrite)) {
        ++schemaChanges_;
        dropKeptRows();
    }
}

void Connection::afterExec(bool begins) const
{
    if (!begins)
        readRows.clear();
    if (rowLog)
        rowLog->complete = false;
    ++schemaChanges_;
    dropKeptRows();
}

void Connection::rowWritten(const std::string& table, int64_t rowid, RowChange change,
                            const std::vector<std::string>& columns) const
{
    if (tableRows.empty() && foundRows.empty())
        return;
    if (!plainRowWrites()) {
        dropKeptRows();
        return;
    }
    if (auto list = foundRows.find(table); list != foundRows.end()) {
        // A new row, or a change of the column a look-up went by, may change which rows it finds.
        std::erase_if(list->second, [&](const FoundRows& f) {
            bool membership = change == RowChange::Inserted;
            for (const std::string& c : columns)
                membership = membership || strcasecmp(c.c_str(), f.column.c_str()) == 0;
            if (membership)
                f.rows->valid = false;
            else
                forget(*f.rows, rowid, change == RowChange::Deleted);
            return membership;
        });
    }
    auto found = tableRows.find(table);
    if (found == tableRows.end())
        return;
    TableRows& t = *found->second;
    auto at = std::lower_bound(t.rowids.begin(), t.rowids.end(), rowid);
    const std::ptrdiff_t i = at - t.rowids.begin();
    const bool present = at != t.rowids.end() && *at == rowid;
    switch (change) {
    case RowChange::Inserted:   // read from the table when wanted, with its defaults
        if (!present) {
            t.rowids.insert(at, rowid);
            t.rows.insert(t.rows.begin() + i, std::vector<Value>());
            t.fresh.insert(t.fresh.begin() + i, 0);
        }
        break;
    case RowChange::Changed:
        if (present)
            t.fresh[size_t(i)] = 0;
        break;
    case RowChange::Deleted:
        if (present) {
            t.rowids.erase(at);
            t.rows.erase(t.rows.begin() + i);
            t.fresh.erase(t.fresh.begin() + i);
        }
        break;
    }
}

bool Connection::plainRowWrites() const
{
    if (plainChecked_ != schemaChanges_) {
        Statement st(*this, "SELECT (SELECT count(*) FROM sqlite_master WHERE type = 'trigger'), "
                            "(SELECT foreign_keys FROM pragma_foreign_keys)");
        plain_ = st.step() && st.columnInt(0) == 0 && st.columnInt(1) == 0;
        plainChecked_ = schemaChanges_;
    }
    return plain_;
}

void fail(const Connection& c, int rc, const std::string& what)
{
    std::string engine = c.db ? sqlite3_errmsg(c.db) : sqlite3_errstr(rc);
    switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        throw DaoError(ErrorNumber::FileInUse,
                       "The database '" + c.path + "' is locked by another user or program (" + what + ")");
    case SQLITE_NOTADB:
        throw DaoError(ErrorNumber::NotADatabase, "'" + c.path + "' is not a database file");
    case SQLITE_CORRUPT:
        throw DaoError(ErrorNumber::NotADatabase, "The database '" + c.path + "' is damaged (" + what + ")");
    case SQLITE_READONLY:
        throw DaoError(ErrorNumber::ReadOnly, "The database '" + c.path + "' is read-only (" + what + ")");
    case SQLITE_CANTOPEN:
    case SQLITE_IOERR:
    case SQLITE_FULL:
        throw DaoError(ErrorNumber::IoError, "Cannot read or write '" + c.path + "': " + engine + " (" + what + ")");
    default:
        throw DaoError(ErrorNumber::QueryFailed, what + ": " + engine);
    }
}

Statement::Statement(const Connection& c, std::string_view sql) : conn_(c), sql_(sql)
{
    sqlite3* db = c.handle();
    auto& kept = c.statements;
    auto found = kept.find(sql_);
    if (found != kept.end() && !found->second->inUse) {
        cached_ = found->second.get();
        cached_->inUse = true;
        stmt_ = cached_->stmt;
        more_ = cached_->more;
        return;
    }
    const char* tail = nullptr;
    int rc = sqlite3_prepare_v3(db, sql_.data(), int(sql_.size()), SQLITE_PREPARE_PERSISTENT, &stmt_, &tail);
    if (tail)
        more_ = std::string_view(tail, size_t(sql_.data() + sql_.size() - tail))
                    .find_first_not_of(" \t\r\n;") != std::string_view::npos;
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
        failPrepare(rc);
    }
    if (!stmt_)   // only blanks or comments
        throw DaoError(ErrorNumber::QueryFailed, "The SQL text \"" + sql_ + "\" holds no statement");
    if (found == kept.end()) {
        if (kept.size() >= kKeptStatements)
            std::erase_if(kept, [](auto& e) {
                if (e.second->inUse)
                    return false;
                sqlite3_finalize(e.second->stmt);
                return true;
            });
        auto entry = std::make_unique<CachedStatement>(CachedStatement{stmt_, more_, true});
        cached_ = entry.get();
        kept.emplace(sql_, std::move(entry));
    }
}

Statement::~Statement()
{
    if (!cached_) {
        sqlite3_finalize(stmt_);
        return;
    }
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
    cached_->inUse = false;
}

void Statement::failPrepare(int rc) const
{
    std::string msg = conn_.db ? sqlite3_errmsg(conn_.db) : sqlite3_errstr(rc);
    if (msg.rfind("no such table", 0) == 0)
        throw DaoError(ErrorNumber::TableNotFound, "Cannot find the table in \"" + sql_ + "\": " + msg);
    if (msg.rfind("no such column", 0) == 0)
        throw DaoError(ErrorNumber::ItemNotFound, "Cannot find the column in \"" + sql_ + "\": " + msg);
    fail(conn_, rc, "in \"" + sql_ + "\"");
}

void Statement::bind(int index, const Value& v)
{
    int rc = SQLITE_OK;
    switch (v.kind()) {
    case Value::Kind::Null: rc = sqlite3_bind_null(stmt_, index); break;
    case Value::Kind::Text: {
        std::string t = v.text();
        rc = sqlite3_bind_text(stmt_, index, t.data(), int(t.size()), SQLITE_TRANSIENT);
        break;
    }
    case Value::Kind::Number: {
        double n = v.number();
        if (n == double(int64_t(n)) && n > -9.0e18 && n < 9.0e18)
            rc = sqlite3_bind_int64(stmt_, index, int64_t(n));
        else
            rc = sqlite3_bind_double(stmt_, index, n);
        break;
    }
    case Value::Kind::Boolean: rc = sqlite3_bind_int(stmt_, index, v.boolean() ? 1 : 0); break;
    }
    if (rc != SQLITE_OK)
        fail(conn_, rc, "binding a value");
}

void Statement::bindText(int index, const std::string& text)
{
    bind(index, Value(text));
}

bool Statement::step()
{
    int rc = sqlite3_step(stmt_);
    conn_.afterStatement(readOnly(), rowWrite_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    // A kept statement that SQLite could not prepare again after a schema change fails here
    // as a fresh one fails to prepare.
    failPrepare(rc);
}

std::string Statement::columnName(int i) const
{
    const char* n = sqlite3_column_name(stmt_, i);
    return n ? n : "";
}

std::string Statement::columnText(int i) const
{
    const unsigned char* t = sqlite3_column_text(stmt_, i);
    return t ? std::string(reinterpret_cast<const char*>(t), size_t(sqlite3_column_bytes(stmt_, i))) : std::string();
}

namespace {

// Columns declared as Yes/No hold 1 and 0 (so that "= True" and "= False" work in SQL) and
// read back as Booleans.
bool declaredBoolean(const char* decl)
{
    return decl && (strcasestr(decl, "BOOL") || strcasestr(decl, "YESNO") || strcasestr(decl, "BIT"));
}

} // namespace

Value Statement::column(int i) const
{
    switch (sqlite3_column_type(stmt_, i)) {
    case SQLITE_NULL: return Value();
    case SQLITE_INTEGER:
        if (declaredBoolean(sqlite3_column_decltype(stmt_, i)))
            return Value(sqlite3_column_int64(stmt_, i) != 0);
        return Value(double(sqlite3_column_int64(stmt_, i)));
    case SQLITE_FLOAT: return Value(sqlite3_column_double(stmt_, i));
    default: return Value(columnText(i));
    }
}

std::vector<Value> Statement::row(int first) const
{
    std::vector<Value> values;
    const int n = columns();
    values.reserve(size_t(std::max(0, n - first)));
    for (int i = first; i < n; ++i)
        values.push_back(column(i));
    return values;
}

std::string stripBrackets(std::string_view name)
{
    if (name.size() >= 2 && name.front() == '[' && name.back() == ']')
        name = name.substr(1, name.size() - 2);
    return std::string(name);
}

std::string quoteIdentifier(std::string_view name)
{
    std::string bare = stripBrackets(name);
    std::string out = "\"";
    for (char ch : bare) {
        if (ch == '"')
            out += '"';
        out += ch;
    }
    return out + "\"";
}

namespace {

// "BEGIN", "BEGIN IMMEDIATE" and the like: SQL that writes nothing.
bool begins(const std::string& sql)
{
    std::string words = lowerAscii(sql);
    while (!words.empty() && (words.back() == ';' || words.back() == ' '))
        words.pop_back();
    for (const char* b : {"begin", "begin transaction", "begin deferred", "begin immediate", "begin exclusive",
                          "begin deferred transaction", "begin immediate transaction", "begin exclusive transaction"})
        if (words == b)
            return true;
    return false;
}

} // namespace

void exec(const Connection& c, const std::string& sql, const std::string& what)
{
    char* err = nullptr;
    int rc = sqlite3_exec(c.handle(), sql.c_str(), nullptr, nullptr, &err);
    c.afterExec(rc == SQLITE_OK && begins(sql));
    if (rc != SQLITE_OK) {
        std::string msg = err ? err : sqlite3_errstr(rc);
        sqlite3_free(err);
        if ((rc & 0xff) == SQLITE_ERROR)
            throw DaoError(ErrorNumber::QueryFailed, what + ": " + msg);
        fail(c, rc, what);
    }
}

} // namespace vyr::dao::detail
