// libFuzzer target: arbitrary bytes read as a sequence of VARIANT records and as a persisted
// object. Any crash, leak, overflow or unbounded allocation is a fault; errors are expected.
#include "platform/com/memstream.h"
#include "platform/com/streamio.h"
#include <cstddef>
#include <cstdint>

using namespace vyr::com;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto stream = MemoryStream::create(std::vector<uint8_t>(data, data + size));
    for (;;) {
        VARIANT v;
        VariantInit(&v);
        if (FAILED(readVariant(stream.get(), &v)))
            break;
        // Whatever was read must write back and read again to the same value.
        auto copy = MemoryStream::create();
        if (SUCCEEDED(writeVariant(copy.get(), v))) {
            copy->Seek({0}, STREAM_SEEK_SET, nullptr);
            VARIANT again;
            VariantInit(&again);
            if (FAILED(readVariant(copy.get(), &again)) || again.vt != v.vt)
                __builtin_trap();
            VariantClear(&again);
        }
        VariantClear(&v);
    }
    auto objectStream = MemoryStream::create(std::vector<uint8_t>(data, data + size));
    IUnknown* object = nullptr;
    if (SUCCEEDED(loadObject(objectStream.get(), &object)) && object)
        object->Release();
    return 0;
}
