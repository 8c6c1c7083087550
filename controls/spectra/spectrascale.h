#pragma once
// The wavelength scale over the band (three levels of ticks, labels that never overlap) and
// the laser-line labels above it, worked out as positions and texts for the painter.
#include "controls/spectra/spectralayout.h"
#include "controls/spectra/wavelengthmap.h"
#include <QRect>
#include <string>
#include <vector>

namespace vyr::spectra {

// Tick spacings in nm. Small or middle spacing 0 turns the whole scale off; any level with
// a spacing <= 0 draws nothing.
struct ScaleSpacing {
    int small = 1;
    int middle = 5;
    int large = 10;
};

// Tick lengths of the large, middle and small level.
constexpr int kLargeTick = 8;
constexpr int kMiddleTick = 5;
constexpr int kSmallTick = 3;
// A level with more ticks than this in view is left out (it would only be a solid comb).
constexpr long long kMaxTicksPerLevel = 65536;

struct ScaleTick {
    int x;      // drawn from (x, A.top - length) to (x, A.top)
    int length;
};

struct ScaleLabel {
    QRect rect;
    std::string text;
};

struct ScalePlan {
    std::vector<ScaleTick> ticks;
    std::vector<ScaleLabel> labels;
    // Label interval (every n-th tick labelled) chosen for the large and the middle level.
    int largeInterval = 1;
    int middleInterval = 1;
};

// Next label interval after `interval` (1, 2, 5, 10, 20 ... 1000); 0 when the list is used up.
int nextLabelInterval(int interval);

ScalePlan planScale(const SpectraLayout& layout, const WavelengthMap& map, const ScaleSpacing& spacing,
                    const TextMeasure& measure);

struct LaserLabel {
    int x;           // the tick runs from (x, tickTop) to (x, tickBottom)
    int tickTop;
    int tickBottom;
    QRect textBox;   // on screen; the text inside runs upwards
    std::string text;
};

std::vector<LaserLabel> planLaserLabels(const SpectraLayout& layout, const WavelengthMap& map,
                                        const std::vector<double>& laserLines, const TextMeasure& measure);

// "%d" of a wavelength rounded to whole nanometres.
std::string wavelengthText(double nm);

} // namespace vyr::spectra
