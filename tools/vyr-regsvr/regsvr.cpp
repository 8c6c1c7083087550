#include "tools/vyr-regsvr/regsvr.h"
#include "platform/com/types.h"
#include <dlfcn.h>
#include <strings.h>
#include <sys/stat.h>
#include <cstdio>
#include <ostream>

namespace vyr::tools {
namespace {

using EntryPoint = HRESULT (*)();

constexpr const char* kUsage =
    "Usage: vyr-regsvr [/u] [/s] LIBRARY\n"
    "  Registers the control server LIBRARY by calling its DllRegisterServer;\n"
    "  /u unregisters it by calling DllUnregisterServer; /s reports errors only.\n";

bool isSwitch(const std::string& a, const char* name)
{
    return a.size() >= 2 && (a[0] == '/' || a[0] == '-') && strcasecmp(a.c_str() + 1, name) == 0;
}

// A bare file name means the file in the current folder, as on Windows, rather than a
// search of the system's library path.
std::string loadPath(const std::string& lib)
{
    struct stat st {};
    if (lib.find('/') == std::string::npos && stat(lib.c_str(), &st) == 0)
        return "./" + lib;
    return lib;
}

// The library stays loaded only for the call.
struct Library {
    explicit Library(const std::string& path) : handle(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {}
    ~Library()
    {
        if (handle)
            dlclose(handle);
    }
    void* handle;
};

} // namespace

int runRegsvr(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    bool unregister = false, silent = false;
    std::string lib;
    for (const std::string& a : args) {
        if (a == "/?" || a == "-?" || a == "-h" || a == "--help") {
            out << kUsage;
            return kRegsvrOk;
        }
        // Only the exact switches are switches: a path may start with '/' as well.
        if (isSwitch(a, "u")) {
            unregister = true;
        } else if (isSwitch(a, "s")) {
            silent = true;
        } else if (lib.empty() && !a.empty()) {
            lib = a;
        } else {
            err << kUsage;
            return kRegsvrBadArguments;
        }
    }
    if (lib.empty()) {
        err << kUsage;
        return kRegsvrBadArguments;
    }
    const char* entry = unregister ? "DllUnregisterServer" : "DllRegisterServer";

    Library library(loadPath(lib));
    if (!library.handle) {
        const char* why = dlerror();
        err << "The module \"" << lib << "\" failed to load.\n" << (why ? why : "") << "\n";
        return kRegsvrLoadFailed;
    }
    dlerror();
    const auto call = reinterpret_cast<EntryPoint>(dlsym(library.handle, entry));
    if (!call) {
        err << "The module \"" << lib << "\" was loaded but the entry-point " << entry
            << " was not found.\n";
        return kRegsvrNoEntryPoint;
    }
    const HRESULT hr = call();
    if (FAILED(hr)) {
        char code[16];
        std::snprintf(code, sizeof code, "0x%08X", static_cast<uint32_t>(hr));
        err << "The module \"" << lib << "\" was loaded but the call to " << entry
            << " failed with error code " << code << ".\n";
        return kRegsvrCallFailed;
    }
    if (!silent)
        out << entry << " in " << lib << " succeeded.\n";
    return kRegsvrOk;
}

} // namespace vyr::tools
