#pragma once
// The store file: where it is, opening it, its schema, and running one transaction on it.
// SQLite failures surface as registry error codes; nothing here throws past runInStore.
#include "platform/com/types.h"
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace vyr::registry {

// The hives are the keys with ids 1 to 4 (HKEY_CLASSES_ROOT, HKEY_CURRENT_USER,
// HKEY_LOCAL_MACHINE, HKEY_USERS), created with the store; a hive's parent is 0.
constexpr int64_t kFirstHiveId = 1;
constexpr int64_t kHiveCount = 4;
constexpr bool isHiveId(int64_t id) { return id >= kFirstHiveId && id < kFirstHiveId + kHiveCount; }

// A failure inside a transaction, carrying the registry error code to report.
struct StoreError {
    LONG code;
};

// Where new handles find the store: VYR_REGISTRY, else $XDG_CONFIG_HOME/vyr/registry.db,
// else ~/.config/vyr/registry.db.
std::string currentStorePath();

// A prepared statement borrowed from the connection's cache; reset when it goes out of scope.
class Stmt {
public:
    explicit Stmt(sqlite3_stmt* s) : s_(s) {}
    Stmt(const Stmt&) = delete;
    Stmt& operator=(const Stmt&) = delete;
    ~Stmt();

    Stmt& bind(int i, int64_t v);
    Stmt& bindText(int i, std::string_view text);
    Stmt& bindBlob(int i, std::span<const BYTE> data);
    // True when a row is ready, false when done.
    bool step();
    void run() { while (step()) {} }
    // Ready to bind and step again.
    void reset();

    int64_t integer(int col) const;
    std::string_view text(int col) const;
    std::span<const BYTE> blob(int col) const;

private:
    sqlite3_stmt* s_;
};

// The connection a transaction runs on.
class Db {
public:
    virtual ~Db() = default;
    // `sql` must be a string literal: the statement is cached by its address.
    virtual Stmt prepare(const char* sql) = 0;
    // Rows changed by the last statement.
    virtual int64_t changes() const = 0;
};

enum class Access { Read, Write };

// Runs `body` in one transaction on the store at `path`: a read sees one consistent state of
// the file; a write holds the write lock (waiting for other writers up to a timeout) and is
// committed only when `body` returns ERROR_SUCCESS. A store that does not exist reads as
// empty hives; a write creates it. Callers serialise calls within the process.
LONG runInStore(const std::string& path, Access access, const std::function<LONG(Db&)>& body);

// Makes the store's committed state durable on disk.
LONG flushStore(const std::string& path);

// Serialises every use of the store within the process.
std::mutex& storeMutex();

} // namespace vyr::registry
