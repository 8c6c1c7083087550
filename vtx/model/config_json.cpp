#include "vtx/model/config_json.h"

#include <cstdio>

namespace vyr::vtx {

namespace {

// A JSON string literal; control characters and non-ASCII bytes below 0x20 are escaped, other
// bytes pass through as the database holds them (UTF-8).
std::string quote(const std::string& s)
{
    std::string out = "\"";
    for (unsigned char ch : s) {
        switch (ch) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (ch < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", ch);
                out += buf;
            } else {
                out += char(ch);
            }
        }
    }
    return out + "\"";
}

std::string list(const std::vector<std::string>& items)
{
    std::string out = "[";
    for (size_t i = 0; i < items.size(); ++i)
        out += (i ? ", " : "") + quote(items[i]);
    return out + "]";
}

} // namespace

std::string configurationJson(const Configuration& c)
{
    // A channel the database names no CAN for is null, and what is missing is said.
    std::string cans = "[";
    std::vector<std::string> problems;
    for (int n = 1; n <= 4; ++n) {
        const std::string& can = c.channel(n).can;
        cans += (n > 1 ? ", " : "") + (can.empty() ? std::string("null") : quote(can));
        if (std::string p = canProblem(c, n); !p.empty())
            problems.push_back(p);
    }
    cans += "]";
    std::string out = "{\n";
    out += "  \"version\": " + quote(c.versionText) + ",\n";
    out += "  \"nt1\": " + quote(nt1Name(c.nt1)) + ",\n";
    out += "  \"nt2\": " + quote(nt2Name(c.nt2)) + ",\n";
    out += std::string("  \"manualMirror\": ") + (c.manualMirror ? "true" : "false") + ",\n";
    out += "  \"can\": " + cans + ",\n";
    if (!problems.empty())
        out += "  \"missing\": " + list(problems) + ",\n";
    out += "  \"placements\": {";
    bool first = true;
    for (const char* holder : {"VTX_EF5", "VTX_EF6", "VTX_EF7", "VTX_EF8", "VTX_NT1", "VTX_NT2"}) {
        auto found = c.placements.find(holder);
        out += std::string(first ? "\n" : ",\n") + "    " + quote(holder) + ": " +
               list(found == c.placements.end() ? std::vector<std::string>{} : found->second);
        first = false;
    }
    out += "\n  },\n";
    out += "  \"transmittedLight\": " + quote(transmittedName(c.transmittedLight)) + ",\n";
    out += "  \"reflectedLight\": " + quote(reflectedName(c.reflectedLight)) + ",\n";
    out += "  \"stand\": " + std::to_string(c.stand) + "\n}\n";
    return out;
}

} // namespace vyr::vtx
