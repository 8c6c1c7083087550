#include "controls/buttons/buttonlistlayout.h"
#include <algorithm>

namespace vyr::controls {

namespace {
// The edge of the k-th of n equal parts between lo and hi (k = 0 is lo, k = n is hi), as the
// weighted mean truncated toward zero.
LONG edge(LONG lo, LONG hi, int64_t k, int64_t n)
{
    if (k <= 0)
        return lo;
    if (k >= n)
        return hi;
    const double t = double(k) / double(n);
    return LONG((1.0 - t) * lo + t * hi);
}

int64_t ceilDiv(int64_t a, int64_t b) { return (a + b - 1) / b; }
} // namespace

RECT ButtonListLayout::cell(const RECT& bounds, int32_t index) const
{
    const RECT none{0, 0, 0, 0};
    if (count <= 0 || rows <= 0 || index < 0 || index >= count)
        return none;
    RECT b = bounds;
    b.right += gap;
    b.bottom += gap;
    int64_t r = std::max<int64_t>(rows, 1), c = std::max<int64_t>(columns, 1);
    const int64_t n = count;
    switch (style) {
    case 0:
    case 2:
        r = std::min(r, n);
        c = ceilDiv(n, r);
        break;
    case 1:
    case 3:
        c = std::min(c, n);
        r = ceilDiv(n, c);
        break;
    default: break;
    }
    int64_t row, col;
    if (orientation == 1) {
        row = index % r;
        col = index / r;
    } else {
        row = index / c;
        col = index % c;
    }
    if (col >= c || row >= r)
        return none;
    // The last row (mode 2) or column (mode 3) shares the whole width or height.
    if (style == 2 && row == r - 1)
        c = (n - 1) % c + 1;
    if (style == 3 && col == c - 1)
        r = (n - 1) % r + 1;
    RECT out{edge(b.left, b.right, col, c), edge(b.top, b.bottom, row, r), edge(b.left, b.right, col + 1, c),
             edge(b.top, b.bottom, row + 1, r)};
    out.right -= gap;
    out.bottom -= gap;
    return out;
}

int32_t ButtonListLayout::hit(const RECT& bounds, LONG x, LONG y) const
{
    for (int32_t i = 0; i < count; ++i) {
        const RECT r = cell(bounds, i);
        if (!isEmpty(r) && x >= r.left && x < r.right && y >= r.top && y < r.bottom)
            return i;
    }
    return -1;
}

} // namespace vyr::controls
