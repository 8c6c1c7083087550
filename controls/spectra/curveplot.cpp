#include "controls/spectra/curveplot.h"
#include "platform/gdi/plaindrawing.h"
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <climits>
#include <cmath>

namespace vyr::spectra {

void ColumnReducer::add(QPointF p)
{
    const long long column = (long long)std::floor(p.x());
    if (count_ > 0 && column != column_)
        flush();
    if (count_ == 0) {
        column_ = column;
        first_ = low_ = high_ = p;
        lowAt_ = highAt_ = 0;
    } else {
        if (p.y() < low_.y())
            low_ = p, lowAt_ = count_;
        if (p.y() > high_.y())
            high_ = p, highAt_ = count_;
    }
    last_ = p;
    ++count_;
}

void ColumnReducer::flush()
{
    if (count_ == 0)
        return;
    // first, lowest and highest in their order, last; each index only once.
    const bool lowFirst = lowAt_ <= highAt_;
    const size_t at[] = {0, lowFirst ? lowAt_ : highAt_, lowFirst ? highAt_ : lowAt_, count_ - 1};
    const QPointF pt[] = {first_, lowFirst ? low_ : high_, lowFirst ? high_ : low_, last_};
    for (size_t k = 0; k < 4; ++k)
        if (k == 0 || at[k] != at[k - 1])
            out_.push_back(pt[k]);
    count_ = 0;
}

namespace {

// Device position of a data point: the whole pixel of the scaling rules at scale 1, else the
// centre of that logical pixel's exact position.
struct DeviceMap {
    const CurveScaler& scaler;
    double scale;
    QPointF operator()(const CurvePoint& p) const
    {
        if (scale == 1)
            return QPointF(scaler.map(p));
        const QPointF u = scaler.exact(p);
        return {(u.x() + 0.5) * scale, (u.y() + 0.5) * scale};
    }
};

// The points of an ascending curve that can show anything inside the columns of `cover`: from
// the last one left of them to the first one right of them.
std::pair<size_t, size_t> withinCover(const Curve& curve, const DeviceMap& at, const ColumnRange& cover)
{
    const auto& pts = curve.points;
    if (!curve.ascending || (cover.first == INT_MIN && cover.last == INT_MAX))
        return {0, pts.size()};
    const double margin = 2 + std::ceil(at.scale);
    const double first = cover.first - margin, last = cover.last + margin;
    const auto left = std::partition_point(pts.begin(), pts.end(),
                                           [&](const CurvePoint& p) { return at(p).x() < first; });
    const auto right = std::partition_point(left, pts.end(), [&](const CurvePoint& p) { return at(p).x() <= last; });
    const size_t begin = size_t(left - pts.begin()), end = size_t(right - pts.begin());
    return {begin > 0 ? begin - 1 : 0, std::min(pts.size(), end + 1)};
}

CurvePlot plotOne(const Curve& curve, const PlotGeometry& g, const ColumnRange& cover)
{
    CurvePlot plot;
    plot.color = curve.color;
    const CurveScaler scaler(g.frame, g.lo, g.hi, curve.bounds);
    const DeviceMap at{scaler, g.scale};
    if (curve.points.size() == 1) {
        plot.kind = CurvePlot::Dots; // a lone point is a pixel whatever the mode
        plot.points.push_back(at(curve.points[0]));
        return plot;
    }
    if (g.mode == eSpline) {
        // Bézier control points cannot be thinned; the list is padded to whole segments.
        plot.kind = CurvePlot::Bezier;
        const size_t n = curve.points.size();
        plot.points.reserve(3 * ((n + 3) / 3) + 1);
        for (const CurvePoint& p : curve.points)
            plot.points.push_back(at(p));
        plot.points.resize(3 * ((n + 3) / 3) + 1, plot.points.back());
        return plot;
    }
    plot.ascending = curve.ascending;
    if (gdi::plainDrawing()) {
        // Every point, for comparing the shortcuts below with the drawing they stand for.
        plot.kind = g.mode == ePixel ? CurvePlot::Dots : CurvePlot::Line;
        for (const CurvePoint& p : curve.points)
            plot.points.push_back(at(p));
        return plot;
    }
    const auto [begin, end] = withinCover(curve, at, cover);
    if (g.mode == ePixel) {
        plot.kind = CurvePlot::Dots;
        for (size_t i = begin; i < end; ++i) {
            const QPointF p = at(curve.points[i]);
            if (plot.points.empty() || plot.points.back() != p)
                plot.points.push_back(p);
        }
        return plot;
    }
    plot.kind = CurvePlot::Line;
    {
        ColumnReducer reducer(plot.points);
        for (size_t i = begin; i < end; ++i)
            reducer.add(at(curve.points[i]));
    }
    return plot;
}

// Columns that can show anything: the painter's clip widened by what a pen reaches beside its
// line. Pieces wholly to one side are left out without changing a pixel inside.
struct Columns {
    double first = -1e300;
    double last = 1e300;
    bool beside(std::initializer_list<double> xs) const
    {
        return std::all_of(xs.begin(), xs.end(), [&](double x) { return x < first; }) ||
               std::all_of(xs.begin(), xs.end(), [&](double x) { return x > last; });
    }
};

Columns visibleColumns(const QPainter& painter, double scale)
{
    if (!painter.hasClipping())
        return {};
    const QRectF clip = painter.clipBoundingRect();
    const double reach = 1 + std::ceil(scale);
    return {std::floor(clip.left()) - reach, std::ceil(clip.right()) + reach};
}

// The points of an ascending plot from the last one left of the columns to the first one right.
std::pair<const QPointF*, const QPointF*> visibleSlice(const CurvePlot& plot, const Columns& columns)
{
    const QPointF* begin = plot.points.data();
    const QPointF* end = begin + plot.points.size();
    if (!plot.ascending)
        return {begin, end};
    const QPointF* left = std::partition_point(begin, end, [&](const QPointF& p) { return p.x() < columns.first; });
    const QPointF* right = std::partition_point(left, end, [&](const QPointF& p) { return p.x() <= columns.last; });
    return {left > begin ? left - 1 : left, right < end ? right + 1 : right};
}

void drawLine(QPainter& painter, const QPointF* pts, size_t n, const Columns& columns)
{
    size_t start = 0; // first point of the run being collected
    for (size_t i = 0; i + 1 < n; ++i) {
        if (!columns.beside({pts[i].x(), pts[i + 1].x()}))
            continue;
        if (i > start)
            painter.drawPolyline(pts + start, int(i - start + 1));
        start = i + 1;
    }
    if (start + 1 < n)
        painter.drawPolyline(pts + start, int(n - start));
}

void drawBezier(QPainter& painter, const std::vector<QPointF>& pts, const Columns& columns)
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

void drawDots(QPainter& painter, const QPointF* pts, size_t n, const Columns& columns, double scale, QColor colour)
{
    if (scale == 1) {
        std::vector<QPointF> shown;
        shown.reserve(n);
        for (size_t i = 0; i < n; ++i)
            if (!columns.beside({pts[i].x()}))
                shown.push_back(pts[i]);
        painter.drawPoints(shown.data(), int(shown.size()));
        return;
    }
    // One logical pixel: a square of whole device pixels around the point's exact position.
    const int side = std::max(1, int(std::lround(scale)));
    std::vector<QRect> squares;
    squares.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        if (columns.beside({pts[i].x()}))
            continue;
        const QRect r(int(std::lround(pts[i].x() - side / 2.0)), int(std::lround(pts[i].y() - side / 2.0)), side, side);
        if (squares.empty() || squares.back() != r)
            squares.push_back(r);
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawRects(squares.data(), int(squares.size()));
    painter.restore();
}

} // namespace

std::vector<CurvePlot> plotCurves(const std::vector<Curve>& curves, const PlotGeometry& geometry,
                                  const ColumnRange& cover)
{
    std::vector<CurvePlot> plots;
    if (geometry.frame.empty() || !(geometry.hi > geometry.lo) || !(geometry.scale > 0))
        return plots;
    plots.reserve(curves.size());
    for (const Curve& curve : curves)
        if (!curve.points.empty())
            plots.push_back(plotOne(curve, geometry, cover));
    return plots;
}

// Where a line one logical pixel wide is laid from device-pixel-wide strokes: the corners of a
// grid over the square of side (scale - 1) around each point, no more than a pixel apart, so
// the strokes together cover the line's width with no gap. One offset at scale 1.
std::vector<QPointF> strokeOffsets(double scale)
{
    const double half = std::max(0.0, (scale - 1) / 2);
    const int n = half > 0 ? std::max(2, int(std::ceil(scale))) : 1;
    std::vector<QPointF> out;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            auto at = [&](int k) { return n == 1 ? 0.0 : -half + 2 * half * k / (n - 1); };
            out.emplace_back(at(i), at(j));
        }
    return out;
}

void drawPlots(QPainter& painter, const std::vector<CurvePlot>& plots, double scale, const ColorOf& colorOf)
{
    if (plots.empty())
        return;
    painter.save();
    // At scale 1 the scaling rules give the pixels. Finer targets get smooth lines one logical
    // pixel wide at their exact positions, laid from antialiased strokes one device pixel wide:
    // Qt draws those several times faster than one wide stroke of a dense polyline.
    const bool exact = scale == 1;
    painter.setRenderHint(QPainter::Antialiasing, !exact);
    painter.setBrush(Qt::NoBrush);
    const Columns columns = visibleColumns(painter, scale);
    const std::vector<QPointF> offsets = strokeOffsets(scale);
    for (const CurvePlot& plot : plots) {
        const QColor colour(colorOf(plot.color));
        painter.setPen(exact ? QPen(colour, 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin)
                             : QPen(colour, 0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        const auto [begin, end] = visibleSlice(plot, columns);
        const size_t n = size_t(end - begin);
        if (plot.kind == CurvePlot::Dots) {
            drawDots(painter, begin, n, columns, scale, colour);
            continue;
        }
        for (const QPointF& offset : offsets) {
            painter.translate(offset);
            if (plot.kind == CurvePlot::Bezier)
                drawBezier(painter, plot.points, columns);
            else
                drawLine(painter, begin, n, columns);
            painter.translate(-offset);
        }
    }
    painter.restore();
}

const std::vector<CurvePlot>& CurvePlotCache::plots(const std::vector<Curve>& curves, const PlotGeometry& geometry,
                                                    const ColumnRange& shown, const ColumnRange& band)
{
    if (!valid_ || !(geometry_ == geometry) || !covered_.contains(shown)) {
        const long long width = (long long)shown.last - shown.first + 1;
        covered_ = {int(std::max<long long>(band.first, shown.first - width)),
                    int(std::min<long long>(band.last, shown.last + width))};
        plots_ = plotCurves(curves, geometry, covered_);
        geometry_ = geometry;
        valid_ = true;
    }
    return plots_;
}

void drawCurves(QPainter& painter, const std::vector<Curve>& curves, const CurveFrame& frame, double lo, double hi,
                CurveDrawMode mode, const ColorOf& colorOf)
{
    drawPlots(painter, plotCurves(curves, PlotGeometry{frame, lo, hi, mode, 1}), 1, colorOf);
}

} // namespace vyr::spectra
