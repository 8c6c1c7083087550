#pragma once
// The colour of light of a given wavelength, as the spectra display paints its band: a table
// of 1200 entries indexed by whole nanometres. Only 101..1199 nm are looked up; everything
// else (and anything that is not a number) is black.
#include <QRgb>
#include <array>
#include <cstdint>

namespace vyr::spectra {

struct Rgb {
    uint8_t r, g, b;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

constexpr int kColorTableSize = 1200;
constexpr int kFirstColoredNm = 101;
constexpr int kLastColoredNm = 1199;

// The whole table, built once from the reference rows by linear interpolation.
const std::array<Rgb, kColorTableSize>& wavelengthTable();

// The colour at the wavelength rounded to the nearest whole nanometre.
Rgb wavelengthColor(double nm);
inline QRgb wavelengthRgb(double nm)
{
    const Rgb c = wavelengthColor(nm);
    return qRgb(c.r, c.g, c.b);
}

} // namespace vyr::spectra
