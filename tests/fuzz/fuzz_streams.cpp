// libFuzzer target for the stream loaders: arbitrary bytes go into every loader that reads
// a container's document. Each must answer with an HRESULT, never crash, hang or allocate
// without bound.
#include "controls/buttons/button.h"
#include "platform/com/memstream.h"
#include "platform/com/streamio.h"
#include <QGuiApplication>

using namespace vyr;

namespace {

template <class Control>
void loadControl(const uint8_t* data, size_t size)
{
    auto stream = com::MemoryStream::create(std::vector<uint8_t>(data, data + size));
    auto control = com::make<Control>();
    control->Load(stream.get());
}

void loadVariants(const uint8_t* data, size_t size)
{
    auto stream = com::MemoryStream::create(std::vector<uint8_t>(data, data + size));
    VARIANT v;
    VariantInit(&v);
    while (SUCCEEDED(com::readVariant(stream.get(), &v)))
        VariantClear(&v);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_streams";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv); // fonts and pictures need the GUI application
    if (size == 0)
        return 0;
    // The first byte picks the loader, the rest is the stream.
    const uint8_t* body = data + 1;
    const size_t n = size - 1;
    switch (data[0] % 3) {
    case 0: loadControl<controls::Button>(body, n); break;
    case 1: loadControl<controls::OptionButton>(body, n); break;
    default: loadVariants(body, n); break;
    }
    return 0;
}
