#include "platform/com/memstream.h"
#include <algorithm>
#include <cstring>

namespace vyr::com {

namespace {
// A stream larger than this is refused rather than grown (ULONG sizes per call, 64-bit total).
constexpr uint64_t kMaxSize = uint64_t(1) << 32;
}

ComPtr<MemoryStream> MemoryStream::create(std::vector<uint8_t> bytes)
{
    return ComPtr<MemoryStream>::attach(new MemoryStream(std::move(bytes)));
}

HRESULT MemoryStream::Read(void* buffer, ULONG size, ULONG* read)
{
    if (!buffer && size)
        return STG_E_INVALIDPOINTER;
    const uint64_t avail = pos_ < data_.size() ? data_.size() - pos_ : 0;
    const ULONG n = ULONG(std::min<uint64_t>(avail, size));
    if (n)
        std::memcpy(buffer, data_.data() + pos_, n);
    pos_ += n;
    if (read)
        *read = n;
    return n < size ? S_FALSE : S_OK;
}

HRESULT MemoryStream::Write(const void* buffer, ULONG size, ULONG* written)
{
    if (!buffer && size)
        return STG_E_INVALIDPOINTER;
    if (pos_ + size > kMaxSize)
        return STG_E_MEDIUMFULL;
    if (pos_ + size > data_.size())
        data_.resize(pos_ + size);
    if (size)
        std::memcpy(data_.data() + pos_, buffer, size);
    pos_ += size;
    if (written)
        *written = size;
    return S_OK;
}

HRESULT MemoryStream::Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition)
{
    int64_t base;
    switch (origin) {
    case STREAM_SEEK_SET: base = 0; break;
    case STREAM_SEEK_CUR: base = int64_t(pos_); break;
    case STREAM_SEEK_END: base = int64_t(data_.size()); break;
    default: return STG_E_INVALIDFUNCTION;
    }
    int64_t target;
    if (__builtin_add_overflow(base, move.QuadPart, &target) || target < 0 || uint64_t(target) > kMaxSize)
        return STG_E_INVALIDFUNCTION;
    pos_ = uint64_t(target);
    if (newPosition)
        newPosition->QuadPart = pos_;
    return S_OK;
}

HRESULT MemoryStream::SetSize(ULARGE_INTEGER newSize)
{
    if (newSize.QuadPart > kMaxSize)
        return STG_E_MEDIUMFULL;
    data_.resize(newSize.QuadPart);
    return S_OK;
}

HRESULT MemoryStream::CopyTo(IStream* target, ULARGE_INTEGER size, ULARGE_INTEGER* read, ULARGE_INTEGER* written)
{
    if (!target)
        return STG_E_INVALIDPOINTER;
    const uint64_t avail = pos_ < data_.size() ? data_.size() - pos_ : 0;
    const ULONG n = ULONG(std::min<uint64_t>({avail, size.QuadPart, 0xFFFFFFFFu}));
    ULONG done = 0;
    HRESULT hr = n ? target->Write(data_.data() + pos_, n, &done) : S_OK;
    pos_ += n;
    if (read)
        read->QuadPart = n;
    if (written)
        written->QuadPart = done;
    return hr;
}

HRESULT MemoryStream::Stat(STATSTG* stat, DWORD)
{
    if (!stat)
        return STG_E_INVALIDPOINTER;
    std::memset(stat, 0, sizeof *stat);
    stat->type = STGTY_STREAM;
    stat->cbSize.QuadPart = data_.size();
    return S_OK;
}

HRESULT MemoryStream::Clone(IStream** clone)
{
    if (!clone)
        return STG_E_INVALIDPOINTER;
    auto c = create(data_);
    c->pos_ = pos_;
    *clone = c.detach();
    return S_OK;
}

} // namespace vyr::com
