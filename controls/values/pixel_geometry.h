#pragma once
// Plain pixel geometry for the value controls' logic: rectangles with an exclusive right and
// bottom edge (as client rectangles are), points, and axis helpers so that horizontal and
// vertical layouts share one code path.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>

namespace vyr::values {

struct PixelPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool isEmpty() const { return right <= left || bottom <= top; }
    bool contains(PixelPoint p) const
    {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    PixelRect shrunk(int by) const { return {left + by, top + by, right - by, bottom - by}; }
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

enum class Orientation : int16_t { Horizontal = 0, Vertical = 1 };

// Reads and writes a rectangle along the slider axis (primary) and across it (secondary).
// Horizontal: primary is x; vertical: primary is y.
struct Axis {
    Orientation orientation = Orientation::Horizontal;

    bool vertical() const { return orientation == Orientation::Vertical; }
    int along(PixelPoint p) const { return vertical() ? p.y : p.x; }
    int start(const PixelRect& r) const { return vertical() ? r.top : r.left; }
    int end(const PixelRect& r) const { return vertical() ? r.bottom : r.right; }
    int crossStart(const PixelRect& r) const { return vertical() ? r.left : r.top; }
    int crossEnd(const PixelRect& r) const { return vertical() ? r.right : r.bottom; }
    // Builds a rectangle from primary [s, e) and secondary [cs, ce) spans.
    PixelRect make(int s, int e, int cs, int ce) const
    {
        return vertical() ? PixelRect{cs, s, ce, e} : PixelRect{s, cs, e, ce};
    }
};

// Layout arithmetic runs in 64 bits; hostile property values (huge widths, many buttons) are
// saturated into a range where further sums cannot overflow an int.
constexpr int64_t kPixelLimit = int64_t(1) << 28;
inline int saturatePixels(int64_t v)
{
    return int(std::clamp<int64_t>(v, -kPixelLimit, kPixelLimit));
}

// Value buttons beyond this many are not laid out (no screen could show them).
constexpr size_t kMaxLaidOutButtons = 65536;

// Where a child edit box goes in a field: the field less 2, one text line high and centred
// vertically when the field is higher.
inline PixelRect editBoxIn(const PixelRect& field, int textHeight)
{
    PixelRect r = field.shrunk(2);
    if (textHeight > 0 && r.height() > textHeight) {
        r.top += (r.height() - textHeight) / 2;
        r.bottom = r.top + textHeight;
    }
    return r;
}

} // namespace vyr::values
