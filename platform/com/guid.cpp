#include "platform/com/guid.h"
#include <cstdio>
#include <cctype>
#include <cstring>

bool operator==(const GUID& a, const GUID& b) { return std::memcmp(&a, &b, sizeof(GUID)) == 0; }
bool IsEqualGUID(REFGUID a, REFGUID b) { return a == b; }

namespace vyr::com {

std::optional<GUID> parseGuid(std::string_view text)
{
    if (text.size() != 38 || text.front() != '{' || text.back() != '}')
        return std::nullopt;
    std::string_view body = text.substr(1, 36);
    for (size_t i = 0; i < body.size(); ++i) {
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        const char c = body[i];
        if (dash ? c != '-' : !std::isxdigit(static_cast<unsigned char>(c)))
            return std::nullopt;
    }
    return guidOf(body);
}

std::string formatGuid(const GUID& g)
{
    char buf[39];
    std::snprintf(buf, sizeof buf, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.Data1, g.Data2,
                  g.Data3, g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6],
                  g.Data4[7]);
    return buf;
}

std::array<uint8_t, 16> guidBytes(const GUID& g)
{
    std::array<uint8_t, 16> b{};
    for (int i = 0; i < 4; ++i)
        b[i] = uint8_t(g.Data1 >> (8 * i));
    b[4] = uint8_t(g.Data2);
    b[5] = uint8_t(g.Data2 >> 8);
    b[6] = uint8_t(g.Data3);
    b[7] = uint8_t(g.Data3 >> 8);
    std::memcpy(&b[8], g.Data4, 8);
    return b;
}

GUID guidFromBytes(const uint8_t* b)
{
    GUID g{};
    g.Data1 = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
    g.Data2 = uint16_t(b[4] | b[5] << 8);
    g.Data3 = uint16_t(b[6] | b[7] << 8);
    std::memcpy(g.Data4, b + 8, 8);
    return g;
}

} // namespace vyr::com
