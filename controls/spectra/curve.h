#pragma once
// Curves over the band (filter and dye spectra): their data, the rectangle they are scaled
// into for each display mode and the scaling to pixels (curveplot.h draws them).
#include "controls/spectra/bandimage.h"
#include "platform/com/types.h"
#include <QPoint>
#include <QPointF>
#include <QRgb>
#include <functional>
#include <vector>

namespace vyr::spectra {

struct CurvePoint {
    double x; // wavelength (nm)
    double y; // value
};

struct CurveBounds {
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
};

struct Curve {
    OLE_COLOR color = 0;
    std::vector<CurvePoint> points; // only points whose both coordinates are numbers
    CurveBounds bounds;
    bool ascending = false; // wavelengths never decrease along the points

    // Keeps the points that are numbers and works out their bounds.
    static Curve make(OLE_COLOR color, std::vector<CurvePoint> points);
};

// Same colours and the same points in the same order.
bool sameCurves(const std::vector<Curve>& a, const std::vector<Curve>& b);

// Edges as the scaling rules count them: right and bottom are coordinates, not sizes. A
// value at the curve's minimum lands on `bottom`, its maximum on `top`.
struct CurveFrame {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool empty() const { return right <= left || bottom <= top; }
    bool operator==(const CurveFrame&) const = default;
};

// The frame inside a band bitmap `columns` wide (the axis width, without the spare column)
// and `height` rows high.
CurveFrame curveFrame(const BandLook& look, int columns, int height);

// Curve coordinates to pixels of the frame, for an axis lo..hi.
class CurveScaler {
public:
    CurveScaler(const CurveFrame& frame, double lo, double hi, const CurveBounds& bounds);
    QPoint map(const CurvePoint& p) const;
    // The position before rounding to whole pixels.
    QPointF exact(const CurvePoint& p) const;

private:
    CurveFrame f_;
    double lo_, xScale_;
    double yMin_, yScale_;
    bool flat_;
};

// The pixel points of a curve in draw order: the points themselves for polylines and pixels;
// for splines the first point and then 3 x ((n + 3) / 3) points, padded with the last one,
// so that every Bézier segment is complete. Empty for a curve without points.
std::vector<QPoint> curvePixels(const Curve& curve, const CurveScaler& scaler, CurveDrawMode mode);

using ColorOf = std::function<QRgb(OLE_COLOR)>;

} // namespace vyr::spectra
