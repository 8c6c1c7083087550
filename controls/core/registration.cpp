#include "controls/core/registration.h"
#include "controls/core/vyrcontrols.h"
#include "platform/com/comptr.h"
#include "platform/com/typelibreg.h"
#include <cstdio>
#include <cstring>
#include <vector>

namespace vyr::controls {

namespace {

// Closes a key on scope exit.
struct Key {
    HKEY h = nullptr;
    ~Key() { if (h) RegCloseKey(h); }
};

LONG setDefault(HKEY key, const char* subKey, const std::string& text)
{
    return RegSetValue(key, subKey, REG_SZ, text.c_str(), DWORD(text.size() + 1));
}

HRESULT writeProgIdKey(const std::string& name, const std::string& description, const std::string& clsid,
                       const char* curVer, bool insertable)
{
    Key k;
    if (RegCreateKeyEx(HKEY_CLASSES_ROOT, name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                       &k.h, nullptr) != ERROR_SUCCESS)
        return E_FAIL;
    if (setDefault(k.h, nullptr, description) != ERROR_SUCCESS || setDefault(k.h, "CLSID", clsid) != ERROR_SUCCESS)
        return E_FAIL;
    if (curVer && setDefault(k.h, "CurVer", curVer) != ERROR_SUCCESS)
        return E_FAIL;
    if (insertable && setDefault(k.h, "Insertable", "") != ERROR_SUCCESS)
        return E_FAIL;
    return S_OK;
}

bool removed(LONG r) { return r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND || r == ERROR_BADKEY; }

} // namespace

LONG deleteKeyRecursive(HKEY parent, const char* name)
{
    Key k;
    LONG r = RegOpenKeyEx(parent, name, 0, KEY_ALL_ACCESS, &k.h);
    if (r != ERROR_SUCCESS)
        return r;
    char sub[256];
    for (;;) {
        r = RegEnumKey(k.h, 0, sub, sizeof sub);
        if (r != ERROR_SUCCESS)
            break;
        if (LONG d = deleteKeyRecursive(k.h, sub); !removed(d))
            return d;
    }
    if (r != ERROR_NO_MORE_ITEMS && r != ERROR_BADKEY)
        return r;
    RegCloseKey(k.h);
    k.h = nullptr;
    return RegDeleteKey(parent, name);
}

HRESULT updateRegistry(const ClassRow& row, const std::string& modulePath, bool reg)
{
    const std::string clsid = com::formatGuid(row.clsid);
    const std::string classKey = "CLSID\\" + clsid;
    const std::string progId = row.progId ? row.progId : "";
    const std::string indep = versionIndependentProgId(row);

    if (!reg) {
        const bool ok = removed(deleteKeyRecursive(HKEY_CLASSES_ROOT, classKey.c_str())) &
                        removed(deleteKeyRecursive(HKEY_CLASSES_ROOT, progId.c_str())) &
                        removed(deleteKeyRecursive(HKEY_CLASSES_ROOT, indep.c_str()));
        return ok ? S_OK : E_FAIL;
    }

    const std::string libid = com::formatGuid(LIBID_VYRCTRLSLib);
    if (clsid.size() + 1 != 39 || libid.size() + 1 != 39)
        return E_FAIL;
    const std::string description = row.description ? row.description : clsid;
    const bool control = row.kind == ClassKind::Control;

    Key k;
    if (RegCreateKeyEx(HKEY_CLASSES_ROOT, classKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                       nullptr, &k.h, nullptr) != ERROR_SUCCESS)
        return E_FAIL;
    char toolbox[4200];
    std::snprintf(toolbox, sizeof toolbox, "%s, %d", modulePath.c_str(), row.bitmapId);
    const std::string misc = std::to_string(row.miscStatus);
    struct Entry {
        const char* sub;
        std::string value;
    };
    std::vector<Entry> entries{{nullptr, description}};
    if (control)
        entries.push_back({"ProgID", progId});
    entries.push_back({"InprocServer32", modulePath});
    if (control) {
        entries.push_back({"ToolboxBitmap32", toolbox});
        entries.push_back({"MiscStatus", "0"});
        entries.push_back({"MiscStatus\\1", misc});
        entries.push_back({"Control", "0"});
        entries.push_back({"TypeLib", libid});
        entries.push_back({"Version", kTypeLibVersion});
    }
    for (const Entry& e : entries)
        if (setDefault(k.h, e.sub, e.value) != ERROR_SUCCESS)
            return E_FAIL;

    if (!progId.empty() && FAILED(writeProgIdKey(progId, description, clsid, nullptr, control)))
        return E_FAIL;
    if (!indep.empty() && FAILED(writeProgIdKey(indep, description, clsid, progId.c_str(), false)))
        return E_FAIL;
    if (control && setDefault(k.h, "Insertable", "") != ERROR_SUCCESS)
        return E_FAIL;

    Key inproc;
    if (RegOpenKeyEx(k.h, "InprocServer32", 0, KEY_SET_VALUE, &inproc.h) != ERROR_SUCCESS)
        return E_FAIL;
    static const char apartment[] = "Apartment";
    if (RegSetValueEx(inproc.h, "ThreadingModel", 0, REG_SZ, reinterpret_cast<const BYTE*>(apartment),
                      sizeof apartment) != ERROR_SUCCESS)
        return E_FAIL;
    return S_OK;
}

HRESULT registerTypeLibrary(const std::string& modulePath)
{
    // The library is carried by the module itself; a sibling ".tlb" is tried after it.
    com::ComPtr<ITypeLib> lib;
    HRESULT hr = LoadTypeLib(modulePath.c_str(), lib.put());
    if (FAILED(hr)) {
        const size_t dot = modulePath.find_last_of('.');
        const size_t slash = modulePath.find_last_of('/');
        const std::string tlb =
            (dot == std::string::npos || (slash != std::string::npos && dot < slash) ? modulePath
                                                                                     : modulePath.substr(0, dot)) +
            ".tlb";
        if (FAILED(LoadTypeLib(tlb.c_str(), lib.put())))
            return hr;
    }
    const size_t slash = modulePath.find_last_of("/\\:");
    const std::string helpDir = slash == std::string::npos ? std::string() : modulePath.substr(0, slash);
    return RegisterTypeLib(lib.get(), modulePath.c_str(), helpDir.c_str());
}

} // namespace vyr::controls
