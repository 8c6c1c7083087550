#pragma once
// A growable in-memory IStream (as CreateStreamOnHGlobal gives): reads past the end return
// fewer bytes, writes past the end grow the buffer.
#include "platform/com/object.h"
#include <vector>

namespace vyr::com {

class MemoryStream final : public Object<IStream> {
public:
    static ComPtr<MemoryStream> create(std::vector<uint8_t> bytes = {});

    const std::vector<uint8_t>& bytes() const { return data_; }
    uint64_t position() const { return pos_; }

    STDMETHOD(Read)(void* buffer, ULONG size, ULONG* read) override;
    STDMETHOD(Write)(const void* buffer, ULONG size, ULONG* written) override;
    STDMETHOD(Seek)(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) override;
    STDMETHOD(SetSize)(ULARGE_INTEGER newSize) override;
    STDMETHOD(CopyTo)(IStream* target, ULARGE_INTEGER size, ULARGE_INTEGER* read, ULARGE_INTEGER* written) override;
    STDMETHOD(Commit)(DWORD) override { return S_OK; }
    STDMETHOD(Revert)() override { return S_OK; }
    STDMETHOD(LockRegion)(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }
    STDMETHOD(UnlockRegion)(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }
    STDMETHOD(Stat)(STATSTG* stat, DWORD flags) override;
    STDMETHOD(Clone)(IStream** clone) override;

private:
    explicit MemoryStream(std::vector<uint8_t> bytes) : data_(std::move(bytes)) {}
    std::vector<uint8_t> data_;
    uint64_t pos_ = 0;
};

} // namespace vyr::com
