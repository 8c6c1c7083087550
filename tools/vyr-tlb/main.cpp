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
#include "controls/qtwidget/commandserver.h"
#include "platform/com/dispcall.h"
#include "platform/com/persist.h"
#include <QApplication>
#include <QDir>
#include <QWidget>
#include <dlfcn.h>
#include <fstream>
#include <map>
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

// The size a class is shown at: what a form would typically give it.
QSize shownSize(const std::string& className)
{
    static const std::map<std::string, QSize> sizes = {
        {"Slider", {320, 32}},      {"SpiSlider", {320, 40}},   {"SpectraCtrl", {400, 140}},
        {"SliceCtrl", {200, 140}},  {"Frame", {320, 200}},      {"MultiPageFrame", {320, 200}},
        {"List", {200, 120}},       {"MultiList", {320, 120}},  {"Tree", {200, 140}},
        {"ButtonList", {320, 64}},  {"PropertyBrowser", {280, 200}}, {"Objective", {160, 40}},
        {"GrabField", {200, 140}},  {"Display", {200, 40}},
    };
    const auto it = sizes.find(className);
    return it != sizes.end() ? it->second : QSize(140, 32);
}

// A new object shown the way a container shows it: its window in a parent widget, bound to a
// command server that answers every command as enabled, so the picture is the control's
// enabled look. Written as DIR/screenshots/CLASS.png.
std::string screenshot(const std::string& module, const GUID& clsid, const std::string& className,
                       const std::string& dir, vyr::CommandServer* server)
{
    vyr::com::ComPtr<IDispatch> object = vyr::com::ComPtr<IDispatch>::attach(createObject(module, clsid));
    vyr::com::ComPtr<IVyrControl> control;
    if (!object || FAILED(object->QueryInterface(IID_IVyrControl, control.putVoid())) || !control)
        return {};
    vyr::com::putProperty(object.get(), "Command", vyr::com::Variant::fromString("Reference"));
    vyr::com::putProperty(object.get(), "Caption", vyr::com::Variant::fromString(className)); // where it has one
    QWidget parent;
    parent.resize(shownSize(className));
    const RECT r{0, 0, parent.width(), parent.height()};
    void* window = nullptr;
    if (FAILED(control->CreateControlWindow(&parent, &r, &window)))
        return {};
    vyr::com::ComPtr<ICommandClient> client;
    if (SUCCEEDED(object->QueryInterface(IID_ICommandClient, client.putVoid())) && client)
        client->SetCommandServer(server);
    parent.show();
    QCoreApplication::processEvents();
    const std::string file = "screenshots/" + className + ".png";
    const bool saved = QDir().mkpath(QString::fromStdString(dir + "/screenshots"))
                       && parent.grab().save(QString::fromStdString(dir + "/" + file));
    if (client)
        client->SetCommandServer(nullptr);
    control->DestroyControlWindow();
    return saved ? file : std::string();
}

int writeReference(ITypeLib* lib, const std::string& dir, const std::string& module)
{
    auto server = vyr::CommandServer::create();
    vyr::tlb::ClassSources sources;
    sources.progIdOf = progIdOf;
    sources.nameOf = [](const GUID& clsid) { return registryText("CLSID\\" + vyr::com::formatGuid(clsid)); };
    sources.create = [&](const GUID& clsid) { return createObject(module, clsid); };
    sources.screenshot = [&](const GUID& clsid, const std::string& className) {
        return screenshot(module, clsid, className, dir, server.get());
    };
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
