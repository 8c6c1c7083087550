#pragma once
// Geometry of the slice display: per channel a column with two hatched bars (upper and lower
// slice, as thick as the channel's value, apart by the distance) and two label rows below.
#include "controls/spectra/textmeasure.h"
#include <QLine>
#include <QRect>
#include <cstdint>
#include <string>
#include <vector>

namespace vyr::spectra {

struct SliceChannel {
    double value = 1.0; // thickness (µm)
    int32_t color = 0;  // OLE_COLOR as the server's entry integer
    std::string name;
};

// The distance command: its range scales the drawing, its value parts the two bars.
struct SliceDistance {
    double min = 0.0;
    double max = 100.0;
    double value = 1.0;
};

// Edges of a bar: right and bottom are exclusive; bottom == top is a flat bar.
struct SliceBar {
    int left = 0, top = 0, right = 0, bottom = 0;
};

struct SliceText {
    QRect rect;
    std::string text;
};

struct SliceGeometry {
    QRect drawing;   // D: the client less the two label rows
    int middle = 0;  // middle line of D
    int columnWidth = 0;
    std::vector<SliceBar> upper, lower;
    std::vector<SliceText> names, values;
    bool unitFallback = false; // some value was too wide with its unit: "(µm)" is written once
    SliceText unit;
};

// Pixels of a length x on the scale of `distance` over `height` pixels; 0 when the range is
// empty or not a number.
int slicePixels(double x, const SliceDistance& distance, int height);

// "%.*f µm" or, without unit, "%.*f" (precision limited to 0..15).
std::string sliceValueText(double value, int precision, bool withUnit);

SliceGeometry layoutSlice(const QRect& client, const SliceDistance& distance, const std::vector<SliceChannel>& channels,
                          int precision, const TextMeasure& measure);

// Hatch lines of a bar within `clip`, `spacing` pixels apart along the edges, each from
// border to border: rising (/) or falling (\). None for a flat bar or a spacing <= 0.
std::vector<QLine> hatchLines(const SliceBar& bar, int spacing, bool rising, const QRect& clip);

} // namespace vyr::spectra
