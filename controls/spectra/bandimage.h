#pragma once
// The band bitmap: the whole wavelength axis, each column in the colour of its wavelength,
// with the laser lines. Built once per change of axis, size or look; scrolling copies from it.
#include "controls/spectra/spectramodes.h"
#include "controls/spectra/wavelengthmap.h"
#include <QImage>
#include <QRgb>
#include <vector>

namespace vyr::spectra {

struct BandLook {
    bool showSpectra = false;
    CurveDisplayMode displayMode = eCurveInSpectra;
    int rainbowHeight = 10;
    bool showLaserLines = true;
    QRgb backColor = qRgb(0xF0, 0xF0, 0xF0);
    QRgb laserLineColor = qRgb(0xFF, 0xFF, 0xFF);
};

// Rows [first, last) of a band `height` rows high that carry the colours.
struct RowSpan {
    int first = 0;
    int last = 0;
};
RowSpan bandRows(const BandLook& look, int height);

// The size in device pixels of the band bitmap of `map` composed at `scale` device pixels per
// logical pixel (the map's bandImageSize at 1).
QSize bandSizeAt(const WavelengthMap& map, double scale);

// The band bitmap for `map` (null image when the map is not valid), composed at `scale`: each
// device column in the colour of its own wavelength, laser lines a logical pixel wide in whole
// device pixels. Laser lines outside the axis are left out; the others cross the band rows
// whether or not the colours are shown.
QImage renderBand(const WavelengthMap& map, const BandLook& look, const std::vector<double>& laserLines,
                  double scale = 1);

} // namespace vyr::spectra
