#include "tools/vyr-reg/regtree.h"
#include "platform/registry/keyname.h"
#include "platform/registry/regkey.h"

namespace vyr::tools {

using registry::RegKey;

LONG readValues(HKEY key, std::vector<RegValue>& values)
{
    values.clear();
    RegKey k(key);
    std::vector<std::string> names;
    LONG r = k.valueNames(names);
    for (size_t i = 0; r == ERROR_SUCCESS && i < names.size(); ++i) {
        RegValue v;
        v.name = names[i];
        r = k.queryValue(v.name, v.type, v.data);
        if (r == ERROR_SUCCESS)
            values.push_back(std::move(v));
        else if (r == ERROR_FILE_NOT_FOUND)
            r = ERROR_SUCCESS;  // deleted since it was listed
    }
    k.release();  // the caller's handle
    return r;
}

namespace {

LONG visitBelow(HKEY key, const std::string& path, size_t depth,
                const std::function<LONG(HKEY, const std::string&)>& visit)
{
    if (depth > registry::kMaxKeyDepth)
        return ERROR_REGISTRY_CORRUPT;  // deeper than any store can make it
    if (const LONG r = visit(key, path))
        return r;
    RegKey k(key);
    std::vector<std::string> names;
    LONG r = k.subKeyNames(names);
    k.release();
    for (size_t i = 0; r == ERROR_SUCCESS && i < names.size(); ++i) {
        RegKey sub;
        r = sub.open(key, names[i], KEY_READ);
        if (r == ERROR_SUCCESS)
            r = visitBelow(sub.get(), path + "\\" + names[i], depth + 1, visit);
        else if (r == ERROR_FILE_NOT_FOUND)
            r = ERROR_SUCCESS;
    }
    return r;
}

} // namespace

LONG visitTree(HKEY key, const std::string& path,
               const std::function<LONG(HKEY, const std::string&)>& visit)
{
    return visitBelow(key, path, 0, visit);
}

} // namespace vyr::tools
