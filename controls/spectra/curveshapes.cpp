#include "controls/spectra/curveshapes.h"
#include <cmath>

namespace vyr::spectra {

std::vector<CurvePoint> dyeCurve(double peak, double width)
{
    std::vector<CurvePoint> pts;
    for (double nm = peak - 3 * width; nm <= peak + 5 * width; nm += 1)
        pts.push_back({nm, std::exp(-std::pow((nm - peak) / (nm < peak ? width : 1.8 * width), 2))});
    return pts;
}

std::vector<CurvePoint> bandPassCurve(double from, double to)
{
    std::vector<CurvePoint> pts;
    for (double nm = from - 30; nm <= to + 30; nm += 2)
        pts.push_back({nm, 0.9 / (1 + std::exp(-(nm - from) / 2)) / (1 + std::exp((nm - to) / 2))});
    return pts;
}

} // namespace vyr::spectra
