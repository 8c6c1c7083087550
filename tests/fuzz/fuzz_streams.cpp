// libFuzzer target for the stream loaders: arbitrary bytes go into every loader that reads
// a container's document. Each must answer with an HRESULT, never crash, hang or allocate
// without bound.
#include "controls/buttons/button.h"
#include "platform/com/memstream.h"
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_streams";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv); // fonts and pictures need the GUI application
    if (size == 0)
        return 0;
    // The first byte picks the loader, the rest is the stream. (The VARIANT and object
    // readers on their own are fuzzed by fuzz_variant.)
    const uint8_t* body = data + 1;
    const size_t n = size - 1;
    switch (data[0] % 2) {
    case 0: loadControl<controls::Button>(body, n); break;
    default: loadControl<controls::OptionButton>(body, n); break;
    }
    return 0;
}
