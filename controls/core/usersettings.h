#pragma once
// Per-user settings under HKEY_CURRENT_USER\software\Halvern\Vyr, one subkey per section.
#include "platform/registry/registry.h"
#include <optional>
#include <string>

namespace vyr::controls {

class UserSettings {
public:
    // The "Vyr" key (creating "Halvern" and "Vyr" when writing), or null.
    static HKEY OpenRoot(bool write);
    static HKEY OpenSection(const char* section, bool write);
    // A null text deletes the value; a null value name deletes the whole section.
    static bool WriteString(const char* section, const char* name, const char* text);
    // REG_SZ values only; anything else gives the default.
    static std::string ReadString(const char* section, const char* name, const std::string& def);
    // "%lx" text clamped to [min, max]; a missing value gives the default, also clamped.
    static uint32_t ReadHex(const char* section, const char* name, uint32_t def, uint32_t min, uint32_t max);
    static bool WriteHex(const char* section, const char* name, uint32_t value);
};

} // namespace vyr::controls
