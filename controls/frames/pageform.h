#pragma once
// The saved form of one page: a block with the number of hosted controls N and the page's
// DragControls flag, then N blocks of one ControlRecord each, in child window order.
#include "controls/frames/controlrecord.h"

namespace vyr::frames {

// Nested hosting (a page holding a frame holding a page ...) deeper than this fails to load,
// so that a hostile stream cannot exhaust the stack.
constexpr int kMaxNesting = 32;
constexpr HRESULT kNestedTooDeep = static_cast<HRESULT>(0x800703E9); // ERROR_STACK_OVERFLOW

// The hosted controls of a page window as its saved form sees them.
class HostedControls {
public:
    // Controls whose interfaces can be reached, in child window order.
    virtual size_t count() const = 0;
    virtual ControlRecord record(size_t index) const = 0;
    // Writes the control's own data (without clearing its dirty flag).
    virtual HRESULT save(size_t index, IStream* s) = 0;
    // Creates a control from a record and loads it from `data`, which stands at the control's
    // `dataLength` bytes.
    virtual HRESULT create(const ControlRecord& record, IStream* data, uint32_t dataLength) = 0;

protected:
    ~HostedControls() = default;
};

HRESULT savePage(IStream* s, HostedControls& controls, bool dragControls);
// Creates the controls of a form that ends at or before `limit`. `dragControls` keeps its value
// when the form does not carry the flag. A failing control stops the load; controls created
// before it stay.
HRESULT loadPage(IStream* s, uint64_t limit, HostedControls& controls, bool& dragControls);
// Skips over a form that ends at or before `limit` and reports its length in bytes.
HRESULT measurePage(IStream* s, uint64_t limit, uint64_t& length);

} // namespace vyr::frames
