// libFuzzer target for the stream loaders: arbitrary bytes go into every loader that reads
// a container's document. Each must answer with an HRESULT, never crash, hang or allocate
// without bound.
#include "controls/buttons/button.h"
#include "controls/buttons/buttonlist.h"
#include "controls/buttons/checkbox.h"
#include "controls/buttons/displaybutton.h"
#include "controls/buttons/radiobutton.h"
#include "controls/frames/frame.h"
#include "controls/frames/grabfield.h"
#include "controls/frames/multipageframe.h"
#include "controls/frames/objective.h"
#include "controls/frames/popupdialog.h"
#include "controls/values/spi_slider.h"
#include "controls/values/text_edit.h"
#include "controls/values/time_edit.h"
#include "controls/lists/combobox.h"
#include "controls/lists/display.h"
#include "controls/lists/list.h"
#include "controls/lists/multilist.h"
#include "controls/lists/static.h"
#include "controls/lists/tree.h"
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
    using Loader = void (*)(const uint8_t*, size_t);
    static const Loader loaders[] = {
        loadControl<controls::Button>,        loadControl<controls::OptionButton>,
        loadControl<controls::Frame>,         loadControl<controls::MultiPageFrame>,
        loadControl<controls::SpiSlider>,     loadControl<controls::VyrTimeEdit>,
        loadControl<controls::VyrEdit>,       loadControl<controls::DisplayButton>,
        loadControl<controls::DisplayOptionButton>, loadControl<controls::RadioButton>,
        loadControl<controls::CheckBox>,      loadControl<controls::ButtonList>,
        loadControl<controls::Static>,        loadControl<controls::Display>,
        loadControl<controls::List>,          loadControl<controls::MultiList>,
        loadControl<controls::Tree>,          loadControl<controls::ComboBox>,
        loadControl<controls::PopupDialog>,   loadControl<controls::GrabField>,
        loadControl<controls::Objective>,
    };
    loaders[data[0] % std::size(loaders)](body, n);
    return 0;
}
