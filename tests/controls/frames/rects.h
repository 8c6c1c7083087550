#pragma once
// RECT comparisons and printing for test expectations.
#include "controls/frames/rectops.h"
#include <ostream>
#include <tuple>

namespace vyr::frames::test {

inline auto tie(const RECT& r) { return std::tuple(r.left, r.top, r.right, r.bottom); }

} // namespace vyr::frames::test

inline std::ostream& operator<<(std::ostream& os, const RECT& r)
{
    return os << "(" << r.left << "," << r.top << "," << r.right << "," << r.bottom << ")";
}
