#pragma once
// The filled triangles drawn on arrow and spin buttons, as the lines that make them up, so
// that the window layer only draws lines and tests can check the shape.
#include "controls/values/pixel_geometry.h"

#include <vector>

namespace vyr::values {

// A line from a to b, both ends included; always horizontal or vertical.
struct GlyphLine {
    PixelPoint a;
    PixelPoint b;
    friend bool operator==(const GlyphLine&, const GlyphLine&) = default;
};

// A slider arrow button of extent w along the axis: w / 2 lines across the axis. The lower
// arrow's tip lies a quarter of the button from its outer side and the glyph widens towards
// the track; the upper arrow mirrors it. Lines are clipped to the button.
std::vector<GlyphLine> sliderArrowGlyph(const PixelRect& button, Axis axis, bool lower);

// A spin button's triangle: c lines, c being half the button's height but at most a third of
// its width, centred in the button, pointing up or down.
std::vector<GlyphLine> spinArrowGlyph(const PixelRect& button, bool up);

} // namespace vyr::values
