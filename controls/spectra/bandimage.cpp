#include "controls/spectra/bandimage.h"
#include "controls/spectra/wavelengthcolor.h"
#include <algorithm>

namespace vyr::spectra {

RowSpan bandRows(const BandLook& look, int height)
{
    height = std::max(0, height);
    const int rows = look.rainbowHeight <= 0 ? height : std::min(look.rainbowHeight, height);
    switch (look.displayMode) {
    case eCurveAboveSpectra:
        return {height - rows, height};
    case eCurveBelowSpectra:
        return {0, rows};
    default:
        return {0, height};
    }
}

QImage renderBand(const WavelengthMap& map, const BandLook& look, const std::vector<double>& laserLines)
{
    if (!map.valid())
        return {};
    QImage image(map.bandImageSize(), QImage::Format_RGB32);
    if (image.isNull())
        return {};
    image.fill(look.backColor);
    if (!look.showSpectra && !look.showLaserLines)
        return image;

    // Without the colours there is no band to keep the lines in: they run over the whole
    // height, as the curves do then.
    const RowSpan rows = look.showSpectra ? bandRows(look, image.height()) : RowSpan{0, image.height()};
    if (rows.first >= rows.last)
        return image;

    // Each column is one colour: fill the first band row, then copy it to the others.
    auto* first = reinterpret_cast<QRgb*>(image.scanLine(rows.first));
    if (look.showSpectra) {
        const int columns = map.bandColumns();
        for (int i = 0; i < columns; ++i)
            first[i] = wavelengthRgb(map.columnWavelength(i));
    }
    // Laser lines are a step of their own: they show over the background too when the
    // colours are off.
    if (look.showLaserLines) {
        for (double nm : laserLines) {
            if (!(nm >= map.lo() && nm <= map.hi()))
                continue;
            const int x = map.bandColumn(nm);
            if (x >= 0 && x < image.width())
                first[x] = look.laserLineColor;
        }
    }
    const size_t bytes = size_t(image.width()) * sizeof(QRgb);
    for (int y = rows.first + 1; y < rows.last; ++y)
        std::copy_n(reinterpret_cast<const uchar*>(first), bytes, image.scanLine(y));
    return image;
}

} // namespace vyr::spectra
