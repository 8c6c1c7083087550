#pragma once
// The registry API with the shapes, constants and error codes Windows gives it, over one
// SQLite file. Strings are UTF-8 `char`; lengths of names are counted in bytes.
//
// Where the store lives: the file named by the environment variable VYR_REGISTRY, else
// $XDG_CONFIG_HOME/vyr/registry.db (~/.config/vyr/registry.db). Reading a store that does not
// exist yet sees empty hives; the file is created by the first write.
//
// Every call reads the file's current state, and every write is its own transaction, so
// several processes may share one store without losing each other's keys.
//
// Keys: names are case-insensitive and case-preserving; '\' separates levels of a path; a
// name is at most 255 bytes and a path at most 512 levels deep. Subkeys enumerate in
// case-insensitive name order, values in the order they were first set. A null or empty
// value name is the key's default value. Data of every type round-trips byte for byte
// (REG_SZ data is stored exactly as given, with or without its terminating NUL).
//
// Handles: an open handle keeps naming the key it was opened on, in the store it was opened
// in. After that key is deleted (through any handle or process) calls on the handle fail
// with ERROR_BADKEY; a key later created under the same name is a different key. Access is
// checked as Windows checks it: values are read with KEY_QUERY_VALUE, written and deleted
// with KEY_SET_VALUE, subkeys enumerated with KEY_ENUMERATE_SUB_KEYS and created with
// KEY_CREATE_SUB_KEY (opening subkeys and deleting keys need no right of the parent handle);
// the predefined keys allow everything. Calls are thread-safe. A child started with fork()
// may go on using the registry and the handles it inherited (it opens its own connections).
#include "platform/com/types.h"

struct HKEY__;
using HKEY = HKEY__*;
using PHKEY = HKEY*;
using REGSAM = DWORD;

// The predefined keys, with the values Windows gives them.
inline HKEY const HKEY_CLASSES_ROOT = reinterpret_cast<HKEY>(uintptr_t{0x80000000});
inline HKEY const HKEY_CURRENT_USER = reinterpret_cast<HKEY>(uintptr_t{0x80000001});
inline HKEY const HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(uintptr_t{0x80000002});
inline HKEY const HKEY_USERS = reinterpret_cast<HKEY>(uintptr_t{0x80000003});

// Value types.
constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;
constexpr DWORD REG_DWORD_LITTLE_ENDIAN = 4;
constexpr DWORD REG_DWORD_BIG_ENDIAN = 5;
constexpr DWORD REG_MULTI_SZ = 7;
constexpr DWORD REG_QWORD = 11;

// Access rights.
constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr REGSAM KEY_NOTIFY = 0x0010;
constexpr REGSAM KEY_CREATE_LINK = 0x0020;
constexpr REGSAM KEY_READ = 0x20019;
constexpr REGSAM KEY_EXECUTE = KEY_READ;
constexpr REGSAM KEY_WRITE = 0x20006;
constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;
constexpr REGSAM MAXIMUM_ALLOWED = 0x02000000;

// Options and dispositions of RegCreateKeyEx.
constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

// Results (Windows system error codes).
constexpr LONG ERROR_SUCCESS = 0;
constexpr LONG ERROR_FILE_NOT_FOUND = 2;
constexpr LONG ERROR_ACCESS_DENIED = 5;          // also: deleting a key that has subkeys
constexpr LONG ERROR_INVALID_HANDLE = 6;
constexpr LONG ERROR_OUTOFMEMORY = 14;
constexpr LONG ERROR_INVALID_PARAMETER = 87;
constexpr LONG ERROR_BAD_PATHNAME = 161;         // empty path element, e.g. "a\\b" or "\a"
constexpr LONG ERROR_MORE_DATA = 234;
constexpr LONG ERROR_NO_MORE_ITEMS = 259;
constexpr LONG ERROR_BADKEY = 1010;              // the handle's key has been deleted
constexpr LONG ERROR_REGISTRY_CORRUPT = 1015;    // the store file is not a readable store
constexpr LONG ERROR_REGISTRY_IO_FAILED = 1016;  // the store file cannot be opened or written
constexpr LONG ERROR_KEY_DELETED = 1018;

// Keys. `subKey` may be null or empty: the result is then a new handle to `hKey` itself.
LONG RegOpenKeyEx(HKEY hKey, const char* subKey, DWORD options, REGSAM samDesired,
                  PHKEY result);
LONG RegOpenKey(HKEY hKey, const char* subKey, PHKEY result);  // all access
// Opens the key, creating it and any missing parents. `keyClass` and `security` are ignored;
// `options` must be REG_OPTION_NON_VOLATILE (every key is kept).
LONG RegCreateKeyEx(HKEY hKey, const char* subKey, DWORD reserved, const char* keyClass,
                    DWORD options, REGSAM samDesired, const void* security, PHKEY result,
                    DWORD* disposition);
LONG RegCreateKey(HKEY hKey, const char* subKey, PHKEY result);  // all access
LONG RegCloseKey(HKEY hKey);
LONG RegFlushKey(HKEY hKey);
// Deletes a key that has no subkeys (ERROR_ACCESS_DENIED otherwise), with its values. A null
// or empty `subKey` deletes `hKey` itself. Predefined keys cannot be deleted.
LONG RegDeleteKey(HKEY hKey, const char* subKey);
// Deletes the key named by `subKey` and everything below it in one transaction; with a null
// or empty `subKey`, deletes everything below `hKey` and its values but keeps `hKey`.
LONG RegDeleteTree(HKEY hKey, const char* subKey);

// Values.
LONG RegSetValueEx(HKEY hKey, const char* valueName, DWORD reserved, DWORD type,
                   const BYTE* data, DWORD size);
// `type`, `data` and `size` may each be null. On entry *size is the capacity of `data`; on
// return it is the length of the value. A too small buffer gives ERROR_MORE_DATA with the
// needed length in *size; a null `data` asks only for the length.
LONG RegQueryValueEx(HKEY hKey, const char* valueName, DWORD* reserved, DWORD* type,
                     BYTE* data, DWORD* size);
LONG RegDeleteValue(HKEY hKey, const char* valueName);
// Sets the REG_SZ default value of `subKey` (created if missing) to `data` including its
// terminating NUL; `size` is ignored, as Windows ignores it. Only REG_SZ is accepted.
LONG RegSetValue(HKEY hKey, const char* subKey, DWORD type, const char* data, DWORD size);
// Reads the default value of `subKey` as text; a key without one reads as "". *size is in
// bytes including the terminating NUL.
LONG RegQueryValue(HKEY hKey, const char* subKey, char* data, LONG* size);

// Enumeration by index from 0; ERROR_NO_MORE_ITEMS past the end. Name capacities are in bytes
// including the NUL; on success *nameSize is the name's length without it. A too small name
// buffer gives ERROR_MORE_DATA with the capacity needed in *nameSize. `reserved`, class and
// time arguments may be null.
LONG RegEnumKeyEx(HKEY hKey, DWORD index, char* name, DWORD* nameSize, DWORD* reserved,
                  char* keyClass, DWORD* classSize, FILETIME* lastWriteTime);
LONG RegEnumKey(HKEY hKey, DWORD index, char* name, DWORD nameSize);
LONG RegEnumValue(HKEY hKey, DWORD index, char* valueName, DWORD* valueNameSize,
                  DWORD* reserved, DWORD* type, BYTE* data, DWORD* dataSize);
// Counts and longest lengths (bytes, without NUL) of a key's subkeys and values; every out
// argument may be null. Keys have no class here: its length reads as 0.
LONG RegQueryInfoKey(HKEY hKey, char* keyClass, DWORD* classSize, DWORD* reserved,
                     DWORD* subKeys, DWORD* maxSubKeyLen, DWORD* maxClassLen, DWORD* values,
                     DWORD* maxValueNameLen, DWORD* maxValueLen, DWORD* securityDescriptor,
                     FILETIME* lastWriteTime);
