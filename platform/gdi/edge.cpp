#include "platform/gdi/edge.h"
#include "platform/gdi/devicepixels.h"
#include "platform/gdi/fill.h"
#include "platform/gdi/syscolors.h"
#include <QPainter>

namespace vyr::gdi {
namespace {

// Colour tables indexed by the border bits: column = outer bits (0-3), row = inner bits (0-3);
// -1 where nothing is drawn. With no outer border, an inner border moves to the outer ring.
constexpr signed char kLTOuter[16] = {
    -1, COLOR_3DLIGHT, COLOR_BTNSHADOW, -1,
    COLOR_BTNHIGHLIGHT, COLOR_3DLIGHT, COLOR_BTNSHADOW, -1,
    COLOR_3DDKSHADOW, COLOR_3DLIGHT, COLOR_BTNSHADOW, -1,
    -1, COLOR_3DLIGHT, COLOR_BTNSHADOW, -1};
constexpr signed char kRBOuter[16] = {
    -1, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT, -1,
    COLOR_BTNSHADOW, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT, -1,
    COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT, -1,
    -1, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT, -1};
constexpr signed char kLTInner[16] = {
    -1, -1, -1, -1,
    -1, COLOR_BTNHIGHLIGHT, COLOR_BTNHIGHLIGHT, -1,
    -1, COLOR_3DDKSHADOW, COLOR_3DDKSHADOW, -1,
    -1, -1, -1, -1};
constexpr signed char kRBInner[16] = {
    -1, -1, -1, -1,
    -1, COLOR_BTNSHADOW, COLOR_BTNSHADOW, -1,
    -1, COLOR_3DLIGHT, COLOR_3DLIGHT, -1,
    -1, -1, -1, -1};
// BF_SOFT changes only the top-left colours.
constexpr signed char kLTOuterSoft[16] = {
    -1, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW, -1,
    COLOR_3DLIGHT, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW, -1,
    COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW, -1,
    -1, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW, -1};
constexpr signed char kLTInnerSoft[16] = {
    -1, -1, -1, -1,
    -1, COLOR_3DLIGHT, COLOR_3DLIGHT, -1,
    -1, COLOR_BTNSHADOW, COLOR_BTNSHADOW, -1,
    -1, -1, -1, -1};

struct Rings {
    int ltOuter, rbOuter, ltInner, rbInner;
};

Rings ringsOf(UINT edge, UINT flags)
{
    const UINT i = edge & 0x0F;
    Rings r{(flags & BF_SOFT) ? kLTOuterSoft[i] : kLTOuter[i], kRBOuter[i],
            (flags & BF_SOFT) ? kLTInnerSoft[i] : kLTInner[i], kRBInner[i]};
    if (flags & (BF_MONO | BF_FLAT)) {
        const bool inner = r.ltInner != -1;
        r.ltOuter = r.rbOuter = (flags & BF_MONO) ? COLOR_WINDOWFRAME : COLOR_BTNSHADOW;
        r.ltInner = r.rbInner = inner ? ((flags & BF_MONO) ? COLOR_WINDOW : COLOR_BTNFACE) : -1;
    }
    return r;
}

// A rectangle of device pixels [x0, x1) x [y0, y1) in a ring's colour.
void run(QPainter& p, int x0, int y0, int x1, int y1, int color)
{
    if (color >= 0 && x1 > x0 && y1 > y0)
        FillSolid(p, QRect(x0, y0, x1 - x0, y1 - y0), SysColor(color));
}

} // namespace

QRect DrawEdge(QPainter& p, const QRect& rect, UINT edge, UINT flags)
{
    if (flags & BF_DIAGONAL)
        return rect;
    const Rings c = ringsOf(edge, flags);
    const bool left = flags & BF_LEFT, top = flags & BF_TOP, right = flags & BF_RIGHT, bottom = flags & BF_BOTTOM;
    {
        // The rings in device pixels: each side's k-th logical pixel lies round(k * ratio)
        // device pixels in from that side, so all four sides are equally wide.
        DevicePixels d(p);
        const QRect D = d.map(rect);
        const int l = D.left(), t = D.top(), r = l + D.width(), b = t + D.height();
        const int x1 = d.dx(1), x2 = d.dx(2), y1 = d.dy(1), y2 = d.dy(2);

        if (top) run(p, l, t, r, t + y1, c.ltOuter);
        if (left) run(p, l, t, l + x1, b, c.ltOuter);
        if (bottom) run(p, l, b - y1, r, b, c.rbOuter);
        if (right) run(p, r - x1, t, r, b, c.rbOuter);

        // Where two sides meet, the inner line starts one pixel further in.
        const int lt = top && left, rt = top && right, lb = bottom && left, rb = bottom && right;
        if (top) run(p, l + lt * x1, t + y1, r - rt * x1, t + y2, c.ltInner);
        if (left) run(p, l + x1, t + lt * y1, l + x2, b - lb * y1, c.ltInner);
        if (bottom) run(p, l + lb * x1, b - y2, r - rb * x1, b - y1, c.rbInner);
        if (right) run(p, r - x2, t + rt * y1, r - x1, b - rb * y1, c.rbInner);
    }

    const int l = rect.left(), t = rect.top(), r = l + rect.width(), b = t + rect.height();
    const int width = (c.ltOuter != -1 || c.rbOuter != -1) + (c.ltInner != -1 || c.rbInner != -1);
    const QRect inside(QPoint(l + (left ? width : 0), t + (top ? width : 0)),
                       QPoint(r - 1 - (right ? width : 0), b - 1 - (bottom ? width : 0)));
    if (flags & BF_MIDDLE)
        FillSolid(p, inside, SysColor((flags & BF_MONO) ? COLOR_WINDOW : COLOR_BTNFACE));
    return inside;
}

} // namespace vyr::gdi
