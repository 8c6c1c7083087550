#pragma once
// Where a Frame puts its caption, border, button bar, buttons and page, computed once from the
// Frame's properties so that painting, hit-testing and page layout read the same rectangles.
#include "controls/frames/rectops.h"
#include <vector>

namespace vyr::frames {

struct FrameLayoutInput {
    RECT client{};
    int captionStyle = 4;
    int frameStyle = 3;
    bool captionTop = false;
    LONG fontHeight = 0;     // text-metric height of the caption font
    int buttonAlign = 1;     // 0 left, 1 top, 2 right, 3 bottom
    LONG buttonRows = 1;
    LONG buttonSize = 50;
    std::vector<bool> buttonVisible; // one entry per button
};

struct FrameGeometry {
    RECT frame{};       // the border runs around this
    RECT caption{};     // the caption's band; empty for caption style 0
    RECT captionBand{}; // above the border when the caption sits on it
    RECT interior{};
    RECT bar{};         // empty unless two or more buttons are visible
    RECT page{};
    std::vector<RECT> buttons; // empty rectangles for hidden buttons and without a bar
};

// Depth of a caption style's 3D banner edges, and width of a frame style's border.
LONG bannerDepth(int captionStyle);
LONG borderWidth(int frameStyle);

FrameGeometry layoutFrame(const FrameLayoutInput& in);

// The first button whose rectangle holds the point, or -1.
int buttonAt(const FrameGeometry& g, LONG x, LONG y);

} // namespace vyr::frames
