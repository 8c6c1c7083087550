#include "platform/registry/regkey.h"
#include "platform/registry/store.h"
#include <cstring>

namespace vyr::registry {
namespace {

// A value can change size between asking for its size and reading it (another process may
// write it); a few rounds settle that.
constexpr int kReadRounds = 4;

template <class Enum>
LONG collectNames(Enum enumerate, std::vector<std::string>& names)
{
    names.clear();
    std::string buf(256, '\0');
    for (DWORD i = 0;;) {
        DWORD size = static_cast<DWORD>(buf.size());
        const LONG r = enumerate(i, buf.data(), &size);
        if (r == ERROR_NO_MORE_ITEMS)
            return ERROR_SUCCESS;
        if (r == ERROR_MORE_DATA && size > buf.size()) {
            buf.resize(size);
            continue;
        }
        if (r != ERROR_SUCCESS)
            return r;
        names.emplace_back(buf.data(), size);
        ++i;
    }
}

} // namespace

RegKey& RegKey::operator=(RegKey&& o) noexcept
{
    if (this != &o) {
        close();
        h_ = o.release();
    }
    return *this;
}

LONG RegKey::open(HKEY parent, const std::string& subKey, REGSAM access)
{
    close();
    return RegOpenKeyEx(parent, subKey.c_str(), 0, access, &h_);
}

LONG RegKey::create(HKEY parent, const std::string& subKey, REGSAM access, DWORD* disposition)
{
    close();
    return RegCreateKeyEx(parent, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                          nullptr, &h_, disposition);
}

void RegKey::close()
{
    if (h_)
        RegCloseKey(h_);
    h_ = nullptr;
}

HKEY RegKey::release()
{
    HKEY h = h_;
    h_ = nullptr;
    return h;
}

LONG RegKey::setString(const std::string& name, std::string_view text)
{
    std::vector<BYTE> data(text.begin(), text.end());
    data.push_back(0);
    return setValue(name, REG_SZ, data);
}

LONG RegKey::queryString(const std::string& name, std::string& text) const
{
    DWORD type = 0;
    std::vector<BYTE> data;
    if (const LONG r = queryValue(name, type, data))
        return r;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return ERROR_INVALID_PARAMETER;
    const auto* p = reinterpret_cast<const char*>(data.data());
    text.assign(p, strnlen(p, data.size()));
    return ERROR_SUCCESS;
}

LONG RegKey::setDword(const std::string& name, DWORD value)
{
    const std::vector<BYTE> data{BYTE(value), BYTE(value >> 8), BYTE(value >> 16),
                                 BYTE(value >> 24)};
    return setValue(name, REG_DWORD, data);
}

LONG RegKey::queryDword(const std::string& name, DWORD& value) const
{
    DWORD type = 0;
    std::vector<BYTE> data;
    if (const LONG r = queryValue(name, type, data))
        return r;
    if ((type != REG_DWORD && type != REG_NONE) || data.size() != 4)
        return ERROR_INVALID_PARAMETER;
    value = DWORD(data[0]) | DWORD(data[1]) << 8 | DWORD(data[2]) << 16 | DWORD(data[3]) << 24;
    return ERROR_SUCCESS;
}

LONG RegKey::setValue(const std::string& name, DWORD type, const std::vector<BYTE>& data)
{
    return RegSetValueEx(h_, name.c_str(), 0, type, data.data(),
                         static_cast<DWORD>(data.size()));
}

LONG RegKey::queryValue(const std::string& name, DWORD& type, std::vector<BYTE>& data) const
{
    DWORD size = 0;
    if (const LONG r = RegQueryValueEx(h_, name.c_str(), nullptr, &type, nullptr, &size))
        return r;
    for (int round = 0; round < kReadRounds; ++round) {
        data.resize(size);
        const LONG r = RegQueryValueEx(h_, name.c_str(), nullptr, &type, data.data(), &size);
        if (r != ERROR_MORE_DATA) {
            data.resize(r == ERROR_SUCCESS ? size : 0);
            return r;
        }
    }
    return ERROR_MORE_DATA;
}

LONG RegKey::deleteValue(const std::string& name) { return RegDeleteValue(h_, name.c_str()); }

LONG RegKey::subKeyNames(std::vector<std::string>& names) const
{
    return collectNames(
        [&](DWORD i, char* name, DWORD* size) {
            return RegEnumKeyEx(h_, i, name, size, nullptr, nullptr, nullptr, nullptr);
        },
        names);
}

LONG RegKey::valueNames(std::vector<std::string>& names) const
{
    return collectNames(
        [&](DWORD i, char* name, DWORD* size) {
            return RegEnumValue(h_, i, name, size, nullptr, nullptr, nullptr, nullptr);
        },
        names);
}

std::string storePath() { return currentStorePath(); }

} // namespace vyr::registry
