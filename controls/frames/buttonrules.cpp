#include "controls/frames/buttonrules.h"
#include <algorithm>

namespace vyr::frames {

LONG storedButtonCount(LONG n)
{
    return std::max<LONG>(n, 1);
}

LONG clampButtonRows(LONG rows, LONG count)
{
    return std::max<LONG>(1, std::min(rows, count));
}

HRESULT checkButtonCurrent(LONG index, LONG pages, bool pageExists, bool runMode, const ButtonState& state)
{
    if (index < 0 || index >= pages || !pageExists)
        return E_FAIL;
    if (runMode && !state.enabled)
        return E_FAIL;
    return S_OK;
}

LONG nearestVisibleSet(std::span<const ButtonState> states, LONG current)
{
    const LONG n = LONG(states.size());
    const auto usable = [&](int64_t i) { return i >= 0 && i < n && states[size_t(i)].visible && states[size_t(i)].set; };
    if (usable(current))
        return current;
    // Far enough to reach every button from wherever `current` is.
    const int64_t reach = int64_t(n) + (current < 0 ? -int64_t(current) : int64_t(current));
    for (int64_t d = 1; d <= reach; ++d) {
        if (usable(LONG(current + d)))
            return LONG(current + d);
        if (usable(LONG(current - d)))
            return LONG(current - d);
    }
    return current;
}

} // namespace vyr::frames
