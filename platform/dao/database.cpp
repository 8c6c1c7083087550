#include "platform/dao/database.h"

#include "platform/dao/connection.h"
#include "platform/dao/recordset_state.h"

#include <algorithm>
#include <filesystem>
#include <strings.h>
#include <system_error>

namespace vyr::dao {

using detail::Connection;
using detail::Statement;
using detail::lowerAscii;

namespace {

std::shared_ptr<Connection> connect(const std::string& path, int flags)
{
    auto c = std::make_shared<Connection>();
    c->path = path;
    // One thread at a time uses a database and its recordsets (see database.h), so SQLite's
    // per-call locking of the connection is left out.
    int rc = sqlite3_open_v2(path.c_str(), &c->db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK)
        detail::fail(*c, rc, "opening the database");
    sqlite3_extended_result_codes(c->db, 1);
    sqlite3_busy_timeout(c->db, detail::kBusyTimeoutMs);
    return c;
}

// The exact name of the table or view called `name` (case ignored). `remembered` says whether
// the answer came from the connection's memory of earlier look-ups rather than the schema.
bool findTable(const Connection& c, const std::string& name, std::string* exact, bool* remembered)
{
    const std::string key = lowerAscii(name);
    auto known = c.tableNames.find(key);
    *remembered = known != c.tableNames.end();
    if (*remembered) {
        *exact = known->second;
        return true;
    }
    Statement st(c, "SELECT name FROM sqlite_master WHERE type IN ('table', 'view') AND name = ? COLLATE NOCASE");
    st.bindText(1, name);
    if (!st.step())
        return false;
    *exact = st.columnText(0);
    c.tableNames.emplace(key, *exact);
    return true;
}

void openTable(const Connection& c, Recordset::State& s)
{
    auto known = c.tableRows.find(s.table);
    if (known != c.tableRows.end()) {
        s.kept = known->second;
        s.columns = s.kept->columns;
        s.rowids = s.kept->rowids;
        return;
    }
    // One scan gives the columns (stepped before they are read, so that a kept statement is
    // prepared again if the table changed since), the row ids and, inside a transaction, the
    // rows themselves for the connection to keep.
    const bool keep = !sqlite3_get_autocommit(c.handle());
    auto kept = std::make_shared<detail::TableRows>();
    Statement st(c, "SELECT rowid, * FROM " + detail::quoteIdentifier(s.table) + " ORDER BY rowid");
    bool row = st.step();
    for (int i = 1; i < st.columns(); ++i)
        s.columns.push_back(st.columnName(i));
    for (; row; row = st.step()) {
        s.rowids.push_back(st.columnInt(0));
        if (keep)
            kept->rows.push_back(st.row(1));
    }
    if (!keep)
        return;
    kept->columns = s.columns;
    kept->rowids = s.rowids;
    kept->fresh.assign(kept->rows.size(), 1);
    c.tableRows.emplace(s.table, kept);
    s.kept = std::move(kept);
}

// The rows whose `column` holds one of `texts` exactly (as Value::isText compares), in table
// order. A Snapshot copies them. A Table recordset inside a transaction takes each text's rows
// from the connection when they were found before in the transaction, finds the others with one
// statement and leaves them with the connection (see Connection::foundRows), values included;
// outside a transaction it holds the row ids, the first row's values with them.
void openTableWhere(const Connection& c, Recordset::State& s, const std::string& column,
                    std::vector<std::string> texts)
{
    std::sort(texts.begin(), texts.end());
    texts.erase(std::unique(texts.begin(), texts.end()), texts.end());
    const bool table = s.type == RecordsetType::Table;
    const bool keep = table && !sqlite3_get_autocommit(c.handle());
    if (table) {
        if (auto known = c.tableRows.find(s.table); known != c.tableRows.end())
            s.kept = known->second;
    }
    uint32_t version = 0;
    const bool unchanged = keep && !c.readRows.empty() && c.lockedDataVersion(&version);
    std::vector<std::string> missing;
    for (const std::string& t : texts) {
        std::shared_ptr<detail::TableRows> f = keep ? c.found(s.table, column, t) : nullptr;
        if (f && f->valid) {
            s.found.push_back(std::move(f));
            continue;
        }
        // Rows read before the transaction, while nothing has changed the file since.
        auto read = std::find_if(c.readRows.begin(), c.readRows.end(), [&](const Connection::ReadRows& r) {
            return unchanged && r.version == version && r.table == s.table && r.text == t &&
                   strcasecmp(r.column.c_str(), column.c_str()) == 0;
        });
        if (read != c.readRows.end()) {
            auto copy = std::make_shared<detail::TableRows>(*read->rows);
            c.foundRows[s.table].push_back({column, t, copy});
            s.found.push_back(std::move(copy));
            continue;
        }
        missing.push_back(t);
    }
    if (!s.found.empty())
        s.columns = s.found.front()->columns;
    if (!missing.empty()) {
        const std::string col = detail::quoteIdentifier(column);
        std::string where = col + " = ? COLLATE BINARY";
        if (missing.size() > 1) {
            where = col + " COLLATE BINARY IN (?";
            for (size_t i = 1; i < missing.size(); ++i)
                where += ", ?";
            where += ")";
        }
        Statement st(c, "SELECT rowid, * FROM " + detail::quoteIdentifier(s.table) + " WHERE " + where + " AND typeof(" +
                            col + ") = 'text' ORDER BY rowid");
        for (size_t i = 0; i < missing.size(); ++i)
            st.bindText(int(i + 1), missing[i]);
        bool row = st.step();
        s.columns.clear();
        for (int i = 1; i < st.columns(); ++i)
            s.columns.push_back(st.columnName(i));
        // SQLite reads a quoted name that is no column as a string literal: a missing column
        // would find nothing (or everything) instead of failing.
        const size_t at = s.column(column);
        // Outside a transaction a snapshot's rows are left with the connection as read rows.
        const bool readOnly = !table && sqlite3_get_autocommit(c.handle());
        std::vector<std::shared_ptr<detail::TableRows>> fresh;
        for (size_t i = 0; (keep || readOnly) && i < missing.size(); ++i) {
            fresh.push_back(std::make_shared<detail::TableRows>());
            fresh.back()->columns = s.columns;
        }
        for (; row; row = st.step()) {
            const int64_t rowid = st.columnInt(0);
            if (!table && !readOnly) {
                s.rows.push_back(st.row(1));
            } else if (keep || readOnly) {
                const std::string text = st.columnText(int(at + 1));
                auto& f = *fresh[size_t(std::lower_bound(missing.begin(), missing.end(), text) - missing.begin())];
                f.rowids.push_back(rowid);
                f.rows.push_back(st.row(1));
                f.fresh.push_back(1);
            } else {
                if (s.rowids.empty()) {   // the first row is current: its values came with it
                    s.current = st.row(1);
                    s.loaded = true;
                }
                s.rowids.push_back(rowid);
            }
        }
        if (readOnly) {
            // The statement has ended; the version is that of the rows it read.
            unsigned int v = 0;
            const bool known = sqlite3_file_control(c.handle(), "main", SQLITE_FCNTL_DATA_VERSION, &v) == SQLITE_OK;
            for (size_t i = 0; i < fresh.size(); ++i) {
                std::erase_if(c.readRows, [&](const Connection::ReadRows& r) {
                    return r.table == s.table && r.text == missing[i] && strcasecmp(r.column.c_str(), column.c_str()) == 0;
                });
                if (known)
                    c.readRows.push_back({s.table, column, missing[i], v, fresh[i]});
            }
            // The snapshot's own copy, in table order.
            std::vector<std::pair<int64_t, const std::vector<Value>*>> all;
            for (const auto& f : fresh)
                for (size_t k = 0; k < f->rowids.size(); ++k)
                    all.emplace_back(f->rowids[k], &f->rows[k]);
            std::sort(all.begin(), all.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
            for (const auto& [rowid, row] : all)
                s.rows.push_back(*row);
            fresh.clear();
        }
        for (size_t i = 0; i < fresh.size(); ++i) {
            c.foundRows[s.table].push_back({column, missing[i], fresh[i]});
            s.found.push_back(std::move(fresh[i]));
        }
    } else {
        s.column(column);
    }
    if (keep) {
        for (const auto& f : s.found)
            s.rowids.insert(s.rowids.end(), f->rowids.begin(), f->rowids.end());
        std::sort(s.rowids.begin(), s.rowids.end());
    }
    if (s.kept && s.kept->columns != s.columns)
        s.kept.reset();
}

void openSnapshot(const Connection& c, Recordset::State& s, const std::string& sql, const std::string& source)
{
    Statement st(c, sql);
    if (!st.readOnly() || st.hasMore())
        throw DaoError(ErrorNumber::ReadOnly, "A snapshot takes one statement that only reads: \"" + source + "\"");
    bool row = st.step();   // first, so that a kept statement names today's columns
    for (int i = 0; i < st.columns(); ++i)
        s.columns.push_back(st.columnName(i));
    for (; row; row = st.step())
        s.rows.push_back(st.row());
}

} // namespace

Database::Database() = default;
Database::Database(std::shared_ptr<Connection> c) : conn_(std::move(c)) {}
Database::Database(Database&&) noexcept = default;
Database& Database::operator=(Database&& other) noexcept
{
    if (this != &other) {
        close();
        conn_ = std::move(other.conn_);
    }
    return *this;
}
Database::~Database()
{
    close();
}

Database Database::open(const std::string& path)
{
    std::error_code ec;
    if (path.empty() || !std::filesystem::exists(path, ec))
        throw DaoError(ErrorNumber::FileNotFound, "Could not find file '" + path + "'");
    if (std::filesystem::is_directory(path, ec))
        throw DaoError(ErrorNumber::NotADatabase, "'" + path + "' is a folder, not a database file");
    auto c = connect(path, SQLITE_OPEN_READWRITE);
    // SQLite opens lazily: reading the schema shows at once whether the file is a database
    // and whether another connection holds it locked.
    Statement(*c, "SELECT count(*) FROM sqlite_master").step();
    return Database(std::move(c));
}

Database Database::create(const std::string& path)
{
    std::error_code ec;
    if (path.empty())
        throw DaoError(ErrorNumber::FileNotFound, "Cannot create a database without a file name");
    if (std::filesystem::exists(path, ec))
        throw DaoError(ErrorNumber::AlreadyExists, "The database '" + path + "' already exists");
    auto c = connect(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    Statement(*c, "SELECT count(*) FROM sqlite_master").step();
    return Database(std::move(c));
}

bool Database::isOpen() const
{
    return conn_ && conn_->db;
}

const std::string& Database::path() const
{
    static const std::string none;
    return conn_ ? conn_->path : none;
}

Recordset Database::openRecordset(const std::string& source, RecordsetType type)
{
    if (!conn_)
        throw DaoError(ErrorNumber::ObjectClosed, "Object invalid or no longer set: the database is closed");
    if (type != RecordsetType::Table && type != RecordsetType::Snapshot)
        throw DaoError(ErrorNumber::NotSupported, "Only Table and Snapshot recordsets are supported");
    return openNamed(source, type, type == RecordsetType::Table, [&](Recordset::State& s, const std::string* table) {
        if (type == RecordsetType::Table) {
            s.table = *table;
            openTable(*conn_, s);
        } else {
            openSnapshot(*conn_, s, table ? "SELECT * FROM " + detail::quoteIdentifier(*table) : source, source);
        }
    });
}

Recordset Database::openRecordsetWhere(const std::string& table, const std::string& column, const std::string& text)
{
    return openRecordsetWhere(table, column, std::vector<std::string>{text});
}

Recordset Database::openRecordsetWhere(const std::string& table, const std::string& column,
                                       const std::vector<std::string>& texts, RecordsetType type)
{
    const RecordsetType kind = type == RecordsetType::Snapshot ? type : RecordsetType::Table;
    return openPart(table, kind, [&](Recordset::State& s) { openTableWhere(*conn_, s, detail::stripBrackets(column), texts); });
}

Recordset Database::openFirstRow(const std::string& table)
{
    return openPart(table, RecordsetType::Table, [&](Recordset::State& s) {
        Statement st(*conn_, "SELECT rowid, * FROM " + detail::quoteIdentifier(s.table) + " ORDER BY rowid LIMIT 1");
        bool row = st.step();
        for (int i = 1; i < st.columns(); ++i)
            s.columns.push_back(st.columnName(i));
        if (row) {
            s.rowids.push_back(st.columnInt(0));
            s.current = st.row(1);
            s.loaded = true;
        }
    });
}

Recordset Database::openPart(const std::string& table, RecordsetType type,
                             const std::function<void(Recordset::State&)>& fill)
{
    if (!conn_)
        throw DaoError(ErrorNumber::ObjectClosed, "Object invalid or no longer set: the database is closed");
    return openNamed(table, type, true, [&](Recordset::State& s, const std::string* exact) {
        s.table = *exact;
        fill(s);
    });
}

Recordset Database::openNamed(const std::string& source, RecordsetType type, bool tableOnly,
                              const std::function<void(Recordset::State&, const std::string*)>& fill)
{
    const std::string name = detail::stripBrackets(source);
    for (;;) {
        auto s = std::make_unique<Recordset::State>();
        s->conn = conn_;
        s->type = type;
        std::string exact;
        bool remembered = false;
        const bool named = findTable(*conn_, name, &exact, &remembered);
        if (!named && tableOnly)
            throw DaoError(ErrorNumber::TableNotFound,
                           "Cannot find the table [" + name + "] in the database '" + conn_->path + "'");
        try {
            fill(*s, named ? &exact : nullptr);
        } catch (const DaoError& e) {
            // A remembered table that has gone since (dropped or renamed, perhaps by another
            // connection) is looked up afresh.
            if (!remembered || e.number() != ErrorNumber::TableNotFound)
                throw;
            conn_->tableNames.erase(lowerAscii(name));
            continue;
        }
        return Recordset(std::move(s));
    }
}

std::vector<TableDef> Database::tableDefs() const
{
    if (!conn_)
        throw DaoError(ErrorNumber::ObjectClosed, "Object invalid or no longer set: the database is closed");
    std::vector<TableDef> defs;
    Statement st(*conn_, "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY rowid");
    while (st.step())
        defs.push_back({st.columnText(0)});
    return defs;
}

void Database::execute(const std::string& sql)
{
    if (!conn_)
        throw DaoError(ErrorNumber::ObjectClosed, "Object invalid or no longer set: the database is closed");
    detail::exec(*conn_, sql, "running SQL on '" + conn_->path + "'");
}

bool Database::startRowLog()
{
    if (!conn_)
        throw DaoError(ErrorNumber::ObjectClosed, "Object invalid or no longer set: the database is closed");
    conn_->rowLog.reset();
    if (!conn_->plainRowWrites())
        return false;
    conn_->rowLog = std::make_unique<RowLog>();
    return true;
}

RowLog Database::takeRowLog()
{
    RowLog log;
    if (conn_ && conn_->rowLog) {
        log = std::move(*conn_->rowLog);
        conn_->rowLog.reset();
    } else {
        log.complete = false;
    }
    return log;
}

void Database::close()
{
    if (conn_)
        conn_->close();
    conn_.reset();
}

} // namespace vyr::dao
