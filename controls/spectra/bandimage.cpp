#include "controls/spectra/bandimage.h"
#include "controls/spectra/wavelengthcolor.h"
#include <algorithm>
#include <cmath>

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

namespace {

// Device pixels of logical length v: whole pixels covering it.
int deviceLength(double v, double scale) { return int(std::ceil(v * scale - 1e-9)); }

} // namespace

QSize bandSizeAt(const WavelengthMap& map, double scale)
{
    const QSize logical = map.bandImageSize();
    if (scale == 1 || logical.isEmpty())
        return logical;
    return {deviceLength(logical.width(), scale), deviceLength(logical.height(), scale)};
}

QImage renderBand(const WavelengthMap& map, const BandLook& look, const std::vector<double>& laserLines, double scale)
{
    if (!map.valid() || !(scale > 0))
        return {};
    QImage image(bandSizeAt(map, scale), QImage::Format_RGB32);
    if (image.isNull())
        return {};
    image.setDevicePixelRatio(scale);
    image.fill(look.backColor);
    if (!look.showSpectra && !look.showLaserLines)
        return image;

    // Without the colours there is no band to keep the lines in: they run over the whole
    // logical height, as the curves do then.
    const RowSpan logicalRows = look.showSpectra ? bandRows(look, map.bandImageSize().height())
                                                 : RowSpan{0, map.bandImageSize().height()};
    const RowSpan rows{pixelOf(logicalRows.first * scale), std::min(image.height(), pixelOf(logicalRows.last * scale))};
    if (rows.first >= rows.last)
        return image;

    // Each column is one colour: fill the first band row, then copy it to the others.
    auto* first = reinterpret_cast<QRgb*>(image.scanLine(rows.first));
    if (look.showSpectra) {
        const int columns = map.bandColumns();
        if (scale == 1) {
            for (int i = 0; i < columns; ++i)
                first[i] = wavelengthRgb(map.columnWavelength(i));
        } else {
            // Device column j lies j / scale logical columns along the axis.
            const double perColumn = (map.hi() - map.lo()) / (columns * scale);
            const int deviceColumns = std::min(image.width(), deviceLength(columns, scale));
            for (int j = 0; j < deviceColumns; ++j)
                first[j] = wavelengthRgb(map.lo() + j * perColumn);
        }
    }
    // Laser lines are a step of their own: they show over the background too when the
    // colours are off.
    if (look.showLaserLines) {
        const int width = std::max(1, int(std::lround(scale)));
        for (double nm : laserLines) {
            if (!(nm >= map.lo() && nm <= map.hi()))
                continue;
            // The logical line's pixel covers the column centred on its exact position.
            const int x = scale == 1 ? map.bandColumn(nm)
                                     : pixelOf(((nm - map.lo()) * map.bandColumns() / (map.hi() - map.lo()) + 0.5) *
                                                   scale - width / 2.0);
            for (int k = std::max(0, x); k < std::min(image.width(), x + width); ++k)
                first[k] = look.laserLineColor;
        }
    }
    const size_t bytes = size_t(image.width()) * sizeof(QRgb);
    for (int y = rows.first + 1; y < rows.last; ++y)
        std::copy_n(reinterpret_cast<const uchar*>(first), bytes, image.scanLine(y));
    return image;
}

} // namespace vyr::spectra
