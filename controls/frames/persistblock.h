#pragma once
// PersistBlock: a 32-bit little-endian length, counting its own 4 bytes, followed by the block's
// content. Every stream of the hosting controls is made of such blocks, so that a reader can skip
// what a newer writer appended and take defaults for what an older writer did not write.
#include "platform/com/streamio.h"

namespace vyr::frames {

// A block length below 4, or one that reaches past the stream or the enclosing block.
constexpr HRESULT kBadBlock = STG_E_DOCFILECORRUPT;

// The stream's current position.
HRESULT streamPosition(IStream* s, uint64_t& pos);
HRESULT seekTo(IStream* s, uint64_t pos);

// Writes a 32-bit length placeholder and later patches in the byte count from the placeholder's
// start (includeSelf) or from the byte after it. Shared by blocks and by length-prefixed data.
class LengthPrefix {
public:
    HRESULT open(IStream* s);
    HRESULT close(bool includeSelf);

private:
    IStream* s_ = nullptr;
    uint64_t start_ = 0;
};

class BlockWriter {
public:
    HRESULT open(IStream* s) { return prefix_.open(s); }
    HRESULT close() { return prefix_.close(true); }

private:
    LengthPrefix prefix_;
};

class BlockReader {
public:
    // Opens the block at the stream's position. It must lie inside `outer` when given, else
    // inside the stream.
    HRESULT open(IStream* s, const BlockReader* outer = nullptr);
    // Opens a block that must end inside the stream and at or before the position `limit`.
    HRESULT openBefore(IStream* s, uint64_t limit);
    // Reads the rest of the stream as one block that has no length of its own.
    HRESULT openRest(IStream* s);

    uint64_t start() const { return start_; }
    uint64_t end() const { return end_; }
    // Bytes from the stream's position to the block's end (0 when past it).
    uint64_t left() const;

    // A field with a default: S_FALSE and `v` untouched when it would pass the block's end.
    template <class T>
    HRESULT field(T& v) const
    {
        if (left() < sizeof(T))
            return S_FALSE;
        return com::readValue(s_, v);
    }
    // A field without a default: STG_E_READFAULT when it would pass the block's end.
    template <class T>
    HRESULT required(T& v) const
    {
        const HRESULT hr = field(v);
        return hr == S_FALSE ? STG_E_READFAULT : hr;
    }
    // A field in the variant stream form: S_FALSE with `v` untouched at the block's end; a
    // value that starts inside the block and ends beyond it is corrupt.
    HRESULT variant(com::Variant& v) const;

    // Seeks to the block's end, skipping what was not read.
    HRESULT close() const;

private:
    IStream* s_ = nullptr;
    uint64_t start_ = 0;
    uint64_t end_ = 0;
};

} // namespace vyr::frames
