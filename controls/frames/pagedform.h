#pragma once
// The stream form of a set of pages, shared by the MultiPageFrame and the Frame: an outer block
// holding a header block (int32 count, int32 1), a block with the owner's property list, and
// one block per page.
#include "controls/frames/persistblock.h"
#include <functional>

namespace vyr::frames {

using WriteProperties = std::function<HRESULT(IStream*)>;
using WritePage = std::function<HRESULT(IStream*, int32_t page)>;
// Readers get the block they read inside; what they leave unread is skipped.
using ReadProperties = std::function<HRESULT(IStream*, const BlockReader&)>;
using ReadPage = std::function<HRESULT(IStream*, int32_t page, const BlockReader&)>;

// Writes `pages` page blocks; the header count is pages + 1.
HRESULT savePaged(IStream* s, int32_t pages, const WriteProperties& properties, const WritePage& page);

// Reads the header and, when its count is not 0, the property block; then min(count, bound) - 1
// page blocks, the bound being asked for after the properties are applied.
HRESULT loadPaged(IStream* s, const ReadProperties& properties, const std::function<int64_t()>& bound,
                  const ReadPage& page);

} // namespace vyr::frames
