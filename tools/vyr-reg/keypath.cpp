#include "tools/vyr-reg/keypath.h"
#include <strings.h>

namespace vyr::tools {
namespace {

struct Hive {
    const char* name;
    const char* shortName;
    HKEY key;
};

bool sameText(std::string_view a, const char* b)
{
    return a.size() == std::char_traits<char>::length(b) &&
           strncasecmp(a.data(), b, a.size()) == 0;
}

} // namespace

std::optional<KeyPath> parseKeyPath(std::string_view text)
{
    const Hive hives[] = {
        {"HKEY_CLASSES_ROOT", "HKCR", HKEY_CLASSES_ROOT},
        {"HKEY_CURRENT_USER", "HKCU", HKEY_CURRENT_USER},
        {"HKEY_LOCAL_MACHINE", "HKLM", HKEY_LOCAL_MACHINE},
        {"HKEY_USERS", "HKU", HKEY_USERS},
    };
    const size_t cut = text.find('\\');
    const std::string_view head = text.substr(0, cut);
    std::string_view rest = cut == std::string_view::npos ? std::string_view() : text.substr(cut + 1);
    if (!rest.empty() && rest.back() == '\\')
        rest.remove_suffix(1);
    for (const Hive& h : hives) {
        if (!sameText(head, h.name) && !sameText(head, h.shortName))
            continue;
        KeyPath p{h.key, std::string(rest), h.name};
        if (!rest.empty())
            p.full += "\\" + p.subKey;
        return p;
    }
    return std::nullopt;
}

} // namespace vyr::tools
