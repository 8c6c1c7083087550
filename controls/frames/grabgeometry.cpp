#include "controls/frames/grabgeometry.h"
#include <algorithm>
#include <cmath>

namespace vyr::frames {

namespace {

bool finite(const GrabRange& r) { return std::isfinite(r.min) && std::isfinite(r.max) && std::isfinite(r.value); }

bool samePixel(GrabPoint a, GrabPoint b) { return std::lround(a.x) == std::lround(b.x) && std::lround(a.y) == std::lround(b.y); }

// Signed area test: which side of the edge a -> b the point p lies on.
double side(GrabPoint a, GrabPoint b, GrabPoint p) { return (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x); }

} // namespace

double clampToRange(double value, double min, double max)
{
    if (std::isnan(value))
        return min;
    return std::max(min, std::min(value, max));
}

GrabGeometry grabGeometry(const GrabValues& v, const RECT& client, LONG frameWidth)
{
    GrabGeometry g;
    if (!finite(v.width) || !finite(v.height) || !finite(v.offsetX) || !finite(v.offsetY) || !std::isfinite(v.rotation))
        return g;
    const double a = v.rotation * (M_PI / 2) / 90;
    const double c = std::cos(a), s = std::sin(a);
    const double w = v.width.value, h = v.height.value;
    const double ox = v.offsetX.value, oy = v.offsetY.value;
    const GrabPoint local[4] = {{-w / 2, -h / 2}, {w / 2, -h / 2}, {w / 2, h / 2}, {-w / 2, h / 2}};
    std::array<GrabPoint, 4> field;
    for (int i = 0; i < 4; ++i)
        field[i] = {c * local[i].x + s * local[i].y + ox, c * local[i].y - s * local[i].x + oy};

    double minX = field[0].x, maxX = field[0].x, minY = field[0].y, maxY = field[0].y;
    for (const GrabPoint& p : field) {
        minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    }
    const double left = minX + v.offsetX.min - ox, right = maxX + v.offsetX.max - ox;
    const double top = minY + v.offsetY.min - oy, bottom = maxY + v.offsetY.max - oy;
    const double worldW = right - left, worldH = bottom - top;
    if (!std::isfinite(worldW) || !std::isfinite(worldH))
        return g;
    g.state = GrabGeometry::State::Background;
    if (!(worldW >= 1) || !(worldH >= 1))
        return g;

    const int64_t frame = std::max<LONG>(0, frameWidth);
    const LONG in = LONG((frame + 1) / 2);
    const RECT inner = inset(client, in, in);
    if (isEmpty(inner))
        return g;
    g.factor = std::min(width(inner) / worldW, height(inner) / worldH);
    g.origin = {inner.left + (width(inner) - worldW * g.factor) / 2 - left * g.factor,
                inner.top + (height(inner) - worldH * g.factor) / 2 - top * g.factor};
    auto pixel = [&](GrabPoint p) { return GrabPoint{g.origin.x + p.x * g.factor, g.origin.y + p.y * g.factor}; };
    const GrabPoint tl = pixel({left, top}), br = pixel({right, bottom});
    g.worldLeft = tl.x, g.worldTop = tl.y, g.worldRight = br.x, g.worldBottom = br.y;
    for (int i = 0; i < 4; ++i)
        g.corners[i] = pixel(field[i]);
    g.centre = pixel({ox, oy});
    g.degenerate = samePixel(g.corners[0], g.corners[2]);
    g.state = GrabGeometry::State::Field;
    return g;
}

bool GrabGeometry::hitsField(double x, double y) const
{
    if (state != State::Field || degenerate)
        return false;
    // Inside a convex polygon: on the same side of every edge.
    bool pos = false, neg = false;
    for (int i = 0; i < 4; ++i) {
        const double d = side(corners[i], corners[(i + 1) % 4], {x, y});
        pos = pos || d > 0;
        neg = neg || d < 0;
    }
    return !(pos && neg);
}

bool GrabShift::begin(const GrabGeometry& g, const GrabValues& v, GrabPoint press)
{
    active_ = g.state == GrabGeometry::State::Field && g.factor >= kMinGrabFactor;
    factor_ = g.factor;
    press_ = press;
    x_ = v.offsetX;
    y_ = v.offsetY;
    return active_;
}

GrabPoint GrabShift::offsetsAt(GrabPoint at) const
{
    return {clampToRange(x_.value + (at.x - press_.x) / factor_, x_.min, x_.max),
            clampToRange(y_.value + (at.y - press_.y) / factor_, y_.min, y_.max)};
}

} // namespace vyr::frames
