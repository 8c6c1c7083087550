#pragma once
// The wavelength axis of the spectra display and its mapping to pixels: the visible window
// (centre and width in nm) onto the axis lo..hi, and the band bitmap that holds the whole
// axis at about the visible scale, so scrolling only copies a different part of it.
#include <QSize>

namespace vyr::spectra {

// What the command server supplies; these are the values before it has said anything.
struct SpectraAxis {
    double lo = 1.0;      // axis minimum (nm)
    double hi = 100.0;    // axis maximum (nm)
    double centre = 50.0; // window centre (nm)
    double width = 10.0;  // window width (nm)
};

// Largest band bitmap built, in pixels. A window so narrow that the whole axis would need
// more is shown at the narrowest width that fits, instead of allocating without bound.
constexpr long long kMaxBandPixels = 1LL << 25;

class WavelengthMap {
public:
    WavelengthMap() = default;
    // `areaSize` is the size of the band area A (the scale uses its width too).
    WavelengthMap(const SpectraAxis& axis, QSize areaSize);

    // False for an axis without extent (hi <= lo), a window width <= 0, values that are not
    // numbers, or an empty area: there is then no band bitmap and no scale.
    bool valid() const { return valid_; }

    double lo() const { return lo_; }
    double hi() const { return hi_; }
    double centre() const { return centre_; }
    // The window width used for drawing: the given one unless the band bitmap cap widened it.
    double width() const { return width_; }
    int areaWidth() const { return areaWidth_; }
    double windowStart() const { return centre_ - width_ / 2; }
    double windowEnd() const { return centre_ + width_ / 2; }

    // Band bitmap: W columns for the axis plus one spare column (the axis maximum lands on W).
    int bandColumns() const { return columns_; }
    QSize bandImageSize() const;
    // Wavelength of band column i, and the column of a wavelength (no range check).
    double columnWavelength(int column) const;
    int bandColumn(double nm) const;
    // First band column shown at the area's left edge.
    int bandOffset() const;

    // x relative to A.left of a scale tick at t, and of a laser label at nm.
    int scaleX(double t) const;
    int laserX(double nm) const;

    // The centre limited to lo + w/2 .. hi - w/2 (the axis middle when the window is wider
    // than the axis).
    double clampCentre(double c) const;

private:
    bool valid_ = false;
    double lo_ = 0, hi_ = 0, centre_ = 0, width_ = 0;
    int areaWidth_ = 0, areaHeight_ = 0;
    int columns_ = 0;
};

// trunc(v + 0.5) as the pixel rules use it, saturated to a range that stays safe to draw.
int pixelOf(double v);

} // namespace vyr::spectra
