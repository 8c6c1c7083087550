#pragma once
// Auto arrange of a page in run behaviour: visible nested pages are stacked (vertical: one
// below the other, horizontal: side by side) at the given distance; other controls keep their
// place; the parent is sized to hold everything.
#include "controls/frames/rectops.h"
#include <span>
#include <vector>

namespace vyr::frames {

enum class ArrangeMode : LONG { Off = 0, Vertical = 1, Horizontal = 2 };

struct ArrangeItem {
    RECT rect{};
    bool nestedPage = false;
    bool visible = true;
};

struct Arrangement {
    std::vector<RECT> rects; // one per item, in item order
    LONG parentExtent = 0;   // client height (vertical) or width (horizontal) the parent needs
};

// Items in child window order. Any mode but vertical and horizontal leaves everything as it is
// and gives no arrangement.
bool autoArrange(LONG mode, LONG distance, std::span<const ArrangeItem> items, Arrangement& out);

} // namespace vyr::frames
