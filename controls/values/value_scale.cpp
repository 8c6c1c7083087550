#include "controls/values/value_scale.h"

#include <algorithm>
#include <cmath>

namespace vyr::values {

namespace {

class LinearTransform : public ScaleTransform {
public:
    LinearTransform(double min, double max) : min_(min), max_(max) {}
    double ratio(double v) const override { return (v - min_) / (max_ - min_); }
    double valueAt(double r) const override { return min_ + r * (max_ - min_); }
    double stepped(double v, double step, double count) const override
    {
        return v + count * step;
    }
    bool continuous() const override { return true; }
    double first() const override { return min_; }
    double last() const override { return max_; }

protected:
    double min_;
    double max_;
};

// Position grows with ln(v - min + 1), so the low end of a wide range gets most of the track.
class LogarithmicTransform : public LinearTransform {
public:
    LogarithmicTransform(double min, double max)
        : LinearTransform(min, max), span_(std::log(std::abs(max - min) + 1.0))
    {
    }
    double ratio(double v) const override { return std::log(v - min_ + 1.0) / span_; }
    double valueAt(double r) const override { return min_ + std::exp(span_ * r) - 1.0; }

private:
    double span_;
};

// Equal distances between the listed values, whatever their numeric spacing.
class ListTransform : public ScaleTransform {
public:
    explicit ListTransform(std::vector<double> values) : values_(std::move(values)) {}
    double ratio(double v) const override
    {
        if (values_.size() == 1)
            return 0.0;
        return double(nearestIndex(values_, v)) / double(values_.size() - 1);
    }
    double valueAt(double r) const override
    {
        return at(std::trunc(r * double(values_.size() - 1) + 0.5));
    }
    double stepped(double v, double step, double count) const override
    {
        return at(double(nearestIndex(values_, v)) + count * std::round(step));
    }
    bool continuous() const override { return false; }
    double first() const override { return values_.front(); }
    double last() const override { return values_.back(); }

private:
    // The entry at a (possibly wild) index, clamped to the list.
    double at(double index) const
    {
        if (std::isnan(index))
            index = 0.0;
        index = std::clamp(index, 0.0, double(values_.size() - 1));
        return values_[size_t(index)];
    }
    std::vector<double> values_;
};

} // namespace

ValueScale::ValueScale(SliderMode mode, double minimum, double maximum,
                       std::vector<double> discrete)
    : min_(minimum), max_(maximum)
{
    if (!discrete.empty())
        transform_ = std::make_shared<ListTransform>(std::move(discrete));
    else if (mode == SliderMode::Logarithmic && maximum > minimum)
        transform_ = std::make_shared<LogarithmicTransform>(minimum, maximum);
    else
        transform_ = std::make_shared<LinearTransform>(minimum, maximum);
}

double ValueScale::ratio(double value) const
{
    if (!(std::abs(max_ - min_) >= kValueEpsilon))
        return 0.5;
    const double r = transform_->ratio(value);
    if (std::isnan(r))
        return 0.0;
    return std::clamp(r, 0.0, 1.0);
}

double ValueScale::valueAtOffset(double offset, double length, double gridStep) const
{
    if (!(length > 0.0))
        length = 1.0;
    double v = transform_->valueAt(offset / length);
    if (transform_->continuous())
        v = snapToGrid(v, gridStep);
    return clamp(v);
}

double ValueScale::stepped(double value, double step, double count) const
{
    if (std::isnan(step))
        return clamp(value);
    return clamp(transform_->stepped(value, step, count));
}

double clampToRange(double value, double minimum, double maximum)
{
    if (value >= maximum)
        return maximum;
    if (!(value > minimum))
        return minimum;
    return value;
}

double snapToGrid(double value, double step)
{
    step = std::abs(step);
    if (!(step >= kValueEpsilon) || !std::isfinite(step))
        return value;
    const double snapped = step * std::floor(value / step + 0.5);
    return std::isfinite(snapped) ? snapped : value;
}

size_t nearestIndex(const std::vector<double>& values, double value)
{
    // Every distance to an infinity is infinite: take the extreme entry on its side.
    if (std::isinf(value) && !values.empty()) {
        const auto it = value > 0 ? std::max_element(values.begin(), values.end())
                                  : std::min_element(values.begin(), values.end());
        return size_t(it - values.begin());
    }
    size_t best = 0;
    double bestDistance = INFINITY;
    for (size_t i = 0; i < values.size(); ++i) {
        const double d = std::abs(value - values[i]);
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

} // namespace vyr::values
