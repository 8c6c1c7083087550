#pragma once
// The process's open key handles. An HKEY is a number from this table, never a pointer, so a
// stale or made-up handle is recognised instead of being followed. Not locked: the registry
// functions serialise all calls.
#include "platform/registry/registry.h"
#include <optional>
#include <string>

namespace vyr::registry {

struct KeyRef {
    std::string store;  // the file the key lives in
    int64_t id = 0;
    REGSAM access = 0;
    bool predefined = false;
};

// A predefined key refers to its hive in the current store; any other handle to what it was
// opened on. nullopt for a handle that is not open.
std::optional<KeyRef> resolveHandle(HKEY h);
HKEY openHandle(KeyRef ref);
bool closeHandle(HKEY h);
bool isPredefined(HKEY h);

// Generic and maximum rights become the key rights they stand for.
REGSAM normaliseAccess(REGSAM sam);

} // namespace vyr::registry
