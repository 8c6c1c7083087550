#include "platform/com/bstr.h"
#include <QString>
#include <cstdlib>
#include <cstring>

namespace {
constexpr size_t kPrefix = sizeof(uint32_t);

BSTR allocBytes(const void* src, UINT bytes)
{
    auto* block = static_cast<uint8_t*>(std::malloc(kPrefix + size_t(bytes) + sizeof(OLECHAR)));
    if (!block)
        return nullptr;
    const uint32_t len = bytes;
    std::memcpy(block, &len, kPrefix);
    if (src)
        std::memcpy(block + kPrefix, src, bytes);
    else
        std::memset(block + kPrefix, 0, bytes);
    block[kPrefix + bytes] = 0;
    block[kPrefix + bytes + 1] = 0;
    return reinterpret_cast<BSTR>(block + kPrefix);
}

size_t length(const OLECHAR* s)
{
    size_t n = 0;
    while (s[n])
        ++n;
    return n;
}
} // namespace

BSTR SysAllocString(const OLECHAR* s) { return s ? SysAllocStringLen(s, UINT(length(s))) : nullptr; }
BSTR SysAllocStringLen(const OLECHAR* s, UINT chars) { return allocBytes(s, chars * UINT(sizeof(OLECHAR))); }
BSTR SysAllocStringByteLen(const char* s, UINT bytes) { return allocBytes(s, bytes); }

int SysReAllocString(BSTR* b, const OLECHAR* s)
{
    if (!b)
        return FALSE;
    BSTR n = SysAllocString(s);
    if (s && !n)
        return FALSE;
    SysFreeString(*b);
    *b = n;
    return TRUE;
}

void SysFreeString(BSTR b)
{
    if (b)
        std::free(reinterpret_cast<uint8_t*>(b) - kPrefix);
}

UINT SysStringByteLen(BSTR b)
{
    if (!b)
        return 0;
    uint32_t len;
    std::memcpy(&len, reinterpret_cast<uint8_t*>(b) - kPrefix, kPrefix);
    return len;
}
UINT SysStringLen(BSTR b) { return SysStringByteLen(b) / UINT(sizeof(OLECHAR)); }

namespace vyr::com {

std::u16string utf16(std::string_view utf8Text)
{
    return QString::fromUtf8(utf8Text.data(), qsizetype(utf8Text.size())).toStdU16String();
}
std::string utf8(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), qsizetype(text.size())).toStdString();
}
std::string utf8(BSTR b) { return b ? utf8(std::u16string_view(b, SysStringLen(b))) : std::string(); }

Bstr::Bstr(std::string_view utf8Text) : Bstr(std::u16string_view(utf16(utf8Text))) {}
Bstr::Bstr(std::u16string_view text) : b_(SysAllocStringLen(text.data(), UINT(text.size()))) {}
Bstr::Bstr(const Bstr& o) : b_(o.copy()) {}
BSTR Bstr::copy() const { return b_ ? SysAllocStringLen(b_, length()) : nullptr; }

} // namespace vyr::com

void* CoTaskMemAlloc(size_t size) { return std::malloc(size ? size : 1); }
void CoTaskMemFree(void* p) { std::free(p); }
