#pragma once
// A key named on the command line: a hive ("HKEY_CURRENT_USER" or "HKCU", any case), then
// optionally '\' and the path below it.
#include "platform/registry/registry.h"
#include <optional>
#include <string>
#include <string_view>

namespace vyr::tools {

struct KeyPath {
    HKEY hive = nullptr;
    std::string subKey;  // "" for the hive itself
    std::string full;    // the full hive name, then '\' and subKey when there is one
};

std::optional<KeyPath> parseKeyPath(std::string_view text);

} // namespace vyr::tools
