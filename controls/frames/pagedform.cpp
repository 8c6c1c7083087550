#include "controls/frames/pagedform.h"
#include <algorithm>

namespace vyr::frames {

namespace {

// Runs `body` inside a new block.
template <class Body>
HRESULT writeBlock(IStream* s, Body&& body)
{
    BlockWriter block;
    HRESULT hr = block.open(s);
    if (FAILED(hr) || FAILED(hr = body()))
        return hr;
    return block.close();
}

// Runs `body` on a block read inside `outer`, then skips what it left unread.
template <class Body>
HRESULT readBlock(IStream* s, const BlockReader& outer, Body&& body)
{
    BlockReader block;
    HRESULT hr = block.open(s, &outer);
    if (FAILED(hr) || FAILED(hr = body(block)))
        return hr;
    return block.close();
}

} // namespace

HRESULT savePaged(IStream* s, int32_t pages, const WriteProperties& properties, const WritePage& page)
{
    if (!s)
        return E_POINTER;
    if (pages < 0 || pages == INT32_MAX)
        return E_INVALIDARG;
    return writeBlock(s, [&] {
        HRESULT hr = writeBlock(s, [&] {
            HRESULT h = com::writeValue(s, int32_t(pages + 1));
            return FAILED(h) ? h : com::writeValue(s, int32_t(1));
        });
        if (FAILED(hr) || FAILED(hr = writeBlock(s, [&] { return properties(s); })))
            return hr;
        for (int32_t i = 0; i < pages && SUCCEEDED(hr); ++i)
            hr = writeBlock(s, [&] { return page(s, i); });
        return hr;
    });
}

HRESULT loadPaged(IStream* s, const ReadProperties& properties, const std::function<int64_t()>& bound,
                  const ReadPage& page)
{
    if (!s)
        return E_POINTER;
    BlockReader outer;
    HRESULT hr = outer.open(s);
    if (FAILED(hr))
        return hr;
    int32_t count = 0;
    hr = readBlock(s, outer, [&](BlockReader& head) { return head.required(count); });
    if (FAILED(hr))
        return hr;
    if (count < 0)
        return kBadBlock;
    if (count == 0)
        return outer.close();
    if (FAILED(hr = readBlock(s, outer, [&](BlockReader& block) { return properties(s, block); })))
        return hr;
    const int64_t pages = std::min<int64_t>(count, bound()) - 1;
    for (int32_t i = 0; i < pages; ++i) {
        if (FAILED(hr = readBlock(s, outer, [&](BlockReader& block) { return page(s, i, block); })))
            return hr;
    }
    return outer.close();
}

} // namespace vyr::frames
