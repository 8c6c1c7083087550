#pragma once
// Reading whole keys and branches for the command-line tool.
#include "platform/registry/registry.h"
#include <functional>
#include <string>
#include <vector>

namespace vyr::tools {

struct RegValue {
    std::string name;  // "" for the default value
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

// The values of a key in enumeration order.
LONG readValues(HKEY key, std::vector<RegValue>& values);

// Calls `visit` for the key and then, depth first, for every key below it with its full path;
// subkeys come in enumeration order. A subkey deleted meanwhile is skipped. Stops at the
// first error `visit` or the store returns.
LONG visitTree(HKEY key, const std::string& path,
               const std::function<LONG(HKEY, const std::string&)>& visit);

} // namespace vyr::tools
