#pragma once
// Value commands carry doubles: a value, minimum or maximum read again that differs from the
// held one by no more than kValueEpsilon counts as unchanged.
#include <cmath>

namespace vyr::controls {

constexpr double kValueEpsilon = 1e-50;

// True when `read` is a change of `held` (NaN is always a change).
inline bool valueDiffers(double held, double read) { return !(std::fabs(held - read) <= kValueEpsilon); }

} // namespace vyr::controls
