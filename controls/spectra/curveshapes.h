#pragma once
// Plausible curve shapes for hosts that have no measured data at hand (demos, tests): a dye's
// emission and a band-pass filter's transmission, sampled in nanometres.
#include "controls/spectra/curve.h"
#include <vector>

namespace vyr::spectra {

// A dye-like emission curve: a skewed bell around `peak`, sampled every nanometre.
std::vector<CurvePoint> dyeCurve(double peak, double width);
// A band-pass filter: flat top (0.9) between `from` and `to`, steep edges.
std::vector<CurvePoint> bandPassCurve(double from, double to);

} // namespace vyr::spectra
