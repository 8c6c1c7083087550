#include "controls/frames/persistblock.h"
#include <algorithm>

namespace vyr::frames {

HRESULT streamPosition(IStream* s, uint64_t& pos)
{
    if (!s)
        return E_POINTER;
    ULARGE_INTEGER p{};
    const HRESULT hr = s->Seek({0}, STREAM_SEEK_CUR, &p);
    if (SUCCEEDED(hr))
        pos = p.QuadPart;
    return hr;
}

HRESULT seekTo(IStream* s, uint64_t pos)
{
    if (!s)
        return E_POINTER;
    return s->Seek({int64_t(pos)}, STREAM_SEEK_SET, nullptr);
}

HRESULT LengthPrefix::open(IStream* s)
{
    s_ = s;
    HRESULT hr = streamPosition(s, start_);
    if (FAILED(hr))
        return hr;
    return com::writeValue(s, uint32_t(0));
}

HRESULT LengthPrefix::close(bool includeSelf)
{
    uint64_t end = 0;
    HRESULT hr = streamPosition(s_, end);
    if (FAILED(hr))
        return hr;
    const uint64_t length = end - start_ - (includeSelf ? 0 : 4);
    if (length > UINT32_MAX)
        return STG_E_MEDIUMFULL;
    if (FAILED(hr = seekTo(s_, start_)) || FAILED(hr = com::writeValue(s_, uint32_t(length))))
        return hr;
    return seekTo(s_, end);
}

HRESULT BlockReader::open(IStream* s, const BlockReader* outer)
{
    return openBefore(s, outer ? outer->end() : UINT64_MAX);
}

HRESULT BlockReader::openBefore(IStream* s, uint64_t limit)
{
    s_ = s;
    HRESULT hr = streamPosition(s, start_);
    if (FAILED(hr))
        return hr;
    const uint64_t room = std::min(limit > start_ ? limit - start_ : 0, com::remainingBytes(s));
    uint32_t length = 0;
    if (room < sizeof length)
        return STG_E_READFAULT;
    if (FAILED(hr = com::readValue(s, length)))
        return hr;
    if (length < sizeof length || length > room)
        return kBadBlock;
    end_ = start_ + length;
    return S_OK;
}

HRESULT BlockReader::openRest(IStream* s)
{
    s_ = s;
    const HRESULT hr = streamPosition(s, start_);
    end_ = start_ + com::remainingBytes(s);
    return hr;
}

uint64_t BlockReader::left() const
{
    uint64_t pos = 0;
    if (FAILED(streamPosition(s_, pos)) || pos >= end_)
        return 0;
    return end_ - pos;
}

HRESULT BlockReader::variant(com::Variant& v) const
{
    if (left() == 0)
        return S_FALSE;
    com::Variant read;
    HRESULT hr = com::readVariant(s_, read.put());
    if (FAILED(hr))
        return hr;
    uint64_t pos = 0;
    if (FAILED(hr = streamPosition(s_, pos)))
        return hr;
    if (pos > end_)
        return kBadBlock;
    v = std::move(read);
    return S_OK;
}

HRESULT BlockReader::close() const
{
    return seekTo(s_, end_);
}

} // namespace vyr::frames
