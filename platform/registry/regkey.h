#pragma once
// RegKey: an open key that closes itself, with typed reads and writes. A thin layer over the
// registry functions; every call returns their error code.
#include "platform/registry/registry.h"
#include <string>
#include <string_view>
#include <vector>

namespace vyr::registry {

class RegKey {
public:
    RegKey() = default;
    explicit RegKey(HKEY h) : h_(h) {}  // takes over an open handle
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    RegKey(RegKey&& o) noexcept : h_(o.release()) {}
    RegKey& operator=(RegKey&& o) noexcept;
    ~RegKey() { close(); }

    LONG open(HKEY parent, const std::string& subKey, REGSAM access = KEY_READ);
    LONG create(HKEY parent, const std::string& subKey, REGSAM access = KEY_ALL_ACCESS,
                DWORD* disposition = nullptr);
    void close();
    HKEY get() const { return h_; }
    HKEY release();
    explicit operator bool() const { return h_ != nullptr; }

    // REG_SZ with its terminating NUL, as the registry functions store text.
    LONG setString(const std::string& name, std::string_view text);
    // Reads REG_SZ or REG_EXPAND_SZ text up to its first NUL; another type gives
    // ERROR_INVALID_PARAMETER.
    LONG queryString(const std::string& name, std::string& text) const;
    LONG setDword(const std::string& name, DWORD value);
    // Reads a 4-byte value of type REG_DWORD or REG_NONE (as REG_DWORD); another type or
    // size gives ERROR_INVALID_PARAMETER.
    LONG queryDword(const std::string& name, DWORD& value) const;
    LONG setValue(const std::string& name, DWORD type, const std::vector<BYTE>& data);
    LONG queryValue(const std::string& name, DWORD& type, std::vector<BYTE>& data) const;
    LONG deleteValue(const std::string& name);

    // Names of the subkeys in enumeration order, and of the values ("" for the default).
    LONG subKeyNames(std::vector<std::string>& names) const;
    LONG valueNames(std::vector<std::string>& names) const;

private:
    HKEY h_ = nullptr;
};

// The file the registry functions use for keys opened from now on.
std::string storePath();

} // namespace vyr::registry
