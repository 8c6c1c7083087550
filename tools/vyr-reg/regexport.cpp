#include "tools/vyr-reg/regexport.h"
#include "tools/vyr-reg/regtree.h"
#include <cstdio>
#include <vector>

namespace vyr::tools {
namespace {

// Hex data breaks once a line reaches this width, leaving room for ",\".
constexpr size_t kHexLineLimit = 77;

std::string quoted(std::string_view s)
{
    std::string out = "\"";
    for (char c : s) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    return out + '"';
}

// Text that reads back the same from a quoted string: no NUL inside, no line breaks.
bool plainText(std::span<const BYTE> data)
{
    for (size_t i = 0; i < data.size(); ++i) {
        const BYTE b = data[i];
        if ((b == 0 && i + 1 != data.size()) || b == '\n' || b == '\r')
            return false;
    }
    return true;
}

void appendHex(std::string& line, DWORD type, std::span<const BYTE> data)
{
    char prefix[24];
    if (type == REG_BINARY)
        std::snprintf(prefix, sizeof prefix, "hex:");
    else
        std::snprintf(prefix, sizeof prefix, "hex(%x):", type);
    line += prefix;
    size_t width = line.size();
    for (size_t i = 0; i < data.size(); ++i) {
        char byte[4];
        std::snprintf(byte, sizeof byte, "%02x", data[i]);
        line += byte;
        if (i + 1 == data.size())
            break;
        line += ',';
        width += 3;
        if (width >= kHexLineLimit) {
            line += "\\\n  ";
            width = 2;
        }
    }
}

} // namespace

std::string formatRegValue(std::string_view name, DWORD type, std::span<const BYTE> data)
{
    std::string line = name.empty() ? std::string("@") : quoted(name);
    line += '=';
    if (type == REG_SZ && plainText(data)) {
        std::string_view text(reinterpret_cast<const char*>(data.data()), data.size());
        if (!text.empty() && text.back() == '\0')
            text.remove_suffix(1);
        line += quoted(text);
    } else if (type == REG_DWORD && data.size() == 4) {
        char dword[16];
        std::snprintf(dword, sizeof dword, "dword:%08x",
                      DWORD(data[0]) | DWORD(data[1]) << 8 | DWORD(data[2]) << 16 |
                          DWORD(data[3]) << 24);
        line += dword;
    } else {
        appendHex(line, type, data);
    }
    return line;
}

LONG exportKey(HKEY key, const std::string& path, std::string& text)
{
    std::string out = "Windows Registry Editor Version 5.00\n\n";
    const LONG r = visitTree(key, path, [&](HKEY k, const std::string& keyPath) {
        std::vector<RegValue> values;
        if (const LONG e = readValues(k, values))
            return e;
        out += "[" + keyPath + "]\n";
        for (const RegValue& v : values)
            out += formatRegValue(v.name, v.type, v.data) + "\n";
        out += "\n";
        return ERROR_SUCCESS;
    });
    text = r == ERROR_SUCCESS ? std::move(out) : std::string();
    return r;
}

} // namespace vyr::tools
