#include "controls/values/spi_geometry.h"

#include "controls/core/valuechange.h"

#include <cmath>

namespace vyr::values {

namespace {

// trunc(x + 0.5) held to the pixel range; NaN lands on `fallback`.
int roundedPixel(double x, int fallback)
{
    if (std::isnan(x))
        return fallback;
    return saturatePixels(int64_t(std::clamp(x + 0.5, -double(kPixelLimit), double(kPixelLimit))));
}

} // namespace

double spiRatio(double v, double minimum, double maximum)
{
    if (!(std::fabs(maximum - minimum) >= controls::kValueEpsilon))
        return 0.5;
    return (v - minimum) / (maximum - minimum);
}

SpiGeometry layoutSpiFrame(const PixelRect& client, SlotWidth slot)
{
    SpiGeometry g;
    PixelRect i = client.shrunk(2);
    // Enlarged to the minimum; the window itself keeps its size.
    i.right = std::max(i.right, i.left + 30);
    i.bottom = std::max(i.bottom, i.top + 14);
    g.inner = i;

    g.slot.left = i.left + 7;
    g.slot.right = i.right - 7;
    if (slot == SlotWidth::Wide) {
        g.slot.top = (i.bottom + 2 * i.top) / 3;
        g.slot.bottom = (i.top + 2 * i.bottom) / 3;
    } else {
        g.slot.top = (i.top + i.bottom - 4) / 2;
        g.slot.bottom = g.slot.top + 4;
    }
    g.lowerTravel = {g.slot.left, g.slot.right - kSpiThumbWidth};
    g.upperTravel = {g.slot.left + kSpiThumbWidth, g.slot.right};
    return g;
}

void placeSpiThumbs(SpiGeometry& g, double lower, double upper, double minimum, double maximum)
{
    const auto place = [&](const Travel& t, double v) {
        const double p = spiRatio(v, minimum, maximum);
        const int left = roundedPixel((1 - p) * t.left + p * t.right - kSpiThumbWidth / 2, t.left);
        return PixelRect{left, g.inner.top + 4, left + kSpiThumbWidth, g.inner.bottom - 4};
    };
    g.lowerThumb = place(g.lowerTravel, lower);
    g.upperThumb = place(g.upperTravel, upper);
    // Inside the slot's outer line, so that a small slot still shows the colour.
    g.band = {g.lowerThumb.right, g.slot.top + 1, g.upperThumb.left, g.slot.bottom - 1};
    if (g.band.right < g.band.left)
        g.band.right = g.band.left;
}

double spiOffsetValue(const Travel& travel, int x, double minimum, double maximum)
{
    const int width = travel.width() > 0 ? travel.width() : 1;
    return (maximum - minimum) * double(x - travel.left) / double(width);
}

std::vector<SpiTick> planSpiTicks(const SpiGeometry& g, const SpiScale& scale, double minimum, double maximum)
{
    std::vector<SpiTick> ticks;
    if (!scale.shown() || !(maximum - minimum >= controls::kValueEpsilon) || !std::isfinite(maximum - minimum))
        return ticks;
    const int gapAbove = g.slot.top - g.inner.top;
    const int gapBelow = g.inner.bottom - g.slot.bottom;
    const int span = g.slot.width() - kSpiThumbWidth;
    struct Level {
        int spacing;
        double length;
    };
    const Level levels[] = {{scale.small, 0.4}, {scale.middle, 0.6}, {scale.large, 0.8}};
    for (size_t l = 0; l < std::size(levels); ++l) {
        const Level& level = levels[l];
        if (level.spacing <= 0)
            continue;
        const double s = level.spacing;
        const double first = std::max(0.0, std::ceil(minimum / s));
        const double last = std::floor(maximum / s);
        if (!(last >= first) || last - first >= double(kMaxSpiTicks))
            continue;
        for (long long k = (long long)first; k <= (long long)last; ++k) {
            const long long t = k * level.spacing;
            // A coarser level draws the longer tick here.
            bool covered = false;
            for (size_t c = l + 1; c < std::size(levels); ++c)
                covered = covered || (levels[c].spacing > 0 && t % levels[c].spacing == 0);
            if (covered)
                continue;
            const int x = g.slot.left + kSpiThumbWidth / 2 +
                          roundedPixel((double(t) - minimum) * span / (maximum - minimum), 0);
            ticks.push_back({x, int(gapAbove * level.length), int(gapBelow * level.length)});
        }
    }
    return ticks;
}

} // namespace vyr::values
