#pragma once
// Curves made ready for drawing: mapped once onto the device pixels of the band bitmap and cut
// down to what a pixel column can show, so that a paint draws a few points per visible column
// whatever the number of data points. A cache keeps the plots while the data and the geometry
// stay the same (scrolling only shows another part of them).
#include "controls/spectra/curve.h"
#include <QPointF>
#include <climits>
#include <vector>

class QPainter;

namespace vyr::spectra {

// What the plots depend on besides the data: the frame and axis of the band bitmap in its
// logical pixels, the draw mode, and the device pixels per logical pixel of the target.
struct PlotGeometry {
    CurveFrame frame;
    double lo = 0, hi = 0;
    CurveDrawMode mode = ePolyline;
    double scale = 1;
    bool operator==(const PlotGeometry&) const = default;
};

// Device columns first .. last (both included) of the band bitmap.
struct ColumnRange {
    int first = INT_MIN;
    int last = INT_MAX;
    bool contains(const ColumnRange& r) const { return first <= r.first && r.last <= last; }
};

struct CurvePlot {
    enum Kind { Line, Bezier, Dots };
    Kind kind = Line;
    OLE_COLOR color = 0;
    // Device pixels of the band bitmap in draw order. At scale 1 they are the whole pixels the
    // scaling rules give; at other scales the exact positions (pixel centres), for antialiasing.
    std::vector<QPointF> points;
    bool ascending = false; // x never decreases along the points
};

// A polyline cut down, per run of points in one pixel column, to the run's first, lowest,
// highest and last point in their order. The line through those covers the same pixels of the
// column as the whole run, and the lines into and out of the column are unchanged. (One pixel
// may differ: Qt's 1-pixel stroker adds the end pixel where a line turns back, so when the
// run's first or last point ties with its highest, the whole run can turn on that pixel where
// the reduced one does not.)
class ColumnReducer {
public:
    explicit ColumnReducer(std::vector<QPointF>& out) : out_(out) {}
    ~ColumnReducer() { flush(); }
    ColumnReducer(const ColumnReducer&) = delete;
    ColumnReducer& operator=(const ColumnReducer&) = delete;
    void add(QPointF p);
    void flush();

private:
    std::vector<QPointF>& out_;
    QPointF first_, low_, high_, last_;
    long long column_ = 0;
    size_t count_ = 0, lowAt_ = 0, highAt_ = 0;
};

// The plots of `curves`; curves without points have none. Of an ascending curve only the
// points that can show in the columns of `cover` are plotted (with one point beyond each side
// for the lines leaving them); other curves are plotted whole.
std::vector<CurvePlot> plotCurves(const std::vector<Curve>& curves, const PlotGeometry& geometry,
                                  const ColumnRange& cover = {});

// Draws the plots in the painter's coordinates (device pixels of the band bitmap), only the
// part that reaches the painter's clip: 1-pixel aliased lines at scale 1, otherwise
// antialiased lines one logical pixel wide.
void drawPlots(QPainter& painter, const std::vector<CurvePlot>& plots, double scale, const ColorOf& colorOf);

class CurvePlotCache {
public:
    // Plots for `geometry` that cover the columns `shown` of a band bitmap with the columns
    // `band`. They are built again only when the geometry changed, after clear(), or when
    // `shown` leaves what they cover: then for `shown` and as much again on each side, so that
    // scrolling a window's width either way keeps them.
    const std::vector<CurvePlot>& plots(const std::vector<Curve>& curves, const PlotGeometry& geometry,
                                        const ColumnRange& shown, const ColumnRange& band);
    // The curve data changed.
    void clear() { valid_ = false; }
    bool valid() const { return valid_; }

private:
    std::vector<CurvePlot> plots_;
    PlotGeometry geometry_;
    ColumnRange covered_;
    bool valid_ = false;
};

// Draws the curves into a band bitmap drawn at scale 1: plots them for the frame and draws them.
void drawCurves(QPainter& painter, const std::vector<Curve>& curves, const CurveFrame& frame, double lo, double hi,
                CurveDrawMode mode, const ColorOf& colorOf);

} // namespace vyr::spectra
