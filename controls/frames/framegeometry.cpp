#include "controls/frames/framegeometry.h"
#include <algorithm>

namespace vyr::frames {

LONG bannerDepth(int captionStyle)
{
    switch (captionStyle) {
    case 5: case 6: case 10: case 11: return 4;
    case 3: case 4: case 8: case 9: return 2;
    default: return 0;
    }
}

LONG borderWidth(int frameStyle)
{
    return frameStyle == 0 ? 0 : frameStyle == 4 || frameStyle == 5 ? 4 : 2;
}

namespace {

// A bar runs along a primary axis (vertical for the left and right bars); buttons are placed by
// their span along it and their row across it.
struct BarAxes {
    bool vertical;
    LONG alongStart, alongEnd, acrossStart, acrossEnd;

    RECT rect(LONG a0, LONG a1, LONG c0, LONG c1) const
    {
        return vertical ? RECT{c0, a0, c1, a1} : RECT{a0, c0, a1, c1};
    }
};

LONG lerp(LONG start, LONG end, double f)
{
    return static_cast<LONG>((1.0 - f) * start + f * end);
}

// Splits the interior into the bar strip and the page; false for an align without a bar.
// The strip never reaches beyond the interior, so the page is never inverted.
bool splitBar(const RECT& interior, int align, int64_t thickness, RECT& bar, RECT& page)
{
    bar = page = interior;
    const LONG across = align == 0 || align == 2 ? width(interior) : height(interior);
    const LONG t = LONG(std::clamp<int64_t>(thickness, 0, std::max<LONG>(across, 0)));
    switch (align) {
    case 0: bar.right = page.left = interior.left + t; return true;
    case 1: bar.bottom = page.top = interior.top + t; return true;
    case 2: bar.left = page.right = interior.right - t; return true;
    case 3: bar.top = page.bottom = interior.bottom - t; return true;
    default: return false;
    }
}

void placeButtons(const FrameLayoutInput& in, const RECT& bar, LONG visible, LONG rows, std::vector<RECT>& buttons)
{
    const bool vertical = in.buttonAlign == 0 || in.buttonAlign == 2;
    const BarAxes axes = vertical ? BarAxes{true, bar.top, bar.bottom, bar.left, bar.right}
                                  : BarAxes{false, bar.left, bar.right, bar.top, bar.bottom};
    const LONG perRow = (visible + rows - 1) / rows;
    const LONG lastRow = (visible - 1) / perRow;
    LONG k = 0;
    for (size_t i = 0; i < buttons.size(); ++i) {
        if (!in.buttonVisible[i])
            continue;
        const LONG row = k / perRow;
        const LONG place = k % perRow;
        const LONG inRow = row == lastRow ? (visible - 1) % perRow + 1 : perRow;
        buttons[i] = axes.rect(lerp(axes.alongStart, axes.alongEnd, double(place) / inRow),
                               lerp(axes.alongStart, axes.alongEnd, double(place + 1) / inRow),
                               lerp(axes.acrossStart, axes.acrossEnd, double(row) / rows),
                               lerp(axes.acrossStart, axes.acrossEnd, double(row + 1) / rows));
        ++k;
    }
}

} // namespace

FrameGeometry layoutFrame(const FrameLayoutInput& in)
{
    FrameGeometry g;
    const LONG d = bannerDepth(in.captionStyle);
    const LONG w = borderWidth(in.frameStyle);
    g.frame = in.client;
    if (in.captionTop)
        g.frame.top += (d + in.fontHeight) / 2 - 1;

    if (in.captionStyle == 0) {
        g.caption = {in.client.left, in.client.top, in.client.right, in.client.top};
    } else {
        const RECT band{in.client.left, in.client.top, in.client.right, in.client.top + 2 * d + in.fontHeight};
        g.caption = in.captionTop ? inset(band, w + 6, 0) : moved(inset(band, w, 0), 0, w);
    }
    if (in.captionTop)
        g.captionBand = {in.client.left, in.client.top, in.client.right, g.frame.top};

    g.interior = inset(g.frame, w, w);
    if (!isEmpty(g.caption))
        g.interior.top = g.caption.bottom;

    g.buttons.assign(in.buttonVisible.size(), RECT{});
    const LONG visible = LONG(std::count(in.buttonVisible.begin(), in.buttonVisible.end(), true));
    const LONG rows = std::clamp<LONG>(in.buttonRows, 1, std::max<LONG>(visible, 1));
    const int64_t thickness = int64_t(rows) * in.buttonSize;
    g.page = g.interior;
    if (visible >= 2 && splitBar(g.interior, in.buttonAlign, thickness, g.bar, g.page))
        placeButtons(in, g.bar, visible, rows, g.buttons);
    else
        g.bar = {};
    return g;
}

int buttonAt(const FrameGeometry& g, LONG x, LONG y)
{
    for (size_t i = 0; i < g.buttons.size(); ++i) {
        if (contains(g.buttons[i], x, y))
            return int(i);
    }
    return -1;
}

} // namespace vyr::frames
