#pragma once
// Writing and removing the registry entries of one class-table row, and the type library's.
#include "controls/core/classtable.h"
#include "platform/registry/registry.h"
#include <string>

namespace vyr::controls {

// Registers (or removes) the row's class key, ProgID keys and flags under HKEY_CLASSES_ROOT.
HRESULT updateRegistry(const ClassRow& row, const std::string& modulePath, bool reg);
// The type library's key HKCR\TypeLib\{LIBID}\1.0, pointing at the module that carries the
// member descriptions.
HRESULT registerTypeLibrary(const std::string& modulePath);
// Deletes a key and everything below it the way the module does: delete subkey 0 until the
// enumeration ends, then the key. ERROR_SUCCESS, ERROR_FILE_NOT_FOUND and ERROR_BADKEY count as
// removed.
LONG deleteKeyRecursive(HKEY parent, const char* name);

} // namespace vyr::controls
