#include "platform/registry/keys.h"
#include "platform/registry/keyname.h"
#include <chrono>

namespace vyr::registry::keys {
namespace {

// 100-nanosecond intervals from 1601-01-01, as FILETIME counts.
int64_t fileTimeNow()
{
    using namespace std::chrono;
    constexpr int64_t kUnixEpoch = 116444736000000000;
    const auto ns = duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count();
    return kUnixEpoch + ns / 100;
}

std::optional<ValueInfo> valueRow(Stmt& s)
{
    if (!s.step())
        return std::nullopt;
    return ValueInfo{s.integer(0), std::string(s.text(1)), static_cast<DWORD>(s.integer(2)),
                     static_cast<size_t>(s.integer(3))};
}

} // namespace

bool exists(Db& db, int64_t key)
{
    Stmt s = db.prepare("SELECT 1 FROM keys WHERE id = ?");
    return s.bind(1, key).step();
}

std::optional<int64_t> child(Db& db, int64_t parent, std::string_view name)
{
    Stmt s = db.prepare("SELECT id FROM keys WHERE parent = ? AND folded = ?");
    if (!s.bind(1, parent).bindText(2, foldName(name)).step())
        return std::nullopt;
    return s.integer(0);
}

int64_t addChild(Db& db, int64_t parent, std::string_view name)
{
    const int64_t now = fileTimeNow();
    Stmt s = db.prepare(
        "INSERT INTO keys(parent, name, folded, written) VALUES (?, ?, ?, ?) RETURNING id");
    s.bind(1, parent).bindText(2, name).bindText(3, foldName(name)).bind(4, now).step();
    const int64_t id = s.integer(0);
    s.run();
    touch(db, parent);
    return id;
}

size_t depth(Db& db, int64_t key)
{
    Stmt s = db.prepare("SELECT parent FROM keys WHERE id = ?");
    size_t levels = 0;
    while (!isHiveId(key)) {
        if (levels > kMaxKeyDepth || !s.bind(1, key).step())
            throw StoreError{ERROR_REGISTRY_CORRUPT};
        key = s.integer(0);
        s.reset();
        ++levels;
    }
    return levels;
}

size_t childCount(Db& db, int64_t key)
{
    Stmt s = db.prepare("SELECT count(*) FROM keys WHERE parent = ?");
    s.bind(1, key).step();
    return static_cast<size_t>(s.integer(0));
}

std::optional<Child> childAt(Db& db, int64_t parent, DWORD index)
{
    Stmt s = db.prepare(
        "SELECT name, id, folded FROM keys WHERE parent = ? ORDER BY folded LIMIT 1 OFFSET ?");
    if (!s.bind(1, parent).bind(2, index).step())
        return std::nullopt;
    // A name that cannot be opened again (damaged file) would make a caller that deletes
    // subkey 0 until none is left go round for ever.
    const std::string_view name = s.text(0);
    const KeyPath path = splitKeyPath(name);
    if (path.status != KeyPath::Status::Ok || path.parts.size() != 1 ||
        foldName(name) != s.text(2))
        throw StoreError{ERROR_REGISTRY_CORRUPT};
    return Child{std::string(name), s.integer(1)};
}

void remove(Db& db, int64_t key)
{
    Stmt parent = db.prepare("SELECT parent FROM keys WHERE id = ?");
    const bool found = parent.bind(1, key).step();
    const int64_t parentId = found ? parent.integer(0) : 0;
    parent.run();
    db.prepare("DELETE FROM vals WHERE key = ?").bind(1, key).run();
    db.prepare("DELETE FROM keys WHERE id = ?").bind(1, key).run();
    if (found)
        touch(db, parentId);
}

void removeTree(Db& db, int64_t key, bool keepRoot)
{
    // UNION, not UNION ALL: a damaged file with a cycle of parents still terminates.
    db.prepare("WITH RECURSIVE below(id) AS (SELECT ?1 UNION SELECT k.id FROM keys k JOIN below "
               "b ON k.parent = b.id) DELETE FROM vals WHERE key IN below")
        .bind(1, key)
        .run();
    db.prepare("WITH RECURSIVE below(id) AS (SELECT ?1 UNION SELECT k.id FROM keys k JOIN below "
               "b ON k.parent = b.id) DELETE FROM keys WHERE id IN below AND (?2 = 0 OR id <> ?1)")
        .bind(1, key)
        .bind(2, keepRoot ? 1 : 0)
        .run();
    if (keepRoot)
        touch(db, key);
}

std::optional<ValueInfo> findValue(Db& db, int64_t key, std::string_view name)
{
    Stmt s = db.prepare(
        "SELECT id, name, type, length(data) FROM vals WHERE key = ? AND folded = ?");
    s.bind(1, key).bindText(2, foldName(name));
    return valueRow(s);
}

std::optional<ValueInfo> valueAt(Db& db, int64_t key, DWORD index)
{
    Stmt s = db.prepare("SELECT id, name, type, length(data) FROM vals WHERE key = ? "
                        "ORDER BY id LIMIT 1 OFFSET ?");
    s.bind(1, key).bind(2, index);
    return valueRow(s);
}

void readValue(Db& db, int64_t valueId, BYTE* out, size_t size)
{
    Stmt s = db.prepare("SELECT data FROM vals WHERE id = ?");
    if (!s.bind(1, valueId).step())
        throw StoreError{ERROR_REGISTRY_CORRUPT};
    const auto data = s.blob(0);
    if (data.size() != size)
        throw StoreError{ERROR_REGISTRY_CORRUPT};
    std::copy(data.begin(), data.end(), out);
}

void setValue(Db& db, int64_t key, std::string_view name, DWORD type, std::span<const BYTE> data)
{
    db.prepare("INSERT INTO vals(key, name, folded, type, data) VALUES (?, ?, ?, ?, ?) "
               "ON CONFLICT(key, folded) DO UPDATE SET type = excluded.type, data = excluded.data")
        .bind(1, key)
        .bindText(2, name)
        .bindText(3, foldName(name))
        .bind(4, type)
        .bindBlob(5, data)
        .run();
    touch(db, key);
}

bool removeValue(Db& db, int64_t key, std::string_view name)
{
    db.prepare("DELETE FROM vals WHERE key = ? AND folded = ?")
        .bind(1, key)
        .bindText(2, foldName(name))
        .run();
    if (db.changes() == 0)
        return false;
    touch(db, key);
    return true;
}

KeyInfo info(Db& db, int64_t key)
{
    KeyInfo r;
    Stmt k = db.prepare("SELECT count(*), coalesce(max(length(CAST(name AS BLOB))), 0) "
                        "FROM keys WHERE parent = ?");
    k.bind(1, key).step();
    r.subKeys = static_cast<DWORD>(k.integer(0));
    r.maxSubKeyLen = static_cast<DWORD>(k.integer(1));
    Stmt v = db.prepare("SELECT count(*), coalesce(max(length(CAST(name AS BLOB))), 0), "
                        "coalesce(max(length(data)), 0) FROM vals WHERE key = ?");
    v.bind(1, key).step();
    r.values = static_cast<DWORD>(v.integer(0));
    r.maxValueNameLen = static_cast<DWORD>(v.integer(1));
    r.maxValueLen = static_cast<DWORD>(v.integer(2));
    r.written = written(db, key);
    return r;
}

int64_t written(Db& db, int64_t key)
{
    Stmt s = db.prepare("SELECT written FROM keys WHERE id = ?");
    return s.bind(1, key).step() ? s.integer(0) : 0;
}

void touch(Db& db, int64_t key)
{
    db.prepare("UPDATE keys SET written = ? WHERE id = ?").bind(1, fileTimeNow()).bind(2, key).run();
}

} // namespace vyr::registry::keys
