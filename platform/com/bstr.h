#pragma once
// BSTR: UTF-16 text (char16_t) preceded by a 4-byte byte length and followed by a 2-byte
// terminator, allocated by the SysAllocString family. Text inside the controls is UTF-8;
// conversion happens at the interface.
#include "platform/com/types.h"
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

BSTR SysAllocString(const OLECHAR* s);
BSTR SysAllocStringLen(const OLECHAR* s, UINT chars);
BSTR SysAllocStringByteLen(const char* s, UINT bytes);
int SysReAllocString(BSTR* b, const OLECHAR* s);
void SysFreeString(BSTR b);
UINT SysStringLen(BSTR b);
UINT SysStringByteLen(BSTR b);

namespace vyr::com {

std::u16string utf16(std::string_view utf8);
std::string utf8(std::u16string_view text);
std::string utf8(BSTR b); // null gives ""

// Owns one BSTR.
class Bstr {
public:
    Bstr() = default;
    explicit Bstr(std::string_view utf8Text);
    explicit Bstr(std::u16string_view text);
    Bstr(const Bstr& o);
    Bstr(Bstr&& o) noexcept : b_(o.b_) { o.b_ = nullptr; }
    ~Bstr() { SysFreeString(b_); }
    Bstr& operator=(Bstr o) noexcept { std::swap(b_, o.b_); return *this; }

    static Bstr attach(BSTR b) { Bstr r; r.b_ = b; return r; }
    BSTR get() const { return b_; }
    BSTR* put() { SysFreeString(b_); b_ = nullptr; return &b_; }
    BSTR detach() { BSTR b = b_; b_ = nullptr; return b; }
    BSTR copy() const; // a new BSTR for an out parameter (null stays null)
    UINT length() const { return SysStringLen(b_); }
    std::string str() const { return utf8(b_); }

private:
    BSTR b_ = nullptr;
};

} // namespace vyr::com
