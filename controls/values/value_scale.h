#pragma once
// The mapping between a slider's value and its relative position along the track, as a small
// value object with a pluggable transform: linear, logarithmic or a list of discrete values.
// Whatever the inputs (equal ends, NaN, infinities), a relative position is finite and lies
// in [0, 1], so pixel positions computed from it are always defined.
#include "controls/core/valuechange.h"
#include <cstdint>
#include <memory>
#include <vector>

namespace vyr::values {

enum class SliderMode : int16_t { Normal = 0, Logarithmic = 1, List = 2 };

// Range ends closer than this count as equal (the same distance under which a value read
// again counts as unchanged).
using controls::kValueEpsilon;

// A value at or above maximum becomes maximum; one not above minimum (NaN included)
// becomes minimum.
double clampToRange(double value, double minimum, double maximum);

// One transform of the mapping. Positions are relative: 0 is the slot's start, 1 its end.
class ScaleTransform {
public:
    virtual ~ScaleTransform() = default;
    // The relative position of value; may be outside [0, 1] or NaN for wild inputs, which
    // ValueScale cleans up.
    virtual double ratio(double value) const = 0;
    // The value at a relative position (outside [0, 1] while dragging beyond the ends).
    virtual double valueAt(double ratio) const = 0;
    // The value moved by count steps of step: by value for continuous scales, by index
    // (step rounded half away from zero) for lists.
    virtual double stepped(double value, double step, double count) const = 0;
    // Whether a dragged value is rounded to the step grid (continuous scales only).
    virtual bool continuous() const = 0;
    // The targets of Home and End.
    virtual double first() const = 0;
    virtual double last() const = 0;
};

class ValueScale {
public:
    // Picks the transform: a list when discrete values exist, logarithmic in that mode when
    // maximum > minimum, linear otherwise.
    ValueScale(SliderMode mode, double minimum, double maximum, std::vector<double> discrete);

    double minimum() const { return min_; }
    double maximum() const { return max_; }

    // Relative position of value, finite and in [0, 1]; 0.5 when the ends are equal.
    double ratio(double value) const;
    // The value for a pointer at offset along a slot of the given length, rounded to the
    // step grid gridStep on continuous scales, then clamped.
    double valueAtOffset(double offset, double length, double gridStep) const;
    // The clamped value moved by count steps.
    double stepped(double value, double step, double count) const;
    double first() const { return clamp(transform_->first()); }
    double last() const { return clamp(transform_->last()); }

    double clamp(double value) const { return clampToRange(value, min_, max_); }

private:
    double min_;
    double max_;
    std::shared_ptr<const ScaleTransform> transform_;
};

// Rounds value to the nearest multiple of step (half up). Steps below kValueEpsilon or not
// finite leave the value as it is.
double snapToGrid(double value, double step);
// The index of the entry nearest to value; the first one wins ties. 0 for NaN.
size_t nearestIndex(const std::vector<double>& values, double value);

} // namespace vyr::values
