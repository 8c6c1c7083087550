#include "controls/spectra/curve.h"
#include "controls/spectra/wavelengthmap.h"
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <climits>
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

QPoint CurveScaler::map(const CurvePoint& p) const
{
    const int x = pixelOf(xScale_ * (p.x - lo_) + f_.left);
    const double y = flat_ ? f_.bottom - (f_.bottom - f_.top) / 2.0 : f_.bottom - yScale_ * (p.y - yMin_);
    return {x, pixelOf(y)};
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

namespace {

// Columns that can show anything: curves mostly run far outside the visible window, and
// pieces wholly to one side of it are left out without changing a pixel inside.
struct Columns {
    int first = INT_MIN;
    int last = INT_MAX;
    bool beside(std::initializer_list<int> xs) const
    {
        return std::all_of(xs.begin(), xs.end(), [&](int x) { return x < first; }) ||
               std::all_of(xs.begin(), xs.end(), [&](int x) { return x > last; });
    }
};

Columns visibleColumns(const QPainter& painter)
{
    if (!painter.hasClipping())
        return {};
    const QRectF clip = painter.clipBoundingRect();
    return {int(std::floor(clip.left())) - 1, int(std::ceil(clip.right())) + 1};
}

// The points of a curve in ascending wavelength order that can show anything: from the last
// one left of the visible columns to the first one right of them. Pixel columns never
// decrease along such a curve, so the pieces left out are exactly those wholly beside.
std::pair<size_t, size_t> visibleRange(const Curve& curve, const CurveScaler& scaler, const Columns& columns)
{
    const auto& pts = curve.points;
    if (!curve.ascending || (columns.first == INT_MIN && columns.last == INT_MAX))
        return {0, pts.size()};
    const auto left = std::partition_point(pts.begin(), pts.end(),
                                           [&](const CurvePoint& p) { return scaler.map(p).x() < columns.first; });
    const auto right = std::partition_point(left, pts.end(),
                                            [&](const CurvePoint& p) { return scaler.map(p).x() <= columns.last; });
    const size_t begin = size_t(left - pts.begin());
    const size_t end = size_t(right - pts.begin());
    return {begin > 0 ? begin - 1 : 0, std::min(pts.size(), end + 1)};
}

// A polyline with every run of points in one pixel column cut down to its first, lowest,
// highest and last point, in their order: the line through those covers the same pixels of
// the column, and the lines into and out of the column are unchanged.
std::vector<QPoint> perColumn(const std::vector<QPoint>& pts)
{
    std::vector<QPoint> out;
    out.reserve(pts.size());
    for (size_t i = 0; i < pts.size();) {
        size_t j = i + 1;
        size_t low = i, high = i;
        while (j < pts.size() && pts[j].x() == pts[i].x()) {
            if (pts[j].y() < pts[low].y())
                low = j;
            if (pts[j].y() > pts[high].y())
                high = j;
            ++j;
        }
        const size_t last = j - 1;
        size_t keep[] = {i, std::min(low, high), std::max(low, high), last};
        for (size_t k = 0; k < 4; ++k)
            if (k == 0 || keep[k] != keep[k - 1])
                out.push_back(pts[keep[k]]);
        i = j;
    }
    return out;
}

void drawPolyline(QPainter& painter, const std::vector<QPoint>& pts, const Columns& columns)
{
    size_t start = 0; // first point of the run being collected
    for (size_t i = 0; i + 1 < pts.size(); ++i) {
        if (!columns.beside({pts[i].x(), pts[i + 1].x()}))
            continue;
        if (i > start)
            painter.drawPolyline(pts.data() + start, int(i - start + 1));
        start = i + 1;
    }
    if (start + 1 < pts.size())
        painter.drawPolyline(pts.data() + start, int(pts.size() - start));
}

void drawSpline(QPainter& painter, const std::vector<QPoint>& pts, const Columns& columns)
{
    QPainterPath path;
    bool open = false;
    for (size_t i = 0; i + 3 < pts.size(); i += 3) {
        if (columns.beside({pts[i].x(), pts[i + 1].x(), pts[i + 2].x(), pts[i + 3].x()})) {
            open = false; // a Bézier segment stays inside the hull of its four points
            continue;
        }
        if (!open)
            path.moveTo(pts[i]);
        path.cubicTo(pts[i + 1], pts[i + 2], pts[i + 3]);
        open = true;
    }
    painter.drawPath(path);
}

void drawPixels(QPainter& painter, const std::vector<QPoint>& pts, const Columns& columns)
{
    std::vector<QPoint> shown;
    for (const QPoint& p : pts)
        if (!columns.beside({p.x()}))
            shown.push_back(p);
    painter.drawPoints(shown.data(), int(shown.size()));
}

} // namespace

void drawCurves(QPainter& painter, const std::vector<Curve>& curves, const CurveFrame& frame, double lo, double hi,
                CurveDrawMode mode, const ColorOf& colorOf)
{
    if (frame.empty() || !(hi > lo))
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    const Columns columns = visibleColumns(painter);
    for (const Curve& curve : curves) {
        const CurveScaler scaler(frame, lo, hi, curve.bounds);
        std::vector<QPoint> pts;
        if (mode == eSpline || curve.points.size() == 1) {
            pts = curvePixels(curve, scaler, mode);
        } else {
            const auto [begin, end] = visibleRange(curve, scaler, columns);
            pts.reserve(end - begin);
            for (size_t i = begin; i < end; ++i)
                pts.push_back(scaler.map(curve.points[i]));
            if (mode != ePixel)
                pts = perColumn(pts);
        }
        if (pts.empty())
            continue;
        painter.setPen(QPen(QColor(colorOf(curve.color)), 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        if (curve.points.size() == 1) {
            painter.drawPoint(pts[0]); // a lone point is a pixel whatever the mode
            continue;
        }
        switch (mode) {
        case ePixel:
            drawPixels(painter, pts, columns);
            break;
        case eSpline:
            drawSpline(painter, pts, columns);
            break;
        default:
            drawPolyline(painter, pts, columns);
        }
    }
    painter.restore();
}

} // namespace vyr::spectra
