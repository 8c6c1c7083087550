// vyr-tlb: prints a type library as an IDL-like listing, or writes the control reference.
//   vyr-tlb [--module PATH] [TYPE...]
//   vyr-tlb [--module PATH] --reference DIR
// Without --module the registered control library (VYRCTRLSLib 1.0) is loaded through the
// registry store (VYR_REGISTRY); with TYPE names only those types are listed (a coclass
// brings its interfaces).
#include "controls/core/vyrcontrols.h"
#include "platform/com/comptr.h"
#include "platform/com/typelibreg.h"
#include "platform/com/typelibtext.h"
#include "platform/registry/registry.h"
#include "tools/vyr-tlb/reference.h"
#include "platform/com/persist.h"
#include <QApplication>
#include <dlfcn.h>
#include <fstream>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

void usage(FILE* to)
{
    std::fputs("Usage: vyr-tlb [--module PATH] [TYPE...]\n"
               "       vyr-tlb [--module PATH] --reference DIR\n"
               "Prints the control library's type information as an IDL-like listing.\n"
               "  --reference DIR  write the reference of every class as Markdown pages into DIR\n"
               "                 (ProgIDs from the registry store, VYR_REGISTRY)\n"
               "  --module PATH  read the type library carried by that module instead of the\n"
               "                 one registered under HKEY_CLASSES_ROOT\\TypeLib (VYR_REGISTRY)\n"
               "  TYPE           list only these types; a coclass brings its interfaces\n",
               to);
}

// The ProgID registered for a class identifier, "" when there is none.
std::string progIdOf(const GUID& clsid)
{
    const std::string key = "CLSID\\" + vyr::com::formatGuid(clsid) + "\\ProgID";
    char text[256] = {};
    LONG size = sizeof text;
    return RegQueryValue(HKEY_CLASSES_ROOT, key.c_str(), text, &size) == ERROR_SUCCESS ? std::string(text) : std::string();
}

std::string registryText(const std::string& key)
{
    char text[1024] = {};
    LONG size = sizeof text;
    return RegQueryValue(HKEY_CLASSES_ROOT, key.c_str(), text, &size) == ERROR_SUCCESS ? std::string(text) : std::string();
}

// New objects of the module's classes through its DllGetClassObject: the module named, or the
// one registered for the class.
IDispatch* createObject(const std::string& module, const GUID& clsid)
{
    const std::string path = !module.empty() ? module : registryText("CLSID\\" + vyr::com::formatGuid(clsid) + "\\InprocServer32");
    void* handle = path.empty() ? nullptr : dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    using GetClassObject = HRESULT (*)(REFCLSID, REFIID, void**);
    auto get = handle ? reinterpret_cast<GetClassObject>(dlsym(handle, "DllGetClassObject")) : nullptr;
    vyr::com::ComPtr<IClassFactory> factory;
    IDispatch* object = nullptr;
    if (!get || FAILED(get(clsid, IID_IClassFactory, factory.putVoid()))
        || FAILED(factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&object))))
        return nullptr;
    vyr::com::ComPtr<IPersistStreamInit> init;
    if (SUCCEEDED(object->QueryInterface(IID_IPersistStreamInit, init.putVoid())) && init)
        init->InitNew();
    return object; // the module stays loaded: its objects are released after this returns
}

int writeReference(ITypeLib* lib, const std::string& dir, const std::string& module)
{
    vyr::tlb::ClassSources sources;
    sources.progIdOf = progIdOf;
    sources.nameOf = [](const GUID& clsid) { return registryText("CLSID\\" + vyr::com::formatGuid(clsid)); };
    sources.create = [&](const GUID& clsid) { return createObject(module, clsid); };
    for (const auto& [name, text] : vyr::tlb::referencePages(lib, sources)) {
        const std::string path = dir + "/" + name;
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        if (!(out << text) || !out.flush()) {
            std::fprintf(stderr, "vyr-tlb: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    std::string module, reference;
    std::vector<std::string> only;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            usage(stdout);
            return 0;
        }
        if (!std::strcmp(argv[i], "--module")) {
            if (++i == argc) {
                usage(stderr);
                return 2;
            }
            module = argv[i];
        } else if (!std::strcmp(argv[i], "--reference")) {
            if (++i == argc) {
                usage(stderr);
                return 2;
            }
            reference = argv[i];
        } else {
            only.emplace_back(argv[i]);
        }
    }
    vyr::com::ComPtr<ITypeLib> lib;
    const HRESULT hr = module.empty()
                           ? LoadRegTypeLib(vyr::controls::LIBID_VYRCTRLSLib, 1, 0, 0, lib.put())
                           : LoadTypeLib(module.c_str(), lib.put());
    if (FAILED(hr)) {
        std::fprintf(stderr, "vyr-tlb: cannot load the type library (0x%08X)%s\n", unsigned(hr),
                     module.empty() ? ": is the control library registered (vyr-regsvr)?" : "");
        return 1;
    }
    if (!reference.empty()) {
        QApplication app(argc, argv); // the controls are created to read their defaults
        return writeReference(lib.get(), reference, module);
    }
    const std::string text = vyr::com::typeLibText(lib.get(), only);
    std::fputs(text.c_str(), stdout);
    return 0;
}
