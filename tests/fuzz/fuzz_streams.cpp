// libFuzzer target for the stream loaders: arbitrary bytes go into every loader that reads
// a container's document. Each must answer with an HRESULT, never crash, hang or allocate
// without bound.
#include "controls/buttons/button.h"
#include "controls/frames/frame.h"
#include "controls/frames/multipageframe.h"
#include "controls/propertypages/propertybrowser.h"
#include "platform/com/memstream.h"
#include <QApplication>

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
    static QApplication app(argc, argv); // fonts, pictures and hosted pages need the application
    if (size == 0)
        return 0;
    // The first byte picks the loader, the rest is the stream. (The VARIANT and object
    // readers on their own are fuzzed by fuzz_variant.)
    const uint8_t* body = data + 1;
    const size_t n = size - 1;
    switch (data[0] % 5) {
    case 0: loadControl<controls::Button>(body, n); break;
    case 1: loadControl<controls::OptionButton>(body, n); break;
    case 2: loadControl<controls::Frame>(body, n); break;
    case 3: loadControl<controls::PropertyBrowser>(body, n); break;
    default: loadControl<controls::MultiPageFrame>(body, n); break;
    }
    return 0;
}
