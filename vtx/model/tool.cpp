#include "vtx/model/tool.h"

#include "platform/registry/regkey.h"

#include <cmath>
#include <limits>

namespace vyr::vtx::tool {

using registry::RegKey;

std::string readString(const std::string& keyPath, const std::string& valueName)
{
    RegKey key;
    std::string text;
    if (key.open(HKEY_LOCAL_MACHINE, keyPath, KEY_QUERY_VALUE) != ERROR_SUCCESS ||
        key.queryString(valueName, text) != ERROR_SUCCESS)
        return {};
    return text;
}

std::string databasePath()
{
    return readString(kDatabaseKey, kDatabaseValue);
}

bool setDatabasePath(const std::string& path)
{
    RegKey key;
    return key.create(HKEY_LOCAL_MACHINE, kDatabaseKey) == ERROR_SUCCESS &&
           key.setString(kDatabaseValue, path) == ERROR_SUCCESS;
}

int32_t readNumber(const std::string& suffix, const std::string& valueName)
{
    RegKey key;
    DWORD type = 0;
    std::vector<BYTE> data;
    if (key.open(HKEY_CURRENT_USER, kUserKey + suffix, KEY_ALL_ACCESS) != ERROR_SUCCESS ||
        key.queryValue(valueName, type, data) != ERROR_SUCCESS || data.size() > 4)
        return 0;
    // The value's declared type is not looked at; up to 4 bytes fill the number from its low end.
    uint32_t n = 0;
    for (size_t i = 0; i < data.size(); ++i)
        n |= uint32_t(data[i]) << (8 * i);
    return int32_t(n);
}

bool ensureKey(const std::string& suffix)
{
    RegKey key;
    if (key.open(HKEY_CURRENT_USER, kUserKey + suffix, KEY_ALL_ACCESS) == ERROR_SUCCESS)
        return true;
    key.create(HKEY_CURRENT_USER, kUserKey + suffix);
    return false;
}

void writeNumber(const std::string& suffix, const std::string& valueName, int32_t value)
{
    RegKey key;
    if (key.open(HKEY_CURRENT_USER, kUserKey + suffix, KEY_ALL_ACCESS) != ERROR_SUCCESS)
        return;
    uint32_t n = uint32_t(value);
    key.setValue(valueName, REG_NONE, {BYTE(n), BYTE(n >> 8), BYTE(n >> 16), BYTE(n >> 24)});
}

std::string formKey(const std::string& formName)
{
    return "\\VTX\\" + formName;
}

Position clampToScreen(Position p, int32_t screenWidth, int32_t screenHeight)
{
    if (p.left < 1)
        p.left = 0;
    if (p.top < 1)
        p.top = 0;
    if (p.left > screenWidth - 1000)
        p.left = screenWidth - 1000;
    if (p.top > screenHeight - 1000)
        p.top = screenHeight - 1000;
    return p;
}

Position restorePosition(const std::string& formName, int32_t screenWidth, int32_t screenHeight)
{
    std::string suffix = formKey(formName);
    return clampToScreen({readNumber(suffix, "Left"), readNumber(suffix, "Top")}, screenWidth, screenHeight);
}

namespace {

int32_t roundToInt32(double v)
{
    if (!std::isfinite(v))
        return 0;
    double r = std::nearbyint(v);   // halves to even, as the original rounding does
    if (r < std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    if (r > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    return int32_t(r);
}

} // namespace

void savePosition(const std::string& formName, double left, double top)
{
    std::string suffix = formKey(formName);
    ensureKey(suffix);
    writeNumber(suffix, "Left", roundToInt32(left));
    writeNumber(suffix, "Top", roundToInt32(top));
}

int comboIndexFor(const std::vector<std::string>& entries, const std::string& text, int current)
{
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i] == text)
            return int(i);
    return entries.empty() ? current : 0;
}

} // namespace vyr::vtx::tool
