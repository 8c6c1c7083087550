// vyr-tlb: prints a type library as an IDL-like listing.
//   vyr-tlb [--module PATH] [TYPE...]
// Without --module the registered control library (VYRCTRLSLib 1.0) is loaded through the
// registry store (VYR_REGISTRY); with TYPE names only those types are listed (a coclass
// brings its interfaces).
#include "controls/core/vyrcontrols.h"
#include "platform/com/comptr.h"
#include "platform/com/typelibreg.h"
#include "platform/com/typelibtext.h"
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

void usage(FILE* to)
{
    std::fputs("Usage: vyr-tlb [--module PATH] [TYPE...]\n"
               "Prints the control library's type information as an IDL-like listing.\n"
               "  --module PATH  read the type library carried by that module instead of the\n"
               "                 one registered under HKEY_CLASSES_ROOT\\TypeLib (VYR_REGISTRY)\n"
               "  TYPE           list only these types; a coclass brings its interfaces\n",
               to);
}

} // namespace

int main(int argc, char** argv)
{
    std::string module;
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
    const std::string text = vyr::com::typeLibText(lib.get(), only);
    std::fputs(text.c_str(), stdout);
    return 0;
}
