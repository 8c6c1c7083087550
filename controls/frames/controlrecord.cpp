#include "controls/frames/controlrecord.h"

namespace vyr::frames {

HRESULT writeControlRecord(IStream* s, const ControlRecord& record, const std::function<HRESULT(IStream*)>& saveData)
{
    HRESULT hr = com::writeGuid(s, record.clsid);
    if (FAILED(hr) || FAILED(hr = com::writeValue(s, record.rect)))
        return hr;
    LengthPrefix data;
    if (FAILED(hr = data.open(s)) || FAILED(hr = saveData(s)))
        return hr;
    return data.close(false);
}

HRESULT readControlRecord(BlockReader& block, IStream* s, ControlRecord& record, uint32_t& dataLength)
{
    uint8_t clsid[16];
    HRESULT hr = block.required(clsid);
    if (FAILED(hr) || FAILED(hr = block.required(record.rect)) || FAILED(hr = block.required(dataLength)))
        return hr;
    record.clsid = com::guidFromBytes(clsid);
    return dataLength <= block.left() ? S_OK : kBadBlock;
}

RECT dragRect(const RECT& rect, LONG grabX, LONG grabY)
{
    return {-grabX, -grabY, rect.right - rect.left - grabX, rect.bottom - rect.top - grabY};
}

} // namespace vyr::frames
