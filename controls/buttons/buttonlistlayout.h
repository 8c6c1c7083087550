#pragma once
// The grid of a ButtonList, apart from any window: the rectangle button i takes inside the
// control's bounds for an arrangement mode, an orientation, row and column counts and a gap.
// Painting and mouse hit-testing both read it.
#include "platform/com/types.h"
#include <vector>

namespace vyr::controls {

enum class ListArrangement : int32_t {
    FixedRows = 0,          // "Fixed number of rows"
    FixedColumns = 1,       // "Fixed number of columns"
    FixedRowsFillLast = 2,  // "Fixed rows and fill last row"
    FixedColumnsFillLast = 3, // "Fixed columns and fill last column"
    FixedRowsAndColumns = 4, // "Fixed number of rows and columns"
};

struct ButtonListLayout {
    int32_t count = 3;
    int32_t rows = 1;
    int32_t columns = 1;
    int32_t gap = 0;
    int32_t style = 0;       // ListArrangement; other values lay out as mode 4
    int32_t orientation = 0; // 0 fills row by row, 1 column by column

    // The cell of button `index` in `bounds`; an empty rectangle (all zero) when the button
    // has no place (no buttons, no rows, an index past the count or outside the grid).
    RECT cell(const RECT& bounds, int32_t index) const;
    // The index of the first non-empty cell holding the point, -1 for none.
    int32_t hit(const RECT& bounds, LONG x, LONG y) const;
};

inline bool isEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

} // namespace vyr::controls
