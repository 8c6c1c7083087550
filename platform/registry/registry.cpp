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

std::mutex& registryMutex()
{
    static auto* m = new std::mutex;  // never destroyed: keys may be closed during exit
    return *m;
}

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

// Runs `body` in a transaction on the key `ref` names; ERROR_BADKEY once that key is gone.
LONG onKey(const KeyRef& ref, Access access, const std::function<LONG(Db&)>& body)
{
    return runInStore(ref.store, access, [&](Db& db) -> LONG {
        if (!keys::exists(db, ref.id))
            return ERROR_BADKEY;
        return body(db);
    });
}

LONG pathError(const KeyPath& path, LONG tooLong)
{
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

} // namespace

LONG RegOpenKeyEx(HKEY hKey, const char* subKey, DWORD, REGSAM samDesired, PHKEY result)
{
    if (!result)
        return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    std::lock_guard lock(registryMutex());
    const auto ref = resolveHandle(hKey);
    if (!ref)
        return ERROR_INVALID_HANDLE;
    const KeyPath path = splitKeyPath(view(subKey));
    if (const LONG e = pathError(path, ERROR_FILE_NOT_FOUND))
        return e;
    if (path.parts.empty() && ref->predefined) {
        *result = hKey;
        return ERROR_SUCCESS;
    }
    int64_t key = 0;
    const LONG r = onKey(*ref, Access::Read, [&](Db& db) -> LONG {
        const auto found = walk(db, ref->id, path);
        if (!found)
            return ERROR_FILE_NOT_FOUND;
        key = *found;
        return ERROR_SUCCESS;
    });
    if (r == ERROR_SUCCESS)
        *result = openHandle({ref->store, key, normaliseAccess(samDesired)});
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
    std::lock_guard lock(registryMutex());
    const auto ref = resolveHandle(hKey);
    if (!ref)
        return ERROR_INVALID_HANDLE;
    const KeyPath path = splitKeyPath(view(subKey));
    if (const LONG e = pathError(path, ERROR_INVALID_PARAMETER))
        return e;
    if (path.parts.empty() && ref->predefined) {
        *result = hKey;
        if (disposition)
            *disposition = REG_OPENED_EXISTING_KEY;
        return ERROR_SUCCESS;
    }
    // An existing key is opened without taking the store's write lock.
    int64_t key = 0;
    bool created = false;
    LONG r = onKey(*ref, Access::Read, [&](Db& db) -> LONG {
        const auto found = walk(db, ref->id, path);
        key = found.value_or(0);
        return ERROR_SUCCESS;
    });
    if (r == ERROR_SUCCESS && key == 0)
        r = onKey(*ref, Access::Write,
                  [&](Db& db) { return createPath(db, *ref, path, key, created); });
    if (r != ERROR_SUCCESS)
        return r;
    *result = openHandle({ref->store, key, normaliseAccess(samDesired)});
    if (disposition)
        *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    return ERROR_SUCCESS;
}

LONG RegCreateKey(HKEY hKey, const char* subKey, PHKEY result)
{
    return RegCreateKeyEx(hKey, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, MAXIMUM_ALLOWED,
                          nullptr, result, nullptr);
}

LONG RegCloseKey(HKEY hKey)
{
    std::lock_guard lock(registryMutex());
    if (isPredefined(hKey))
        return ERROR_SUCCESS;
    return closeHandle(hKey) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LONG RegFlushKey(HKEY hKey)
{
    std::lock_guard lock(registryMutex());
    const auto ref = resolveHandle(hKey);
    if (!ref)
        return ERROR_INVALID_HANDLE;
    return flushStore(ref->store);
}

LONG RegDeleteKey(HKEY hKey, const char* subKey)
{
    std::lock_guard lock(registryMutex());
    const auto ref = resolveHandle(hKey);
    if (!ref)
        return ERROR_INVALID_HANDLE;
    const KeyPath path = splitKeyPath(view(subKey));
    if (const LONG e = pathError(path, ERROR_FILE_NOT_FOUND))
        return e;
    return onKey(*ref, Access::Write, [&](Db& db) -> LONG {
        const auto key = walk(db, ref->id, path);
        if (!key)
            return ERROR_FILE_NOT_FOUND;
        if (isHiveId(*key) || keys::childCount(db, *key) > 0)
            return ERROR_ACCESS_DENIED;
        keys::remove(db, *key);
        return ERROR_SUCCESS;
    });
}

LONG RegDeleteTree(HKEY hKey, const char* subKey)
{
    std::lock_guard lock(registryMutex());
    const auto ref = resolveHandle(hKey);
    if (!ref)
        return ERROR_INVALID_HANDLE;
    const KeyPath path = splitKeyPath(view(subKey));
    if (const LONG e = pathError(path, ERROR_FILE_NOT_FOUND))
        return e;
    return onKey(*ref, Access::Write, [&](Db& db) -> LONG {
        const auto key = walk(db, ref->id, path);
        if (!key)
            return ERROR_FILE_NOT_FOUND;
        keys::removeTree(db, *key, path.parts.empty());
        return ERROR_SUCCESS;
    });
}

LONG RegSetValueEx(HKEY hKey, const char* valueName, DWORD, DWORD type, const BYTE* data,
                   DWORD size)
{
    const std::string_view name = view(valueName);
    if ((!data && size) || name.size() > kMaxValueNameBytes)
        return ERROR_INVALID_PARAMETER;
    std::lock_guard lock(registryMutex());
    const auto ref = resolveHandle(hKey);
    if (!ref)
        return ERROR_INVALID_HANDLE;
    if (!(ref->access & KEY_SET_VALUE))
        return ERROR_ACCESS_DENIED;
    return onKey(*ref, Access::Write, [&](Db& db) {
        keys::setValue(db, ref->id, name, type, std::span<const BYTE>(data, size));
        return ERROR_SUCCESS;
    });
}

LONG RegQueryValueEx(HKEY hKey, const char* valueName, DWORD*, DWORD* type, BYTE* data,
                     DWORD* size)
{
    if (data && !size)
        return ERROR_INVALID_PARAMETER;
    std::lock_guard lock(registryMutex());
    const auto ref = resolveHandle(hKey);
    if (!ref)
        return ERROR_INVALID_HANDLE;
    if (!(ref->access & KEY_QUERY_VALUE))
        return ERROR_ACCESS_DENIED;
    return onKey(*ref, Access::Read, [&](Db& db) -> LONG {
        const auto v = keys::findValue(db, ref->id, view(valueName));
        if (!v)
            return ERROR_FILE_NOT_FOUND;
        if (type)
            *type = v->type;
        if (!size)
            return ERROR_SUCCESS;
        const DWORD capacity = *size;
        *size = static_cast<DWORD>(v->size);
        if (!data)
            return ERROR_SUCCESS;
        if (capacity < v->size)
            return ERROR_MORE_DATA;
        keys::readValue(db, v->id, data, v->size);
        return ERROR_SUCCESS;
    });
}

LONG RegDeleteValue(HKEY hKey, const char* valueName)
{
    std::lock_guard lock(registryMutex());
    const auto ref = resolveHandle(hKey);
    if (!ref)
        return ERROR_INVALID_HANDLE;
    if (!(ref->access & KEY_SET_VALUE))
        return ERROR_ACCESS_DENIED;
    return onKey(*ref, Access::Write, [&](Db& db) {
        return keys::removeValue(db, ref->id, view(valueName)) ? ERROR_SUCCESS
                                                                : ERROR_FILE_NOT_FOUND;
    });
}

LONG RegSetValue(HKEY hKey, const char* subKey, DWORD type, const char* data, DWORD)
{
    if (type != REG_SZ || !data)
        return ERROR_INVALID_PARAMETER;
    std::lock_guard lock(registryMutex());
    const auto ref = resolveHandle(hKey);
    if (!ref)
        return ERROR_INVALID_HANDLE;
    const KeyPath path = splitKeyPath(view(subKey));
    if (const LONG e = pathError(path, ERROR_INVALID_PARAMETER))
        return e;
    if (path.parts.empty() && !(ref->access & KEY_SET_VALUE))
        return ERROR_ACCESS_DENIED;
    const auto* bytes = reinterpret_cast<const BYTE*>(data);
    const std::span<const BYTE> text(bytes, std::strlen(data) + 1);
    return onKey(*ref, Access::Write, [&](Db& db) {
        int64_t key = 0;
        bool created = false;
        const LONG r = createPath(db, *ref, path, key, created);
        if (r == ERROR_SUCCESS)
            keys::setValue(db, key, {}, REG_SZ, text);
        return r;
    });
}

LONG RegQueryValue(HKEY hKey, const char* subKey, char* data, LONG* size)
{
    if (data && !size)
        return ERROR_INVALID_PARAMETER;
    std::lock_guard lock(registryMutex());
    const auto ref = resolveHandle(hKey);
    if (!ref)
        return ERROR_INVALID_HANDLE;
    const KeyPath path = splitKeyPath(view(subKey));
    if (const LONG e = pathError(path, ERROR_FILE_NOT_FOUND))
        return e;
    if (path.parts.empty() && !(ref->access & KEY_QUERY_VALUE))
        return ERROR_ACCESS_DENIED;
    return onKey(*ref, Access::Read, [&](Db& db) -> LONG {
        const auto key = walk(db, ref->id, path);
        if (!key)
            return ERROR_FILE_NOT_FOUND;
        std::string text;
        if (const auto v = keys::findValue(db, *key, {})) {
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
    std::lock_guard lock(registryMutex());
    const auto ref = resolveHandle(hKey);
    if (!ref)
        return ERROR_INVALID_HANDLE;
    if (!(ref->access & KEY_ENUMERATE_SUB_KEYS))
        return ERROR_ACCESS_DENIED;
    return onKey(*ref, Access::Read, [&](Db& db) -> LONG {
        const auto child = keys::childAt(db, ref->id, index);
        if (!child)
            return ERROR_NO_MORE_ITEMS;
        if (const LONG r = copyName(child->name, name, nameSize))
            return r;
        if (keyClass && classSize && *classSize > 0)
            keyClass[0] = '\0';
        if (classSize)
            *classSize = 0;
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
    std::lock_guard lock(registryMutex());
    const auto ref = resolveHandle(hKey);
    if (!ref)
        return ERROR_INVALID_HANDLE;
    if (!(ref->access & KEY_QUERY_VALUE))
        return ERROR_ACCESS_DENIED;
    return onKey(*ref, Access::Read, [&](Db& db) -> LONG {
        const auto v = keys::valueAt(db, ref->id, index);
        if (!v)
            return ERROR_NO_MORE_ITEMS;
        if (const LONG r = copyName(v->name, valueName, valueNameSize))
            return r;
        if (type)
            *type = v->type;
        if (!dataSize)
            return ERROR_SUCCESS;
        const DWORD capacity = *dataSize;
        *dataSize = static_cast<DWORD>(v->size);
        if (!data)
            return ERROR_SUCCESS;
        if (capacity < v->size)
            return ERROR_MORE_DATA;
        keys::readValue(db, v->id, data, v->size);
        return ERROR_SUCCESS;
    });
}

LONG RegQueryInfoKey(HKEY hKey, char* keyClass, DWORD* classSize, DWORD*, DWORD* subKeys,
                     DWORD* maxSubKeyLen, DWORD* maxClassLen, DWORD* values,
                     DWORD* maxValueNameLen, DWORD* maxValueLen, DWORD* securityDescriptor,
                     FILETIME* lastWriteTime)
{
    std::lock_guard lock(registryMutex());
    const auto ref = resolveHandle(hKey);
    if (!ref)
        return ERROR_INVALID_HANDLE;
    if (!(ref->access & KEY_QUERY_VALUE))
        return ERROR_ACCESS_DENIED;
    return onKey(*ref, Access::Read, [&](Db& db) {
        const keys::KeyInfo i = keys::info(db, ref->id);
        if (keyClass && classSize && *classSize > 0)
            keyClass[0] = '\0';
        const auto put = [](DWORD* out, DWORD v) {
            if (out)
                *out = v;
        };
        put(classSize, 0);
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
