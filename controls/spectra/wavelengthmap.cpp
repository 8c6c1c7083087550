#include "controls/spectra/wavelengthmap.h"
#include <algorithm>
#include <cmath>

namespace vyr::spectra {

int pixelOf(double v)
{
    constexpr double kLimit = 1 << 24;
    if (std::isnan(v))
        return 0;
    return int(std::trunc(std::clamp(v + 0.5, -kLimit, kLimit)));
}

WavelengthMap::WavelengthMap(const SpectraAxis& axis, QSize areaSize)
    : lo_(axis.lo), hi_(axis.hi), centre_(axis.centre), width_(axis.width),
      areaWidth_(std::max(0, areaSize.width())), areaHeight_(std::max(0, areaSize.height()))
{
    valid_ = std::isfinite(lo_) && std::isfinite(hi_) && std::isfinite(width_) && hi_ > lo_ && width_ > 0 &&
             areaWidth_ > 0 && std::isfinite(hi_ - lo_);
    if (!valid_) {
        if (!std::isfinite(centre_))
            centre_ = 0;
        return;
    }
    const double span = hi_ - lo_;
    const long long maxColumns = std::max<long long>(areaWidth_, kMaxBandPixels / std::max(1, areaHeight_) - 1);
    double columns = std::trunc(span * (areaWidth_ - 1) / width_ + 0.5);
    if (!(columns <= double(maxColumns))) {
        columns = double(maxColumns);
        width_ = span * (areaWidth_ - 1) / columns;
    }
    columns_ = std::max(int(columns), areaWidth_);
    if (!std::isfinite(centre_))
        centre_ = lo_ + width_ / 2;
}

QSize WavelengthMap::bandImageSize() const
{
    return valid_ ? QSize(columns_ + 1, areaHeight_) : QSize();
}

double WavelengthMap::columnWavelength(int column) const
{
    return valid_ ? lo_ + column * (hi_ - lo_) / columns_ : lo_;
}

int WavelengthMap::bandColumn(double nm) const
{
    return valid_ ? pixelOf((nm - lo_) * columns_ / (hi_ - lo_)) : 0;
}

int WavelengthMap::bandOffset() const
{
    return bandColumn(windowStart());
}

int WavelengthMap::scaleX(double t) const
{
    return valid_ ? pixelOf((t - windowStart()) * (areaWidth_ - 1) / width_) : 0;
}

int WavelengthMap::laserX(double nm) const
{
    return valid_ ? pixelOf((nm - windowStart()) * areaWidth_ / width_) : 0;
}

double WavelengthMap::clampCentre(double c) const
{
    if (!valid_)
        return std::isfinite(c) ? c : centre_;
    const double first = lo_ + width_ / 2;
    const double last = hi_ - width_ / 2;
    if (!std::isfinite(c))
        c = first;
    if (first > last)
        return (lo_ + hi_) / 2;
    return std::clamp(c, first, last);
}

} // namespace vyr::spectra
