#include "controls/core/usersettings.h"
#include "controls/core/registration.h"
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace vyr::controls {

namespace {
constexpr REGSAM kWriteAccess = KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY;

HKEY openOrCreate(HKEY parent, const char* name, bool write)
{
    HKEY k = nullptr;
    if (RegOpenKeyEx(parent, name, 0, write ? kWriteAccess : KEY_READ, &k) == ERROR_SUCCESS)
        return k;
    if (write && RegCreateKeyEx(parent, name, 0, nullptr, REG_OPTION_NON_VOLATILE, kWriteAccess, nullptr, &k,
                                nullptr) == ERROR_SUCCESS)
        return k;
    return nullptr;
}
} // namespace

HKEY UserSettings::OpenRoot(bool write)
{
    HKEY software = nullptr;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, "software", 0, write ? kWriteAccess : KEY_READ, &software) != ERROR_SUCCESS) {
        if (!write || RegCreateKeyEx(HKEY_CURRENT_USER, "software", 0, nullptr, REG_OPTION_NON_VOLATILE, kWriteAccess,
                                     nullptr, &software, nullptr) != ERROR_SUCCESS)
            return nullptr;
    }
    HKEY maker = openOrCreate(software, "Halvern", write);
    RegCloseKey(software);
    if (!maker)
        return nullptr;
    HKEY root = openOrCreate(maker, "Vyr", write);
    RegCloseKey(maker);
    return root;
}

HKEY UserSettings::OpenSection(const char* section, bool write)
{
    HKEY root = OpenRoot(write);
    if (!root)
        return nullptr;
    HKEY k = openOrCreate(root, section, write);
    RegCloseKey(root);
    return k;
}

bool UserSettings::WriteString(const char* section, const char* name, const char* text)
{
    if (!name) {
        HKEY root = OpenRoot(true);
        if (!root)
            return false;
        const LONG r = deleteKeyRecursive(root, section);
        RegCloseKey(root);
        return r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND;
    }
    HKEY k = OpenSection(section, true);
    if (!k)
        return false;
    LONG r;
    if (!text)
        r = RegDeleteValue(k, name);
    else
        r = RegSetValueEx(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), DWORD(strlen(text) + 1));
    RegCloseKey(k);
    return r == ERROR_SUCCESS;
}

std::string UserSettings::ReadString(const char* section, const char* name, const std::string& def)
{
    HKEY k = OpenSection(section, false);
    if (!k)
        return def;
    DWORD type = 0, size = 0;
    std::string result = def;
    if (RegQueryValueEx(k, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == REG_SZ) {
        std::vector<char> buf(size + 1, 0);
        if (RegQueryValueEx(k, name, nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &size) == ERROR_SUCCESS)
            result.assign(buf.data());
    }
    RegCloseKey(k);
    return result;
}

uint32_t UserSettings::ReadHex(const char* section, const char* name, uint32_t def, uint32_t min, uint32_t max)
{
    const std::string text = ReadString(section, name, "");
    if (min > max)
        return min;
    uint32_t v = def;
    unsigned long parsed = 0;
    if (!text.empty() && std::sscanf(text.c_str(), "%lx", &parsed) == 1)
        v = uint32_t(parsed);
    return std::clamp(v, min, max);
}

bool UserSettings::WriteHex(const char* section, const char* name, uint32_t value)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%lx", static_cast<unsigned long>(value));
    return WriteString(section, name, buf);
}

} // namespace vyr::controls
