#pragma once
// Where the parts of the spectra display lie in its client rectangle: the header with the
// scale and the laser-line labels, the band area, the arrow buttons and the visible band
// between them. Painting and mouse hit-testing both read this one struct.
#include "controls/spectra/textmeasure.h"
#include <QRect>

namespace vyr::spectra {

// Overlap of each arrow button with the band area; the visible band starts this far in.
constexpr int kButtonOverlap = 6;
constexpr int kButtonWidth = 20;

struct SpectraLayout {
    QRect client;      // C
    QRect inner;       // I: C shrunk by 2, at least 30 x 14
    int header = 0;    // H: height of the scale and label header
    QRect area;        // A: the band area, framed in black
    QRect leftButton;  // empty without buttons
    QRect rightButton;
    QRect band;        // visible band: between the buttons, or A without them
    QRect scale;       // scale area: A's columns above A
    QRect laserStrip;  // the scale area less the tick-label row at its bottom

    // The offset into the visible band of the first band-bitmap column copied.
    int bandInset() const { return band.left() - area.left(); }
};

// `measure` measures text in the control's font; the vertical font's length of a text is its
// width in the normal font.
SpectraLayout layoutSpectra(const QRect& client, bool withButtons, const TextMeasure& measure);

} // namespace vyr::spectra
