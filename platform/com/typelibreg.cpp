#include "platform/com/typelibreg.h"
#include "platform/com/bstr.h"
#include "platform/com/comptr.h"
#include "platform/registry/registry.h"
#include <cstdio>
#include <dlfcn.h>
#include <vector>

namespace {

using vyr::com::formatGuid;

struct Key {
    HKEY h = nullptr;
    ~Key() { if (h) RegCloseKey(h); }
};

std::string versionText(WORD major, WORD minor) { return std::to_string(major) + "." + std::to_string(minor); }

std::string libKey(REFGUID libid) { return "TypeLib\\" + formatGuid(libid); }

bool readDefault(HKEY key, const char* sub, std::string& out)
{
    LONG size = 0;
    if (RegQueryValue(key, sub, nullptr, &size) != ERROR_SUCCESS || size <= 0)
        return false;
    std::vector<char> buf(size_t(size) + 1);
    if (RegQueryValue(key, sub, buf.data(), &size) != ERROR_SUCCESS)
        return false;
    out.assign(buf.data());
    return true;
}

LONG setDefault(HKEY key, const char* sub, const std::string& text)
{
    return RegSetValue(key, sub, REG_SZ, text.c_str(), DWORD(text.size() + 1));
}

// The version key to load: the exact one, else the highest minor of the same major above it.
bool findVersion(REFGUID libid, WORD major, WORD minor, std::string& version)
{
    Key lib;
    if (RegOpenKeyEx(HKEY_CLASSES_ROOT, libKey(libid).c_str(), 0, KEY_READ, &lib.h) != ERROR_SUCCESS)
        return false;
    int best = -1;
    char name[64];
    for (DWORD i = 0; RegEnumKey(lib.h, i, name, sizeof name) == ERROR_SUCCESS; ++i) {
        unsigned maj = 0, min = 0;
        char tail = 0;
        if (std::sscanf(name, "%u.%u%c", &maj, &min, &tail) != 2 || maj != major || min < minor)
            continue;
        if (min == minor) {
            version = name;
            return true;
        }
        if (int(min) > best) {
            best = int(min);
            version = name;
        }
    }
    return best >= 0;
}

} // namespace

namespace vyr::com {
std::string registeredTypeLibPath(REFGUID libid, WORD major, WORD minor)
{
    std::string version, path;
    if (!findVersion(libid, major, minor, version))
        return {};
    Key k;
    if (RegOpenKeyEx(HKEY_CLASSES_ROOT, (libKey(libid) + "\\" + version).c_str(), 0, KEY_READ, &k.h) != ERROR_SUCCESS)
        return {};
    return readDefault(k.h, "0\\linux64", path) ? path : std::string();
}
} // namespace vyr::com

HRESULT LoadTypeLib(const char* path, ITypeLib** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (!path || !*path)
        return E_INVALIDARG;
    // The module stays loaded: the library's objects and code live in it.
    void* module = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (!module)
        return TYPE_E_CANTLOADLIBRARY;
    auto load = reinterpret_cast<HRESULT (*)(ITypeLib**)>(dlsym(module, kTypeLibExport));
    if (!load)
        return TYPE_E_CANTLOADLIBRARY;
    return load(out);
}

HRESULT LoadRegTypeLib(REFGUID libid, WORD major, WORD minor, LCID, ITypeLib** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    const std::string path = vyr::com::registeredTypeLibPath(libid, major, minor);
    if (path.empty())
        return TYPE_E_LIBNOTREGISTERED;
    return LoadTypeLib(path.c_str(), out);
}

HRESULT RegisterTypeLib(ITypeLib* lib, const char* path, const char* helpDir)
{
    if (!lib || !path)
        return E_INVALIDARG;
    TLIBATTR* attr = nullptr;
    if (HRESULT hr = lib->GetLibAttr(&attr); FAILED(hr))
        return hr;
    const GUID libid = attr->guid;
    const std::string version = versionText(attr->wMajorVerNum, attr->wMinorVerNum);
    lib->ReleaseTLibAttr(attr);
    vyr::com::Bstr name;
    lib->GetDocumentation(-1, name.put(), nullptr, nullptr, nullptr);

    Key k;
    if (RegCreateKeyEx(HKEY_CLASSES_ROOT, (libKey(libid) + "\\" + version).c_str(), 0, nullptr,
                       REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &k.h, nullptr) != ERROR_SUCCESS)
        return TYPE_E_REGISTRYACCESS;
    if (setDefault(k.h, nullptr, name.str()) != ERROR_SUCCESS || setDefault(k.h, "0\\linux64", path) != ERROR_SUCCESS ||
        setDefault(k.h, "FLAGS", "0") != ERROR_SUCCESS || setDefault(k.h, "HELPDIR", helpDir ? helpDir : "") != ERROR_SUCCESS)
        return TYPE_E_REGISTRYACCESS;

    // Every dispatch interface names the library it is described in.
    for (UINT i = 0, n = lib->GetTypeInfoCount(); i < n; ++i) {
        TYPEKIND kind{};
        if (FAILED(lib->GetTypeInfoType(i, &kind)) || kind != TKIND_DISPATCH)
            continue;
        vyr::com::ComPtr<ITypeInfo> info;
        TYPEATTR* ta = nullptr;
        if (FAILED(lib->GetTypeInfo(i, info.put())) || FAILED(info->GetTypeAttr(&ta)))
            continue;
        const GUID iid = ta->guid;
        info->ReleaseTypeAttr(ta);
        if (iid == GUID_NULL)
            continue;
        vyr::com::Bstr iname;
        info->GetDocumentation(MEMBERID_NIL, iname.put(), nullptr, nullptr, nullptr);
        Key ik;
        if (RegCreateKeyEx(HKEY_CLASSES_ROOT, ("Interface\\" + formatGuid(iid)).c_str(), 0, nullptr,
                           REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &ik.h, nullptr) != ERROR_SUCCESS)
            return TYPE_E_REGISTRYACCESS;
        if (setDefault(ik.h, nullptr, iname.str()) != ERROR_SUCCESS ||
            setDefault(ik.h, "TypeLib", formatGuid(libid)) != ERROR_SUCCESS)
            return TYPE_E_REGISTRYACCESS;
        Key tk;
        if (RegOpenKeyEx(ik.h, "TypeLib", 0, KEY_SET_VALUE, &tk.h) != ERROR_SUCCESS ||
            RegSetValueEx(tk.h, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version.c_str()),
                          DWORD(version.size() + 1)) != ERROR_SUCCESS)
            return TYPE_E_REGISTRYACCESS;
    }
    return S_OK;
}

HRESULT UnRegisterTypeLib(REFGUID libid, WORD major, WORD minor, LCID, SYSKIND)
{
    vyr::com::ComPtr<ITypeLib> lib;
    if (SUCCEEDED(LoadRegTypeLib(libid, major, minor, 0, lib.put()))) {
        for (UINT i = 0, n = lib->GetTypeInfoCount(); i < n; ++i) {
            vyr::com::ComPtr<ITypeInfo> info;
            TYPEATTR* ta = nullptr;
            if (FAILED(lib->GetTypeInfo(i, info.put())) || FAILED(info->GetTypeAttr(&ta)))
                continue;
            if (ta->typekind == TKIND_DISPATCH && ta->guid != GUID_NULL)
                RegDeleteTree(HKEY_CLASSES_ROOT, ("Interface\\" + formatGuid(ta->guid)).c_str());
            info->ReleaseTypeAttr(ta);
        }
    }
    const LONG r = RegDeleteTree(HKEY_CLASSES_ROOT, (libKey(libid) + "\\" + versionText(major, minor)).c_str());
    return r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND ? S_OK : TYPE_E_REGISTRYACCESS;
}
