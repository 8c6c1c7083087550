// A control server library in miniature: registering writes one class key with its module
// path, unregistering removes it. VYR_TEST_SERVER_FAIL (hex) makes registering fail with
// that result.
#include "platform/registry/regkey.h"
#include <dlfcn.h>
#include <cstdlib>

namespace {
constexpr const char* kClassKey = "CLSID\\{5C867548-3085-4476-B64E-F4F2EC37CE12}";
}

extern "C" __attribute__((visibility("default"))) HRESULT DllRegisterServer()
{
    if (const char* fail = std::getenv("VYR_TEST_SERVER_FAIL"))
        return static_cast<HRESULT>(std::strtoul(fail, nullptr, 16));
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(&DllRegisterServer), &info) || !info.dli_fname)
        return E_FAIL;
    vyr::registry::RegKey key;
    if (key.create(HKEY_CLASSES_ROOT, kClassKey) != ERROR_SUCCESS ||
        RegSetValue(key.get(), nullptr, REG_SZ, "Test Server", 0) != ERROR_SUCCESS ||
        RegSetValue(key.get(), "InprocServer32", REG_SZ, info.dli_fname, 0) != ERROR_SUCCESS)
        return SELFREG_E_CLASS;
    return S_OK;
}

extern "C" __attribute__((visibility("default"))) HRESULT DllUnregisterServer()
{
    const LONG r = RegDeleteTree(HKEY_CLASSES_ROOT, kClassKey);
    return r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND ? S_OK : E_FAIL;
}
