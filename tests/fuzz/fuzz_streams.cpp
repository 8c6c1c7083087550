// The table of stream loaders the fuzz target (fuzz_main.cpp) and the corpus replay drive.
//
// Every control of the class table is fuzzed through IPersistStreamInit::Load, so a control
// that lands in the table is fuzzed without a row here. Add a row for any other reader.
#include "tests/fuzz/loaders.h"

#include "controls/core/classtable.h"
#include "controls/frames/pageform.h"
#include "platform/com/font.h"
#include "platform/com/memstream.h"
#include "platform/com/picture.h"
#include "platform/com/comptr.h"
#include "platform/com/streamio.h"
#include "platform/com/variant.h"
#include "tools/vyr-reg/keypath.h"

#include <array>
#include <cstdlib>
#include <utility>
#include <string>
#include <vector>

namespace vyr::fuzz {
namespace {

using namespace vyr::com;

ComPtr<MemoryStream> streamOf(const uint8_t* data, size_t size)
{
    return MemoryStream::create(std::vector<uint8_t>(data, data + size));
}

// A sequence of VARIANT records. Whatever reads must write back and read again to a value of
// the same type.
void loadVariants(const uint8_t* data, size_t size)
{
    auto stream = streamOf(data, size);
    for (;;) {
        Variant v;
        if (FAILED(readVariant(stream.get(), v.put())))
            break;
        auto copy = MemoryStream::create();
        if (SUCCEEDED(writeVariant(copy.get(), v.get()))) {
            copy->Seek({0}, STREAM_SEEK_SET, nullptr);
            Variant again;
            if (FAILED(readVariant(copy.get(), again.put())) || again.get().vt != v.get().vt)
                __builtin_trap();
        }
    }
}

// A persisted object: class identifier, then the object's own stream (fonts, pictures).
void loadPersistedObject(const uint8_t* data, size_t size)
{
    auto stream = streamOf(data, size);
    IUnknown* object = nullptr;
    if (SUCCEEDED(loadObject(stream.get(), &object)) && object)
        object->Release();
}

void loadStdObject(REFCLSID clsid, const uint8_t* data, size_t size)
{
    ComPtr<IPersistStream> persist;
    if (FAILED(createStdObject(clsid, IID_IPersistStream, persist.putVoid())))
        __builtin_trap();
    persist->Load(streamOf(data, size).get());
}

void loadFont(const uint8_t* data, size_t size) { loadStdObject(CLSID_StdFont, data, size); }
void loadPicture(const uint8_t* data, size_t size) { loadStdObject(CLSID_StdPicture, data, size); }

// The bytes of a picture file (BMP, ICO, PNG).
void loadPictureFileBytes(const uint8_t* data, size_t size)
{
    ComPtr<IPictureDisp> picture;
    loadPictureBytes(data, size, picture.put());
}

// A page's saved form, hosting the controls it names as the frames do.
class PageControls final : public frames::HostedControls {
public:
    size_t count() const override { return 0; }
    frames::ControlRecord record(size_t) const override { return {}; }
    HRESULT save(size_t, IStream*) override { return E_NOTIMPL; }
    HRESULT create(const frames::ControlRecord& record, IStream* data, uint32_t) override
    {
        const controls::ClassRow* row = controls::findClass(record.clsid);
        if (!row || !row->create)
            return REGDB_E_CLASSNOTREG;
        ComPtr<IPersistStreamInit> control;
        HRESULT hr = row->create(IID_IPersistStreamInit, control.putVoid());
        if (FAILED(hr))
            return hr;
        hr = control->Load(data);
        if (SUCCEEDED(hr))
            created_.push_back(std::move(control));
        return hr;
    }

private:
    std::vector<ComPtr<IPersistStreamInit>> created_;
};

void loadPageBlocks(const uint8_t* data, size_t size)
{
    auto stream = streamOf(data, size);
    uint64_t length = 0;
    frames::measurePage(stream.get(), size, length);
    stream->Seek({0}, STREAM_SEEK_SET, nullptr);
    PageControls controls;
    bool dragControls = false;
    frames::loadPage(stream.get(), size, controls, dragControls);
}

// A key path as vyr-reg reads it from its command line.
void loadKeyPath(const uint8_t* data, size_t size)
{
    tools::parseKeyPath(std::string_view(reinterpret_cast<const char*>(data), size));
}

// IPersistStreamInit::Load of the control class at `Index` in the class table.
template <size_t Index>
void loadControl(const uint8_t* data, size_t size)
{
    const controls::ClassRow& row = controls::classTable()[Index];
    if (!row.create)
        return;
    ComPtr<IPersistStreamInit> control;
    if (FAILED(row.create(IID_IPersistStreamInit, control.putVoid())))
        __builtin_trap();
    control->Load(streamOf(data, size).get());
}

std::vector<Loader> buildTable()
{
    std::vector<Loader> table{
        {"variant", loadVariants},
        {"object", loadPersistedObject},
        {"font", loadFont},
        {"picture", loadPicture},
        {"picture-file", loadPictureFileBytes},
        {"page", loadPageBlocks},
        {"keypath", loadKeyPath},
        {"calls", fuzzCalls},
    };
    // Every built control, named by its class name.
    static constexpr auto controlLoaders = []<size_t... I>(std::index_sequence<I...>) {
        return std::array{&loadControl<I>...};
    }(std::make_index_sequence<32>{});
    auto rows = controls::classTable();
    for (size_t i = 0; i < rows.size() && i < controlLoaders.size(); ++i)
        if (rows[i].create && rows[i].kind != controls::ClassKind::Page)
            table.push_back({rows[i].className, controlLoaders[i]});
    return table;
}

} // namespace

std::span<const Loader> loaders()
{
    static const std::vector<Loader> table = buildTable();
    return table;
}

const Loader* findLoader(std::string_view name)
{
    for (const Loader& l : loaders())
        if (name == l.name)
            return &l;
    return nullptr;
}

} // namespace vyr::fuzz
