#pragma once
// The persistence of one page: live controls while the page has a window, otherwise the saved
// form kept as cached data, so that a page that is never shown saves exactly what it loaded.
#include "controls/frames/pageform.h"
#include <optional>
#include <vector>

namespace vyr::frames {

class PageStore {
public:
    bool hasCache() const { return cache_.has_value(); }
    const std::vector<uint8_t>* cache() const { return cache_ ? &*cache_ : nullptr; }

    // With `live` controls (the page has a window) writes their form and keeps it as the cache;
    // without, writes the cache unchanged, or the form of an empty page when there is none.
    // Nothing reaches `s` when a control fails to save.
    HRESULT save(IStream* s, HostedControls* live, bool dragControls);
    // With `live` controls creates the controls of the form; without, copies the form's bytes
    // into the cache and creates nothing. The form ends at or before the stream position
    // `limit`, the end of the owner's block.
    HRESULT load(IStream* s, uint64_t limit, HostedControls* live, bool& dragControls);
    // Creates the controls of the cached form, if any.
    HRESULT loadCache(HostedControls& live, bool& dragControls);

private:
    std::optional<std::vector<uint8_t>> cache_;
};

} // namespace vyr::frames
