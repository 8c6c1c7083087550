#pragma once
// The "Picture Color" display modes: a bitmap whose pure red pixels take another colour.
#include <QColor>
#include <QImage>

namespace vyr::controls::lists {

// A copy of `image` in which every pixel of pure red (0xFF0000) is `color`; others keep theirs.
QImage recolorRed(const QImage& image, const QColor& color);

} // namespace vyr::controls::lists
