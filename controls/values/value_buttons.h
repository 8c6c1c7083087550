#pragma once
// The `ValueButtons` property: a row of buttons that jump to fixed values.
#include <string>
#include <string_view>
#include <vector>

namespace vyr::values {

struct ValueButton {
    enum class Kind { Number = 0, Minimum = 1, Maximum = 2 };
    Kind kind = Kind::Number;
    double number = 0.0;
    friend bool operator==(const ValueButton&, const ValueButton&) = default;
};

// Whether "Min" and "Max" (any case) make buttons of the range ends. The Slider has them;
// the ValueEdit reads numbers only.
enum class RangeButtons { Allowed, NumbersOnly };

// Parses the property text: number tokens as numberTokens() reads them and, when allowed, a
// three-letter "Min"/"Max" at the current position. Unreadable tokens are dropped.
std::vector<ValueButton> parseValueButtons(std::string_view text, RangeButtons range);
// The text the property is rewritten to: "Min", "Max" or "%.6lg" per button, blank-joined.
std::string valueButtonsText(const std::vector<ValueButton>& buttons);
// A button's caption: "Min", "Max", or its number times the shown unit factor as "%.6lf"
// with trailing zeros stripped.
std::string valueButtonLabel(const ValueButton& button, double unitFactor);
// The value a press on the button sets, for the range [minimum, maximum].
double valueButtonTarget(const ValueButton& button, double minimum, double maximum);

} // namespace vyr::values
