#pragma once
// The key tree inside a store: keys, their subkeys and values. Every function runs inside a
// transaction of runInStore and throws StoreError when the file fails.
#include "platform/registry/registry.h"
#include "platform/registry/store.h"
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vyr::registry::keys {

bool exists(Db& db, int64_t key);
std::optional<int64_t> child(Db& db, int64_t parent, std::string_view name);
// Adds a subkey that must not exist yet.
int64_t addChild(Db& db, int64_t parent, std::string_view name);
// Levels below the hive (a hive is at depth 0). Throws ERROR_REGISTRY_CORRUPT when the chain
// of parents does not end at a hive within kMaxKeyDepth levels.
size_t depth(Db& db, int64_t key);
size_t childCount(Db& db, int64_t key);
// The index-th subkey in case-insensitive order of names.
struct Child {
    std::string name;
    int64_t id = 0;
};
std::optional<Child> childAt(Db& db, int64_t parent, DWORD index);
// Deletes a key and its values; subkeys must have been deleted before.
void remove(Db& db, int64_t key);
// Deletes everything below `key` and its values; with `keepRoot` the key itself stays.
void removeTree(Db& db, int64_t key, bool keepRoot);

struct ValueInfo {
    int64_t id = 0;
    std::string name;  // as first set
    DWORD type = REG_NONE;
    size_t size = 0;
};
std::optional<ValueInfo> findValue(Db& db, int64_t key, std::string_view name);
// Values enumerate in the order they were first set.
std::optional<ValueInfo> valueAt(Db& db, int64_t key, DWORD index);
// Copies the data of a value found by findValue or valueAt; `out` holds info.size bytes.
void readValue(Db& db, int64_t valueId, BYTE* out, size_t size);
// Creates or replaces a value; a replaced value keeps its name's case and its position.
void setValue(Db& db, int64_t key, std::string_view name, DWORD type, std::span<const BYTE> data);
bool removeValue(Db& db, int64_t key, std::string_view name);

struct KeyInfo {
    DWORD subKeys = 0, maxSubKeyLen = 0, values = 0, maxValueNameLen = 0, maxValueLen = 0;
    int64_t written = 0;  // FILETIME of the last change
};
KeyInfo info(Db& db, int64_t key);
int64_t written(Db& db, int64_t key);
// Records a change of the key now.
void touch(Db& db, int64_t key);

} // namespace vyr::registry::keys
