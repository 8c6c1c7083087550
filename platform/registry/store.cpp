#include "platform/registry/store.h"
#include "platform/registry/immortal.h"
#include "platform/registry/registry.h"
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>
#include <pwd.h>
#include <cstdlib>
#include <filesystem>
#include <list>
#include <map>
#include <memory>
#include <new>

namespace vyr::registry {
namespace {

constexpr int32_t kApplicationId = 0x56595252;  // "VYRR" in the file header
constexpr int kBusyTimeoutMs = 10000;
constexpr size_t kMaxOpenStores = 4;

constexpr const char* kSchema = R"sql(
CREATE TABLE keys(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    parent INTEGER NOT NULL,
    name TEXT NOT NULL,
    folded TEXT NOT NULL,
    written INTEGER NOT NULL DEFAULT 0,
    UNIQUE(parent, folded));
CREATE TABLE vals(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    key INTEGER NOT NULL,
    name TEXT NOT NULL,
    folded TEXT NOT NULL,
    type INTEGER NOT NULL,
    data BLOB NOT NULL,
    UNIQUE(key, folded));
INSERT INTO keys(id, parent, name, folded) VALUES
    (1, 0, 'HKEY_CLASSES_ROOT', 'HKEY_CLASSES_ROOT'),
    (2, 0, 'HKEY_CURRENT_USER', 'HKEY_CURRENT_USER'),
    (3, 0, 'HKEY_LOCAL_MACHINE', 'HKEY_LOCAL_MACHINE'),
    (4, 0, 'HKEY_USERS', 'HKEY_USERS');
PRAGMA application_id = 1448694354;
PRAGMA user_version = 1;
)sql";
static_assert(kApplicationId == 1448694354);

LONG fromSqlite(int rc)
{
    switch (rc & 0xFF) {
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
    case SQLITE_ERROR:  // e.g. a table missing from a tampered file
    case SQLITE_SCHEMA:
    case SQLITE_MISMATCH:
        return ERROR_REGISTRY_CORRUPT;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return ERROR_ACCESS_DENIED;
    case SQLITE_NOMEM:
        return ERROR_OUTOFMEMORY;
    case SQLITE_TOOBIG:
        return ERROR_INVALID_PARAMETER;
    default:
        return ERROR_REGISTRY_IO_FAILED;
    }
}

[[noreturn]] void fail(int rc) { throw StoreError{fromSqlite(rc)}; }

class Connection final : public Db {
public:
    enum class State { Unchecked, Empty, Ready };

    Connection(const std::string& path, int flags) : pid_(getpid())
    {
        const int rc = sqlite3_open_v2(path.c_str(), &db_, flags | SQLITE_OPEN_NOMUTEX, nullptr);
        if (rc != SQLITE_OK) {
            sqlite3_close(db_);
            db_ = nullptr;
            fail(rc);
        }
        sqlite3_extended_result_codes(db_, 1);
        sqlite3_busy_timeout(db_, kBusyTimeoutMs);
        // WAL with NORMAL sync survives a crash of the program; RegFlushKey checkpoints.
        // (A file that is not a database fails here already: the handle must not outlive us.)
        try {
            exec("PRAGMA synchronous=NORMAL");
        } catch (...) {
            sqlite3_close(db_);
            throw;
        }
    }
    ~Connection() override
    {
        // A connection inherited through fork() belongs to the parent: closing it here could
        // disturb the parent's locks and WAL, so the child leaves it alone.
        if (getpid() != pid_)
            return;
        for (auto& [sql, s] : cache_)
            sqlite3_finalize(s);
        sqlite3_close(db_);
    }

    Stmt prepare(const char* sql) override
    {
        auto it = cache_.find(sql);
        if (it == cache_.end()) {
            sqlite3_stmt* s = nullptr;
            const int rc = sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &s, nullptr);
            if (rc != SQLITE_OK)
                fail(rc);
            it = cache_.emplace(sql, s).first;
        }
        return Stmt(it->second);
    }
    int64_t changes() const override { return sqlite3_changes64(db_); }

    void exec(const char* sql)
    {
        const int rc = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK)
            fail(rc);
    }
    bool inTransaction() const { return !sqlite3_get_autocommit(db_); }
    void rollback()
    {
        if (inTransaction())
            sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }

    // Tells our store from an empty file and from anything else; inside a transaction.
    void classify()
    {
        if (state == State::Ready)
            return;
        Stmt id = prepare("PRAGMA application_id");
        id.step();
        if (id.integer(0) == kApplicationId) {
            state = State::Ready;
            return;
        }
        Stmt count = prepare("SELECT count(*) FROM sqlite_master");
        count.step();
        if (id.integer(0) != 0 || count.integer(0) != 0)
            throw StoreError{ERROR_REGISTRY_CORRUPT};  // some other database
        state = State::Empty;
    }
    void createSchema()
    {
        exec(kSchema);
        state = State::Ready;
    }

    bool forked() const { return getpid() != pid_; }

    State state = State::Unchecked;
    dev_t dev = 0;
    ino_t ino = 0;

private:
    sqlite3* db_ = nullptr;
    pid_t pid_;
    std::map<const char*, sqlite3_stmt*> cache_;
};

// Open connections by store path, most recently used first. A connection is reopened when
// the file at the path is no longer the file it was opened on.
struct OpenStore {
    std::string path;
    std::unique_ptr<Connection> conn;
};
std::list<OpenStore>& openStores()
{
    static Immortal<std::list<OpenStore>> stores;  // closed by closeAtExit, never destroyed
    return stores.get();
}

// Reads of a store that does not exist yet run on this empty store in memory.
Connection* emptyConnection = nullptr;

// At exit, and when a library holding this code is unloaded (a control server unloaded by its
// container), the committed changes move from the write-ahead log into the store file itself,
// so the file alone holds everything once no program is running, and the connections close:
// an unloaded library must not leave its open files and SQLite's memory in the process.
void closeAtExit()
{
    std::unique_lock lock(storeMutex(), std::try_to_lock);
    if (!lock)
        return;
    for (auto& s : openStores()) {
        if (s.conn->forked())
            continue;
        try {
            s.conn->exec("PRAGMA wal_checkpoint(TRUNCATE)");
        } catch (const StoreError&) {
        }
    }
    openStores().clear();
    delete emptyConnection;
    emptyConnection = nullptr;
}

// Called before the first connection opens.
void closeAtExitOnce()
{
    static const bool registered = std::atexit(closeAtExit) == 0;
    (void)registered;
}

void forget(const std::string& path)
{
    openStores().remove_if([&](const OpenStore& s) { return s.path == path; });
}

Connection& connectionFor(const std::string& path, const struct stat& st, bool create)
{
    auto& stores = openStores();
    for (auto it = stores.begin(); it != stores.end(); ++it) {
        if (it->path != path)
            continue;
        if (!it->conn->forked() && it->conn->dev == st.st_dev && it->conn->ino == st.st_ino) {
            stores.splice(stores.begin(), stores, it);
            return *stores.front().conn;
        }
        stores.erase(it);
        break;
    }
    closeAtExitOnce();
    auto conn = std::make_unique<Connection>(
        path, SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0));
    struct stat now {};
    if (stat(path.c_str(), &now) != 0)
        throw StoreError{ERROR_REGISTRY_IO_FAILED};
    conn->dev = now.st_dev;
    conn->ino = now.st_ino;
    stores.push_front({path, std::move(conn)});
    if (stores.size() > kMaxOpenStores)
        stores.pop_back();
    return *stores.front().conn;
}

// Reads of a store that does not exist yet run on an empty store in memory.
Connection& emptyStore()
{
    Connection*& empty = emptyConnection;
    if (!empty || empty->forked()) {
        closeAtExitOnce();
        auto conn = std::make_unique<Connection>(":memory:", SQLITE_OPEN_READWRITE);
        conn->createSchema();
        empty = conn.release();  // kept until exit or unload (a forked child's copy is left alone)
    }
    return *empty;
}

// Ends the transaction: commits when asked to, else (and on every exception) rolls back.
class Transaction {
public:
    Transaction(Connection& c, const char* begin) : c_(c) { c_.exec(begin); }
    ~Transaction() { c_.rollback(); }
    void commit() { c_.exec("COMMIT"); }

private:
    Connection& c_;
};

LONG readEmpty(const std::function<LONG(Db&)>& body)
{
    Connection& c = emptyStore();
    Transaction t(c, "BEGIN");
    return body(c);  // never committed: nothing may change the empty store
}

LONG transact(const std::string& path, Access access, const std::function<LONG(Db&)>& body)
{
    struct stat st {};
    const bool exists = stat(path.c_str(), &st) == 0;
    if (access == Access::Read) {
        if (!exists)
            return readEmpty(body);
        Connection& c = connectionFor(path, st, false);
        {
            Transaction t(c, "BEGIN");
            c.classify();
            if (c.state == Connection::State::Ready) {
                const LONG r = body(c);
                t.commit();
                return r;
            }
        }
        return readEmpty(body);
    }

    if (!exists) {
        // The file is created by the first write that changes something: a write that fails
        // on the empty store (deleting a missing key, say) leaves no file behind.
        if (const LONG dry = readEmpty(body); dry != ERROR_SUCCESS)
            return dry;
        if (path.empty())
            throw StoreError{ERROR_REGISTRY_IO_FAILED};
        std::error_code ec;
        const auto dir = std::filesystem::path(path).parent_path();
        if (!dir.empty())
            std::filesystem::create_directories(dir, ec);
    }
    Connection& c = connectionFor(path, st, !exists);
    if (c.state != Connection::State::Ready) {
        {
            Transaction t(c, "BEGIN");
            c.classify();  // leaves any file that is not ours alone
            t.commit();
        }
        // A new store is kept in WAL mode, so that readers never wait for a writer. Journal
        // mode can only change outside a transaction; a store that cannot switch still works
        // in rollback mode, so a failure here is not an error.
        if (c.state == Connection::State::Empty) {
            try {
                c.exec("PRAGMA journal_mode=WAL");
            } catch (const StoreError&) {
            }
        }
    }
    Transaction t(c, "BEGIN IMMEDIATE");
    c.classify();
    if (c.state == Connection::State::Empty)
        c.createSchema();
    const LONG r = body(c);
    if (r == ERROR_SUCCESS)
        t.commit();
    return r;
}

} // namespace

Stmt::~Stmt() { reset(); }

void Stmt::reset()
{
    sqlite3_reset(s_);
    sqlite3_clear_bindings(s_);
}

Stmt& Stmt::bind(int i, int64_t v)
{
    if (const int rc = sqlite3_bind_int64(s_, i, v); rc != SQLITE_OK)
        fail(rc);
    return *this;
}

Stmt& Stmt::bindText(int i, std::string_view text)
{
    // A null pointer would bind NULL; an empty name is text.
    if (const int rc = sqlite3_bind_text64(s_, i, text.data() ? text.data() : "", text.size(),
                                           SQLITE_TRANSIENT,
                                           SQLITE_UTF8);
        rc != SQLITE_OK)
        fail(rc);
    return *this;
}

Stmt& Stmt::bindBlob(int i, std::span<const BYTE> data)
{
    // A zero-length blob must still be a blob, not NULL.
    static const BYTE none = 0;
    if (const int rc = sqlite3_bind_blob64(s_, i, data.empty() ? &none : data.data(),
                                           data.size(), SQLITE_TRANSIENT);
        rc != SQLITE_OK)
        fail(rc);
    return *this;
}

bool Stmt::step()
{
    const int rc = sqlite3_step(s_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    fail(rc);
}

int64_t Stmt::integer(int col) const { return sqlite3_column_int64(s_, col); }

std::string_view Stmt::text(int col) const
{
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(s_, col));
    return p ? std::string_view(p, sqlite3_column_bytes(s_, col)) : std::string_view();
}

std::span<const BYTE> Stmt::blob(int col) const
{
    const auto* p = static_cast<const BYTE*>(sqlite3_column_blob(s_, col));
    return p ? std::span<const BYTE>(p, sqlite3_column_bytes(s_, col)) : std::span<const BYTE>();
}

std::string currentStorePath()
{
    if (const char* p = std::getenv("VYR_REGISTRY"); p && *p)
        return p;
    std::string base;
    if (const char* x = std::getenv("XDG_CONFIG_HOME"); x && *x == '/') {
        base = x;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !*home) {
            const passwd* pw = getpwuid(getuid());
            home = pw ? pw->pw_dir : nullptr;
        }
        if (!home || !*home)
            return {};
        base = std::string(home) + "/.config";
    }
    return base + "/vyr/registry.db";
}

LONG runInStore(const std::string& path, Access access, const std::function<LONG(Db&)>& body)
{
    try {
        return transact(path, access, body);
    } catch (const StoreError& e) {
        // After a failure of the file itself start afresh next time.
        if (e.code == ERROR_REGISTRY_CORRUPT || e.code == ERROR_REGISTRY_IO_FAILED)
            forget(path);
        return e.code;
    } catch (const std::bad_alloc&) {
        return ERROR_OUTOFMEMORY;
    }
}

std::mutex& storeMutex()
{
    static Immortal<std::mutex> m;  // the store may be used during exit
    return m.get();
}

LONG flushStore(const std::string& path)
{
    struct stat st {};
    if (stat(path.c_str(), &st) != 0)
        return ERROR_SUCCESS;  // nothing written, nothing to flush
    try {
        Connection& c = connectionFor(path, st, false);
        c.exec("PRAGMA wal_checkpoint(FULL)");
        return ERROR_SUCCESS;
    } catch (const StoreError& e) {
        return e.code;
    }
}

} // namespace vyr::registry
