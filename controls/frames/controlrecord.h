#pragma once
// ControlRecord: one hosted control as pages save it and as a drag carries it. The class
// identifier (16 bytes), the host rectangle as four int32 (left, top, right, bottom), the byte
// count of the control's data, then the data its own stream persistence wrote.
#include "controls/frames/persistblock.h"
#include <functional>

namespace vyr::frames {

struct ControlRecord {
    CLSID clsid = GUID_NULL;
    RECT rect{};
};

// Writes the record; `saveData` writes the control's data at the stream's position.
HRESULT writeControlRecord(IStream* s, const ControlRecord& record, const std::function<HRESULT(IStream*)>& saveData);

// Reads the record's fixed part inside `block`. On success the stream stands at the control's
// data, `dataLength` bytes of which lie inside the block.
HRESULT readControlRecord(BlockReader& block, IStream* s, ControlRecord& record, uint32_t& dataLength);

// The rectangle a drag carries: same size, top-left at minus the grab point, so that it is
// relative to the mouse.
RECT dragRect(const RECT& rect, LONG grabX, LONG grabY);

} // namespace vyr::frames
