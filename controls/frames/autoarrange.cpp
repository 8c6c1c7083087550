#include "controls/frames/autoarrange.h"
#include <algorithm>

namespace vyr::frames {

bool autoArrange(LONG mode, LONG distance, std::span<const ArrangeItem> items, Arrangement& out)
{
    const bool vertical = mode == LONG(ArrangeMode::Vertical);
    if (!vertical && mode != LONG(ArrangeMode::Horizontal))
        return false;
    out.rects.clear();
    LONG running = 0;
    LONG greatest = 0;
    for (const ArrangeItem& item : items) {
        RECT r = item.rect;
        if (item.nestedPage && item.visible) {
            // Along the stacking axis the item goes after the running edge; across it, at the distance.
            r = vertical ? moved(r, distance - r.left, running + distance - r.top)
                         : moved(r, running + distance - r.left, distance - r.top);
            running = vertical ? r.bottom : r.right;
        }
        greatest = std::max(greatest, vertical ? r.bottom : r.right);
        out.rects.push_back(r);
    }
    out.parentExtent = greatest + distance;
    return true;
}

} // namespace vyr::frames
