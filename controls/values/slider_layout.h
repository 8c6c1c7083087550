#pragma once
// The Slider's geometry: every rectangle painting and hit-testing need, computed once from
// the client rectangle, the layout properties and the font's line height.
#include "controls/values/pixel_geometry.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vyr::values {

enum class ValueDisplay : int16_t { None = 0, Left = 1, Right = 2 };
enum class SlotWidth : int16_t { Small = 0, Wide = 1 };
enum class ButtonSide : int16_t { Left = 0, Right = 1 };

struct SliderLayoutParams {
    PixelRect client;
    int16_t orientation = 0; // the raw property: values other than 0 and 1 lay out nothing
    bool arrowButtons = true;
    SlotWidth slotWidth = SlotWidth::Small;
    ValueDisplay valueDisplay = ValueDisplay::None;
    int32_t valueDisplayWidth = 35;
    int32_t unitDisplayWidth = 35;
    bool hasUnits = false;
    size_t valueButtonCount = 0;
    int32_t valueButtonWidth = 35;
    ButtonSide valueButtonSide = ButtonSide::Left;
    int textHeight = 13; // height of a blank in the control's font
};

// What a point of the control lies on.
enum class SliderPart { None, LowerArrow, UpperArrow, Thumb, TrackBelow, TrackAbove, ValueButton };

struct SliderHit {
    SliderPart part = SliderPart::None;
    int button = -1; // the value button's index for SliderPart::ValueButton
};

struct SliderGeometry {
    bool valid = false; // false for an unknown orientation: nothing is drawn or hit
    Axis axis;
    PixelRect inner;      // the client rectangle less 2, grown to the minimum size
    PixelRect area;       // the slider proper: arrows and track
    PixelRect lowerArrow; // left or top; empty without arrow buttons
    PixelRect upperArrow; // right or bottom
    PixelRect track;
    PixelRect slot;
    PixelRect valueField; // empty without a value display
    PixelRect unitField;  // empty without units or value display
    std::vector<PixelRect> valueButtons;

    // The thumb's centre along the axis for a relative position in [0, 1].
    int thumbCentre(double ratio) const;
    PixelRect thumb(double ratio) const;
    // The slot's length along the axis, the drag divisor (1 when the slot has none).
    int slotLength() const;
    // The pointer's offset from the slot's start along the axis.
    int slotOffset(PixelPoint p) const;
    SliderHit hitTest(PixelPoint p, double ratio) const;
    PixelRect editBox(int textHeight) const { return editBoxIn(valueField, textHeight); }
};

constexpr int kArrowButtonExtent = 16;
constexpr int kThumbExtent = 16;

SliderGeometry layoutSlider(const SliderLayoutParams& params);

} // namespace vyr::values
