#pragma once
// What the label-like controls (Static, Display) share: their frame styles and the background
// inside the frame.
#include "controls/core/descriptor.h"
#include "platform/com/unknown.h"
#include <QRect>

class QPainter;
class QWidget;

namespace vyr::controls::lists {

// "No Frame", "Normal", "Raised", "Sunken", "Raised Dot", "Sunken Dot"; cookie = value.
const EnumNames& frameStyleNames();

// Draws the frame of `style` on all four sides of `bounds` and returns the rectangle inside
// it; every edge takes 2 px. 0 no frame, 1 etched, 2 raised, 3 sunken, 4 raised then sunken
// inside it, 5 sunken then raised; any other value etched.
QRect drawLabelFrame(QPainter& painter, const QRect& bounds, int style);

// Fills `rect` with `color` unless a bitmap back picture covers it, then tiles the back
// picture lined up with `widget`'s top-level window.
void fillLabelBackground(QPainter& painter, QWidget* widget, const QRect& rect, OLE_COLOR color, IUnknown* backPicture);

} // namespace vyr::controls::lists
