#include "controls/spectra/slicegeometry.h"
#include "controls/spectra/wavelengthmap.h"
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vyr::spectra {

int slicePixels(double x, const SliceDistance& distance, int height)
{
    const double range = distance.max - distance.min;
    if (!(range != 0 && std::isfinite(range)) || !std::isfinite(x))
        return 0;
    return pixelOf(height * x / range);
}

std::string sliceValueText(double value, int precision, bool withUnit)
{
    char buf[512];
    std::snprintf(buf, sizeof buf, withUnit ? "%.*f \u00b5m" : "%.*f", std::clamp(precision, 0, 15), value);
    return buf;
}

SliceGeometry layoutSlice(const QRect& client, const SliceDistance& distance, const std::vector<SliceChannel>& channels,
                          int precision, const TextMeasure& measure)
{
    SliceGeometry g;
    const int h = measure(" ").height();
    const int clientBottom = client.top() + client.height();
    g.drawing = QRect(client.left(), client.top(), client.width(), std::max(0, client.height() - (2 * h + 1)));
    const int top = g.drawing.top();
    const int bottom = top + g.drawing.height();
    g.middle = (top + bottom) / 2;

    const int n = int(channels.size());
    g.columnWidth = n < 1 ? 0 : std::max(0, (client.width() - 2 * n - 2) / n);
    const int e = g.columnWidth;
    const auto px = [&](double x) { return slicePixels(x, distance, bottom - top); };
    const int halfDistance = px(distance.value / 2);

    const QRect nameRow(client.left(), clientBottom - 2 * h, client.width(), h);
    const QRect valueRow(client.left(), clientBottom - h, client.width(), h);
    for (int j = 0; j < n; ++j) {
        const SliceChannel& ch = channels[size_t(j)];
        const int left = client.left() + j * (e + 2) + 2;
        const int halfValue = px(ch.value / 2);
        // A negative thickness is drawn as its size, not as an upside-down bar.
        const auto bar = [&](int centre) {
            const int a = centre - halfValue, b = centre + halfValue;
            return SliceBar{left, std::min(a, b), left + e, std::max(a, b)};
        };
        g.upper.push_back(bar(g.middle - halfDistance));
        g.lower.push_back(bar(g.middle + halfDistance));

        const auto centred = [&](const std::string& text, const QRect& row) {
            const int w = measure(text).width();
            return SliceText{QRect(left + (e - w) / 2, row.top(), w, row.height()), text};
        };
        g.names.push_back(centred(ch.name, nameRow));
        std::string value = sliceValueText(ch.value, precision, true);
        if (measure(value).width() > e) {
            value = sliceValueText(ch.value, precision, false);
            g.unitFallback = true;
        }
        g.values.push_back(centred(value, valueRow));
    }
    if (g.unitFallback) {
        const std::string unit = "(\u00b5m)";
        const int w = measure(unit).width();
        g.unit = {QRect(client.left() + client.width() - w, valueRow.top(), w, valueRow.height()), unit};
    }
    return g;
}

std::vector<QLine> hatchLines(const SliceBar& bar, int spacing, bool rising, const QRect& clip)
{
    std::vector<QLine> lines;
    // The part of the bar to cover, in offsets from the bar's top-left corner, so the pattern
    // stays put however the bar is clipped.
    const int x0 = std::max(bar.left, clip.left()) - bar.left;
    const int x1 = std::min(bar.right, clip.left() + clip.width()) - 1 - bar.left;
    const int y0 = std::max(bar.top, clip.top()) - bar.top;
    const int y1 = std::min(bar.bottom, clip.top() + clip.height()) - 1 - bar.top;
    if (spacing <= 0 || x1 < x0 || y1 < y0)
        return lines;
    const auto firstMultiple = [spacing](int from) {
        const int r = ((from % spacing) + spacing) % spacing;
        return r == 0 ? from : from + spacing - r;
    };
    if (rising) {
        // x + y = s, from the lower-left border to the upper-right one.
        for (int s = firstMultiple(x0 + y0); s <= x1 + y1; s += spacing) {
            const int a = std::max(x0, s - y1), b = std::min(x1, s - y0);
            lines.emplace_back(bar.left + a, bar.top + s - a, bar.left + b, bar.top + s - b);
        }
    } else {
        // x - y = s, from the upper-left border to the lower-right one.
        for (int s = firstMultiple(x0 - y1); s <= x1 - y0; s += spacing) {
            const int a = std::max(y0, x0 - s), b = std::min(y1, x1 - s);
            lines.emplace_back(bar.left + s + a, bar.top + a, bar.left + s + b, bar.top + b);
        }
    }
    return lines;
}

} // namespace vyr::spectra
