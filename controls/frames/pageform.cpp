#include "controls/frames/pageform.h"

namespace vyr::frames {

namespace {

thread_local int nesting = 0;

// Counts how deep hosted controls are being created inside one another.
class NestingGuard {
public:
    NestingGuard() { ++nesting; }
    ~NestingGuard() { --nesting; }
    bool tooDeep() const { return nesting > kMaxNesting; }
};

HRESULT readHeader(IStream* s, uint64_t limit, int32_t& count, bool& dragControls)
{
    BlockReader head;
    HRESULT hr = head.openBefore(s, limit);
    if (FAILED(hr) || FAILED(hr = head.required(count)))
        return hr;
    int32_t drag = dragControls ? 1 : 0;
    if (FAILED(hr = head.field(drag)))
        return hr;
    if (count < 0)
        return kBadBlock;
    dragControls = drag != 0;
    return head.close();
}

} // namespace

HRESULT savePage(IStream* s, HostedControls& controls, bool dragControls)
{
    const size_t n = controls.count();
    if (n > size_t(INT32_MAX))
        return E_INVALIDARG;
    BlockWriter head;
    HRESULT hr = head.open(s);
    if (FAILED(hr) || FAILED(hr = com::writeValue(s, int32_t(n)))
        || FAILED(hr = com::writeValue(s, int32_t(dragControls ? 1 : 0))) || FAILED(hr = head.close()))
        return hr;
    for (size_t i = 0; i < n; ++i) {
        BlockWriter block;
        if (FAILED(hr = block.open(s)))
            return hr;
        if (FAILED(hr = writeControlRecord(s, controls.record(i), [&](IStream* d) { return controls.save(i, d); })))
            return hr;
        if (FAILED(hr = block.close()))
            return hr;
    }
    return S_OK;
}

HRESULT loadPage(IStream* s, uint64_t limit, HostedControls& controls, bool& dragControls)
{
    int32_t count = 0;
    HRESULT hr = readHeader(s, limit, count, dragControls);
    for (int32_t i = 0; SUCCEEDED(hr) && i < count; ++i) {
        BlockReader block;
        ControlRecord record;
        uint32_t dataLength = 0;
        if (FAILED(hr = block.openBefore(s, limit)) || FAILED(hr = readControlRecord(block, s, record, dataLength)))
            break;
        NestingGuard guard;
        if (guard.tooDeep())
            return kNestedTooDeep;
        if (SUCCEEDED(hr = controls.create(record, s, dataLength)))
            hr = block.close();
    }
    return hr;
}

HRESULT measurePage(IStream* s, uint64_t limit, uint64_t& length)
{
    uint64_t start = 0;
    HRESULT hr = streamPosition(s, start);
    if (FAILED(hr))
        return hr;
    int32_t count = 0;
    bool drag = false;
    hr = readHeader(s, limit, count, drag);
    // Each block holds at least its length, so a huge count runs into the limit quickly.
    for (int32_t i = 0; SUCCEEDED(hr) && i < count; ++i) {
        BlockReader block;
        if (SUCCEEDED(hr = block.openBefore(s, limit)))
            hr = block.close();
    }
    if (FAILED(hr))
        return hr;
    uint64_t end = 0;
    if (FAILED(hr = streamPosition(s, end)))
        return hr;
    length = end - start;
    return S_OK;
}

} // namespace vyr::frames
