#pragma once
// Building stream contents byte by byte for the persistence tests.
#include "platform/com/memstream.h"
#include "platform/com/streamio.h"
#include <initializer_list>
#include <string_view>
#include <vector>

namespace vyr::com::test {

struct Bytes {
    std::vector<uint8_t> b;
    Bytes& u8(uint8_t v) { b.push_back(v); return *this; }
    Bytes& u16(uint16_t v) { return u8(uint8_t(v)).u8(uint8_t(v >> 8)); }
    Bytes& u32(uint32_t v) { return u16(uint16_t(v)).u16(uint16_t(v >> 16)); }
    Bytes& text(std::string_view s) { b.insert(b.end(), s.begin(), s.end()); return *this; }
    Bytes& guid(const GUID& g) { const auto a = guidBytes(g); b.insert(b.end(), a.begin(), a.end()); return *this; }
    Bytes& raw(const std::vector<uint8_t>& v) { b.insert(b.end(), v.begin(), v.end()); return *this; }
    ComPtr<MemoryStream> stream() const { return MemoryStream::create(b); }
};

} // namespace vyr::com::test
