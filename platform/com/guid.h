#pragma once
// GUID with its registry text form {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX} and its 16-byte
// binary form (Data1..Data3 little-endian, Data4 as bytes), as Windows lays them out.
#include "platform/com/types.h"
#include <array>
#include <optional>
#include <string>
#include <string_view>

struct GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
};
static_assert(sizeof(GUID) == 16);
using IID = GUID;
using CLSID = GUID;
using REFGUID = const GUID&;
using REFIID = const IID&;
using REFCLSID = const CLSID&;

bool operator==(const GUID& a, const GUID& b);
inline bool operator!=(const GUID& a, const GUID& b) { return !(a == b); }
bool IsEqualGUID(REFGUID a, REFGUID b);

constexpr GUID GUID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};

namespace vyr::com {

// Parses the 38-character braced form (hex digits of either case); nullopt on anything else.
std::optional<GUID> parseGuid(std::string_view text);
// Formats the 38-character braced form in upper case.
std::string formatGuid(const GUID& g);
namespace detail {
constexpr uint32_t hexValue(char c)
{
    return c >= '0' && c <= '9' ? uint32_t(c - '0')
         : c >= 'a' && c <= 'f' ? uint32_t(c - 'a' + 10)
         : c >= 'A' && c <= 'F' ? uint32_t(c - 'A' + 10)
                                : throw "not a hex digit";
}
constexpr uint32_t hexAt(std::string_view s, size_t pos, size_t digits)
{
    uint32_t v = 0;
    for (size_t i = 0; i < digits; ++i)
        v = v * 16 + hexValue(s[pos + i]);
    return v;
}
} // namespace detail

// Compile-time GUID from its unbraced 36-character text, for interface and class identifiers.
constexpr GUID guidOf(std::string_view t)
{
    if (t.size() != 36 || t[8] != '-' || t[13] != '-' || t[18] != '-' || t[23] != '-')
        throw "malformed GUID text";
    GUID g{detail::hexAt(t, 0, 8), uint16_t(detail::hexAt(t, 9, 4)), uint16_t(detail::hexAt(t, 14, 4)), {}};
    const size_t pos[8] = {19, 21, 24, 26, 28, 30, 32, 34};
    for (int i = 0; i < 8; ++i)
        g.Data4[i] = uint8_t(detail::hexAt(t, pos[i], 2));
    return g;
}
// The 16-byte little-endian binary form and back.
std::array<uint8_t, 16> guidBytes(const GUID& g);
GUID guidFromBytes(const uint8_t* bytes);

} // namespace vyr::com
