#include "controls/values/slider_layout.h"

#include <cmath>

namespace vyr::values {

namespace {

// Widths come from long properties; negative ones count as 0 and huge ones are capped so
// that sums of them stay far from overflow.
int64_t width(int64_t w)
{
    return std::clamp<int64_t>(w, 0, kPixelLimit);
}

PixelRect rectOf(int64_t left, int64_t top, int64_t right, int64_t bottom)
{
    return {saturatePixels(left), saturatePixels(top), saturatePixels(right),
            saturatePixels(bottom)};
}

} // namespace

SliderGeometry layoutSlider(const SliderLayoutParams& p)
{
    SliderGeometry g;
    if (p.orientation != 0 && p.orientation != 1)
        return g;
    g.valid = true;
    g.axis = Axis{Orientation(p.orientation)};
    const bool vertical = g.axis.vertical();

    const bool display = p.valueDisplay == ValueDisplay::Left || p.valueDisplay == ValueDisplay::Right;
    const bool units = display && p.hasUnits;
    const int64_t vdw = width(p.valueDisplayWidth);
    const int64_t udw = width(p.unitDisplayWidth);
    const int64_t bw = width(p.valueButtonWidth);
    const int64_t n = int64_t(std::min(p.valueButtonCount, kMaxLaidOutButtons));
    const int64_t h = width(p.textHeight);
    const int64_t buttonRow = n > 0 ? std::min(n * bw, kPixelLimit) + 4 : 0;       // horizontal
    const int64_t buttonStack = n > 0 ? std::min(n * (h + 4), kPixelLimit) + 4 : 0; // vertical

    // 1. Inner rectangle, grown (not the window) to the minimum the parts need.
    int64_t left = p.client.left + 2, top = p.client.top + 2;
    int64_t right = p.client.right - 2, bottom = p.client.bottom - 2;
    if (!vertical) {
        const int64_t minWidth = (!display ? 30 : p.hasUnits ? vdw + udw + 38 : vdw + 34) + buttonRow;
        right = std::max(right, left + minWidth);
        bottom = std::max<int64_t>(bottom, top + 14);
    } else {
        int64_t minWidth = 14;
        if (display) {
            minWidth = std::max(minWidth, vdw);
            if (p.hasUnits)
                minWidth = std::max(minWidth, udw);
            if (n > 0)
                minWidth = std::max(minWidth, bw);
        }
        const int64_t minHeight = (!display ? 30 : p.hasUnits ? 2 * h + 38 : h + 34) + buttonStack;
        right = std::max(right, left + minWidth);
        bottom = std::max(bottom, top + minHeight);
    }
    g.inner = rectOf(left, top, right, bottom);

    // 2. The slider area: the inner rectangle less the value and unit fields and buttons.
    const int64_t fields = vdw + 4 + (units ? udw + 4 : 0);
    int64_t sLeft = left, sRight = right, sBottom = bottom;
    if (!vertical && display) {
        if (p.valueDisplay == ValueDisplay::Left)
            sLeft += fields;
        else
            sRight -= fields;
        if (p.valueButtonSide == ButtonSide::Left)
            sLeft += buttonRow;
        else
            sRight -= buttonRow;
    } else if (vertical && display) {
        sBottom -= (units ? 2 * h + 8 : h + 4) + buttonStack;
    }
    g.area = rectOf(sLeft, top, sRight, sBottom);

    // 3. Arrow buttons at both ends; the track is what lies between them.
    const Axis& axis = g.axis;
    const int64_t aStart = axis.start(g.area), aEnd = axis.end(g.area);
    const int cs = axis.crossStart(g.area), ce = axis.crossEnd(g.area);
    int64_t tStart = aStart, tEnd = aEnd;
    if (p.arrowButtons) {
        g.lowerArrow = axis.make(int(aStart), saturatePixels(aStart + kArrowButtonExtent), cs, ce);
        g.upperArrow = axis.make(saturatePixels(aEnd - kArrowButtonExtent), int(aEnd), cs, ce);
        tStart += kArrowButtonExtent;
        tEnd -= kArrowButtonExtent;
    }
    g.track = axis.make(saturatePixels(tStart), saturatePixels(tEnd), cs, ce);

    // 4. The slot: 7 pixels in from the track's ends, thin or a half-thickness band.
    int slotCs, slotCe;
    if (p.slotWidth == SlotWidth::Wide) {
        slotCs = saturatePixels((int64_t(ce) + 3 * int64_t(cs)) / 4);
        slotCe = saturatePixels((int64_t(cs) + 3 * int64_t(ce)) / 4);
    } else {
        slotCs = saturatePixels((int64_t(cs) + ce - 4) / 2);
        slotCe = slotCs + 4;
    }
    g.slot = axis.make(saturatePixels(tStart + 7), saturatePixels(tEnd - 7), slotCs, slotCe);

    if (!display)
        return g;

    // 6. Value and unit fields.
    if (!vertical) {
        if (p.valueDisplay == ValueDisplay::Left) {
            g.valueField = rectOf(left, top, left + vdw, bottom);
            if (units)
                g.unitField = rectOf(left + vdw + 4, top, left + vdw + 4 + udw, bottom);
        } else {
            const int64_t end = right - (p.valueButtonSide == ButtonSide::Right ? buttonRow : 0);
            const int64_t valueEnd = units ? end - udw - 4 : end;
            if (units)
                g.unitField = rectOf(end - udw, top, end, bottom);
            g.valueField = rectOf(valueEnd - vdw, top, valueEnd, bottom);
        }
    } else {
        const int64_t valueBottom = units ? bottom - (h + 4) : bottom;
        if (units)
            g.unitField = rectOf(left, valueBottom, right, bottom);
        g.valueField = rectOf(left, valueBottom - h, right, valueBottom);
    }

    // 7. Value buttons: a contiguous row beside the fields, or (vertical) one row each in
    // the space kept between the slider and the value field, so that nothing overlaps.
    g.valueButtons.reserve(size_t(n));
    for (int64_t i = 0; i < n; ++i) {
        if (vertical) {
            const int64_t rowTop = sBottom + 4 + i * (h + 4);
            g.valueButtons.push_back(rectOf(left, rowTop, right, rowTop + h + 4));
        } else if (p.valueButtonSide == ButtonSide::Left) {
            const int64_t start = left + (p.valueDisplay == ValueDisplay::Left ? fields : 0);
            g.valueButtons.push_back(rectOf(start + i * bw, top, start + (i + 1) * bw, bottom));
        } else {
            g.valueButtons.push_back(rectOf(right - (n - i) * bw, top, right - (n - i - 1) * bw, bottom));
        }
    }
    return g;
}

int SliderGeometry::thumbCentre(double ratio) const
{
    const double start = axis.start(slot), end = axis.end(slot);
    const double c = std::trunc((1.0 - ratio) * start + ratio * end);
    return saturatePixels(int64_t(std::isfinite(c) ? c : start));
}

PixelRect SliderGeometry::thumb(double ratio) const
{
    const int c = thumbCentre(ratio);
    return axis.make(c - kThumbExtent / 2, c + kThumbExtent / 2, axis.crossStart(track),
                     axis.crossEnd(track));
}

int SliderGeometry::slotLength() const
{
    const int e = axis.end(slot) - axis.start(slot);
    return e > 0 ? e : 1;
}

int SliderGeometry::slotOffset(PixelPoint p) const
{
    return axis.along(p) - axis.start(slot);
}

SliderHit SliderGeometry::hitTest(PixelPoint p, double ratio) const
{
    if (!valid)
        return {};
    if (!area.contains(p)) {
        for (size_t i = 0; i < valueButtons.size(); ++i) {
            if (valueButtons[i].contains(p))
                return {SliderPart::ValueButton, int(i)};
        }
        return {};
    }
    if (lowerArrow.contains(p))
        return {SliderPart::LowerArrow};
    if (upperArrow.contains(p))
        return {SliderPart::UpperArrow};
    if (thumb(ratio).contains(p))
        return {SliderPart::Thumb};
    return {axis.along(p) < thumbCentre(ratio) ? SliderPart::TrackBelow : SliderPart::TrackAbove};
}

} // namespace vyr::values
