#include "controls/spectra/curve.h"
#include "controls/spectra/wavelengthmap.h"
#include <algorithm>
#include <cmath>

namespace vyr::spectra {

Curve Curve::make(OLE_COLOR color, std::vector<CurvePoint> points)
{
    Curve c;
    c.color = color;
    std::erase_if(points, [](const CurvePoint& p) { return !std::isfinite(p.x) || !std::isfinite(p.y); });
    c.points = std::move(points);
    if (!c.points.empty()) {
        const auto [xMin, xMax] = std::minmax_element(c.points.begin(), c.points.end(),
                                                      [](const auto& a, const auto& b) { return a.x < b.x; });
        const auto [yMin, yMax] = std::minmax_element(c.points.begin(), c.points.end(),
                                                      [](const auto& a, const auto& b) { return a.y < b.y; });
        c.bounds = {xMin->x, xMax->x, yMin->y, yMax->y};
    }
    c.ascending = std::is_sorted(c.points.begin(), c.points.end(), [](const auto& a, const auto& b) { return a.x < b.x; });
    return c;
}

bool sameCurves(const std::vector<Curve>& a, const std::vector<Curve>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const Curve& x, const Curve& y) {
        return x.color == y.color &&
               std::equal(x.points.begin(), x.points.end(), y.points.begin(), y.points.end(),
                          [](const CurvePoint& p, const CurvePoint& q) { return p.x == q.x && p.y == q.y; });
    });
}

CurveFrame curveFrame(const BandLook& look, int columns, int height)
{
    CurveFrame f{0, 1, std::max(0, columns), height - 2};
    if (!look.showSpectra)
        return f;
    const RowSpan band = bandRows(look, height);
    if (look.displayMode == eCurveAboveSpectra)
        f.bottom = band.first - 2;
    else if (look.displayMode == eCurveBelowSpectra)
        f.top = band.last + 1;
    return f;
}

CurveScaler::CurveScaler(const CurveFrame& frame, double lo, double hi, const CurveBounds& bounds)
    : f_(frame), lo_(lo), yMin_(bounds.yMin)
{
    const double span = hi - lo;
    xScale_ = span > 0 && std::isfinite(span) ? (frame.right - frame.left) / span : 0;
    const double ySpan = bounds.yMax - bounds.yMin;
    // A curve whose values are all equal has no scale of its own: it runs along the middle.
    flat_ = !(ySpan > 0 && std::isfinite(ySpan));
    yScale_ = flat_ ? 0 : (frame.bottom - frame.top) / ySpan;
}

QPointF CurveScaler::exact(const CurvePoint& p) const
{
    const double y = flat_ ? f_.bottom - (f_.bottom - f_.top) / 2.0 : f_.bottom - yScale_ * (p.y - yMin_);
    return {xScale_ * (p.x - lo_) + f_.left, y};
}

QPoint CurveScaler::map(const CurvePoint& p) const
{
    const QPointF e = exact(p);
    return {pixelOf(e.x()), pixelOf(e.y())};
}

std::vector<QPoint> curvePixels(const Curve& curve, const CurveScaler& scaler, CurveDrawMode mode)
{
    std::vector<QPoint> out;
    const size_t n = curve.points.size();
    if (n == 0)
        return out;
    out.reserve(mode == eSpline ? 3 * ((n + 3) / 3) + 1 : n);
    for (const CurvePoint& p : curve.points)
        out.push_back(scaler.map(p));
    if (mode == eSpline)
        out.resize(3 * ((n + 3) / 3) + 1, out.back());
    return out;
}

} // namespace vyr::spectra
