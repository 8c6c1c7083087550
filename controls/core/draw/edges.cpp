// The edges of the three face shapes and the focus mark.
#include "controls/core/draw/drawing.h"
#include "platform/gdi/devicepixels.h"
#include "platform/gdi/edge.h"
#include "platform/gdi/invert.h"
#include <QPainter>
#include <cmath>
#include <vector>

namespace vyr::controls::draw {
namespace {

using namespace gdi;

// The pixels of a one-pixel line from a to b, b itself left out (as a polyline segment).
void linePixels(QPoint a, QPoint b, std::vector<QPoint>& out)
{
    const int dx = std::abs(b.x() - a.x()), dy = std::abs(b.y() - a.y());
    const int sx = b.x() > a.x() ? 1 : -1, sy = b.y() > a.y() ? 1 : -1;
    int err = dx - dy;
    QPoint p = a;
    while (p != b) {
        out.push_back(p);
        const int e2 = 2 * err;
        if (e2 > -dy) {
            err -= dy;
            p.rx() += sx;
        }
        if (e2 < dx) {
            err += dx;
            p.ry() += sy;
        }
    }
}

void polyline(QPainter& p, std::initializer_list<QPoint> points, const QColor& colour)
{
    std::vector<QPoint> pixels;
    for (auto it = points.begin(); it + 1 != points.end(); ++it)
        linePixels(*it, *(it + 1), pixels);
    for (const QPoint& px : pixels)
        FillSolid(p, QRect(px, QSize(1, 1)), colour);
}

// Where a pixel write can land, in the painter's coordinates: the device within the clip.
QRegion writable(const QPainter& p)
{
    const QRect device(0, 0, p.device()->width(), p.device()->height());
    QRegion r(p.combinedTransform().inverted().mapRect(device));
    if (p.hasClipping())
        r &= p.clipRegion();
    return r;
}

QColor blend(const QColor& a, const QColor& b, double c)
{
    auto channel = [c](int x, int y) { return int(c * x + (1 - c) * y); };
    return QColor(channel(a.red(), b.red()), channel(a.green(), b.green()), channel(a.blue(), b.blue()));
}

// The colour of a ring pixel (dx, dy) from the centre: A towards the upper left and lower right,
// B towards the other two corners.
QColor ringColour(const QColor& a, const QColor& b, int dx, int dy)
{
    constexpr double kPi = 3.14159265358979323846;
    const double theta = std::atan2(double(dy), double(dx));
    return blend(a, b, (std::abs(std::cos(-3 * kPi / 4 - theta)) + 1) / 2);
}

// One midpoint-circle ring: eight symmetric pixels a step, from angle 0 while x >= y.
// `clip` is in logical pixels; `toLogical` takes the ring's pixels there.
void ring(QPainter& p, const QRegion& clip, const QTransform& toLogical, int cx, int cy, int radius, const QColor& a,
          const QColor& b)
{
    int x = radius, y = 0, d = -radius;
    while (x >= y) {
        const QPoint eight[] = {{cx + x, cy + y}, {cx + y, cy + x}, {cx - y, cy + x}, {cx - x, cy + y},
                                {cx - x, cy - y}, {cx - y, cy - x}, {cx + y, cy - x}, {cx + x, cy - y}};
        for (const QPoint& px : eight) {
            const QPointF at = toLogical.map(QPointF(px) + QPointF(0.5, 0.5));
            if (!clip.contains(QPoint(int(std::floor(at.x())), int(std::floor(at.y())))))
                return;
            FillSolid(p, QRect(px, QSize(1, 1)), ringColour(a, b, px.x() - cx, px.y() - cy));
        }
        d += 2 * y + 1;
        ++y;
        if (d > 0) {
            --x;
            d -= 2 * x;
        }
    }
}

} // namespace

void DrawFocusMark(QPainter& painter, const QRect& rect, bool focused)
{
    if (focused)
        DrawFocusRect(painter, rect);
}

void DrawEdge3D(QPainter& painter, const QRect& rect, bool enabled, bool pressed)
{
    if (rect.width() < 2 || rect.height() < 2) {
        FillSolid(painter, rect, SysColor(COLOR_BTNFACE));
        return;
    }
    DrawEdge(painter, rect, enabled ? (pressed ? EDGE_SUNKEN : EDGE_RAISED) : EDGE_ETCHED, BF_RECT);
}

void DrawRhombEdge(QPainter& painter, const QRect& square, bool pressed)
{
    // Drawn in device pixels: each of the two logical lines becomes as many device lines as
    // one logical pixel is wide, so the slopes step by device pixels.
    DevicePixels device(painter);
    const QRect d = device.map(square);
    const int l = d.left(), t = d.top(), r = l + d.width(), b = t + d.height();
    const int mx = (l + r) / 2, my = (t + b) / 2;
    const int outer = device.dx(1), width = device.dx(2);
    const QColor white(255, 255, 255), black(0, 0, 0);
    const QColor light = SysColor(COLOR_3DLIGHT), shadow = SysColor(COLOR_BTNSHADOW);
    const QColor upperOuter = pressed ? shadow : white, upperInner = pressed ? black : light;
    const QColor lowerOuter = pressed ? white : shadow, lowerInner = pressed ? light : black;
    for (int k = 0; k < width; ++k)
        polyline(painter, {{l + k, my}, {mx, t + k}, {r - k, my}}, k < outer ? upperOuter : upperInner);
    for (int k = 0; k < width; ++k)
        polyline(painter, {{r - k, my}, {mx, b - k}, {l + k, my}}, k < outer ? lowerOuter : lowerInner);
}

void DrawCircleEdge(QPainter& painter, const QRect& square, bool pressed)
{
    // The clip box is taken in logical pixels before switching to device pixels; each logical
    // ring becomes as many device rings as one logical pixel is wide.
    const QRegion clip = writable(painter);
    const QTransform toLogical = painter.deviceTransform().inverted();
    DevicePixels device(painter);
    const QRect d = device.map(square);
    const int l = d.left(), t = d.top(), r = l + d.width(), b = t + d.height();
    const int cx = (l + r) / 2, cy = (t + b) / 2, radius = cy - t;
    const int outer = device.dx(1), width = device.dx(2);
    const QColor highlight = SysColor(COLOR_BTNHIGHLIGHT), dark = SysColor(COLOR_3DDKSHADOW);
    const QColor light = SysColor(COLOR_3DLIGHT), shadow = SysColor(COLOR_BTNSHADOW);
    const QColor outerA = pressed ? highlight : dark, outerB = pressed ? dark : highlight;
    const QColor innerA = pressed ? light : shadow, innerB = pressed ? shadow : light;
    if (width == 2) { // ratio 1 (or a painter that is not scaled): the two logical rings
        ring(painter, clip, toLogical, cx, cy, radius, outerA, outerB);
        ring(painter, clip, toLogical, cx, cy, radius - 1, innerA, innerB);
        return;
    }
    // Rings of consecutive radii leave holes between them; at device resolution the band is
    // filled by distance from the centre instead, k device pixels in from the outer radius.
    for (int y = cy - radius; y <= cy + radius; ++y)
        for (int x = cx - radius; x <= cx + radius; ++x) {
            const int k = radius - int(std::lround(std::hypot(double(x - cx), double(y - cy))));
            if (k < 0 || k >= width)
                continue;
            const QPointF at = toLogical.map(QPointF(x + 0.5, y + 0.5));
            if (!clip.contains(QPoint(int(std::floor(at.x())), int(std::floor(at.y())))))
                continue;
            FillSolid(painter, QRect(x, y, 1, 1),
                      k < outer ? ringColour(outerA, outerB, x - cx, y - cy) : ringColour(innerA, innerB, x - cx, y - cy));
        }
}

} // namespace vyr::controls::draw
