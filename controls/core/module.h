#pragma once
// The module's lock count: every live object and every LockServer(TRUE) holds one.
#include "platform/com/types.h"
#include <string>

namespace vyr::controls {

void moduleLock();
void moduleUnlock();
LONG moduleLockCount();
// The real path of the loaded library file (for registration).
std::string modulePath();

} // namespace vyr::controls
