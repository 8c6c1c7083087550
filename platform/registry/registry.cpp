// The registry functions: argument checks, handles and access rights here; the key tree in
// keys.cpp; the file and its transactions in store.cpp.
#include "platform/registry/registry.h"
#include "platform/registry/handles.h"
#include "platform/registry/keyname.h"
#include "platform/registry/keys.h"
#include "platform/registry/store.h"
#include <cstring>
#include <mutex>

using namespace vyr::registry;

namespace {

std::string_view view(const char* s) { return s ? std::string_view(s) : std::string_view(); }

std::optional<int64_t> walk(Db& db, int64_t from, const KeyPath& path)
{
    for (const auto part : path.parts) {
        const auto next = keys::child(db, from, part);
        if (!next)
            return std::nullopt;
        from = *next;
    }
    return from;
}

// Walks `path` down from the key `ref` names, creating what is missing.
LONG createPath(Db& db, const KeyRef& ref, const KeyPath& path, int64_t& key, bool& created)
{
    int64_t at = ref.id;
    size_t i = 0;
    for (; i < path.parts.size(); ++i) {
        const auto next = keys::child(db, at, path.parts[i]);
        if (!next)
            break;
        at = *next;
    }
    created = i < path.parts.size();
    if (created) {
        if (!(ref.access & KEY_CREATE_SUB_KEY))
            return ERROR_ACCESS_DENIED;
        if (keys::depth(db, ref.id) + path.parts.size() > kMaxKeyDepth)
            return ERROR_INVALID_PARAMETER;
        for (; i < path.parts.size(); ++i)
            at = keys::addChild(db, at, path.parts[i]);
    }
    key = at;
    return ERROR_SUCCESS;
}

// One call on an open key: holds the registry lock for its whole length and knows the key.
class Call {
public:
    explicit Call(HKEY h) : lock_(storeMutex()), ref_(resolveHandle(h)) {}

    // ERROR_INVALID_HANDLE for a handle that is not open, ERROR_ACCESS_DENIED when it lacks
    // any of the `needed` rights.
    LONG check(REGSAM needed = 0) const
    {
        if (!ref_)
            return ERROR_INVALID_HANDLE;
        return (ref_->access & needed) == needed ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
    }
    // check(), then the subkey argument split into `path` (see parsePath).
    LONG checkPath(const char* subKey, LONG tooLong, KeyPath& path) const;
    const KeyRef& ref() const { return *ref_; }

    // Runs `body` in a transaction on the key; ERROR_BADKEY once that key is gone.
    LONG run(Access access, const std::function<LONG(Db&)>& body) const
    {
        return runInStore(ref_->store, access, [&](Db& db) -> LONG {
            if (!keys::exists(db, ref_->id))
                return ERROR_BADKEY;
            return body(db);
        });
    }
    // The same for the key `path` names below it; ERROR_FILE_NOT_FOUND when there is none.
    LONG runAt(const KeyPath& path, Access access,
               const std::function<LONG(Db&, int64_t)>& body) const
    {
        return run(access, [&](Db& db) -> LONG {
            const auto key = walk(db, ref_->id, path);
            return key ? body(db, *key) : ERROR_FILE_NOT_FOUND;
        });
    }

private:
    std::lock_guard<std::mutex> lock_;
    std::optional<KeyRef> ref_;
};

// Splits a subkey argument; a malformed path is ERROR_BAD_PATHNAME, a too long one `tooLong`
// (a key that cannot exist, or cannot be created).
LONG parsePath(const char* subKey, LONG tooLong, KeyPath& path)
{
    path = splitKeyPath(view(subKey));
    switch (path.status) {
    case KeyPath::Status::Malformed: return ERROR_BAD_PATHNAME;
    case KeyPath::Status::TooLong: return tooLong;
    default: return ERROR_SUCCESS;
    }
}

// Copies a name into a buffer of *size bytes: on success *size is the length without the
// NUL, else the capacity needed.
LONG copyName(std::string_view name, char* out, DWORD* size)
{
    if (*size < name.size() + 1) {
        *size = static_cast<DWORD>(name.size() + 1);
        return ERROR_MORE_DATA;
    }
    std::memcpy(out, name.data(), name.size());
    out[name.size()] = '\0';
    *size = static_cast<DWORD>(name.size());
    return ERROR_SUCCESS;
}

void putFileTime(int64_t t, FILETIME* out)
{
    if (!out)
        return;
    out->dwLowDateTime = static_cast<DWORD>(t);
    out->dwHighDateTime = static_cast<DWORD>(static_cast<uint64_t>(t) >> 32);
}


LONG Call::checkPath(const char* subKey, LONG tooLong, KeyPath& path) const
{
    if (const LONG e = check())
        return e;
    return parsePath(subKey, tooLong, path);
}

// Copies a value's data into a buffer of *size bytes (or only reports the size when `data` is
// null); *size becomes the value's length either way.
LONG copyData(Db& db, const keys::ValueInfo& v, BYTE* data, DWORD* size)
{
    const DWORD capacity = *size;
    *size = static_cast<DWORD>(v.size);
    if (!data)
        return ERROR_SUCCESS;
    if (capacity < v.size)
        return ERROR_MORE_DATA;
    keys::readValue(db, v.id, data, v.size);
    return ERROR_SUCCESS;
}

// Keys have no class: an empty one is reported.
void noClass(char* keyClass, DWORD* classSize)
{
    if (keyClass && classSize && *classSize > 0)
        keyClass[0] = '\0';
    if (classSize)
        *classSize = 0;
}

} // namespace

LONG RegOpenKeyEx(HKEY hKey, const char* subKey, DWORD, REGSAM samDesired, PHKEY result)
{
    if (!result)
        return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    const Call call(hKey);
    KeyPath path;
    if (const LONG e = call.checkPath(subKey, ERROR_FILE_NOT_FOUND, path))
        return e;
    if (path.parts.empty() && call.ref().predefined) {
        *result = hKey;
        return ERROR_SUCCESS;
    }
    int64_t key = 0;
    const LONG r = call.runAt(path, Access::Read, [&](Db&, int64_t found) {
        key = found;
        return ERROR_SUCCESS;
    });
    if (r == ERROR_SUCCESS)
        *result = openHandle({call.ref().store, key, normaliseAccess(samDesired)});
    return r;
}

LONG RegOpenKey(HKEY hKey, const char* subKey, PHKEY result)
{
    return RegOpenKeyEx(hKey, subKey, 0, MAXIMUM_ALLOWED, result);
}

LONG RegCreateKeyEx(HKEY hKey, const char* subKey, DWORD, const char*, DWORD options,
                    REGSAM samDesired, const void*, PHKEY result, DWORD* disposition)
{
    if (!result)
        return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    if (options != REG_OPTION_NON_VOLATILE)
        return ERROR_INVALID_PARAMETER;
    const Call call(hKey);
    KeyPath path;
    if (const LONG e = call.checkPath(subKey, ERROR_INVALID_PARAMETER, path))
        return e;
    int64_t key = 0;
    bool created = false;
    LONG r = ERROR_SUCCESS;
    if (path.parts.empty() && call.ref().predefined) {
        *result = hKey;
    } else {
        // An existing key is opened without taking the store's write lock.
        r = call.run(Access::Read, [&](Db& db) {
            key = walk(db, call.ref().id, path).value_or(0);
            return ERROR_SUCCESS;
        });
        if (r == ERROR_SUCCESS && key == 0)
            r = call.run(Access::Write,
                         [&](Db& db) { return createPath(db, call.ref(), path, key, created); });
        if (r == ERROR_SUCCESS)
            *result = openHandle({call.ref().store, key, normaliseAccess(samDesired)});
    }
    if (r == ERROR_SUCCESS && disposition)
        *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    return r;
}

LONG RegCreateKey(HKEY hKey, const char* subKey, PHKEY result)
{
    return RegCreateKeyEx(hKey, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, MAXIMUM_ALLOWED,
                          nullptr, result, nullptr);
}

LONG RegCloseKey(HKEY hKey)
{
    std::lock_guard lock(storeMutex());
    if (isPredefined(hKey))
        return ERROR_SUCCESS;
    return closeHandle(hKey) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LONG RegFlushKey(HKEY hKey)
{
    const Call call(hKey);
    if (const LONG e = call.check())
        return e;
    return flushStore(call.ref().store);
}

LONG RegDeleteKey(HKEY hKey, const char* subKey)
{
    const Call call(hKey);
    KeyPath path;
    if (const LONG e = call.checkPath(subKey, ERROR_FILE_NOT_FOUND, path))
        return e;
    return call.runAt(path, Access::Write, [&](Db& db, int64_t key) {
        if (isHiveId(key) || keys::childCount(db, key) > 0)
            return ERROR_ACCESS_DENIED;
        keys::remove(db, key);
        return ERROR_SUCCESS;
    });
}

LONG RegDeleteTree(HKEY hKey, const char* subKey)
{
    const Call call(hKey);
    KeyPath path;
    if (const LONG e = call.checkPath(subKey, ERROR_FILE_NOT_FOUND, path))
        return e;
    return call.runAt(path, Access::Write, [&](Db& db, int64_t key) {
        keys::removeTree(db, key, path.parts.empty());
        return ERROR_SUCCESS;
    });
}

LONG RegSetValueEx(HKEY hKey, const char* valueName, DWORD, DWORD type, const BYTE* data,
                   DWORD size)
{
    const std::string_view name = view(valueName);
    if ((!data && size) || name.size() > kMaxValueNameBytes)
        return ERROR_INVALID_PARAMETER;
    const Call call(hKey);
    if (const LONG e = call.check(KEY_SET_VALUE))
        return e;
    return call.run(Access::Write, [&](Db& db) {
        keys::setValue(db, call.ref().id, name, type, std::span<const BYTE>(data, size));
        return ERROR_SUCCESS;
    });
}

LONG RegQueryValueEx(HKEY hKey, const char* valueName, DWORD*, DWORD* type, BYTE* data,
                     DWORD* size)
{
    if (data && !size)
        return ERROR_INVALID_PARAMETER;
    const Call call(hKey);
    if (const LONG e = call.check(KEY_QUERY_VALUE))
        return e;
    return call.run(Access::Read, [&](Db& db) -> LONG {
        const auto v = keys::findValue(db, call.ref().id, view(valueName));
        if (!v)
            return ERROR_FILE_NOT_FOUND;
        if (type)
            *type = v->type;
        return size ? copyData(db, *v, data, size) : ERROR_SUCCESS;
    });
}

LONG RegDeleteValue(HKEY hKey, const char* valueName)
{
    const Call call(hKey);
    if (const LONG e = call.check(KEY_SET_VALUE))
        return e;
    return call.run(Access::Write, [&](Db& db) {
        return keys::removeValue(db, call.ref().id, view(valueName)) ? ERROR_SUCCESS
                                                                      : ERROR_FILE_NOT_FOUND;
    });
}

LONG RegSetValue(HKEY hKey, const char* subKey, DWORD type, const char* data, DWORD)
{
    if (type != REG_SZ || !data)
        return ERROR_INVALID_PARAMETER;
    const Call call(hKey);
    KeyPath path;
    if (const LONG e = call.checkPath(subKey, ERROR_INVALID_PARAMETER, path))
        return e;
    if (path.parts.empty())
        if (const LONG e = call.check(KEY_SET_VALUE))
            return e;
    const auto* bytes = reinterpret_cast<const BYTE*>(data);
    const std::span<const BYTE> text(bytes, std::strlen(data) + 1);
    return call.run(Access::Write, [&](Db& db) {
        int64_t key = 0;
        bool created = false;
        const LONG r = createPath(db, call.ref(), path, key, created);
        if (r == ERROR_SUCCESS)
            keys::setValue(db, key, {}, REG_SZ, text);
        return r;
    });
}

LONG RegQueryValue(HKEY hKey, const char* subKey, char* data, LONG* size)
{
    if (data && !size)
        return ERROR_INVALID_PARAMETER;
    const Call call(hKey);
    KeyPath path;
    if (const LONG e = call.checkPath(subKey, ERROR_FILE_NOT_FOUND, path))
        return e;
    if (path.parts.empty())
        if (const LONG e = call.check(KEY_QUERY_VALUE))
            return e;
    return call.runAt(path, Access::Read, [&](Db& db, int64_t key) -> LONG {
        std::string text;
        if (const auto v = keys::findValue(db, key, {})) {
            text.resize(v->size);
            keys::readValue(db, v->id, reinterpret_cast<BYTE*>(text.data()), v->size);
            text.resize(std::strlen(text.c_str()));  // the text ends at its first NUL
        }
        if (!size)
            return ERROR_SUCCESS;
        const LONG capacity = *size;
        *size = static_cast<LONG>(text.size() + 1);
        if (!data)
            return ERROR_SUCCESS;
        if (capacity < *size)
            return ERROR_MORE_DATA;
        std::memcpy(data, text.c_str(), text.size() + 1);
        return ERROR_SUCCESS;
    });
}

LONG RegEnumKeyEx(HKEY hKey, DWORD index, char* name, DWORD* nameSize, DWORD*, char* keyClass,
                  DWORD* classSize, FILETIME* lastWriteTime)
{
    if (!name || !nameSize)
        return ERROR_INVALID_PARAMETER;
    const Call call(hKey);
    if (const LONG e = call.check(KEY_ENUMERATE_SUB_KEYS))
        return e;
    return call.run(Access::Read, [&](Db& db) -> LONG {
        const auto child = keys::childAt(db, call.ref().id, index);
        if (!child)
            return ERROR_NO_MORE_ITEMS;
        if (const LONG r = copyName(child->name, name, nameSize))
            return r;
        noClass(keyClass, classSize);
        if (lastWriteTime)
            putFileTime(keys::written(db, child->id), lastWriteTime);
        return ERROR_SUCCESS;
    });
}

LONG RegEnumKey(HKEY hKey, DWORD index, char* name, DWORD nameSize)
{
    return RegEnumKeyEx(hKey, index, name, &nameSize, nullptr, nullptr, nullptr, nullptr);
}

LONG RegEnumValue(HKEY hKey, DWORD index, char* valueName, DWORD* valueNameSize, DWORD*,
                  DWORD* type, BYTE* data, DWORD* dataSize)
{
    if (!valueName || !valueNameSize || (data && !dataSize))
        return ERROR_INVALID_PARAMETER;
    const Call call(hKey);
    if (const LONG e = call.check(KEY_QUERY_VALUE))
        return e;
    return call.run(Access::Read, [&](Db& db) -> LONG {
        const auto v = keys::valueAt(db, call.ref().id, index);
        if (!v)
            return ERROR_NO_MORE_ITEMS;
        if (const LONG r = copyName(v->name, valueName, valueNameSize))
            return r;
        if (type)
            *type = v->type;
        return dataSize ? copyData(db, *v, data, dataSize) : ERROR_SUCCESS;
    });
}

LONG RegQueryInfoKey(HKEY hKey, char* keyClass, DWORD* classSize, DWORD*, DWORD* subKeys,
                     DWORD* maxSubKeyLen, DWORD* maxClassLen, DWORD* values,
                     DWORD* maxValueNameLen, DWORD* maxValueLen, DWORD* securityDescriptor,
                     FILETIME* lastWriteTime)
{
    const Call call(hKey);
    if (const LONG e = call.check(KEY_QUERY_VALUE))
        return e;
    return call.run(Access::Read, [&](Db& db) {
        const keys::KeyInfo i = keys::info(db, call.ref().id);
        const auto put = [](DWORD* out, DWORD v) {
            if (out)
                *out = v;
        };
        noClass(keyClass, classSize);
        put(subKeys, i.subKeys);
        put(maxSubKeyLen, i.maxSubKeyLen);
        put(maxClassLen, 0);
        put(values, i.values);
        put(maxValueNameLen, i.maxValueNameLen);
        put(maxValueLen, i.maxValueLen);
        put(securityDescriptor, 0);
        putFileTime(i.written, lastWriteTime);
        return ERROR_SUCCESS;
    });
}
