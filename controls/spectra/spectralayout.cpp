#include "controls/spectra/spectralayout.h"
#include <algorithm>

namespace vyr::spectra {

SpectraLayout layoutSpectra(const QRect& client, bool withButtons, const TextMeasure& measure)
{
    SpectraLayout l;
    l.client = client;
    const QRect shrunk = client.adjusted(2, 2, -2, -2);
    l.inner = QRect(shrunk.left(), shrunk.top(), std::max(shrunk.width(), 30), std::max(shrunk.height(), 14));
    const QRect& in = l.inner;

    const QSize zero = measure("0");
    l.header = zero.height() + measure("0000").width() + 13;

    // Rectangles are built from left/top and sizes: the right and bottom edges below are
    // exclusive, as the layout rules count them.
    const int innerRight = in.left() + in.width();
    const int innerBottom = in.top() + in.height();
    const int areaTop = in.top() + l.header;
    const int areaHeight = std::max(0, innerBottom - areaTop);
    l.area = QRect(in.left() + 14, areaTop, in.width() - 28, areaHeight);

    if (withButtons) {
        l.leftButton = QRect(in.left(), areaTop, kButtonWidth, areaHeight);
        l.rightButton = QRect(innerRight - kButtonWidth, areaTop, kButtonWidth, areaHeight);
        l.band = QRect(in.left() + kButtonWidth, areaTop, std::max(0, in.width() - 2 * kButtonWidth), areaHeight);
    } else {
        l.band = l.area;
    }

    const int scaleTop = client.top();
    l.scale = QRect(l.area.left(), scaleTop, l.area.width(), std::max(0, areaTop - scaleTop));
    const int labelRow = measure("A").height() + 9;
    l.laserStrip = QRect(l.scale.left(), scaleTop, l.scale.width(), std::max(0, l.scale.height() - labelRow));
    return l;
}

} // namespace vyr::spectra
