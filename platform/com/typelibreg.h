#pragma once
// Loading and registering type libraries through the registry store, as a container does:
// HKEY_CLASSES_ROOT\TypeLib\{LIBID}\<major>.<minor> names the library, its "0\linux64"
// subkey the module that carries it. A module carries a type library by exporting
//   extern "C" HRESULT VyrLoadTypeLib(ITypeLib** out);
#include "platform/com/typeinfo.h"
#include <string>

// The name of the export a module carries its type library under.
inline constexpr const char* kTypeLibExport = "VyrLoadTypeLib";

// Loads the type library of the module at `path` (kept loaded for the process's life).
HRESULT LoadTypeLib(const char* path, ITypeLib** out);
// Loads a registered library by identifier and version: the exact version, else the
// highest minor version of the same major version above `minor`.
HRESULT LoadRegTypeLib(REFGUID libid, WORD major, WORD minor, LCID lcid, ITypeLib** out);
// Writes the library's keys (name, module path, flags, help folder) and an Interface key for
// each of its dispatch interfaces.
HRESULT RegisterTypeLib(ITypeLib* lib, const char* path, const char* helpDir);
// Removes the library's version key and its interfaces' keys.
HRESULT UnRegisterTypeLib(REFGUID libid, WORD major, WORD minor, LCID lcid, SYSKIND syskind);

namespace vyr::com {
// The module path a registered library points at; empty when not registered.
std::string registeredTypeLibPath(REFGUID libid, WORD major, WORD minor);
}
