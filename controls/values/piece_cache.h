#pragma once
// Pieces of a control's drawing that come out the same wherever they are drawn (an arrow
// button, a thumb, a slot of one size and state) are composed once and copied from then on, so
// a form of many sliders draws their arrows from one image. The copy is taken only where it
// gives the very pixels drawing in place would: at one device pixel per logical pixel, under a
// translation by whole pixels; elsewhere the piece is drawn in place.
#include <QRect>
#include <QSize>
#include <functional>

class QPainter;

namespace vyr::values {

struct PieceKey {
    int kind = 0;       // which piece, as its caller numbers them
    QSize size;
    unsigned state = 0; // the caller's state bits (pressed, enabled, orientation ...)
    bool opaque = true; // covers all of its rectangle (copied without blending)
    friend bool operator==(const PieceKey&, const PieceKey&) = default;
};

// Draws the piece inside the rectangle it is given; what it draws may depend only on the key
// and the system colours.
using PieceDrawing = std::function<void(QPainter&, const QRect&)>;

void drawPiece(QPainter& painter, const QRect& target, const PieceKey& key, const PieceDrawing& draw);

} // namespace vyr::values
