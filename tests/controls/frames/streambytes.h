#pragma once
// Builds stream contents byte by byte, for streams that no writer of ours would produce.
#include "platform/com/memstream.h"
#include <cstring>
#include <vector>

namespace vyr::frames::test {

struct Bytes {
    std::vector<uint8_t> b;

    template <class T>
    Bytes& put(const T& v)
    {
        const auto* p = reinterpret_cast<const uint8_t*>(&v);
        b.insert(b.end(), p, p + sizeof v);
        return *this;
    }
    Bytes& i32(int32_t v) { return put(v); }
    Bytes& u32(uint32_t v) { return put(v); }
    Bytes& raw(const std::vector<uint8_t>& v)
    {
        b.insert(b.end(), v.begin(), v.end());
        return *this;
    }
    Bytes& raw(const Bytes& v) { return raw(v.b); }
    // A block around `inner`, its length counting its own 4 bytes.
    Bytes& block(const Bytes& inner) { return u32(uint32_t(inner.b.size() + 4)).raw(inner); }
};

inline com::ComPtr<com::MemoryStream> streamOf(const Bytes& bytes) { return com::MemoryStream::create(bytes.b); }

} // namespace vyr::frames::test
