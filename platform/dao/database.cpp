#include "platform/dao/database.h"

#include "platform/dao/connection.h"
#include "platform/dao/recordset_state.h"

#include <filesystem>
#include <system_error>

namespace vyr::dao {

using detail::Connection;
using detail::Statement;

namespace {

std::shared_ptr<Connection> connect(const std::string& path, int flags)
{
    auto c = std::make_shared<Connection>();
    c->path = path;
    int rc = sqlite3_open_v2(path.c_str(), &c->db, flags | SQLITE_OPEN_FULLMUTEX, nullptr);
    if (rc != SQLITE_OK)
        detail::fail(*c, rc, "opening the database");
    sqlite3_extended_result_codes(c->db, 1);
    sqlite3_busy_timeout(c->db, detail::kBusyTimeoutMs);
    return c;
}

bool isTable(const Connection& c, const std::string& name, std::string* exact)
{
    Statement st(c, "SELECT name FROM sqlite_master WHERE type IN ('table', 'view') AND name = ? COLLATE NOCASE");
    st.bindText(1, name);
    if (!st.step())
        return false;
    *exact = st.columnText(0);
    return true;
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
    auto s = std::make_unique<Recordset::State>();
    s->conn = conn_;
    s->type = type;
    std::string table;
    bool named = isTable(*conn_, detail::stripBrackets(source), &table);
    switch (type) {
    case RecordsetType::Table: {
        if (!named)
            throw DaoError(ErrorNumber::TableNotFound, "Cannot find the table [" + detail::stripBrackets(source) +
                                                            "] in the database '" + conn_->path + "'");
        s->table = table;
        std::string quoted = detail::quoteIdentifier(table);
        {
            // Stepped before the names are read: a kept statement is prepared again then
            // if the table changed since.
            Statement st(*conn_, "SELECT * FROM " + quoted + " LIMIT 0");
            st.step();
            for (int i = 0; i < st.columns(); ++i)
                s->columns.push_back(st.columnName(i));
        }
        Statement ids(*conn_, "SELECT rowid FROM " + quoted + " ORDER BY rowid");
        while (ids.step())
            s->rowids.push_back(ids.columnInt(0));
        break;
    }
    case RecordsetType::Snapshot: {
        Statement st(*conn_, named ? "SELECT * FROM " + detail::quoteIdentifier(table) : source);
        if (!st.readOnly() || st.hasMore())
            throw DaoError(ErrorNumber::ReadOnly, "A snapshot takes one statement that only reads: \"" + source + "\"");
        bool row = st.step();   // first, so that a kept statement names today's columns
        for (int i = 0; i < st.columns(); ++i)
            s->columns.push_back(st.columnName(i));
        for (; row; row = st.step()) {
            std::vector<Value> row;
            row.reserve(s->columns.size());
            for (int i = 0; i < st.columns(); ++i)
                row.push_back(st.column(i));
            s->rows.push_back(std::move(row));
        }
        break;
    }
    default:
        throw DaoError(ErrorNumber::NotSupported, "Only Table and Snapshot recordsets are supported");
    }
    return Recordset(std::move(s));
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

void Database::close()
{
    if (conn_)
        conn_->close();
    conn_.reset();
}

} // namespace vyr::dao
