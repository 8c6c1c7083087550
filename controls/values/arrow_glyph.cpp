#include "controls/values/arrow_glyph.h"

namespace vyr::values {

std::vector<GlyphLine> sliderArrowGlyph(const PixelRect& button, Axis axis, bool lower)
{
    std::vector<GlyphLine> lines;
    const int w = axis.end(button) - axis.start(button);
    const int crossStart = axis.crossStart(button);
    const int crossEnd = axis.crossEnd(button);
    if (w <= 0 || crossEnd <= crossStart)
        return lines;
    const int centre = (crossStart + crossEnd - 1) / 2;
    for (int j = 0; j < w / 2; ++j) {
        const int along = lower ? axis.start(button) + w / 4 + j : axis.end(button) - 1 - w / 4 - j;
        const int from = std::max(centre - j / 2, crossStart);
        const int to = std::min(centre + j / 2, crossEnd - 1);
        if (axis.vertical())
            lines.push_back({{from, along}, {to, along}});
        else
            lines.push_back({{along, from}, {along, to}});
    }
    return lines;
}

std::vector<GlyphLine> spinArrowGlyph(const PixelRect& button, bool up)
{
    std::vector<GlyphLine> lines;
    const int c = std::min(button.height() / 2, button.width() / 3);
    if (c <= 0)
        return lines;
    const int top = button.top + (button.height() - c) / 2;
    const int centre = button.left + (button.width() - 1) / 2;
    for (int j = 0; j < c; ++j) {
        const int y = up ? top + j : top + c - 1 - j;
        lines.push_back({{centre - j, y}, {centre + j, y}});
    }
    return lines;
}

} // namespace vyr::values
