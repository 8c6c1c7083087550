#pragma once
// The rules of a Frame's button bar that do not depend on its window: the stored values of
// ButtonCount and ButtonRows, which button may become current, and which one the bar moves to
// when the command server reports the buttons' states.
#include "platform/com/types.h"
#include <span>

namespace vyr::frames {

// What the command server last reported for a button's command.
struct ButtonState {
    bool visible = true;
    bool enabled = true;
    bool set = false;
};

// ButtonCount below 1 is stored as 1.
LONG storedButtonCount(LONG n);
// ButtonRows lies in [1, ButtonCount] (1 while the count is not set).
LONG clampButtonRows(LONG rows, LONG count);

// Whether button `index` of `pages` may become current: E_FAIL outside the pages, when its page
// does not exist, or in run mode when its command is disabled.
HRESULT checkButtonCurrent(LONG index, LONG pages, bool pageExists, bool runMode, const ButtonState& state);

// The current button stays when it is visible and set; else the nearest visible and set button
// becomes current, looking at distance 1, 2, ... first after and then before it; when there is
// none the current button stays.
LONG nearestVisibleSet(std::span<const ButtonState> states, LONG current);

} // namespace vyr::frames
