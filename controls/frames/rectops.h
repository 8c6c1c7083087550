#pragma once
// The few rectangle operations the page and frame geometry needs, on the platform RECT
// (right and bottom exclusive).
#include "platform/com/types.h"

namespace vyr::frames {

inline LONG width(const RECT& r) { return r.right - r.left; }
inline LONG height(const RECT& r) { return r.bottom - r.top; }
inline bool isEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }
inline bool contains(const RECT& r, LONG x, LONG y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }
inline RECT inset(const RECT& r, LONG dx, LONG dy) { return {r.left + dx, r.top + dy, r.right - dx, r.bottom - dy}; }
inline RECT moved(const RECT& r, LONG dx, LONG dy) { return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }
inline bool sameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

} // namespace vyr::frames
