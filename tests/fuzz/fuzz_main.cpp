// libFuzzer entry for the stream loaders (fuzz_streams.cpp). VYR_FUZZ_LOADER=NAME fuzzes one
// loader with the bytes as its stream (scripts/fuzz.sh runs them one by one); without it the
// first byte picks the loader and the rest is the stream.
#include "tests/fuzz/loaders.h"

#include <QApplication>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_streams";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv); // fonts, pictures and hosted pages need the application
    static const vyr::fuzz::Loader* only = [] {
        const char* chosen = std::getenv("VYR_FUZZ_LOADER");
        if (!chosen)
            return static_cast<const vyr::fuzz::Loader*>(nullptr);
        const vyr::fuzz::Loader* l = vyr::fuzz::findLoader(chosen);
        if (!l)
            std::abort();   // a misspelt name must not fuzz nothing
        return l;
    }();
    if (only) {
        only->load(data, size);
        return 0;
    }
    if (size == 0)
        return 0;
    auto all = vyr::fuzz::loaders();
    all[data[0] % all.size()].load(data + 1, size - 1);
    return 0;
}
