#include "controls/frames/pagestore.h"
#include "platform/com/memstream.h"

namespace vyr::frames {

namespace {

class NoControls final : public HostedControls {
public:
    size_t count() const override { return 0; }
    ControlRecord record(size_t) const override { return {}; }
    HRESULT save(size_t, IStream*) override { return E_UNEXPECTED; }
    HRESULT create(const ControlRecord&, IStream*, uint32_t) override { return E_UNEXPECTED; }
};

} // namespace

HRESULT PageStore::save(IStream* s, HostedControls* live, bool dragControls)
{
    if (!s)
        return E_POINTER;
    if (!live && cache_)
        return com::writeAll(s, cache_->data(), ULONG(cache_->size()));
    NoControls none;
    auto form = com::MemoryStream::create();
    HRESULT hr = savePage(form.get(), live ? *live : none, dragControls);
    if (FAILED(hr) || FAILED(hr = com::writeAll(s, form->bytes().data(), ULONG(form->bytes().size()))))
        return hr;
    if (live)
        cache_ = form->bytes();
    return S_OK;
}

HRESULT PageStore::load(IStream* s, uint64_t limit, HostedControls* live, bool& dragControls)
{
    uint64_t start = 0;
    HRESULT hr = streamPosition(s, start);
    if (FAILED(hr))
        return hr;
    if (live)
        return loadPage(s, limit, *live, dragControls);
    uint64_t length = 0;
    if (FAILED(hr = measurePage(s, limit, length)) || FAILED(hr = seekTo(s, start)))
        return hr;
    std::vector<uint8_t> bytes(length);
    if (FAILED(hr = com::readExact(s, bytes.data(), ULONG(length))))
        return hr;
    cache_ = std::move(bytes);
    return S_OK;
}

HRESULT PageStore::loadCache(HostedControls& live, bool& dragControls)
{
    if (!cache_)
        return S_OK;
    auto form = com::MemoryStream::create(*cache_);
    return loadPage(form.get(), UINT64_MAX, live, dragControls);
}

} // namespace vyr::frames
