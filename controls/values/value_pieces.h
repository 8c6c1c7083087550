#pragma once
// The parts of the Slider's and the ValueEdit's drawing that repeat from control to control
// (arrow and spin buttons, thumb, slot, the edit field's frame), drawn through the piece cache.
#include "controls/values/pixel_geometry.h"

#include <QRect>

class QPainter;

namespace vyr::values {

// A slider arrow button: face, raised edge (flat while pressed), glyph offset by (1, 1) while
// pressed, in the enabled or disabled glyph colour.
void drawSliderArrow(QPainter& painter, const QRect& button, Axis axis, bool lower, bool pressed, bool enabled);
// The thumb: raised edge, its inside in the button face (`lit`: enabled and not dragged) or
// the 3D highlight.
void drawSliderThumb(QPainter& painter, const QRect& thumb, bool lit);
// The slot: a sunken edge; its inside is left as it is.
void drawSliderSlot(QPainter& painter, const QRect& slot);
// A spin button: face, raised edge (sunken while pressed), the up or down glyph.
void drawSpinButton(QPainter& painter, const QRect& button, bool up, bool pressed, bool enabled);
// The edit area: a sunken edge round the window colour (enabled) or the button face.
void drawEditFrame(QPainter& painter, const QRect& area, bool enabled);

} // namespace vyr::values
