#include "controls/spectra/spectrascale.h"
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vyr::spectra {
namespace {

constexpr int kLabelIntervals[] = {1, 2, 5, 10, 20, 50, 100, 200, 500, 1000};

// Gap between a label's bottom and the area's top, and between a laser label and its tick.
constexpr int kLabelLift = 8;
constexpr int kLaserTick = 4;
constexpr int kLaserTextGap = 2;

struct Level {
    int spacing;
    int length;
    int skipFactor; // ticks whose index is a multiple of this belong to a coarser level; 0: none
    bool labelled;
};

struct Candidate {
    long long index;
    int x;
    long long t;
};

// The ticks of one level that fall inside the visible band, in ascending order.
std::vector<Candidate> levelTicks(const Level& level, const SpectraLayout& layout, const WavelengthMap& map)
{
    std::vector<Candidate> out;
    if (level.spacing <= 0)
        return out;
    const double s = level.spacing;
    // Only indices whose tick can be inside the window are visited (one spare on each side for
    // rounding); the rule itself counts from t = 0 and stops past hi.
    const double from = std::max({0.0, std::ceil(std::max(map.lo(), map.windowStart()) / s) - 1});
    const double to = std::floor(std::min(map.hi(), map.windowEnd()) / s) + 1;
    if (!(to >= from) || to - from > double(kMaxTicksPerLevel) || to > 1e15)
        return out;
    const int bandLeft = layout.band.left();
    const int bandRight = layout.band.left() + layout.band.width();
    for (long long k = (long long)from; k <= (long long)to; ++k) {
        const long long t = k * level.spacing;
        if (double(t) > map.hi())
            break;
        if (double(t) < map.lo() || (level.skipFactor > 0 && k % level.skipFactor == 0))
            continue;
        const int x = layout.area.left() + map.scaleX(double(t));
        if (x < bandLeft || x >= bandRight)
            continue;
        out.push_back({k, x, t});
    }
    return out;
}

QRect labelRect(const Candidate& c, const SpectraLayout& layout, const TextMeasure& measure, std::string& text)
{
    text = std::to_string(c.t);
    const QSize size = measure(text);
    const int bottom = layout.scale.top() + layout.scale.height() - kLabelLift;
    return QRect(c.x + 1 - size.width() / 2, bottom - size.height(), size.width(), size.height());
}

bool overlapsAny(const QRect& r, const std::vector<QRect>& placed)
{
    return std::any_of(placed.begin(), placed.end(), [&](const QRect& p) { return p.intersects(r); });
}

// Chooses the level's label interval against the labels already placed, then places them.
int placeLabels(const std::vector<Candidate>& ticks, const SpectraLayout& layout, const TextMeasure& measure,
                std::vector<QRect>& occupied, std::vector<ScaleLabel>& labels)
{
    std::string text;
    int interval = 1;
    for (;;) {
        std::vector<QRect> trial = occupied;
        bool overlap = false;
        for (const Candidate& c : ticks) {
            if (c.index % interval != 0)
                continue;
            const QRect r = labelRect(c, layout, measure, text);
            if (!layout.inner.contains(r))
                continue;
            if (overlapsAny(r, trial)) {
                overlap = true;
                break;
            }
            trial.push_back(r);
        }
        const int next = nextLabelInterval(interval);
        if (!overlap || next == 0)
            break;
        interval = next;
    }
    for (const Candidate& c : ticks) {
        if (c.index % interval != 0)
            continue;
        const QRect r = labelRect(c, layout, measure, text);
        if (!layout.inner.contains(r))
            continue;
        occupied.push_back(r);
        labels.push_back({r, text});
    }
    return interval;
}

} // namespace

int nextLabelInterval(int interval)
{
    const auto* it = std::upper_bound(std::begin(kLabelIntervals), std::end(kLabelIntervals), interval);
    return it == std::end(kLabelIntervals) ? 0 : *it;
}

ScalePlan planScale(const SpectraLayout& layout, const WavelengthMap& map, const ScaleSpacing& spacing,
                    const TextMeasure& measure)
{
    ScalePlan plan;
    if (!map.valid() || spacing.small == 0 || spacing.middle == 0)
        return plan;
    const auto ratio = [](int coarse, int fine) { return coarse > 0 && fine > 0 ? coarse / fine : 0; };
    const Level levels[] = {
        {spacing.large, kLargeTick, 0, true},
        {spacing.middle, kMiddleTick, ratio(spacing.large, spacing.middle), true},
        {spacing.small, kSmallTick, ratio(spacing.middle, spacing.small), false},
    };
    int* intervals[] = {&plan.largeInterval, &plan.middleInterval, nullptr};
    std::vector<QRect> occupied;
    for (int i = 0; i < 3; ++i) {
        const std::vector<Candidate> ticks = levelTicks(levels[i], layout, map);
        for (const Candidate& c : ticks)
            plan.ticks.push_back({c.x, levels[i].length});
        if (levels[i].labelled)
            *intervals[i] = placeLabels(ticks, layout, measure, occupied, plan.labels);
    }
    return plan;
}

std::string wavelengthText(double nm)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.0f", std::floor(nm + 0.5));
    return buf;
}

std::vector<LaserLabel> planLaserLabels(const SpectraLayout& layout, const WavelengthMap& map,
                                        const std::vector<double>& laserLines, const TextMeasure& measure)
{
    std::vector<LaserLabel> out;
    if (!map.valid())
        return out;
    const int bandLeft = layout.band.left();
    const int bandRight = layout.band.left() + layout.band.width();
    const int stripBottom = layout.laserStrip.top() + layout.laserStrip.height();
    for (double nm : laserLines) {
        if (!(nm >= map.lo() && nm <= map.hi()))
            continue;
        const int x = layout.area.left() + map.laserX(nm);
        if (x < bandLeft || x >= bandRight)
            continue;
        LaserLabel label;
        label.x = x;
        label.tickBottom = stripBottom;
        label.tickTop = stripBottom - kLaserTick;
        label.text = wavelengthText(nm);
        // Turned upright, the text's width becomes the box's height and its height the width.
        const QSize size = measure(label.text);
        const int bottom = label.tickTop - kLaserTextGap;
        label.textBox = QRect(x - size.height() / 2, bottom - size.width(), size.height(), size.width());
        out.push_back(label);
    }
    return out;
}

} // namespace vyr::spectra
