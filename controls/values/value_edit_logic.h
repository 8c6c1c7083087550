#pragma once
// The ValueEdit without its window: properties, value and range, value buttons, geometry,
// text formatting and the press-state machine. Every user input goes through act().
#include "controls/values/auto_repeat.h"
#include "controls/values/command_reading.h"
#include "controls/values/value_actions.h"
#include "controls/values/value_edit_layout.h"

#include <string>
#include <string_view>
#include <vector>

namespace vyr::values {

struct ValueEditProperties {
    double step = 1.0;
    bool spinButtons = true;
    double unitFactor = 1.0;
    int32_t valuePrecision = 4;
    int32_t valueButtonWidth = 35;
};

enum class ValueEditPress { None = 0, UpButton = 1, DownButton = 2, ValueButton = 3 };

// v times the unit factor, "%.*lf" with the precision; with a positive precision trailing
// zeros go, then a trailing '.' or ','.
std::string formatEditValue(double v, double unitFactor, int32_t precision);

class ValueEditLogic {
public:
    ValueEditProperties& properties() { return props_; }
    const ValueEditProperties& properties() const { return props_; }

    // `ValueButtons`: numbers only; the text is kept rewritten.
    void setValueButtonsText(std::string_view text);
    const std::string& valueButtonsText() const { return buttonsText_; }
    const std::vector<double>& valueButtons() const { return buttons_; }
    std::string valueButtonLabel(size_t index) const;

    double value() const { return value_; }
    double minimum() const { return min_; }
    double maximum() const { return max_; }
    bool enabled() const { return enabled_; }
    // The edit field's text for the current value (after `ValuePrecision` changed, say).
    std::string text() const { return formatEditValue(value_, props_.unitFactor, props_.valuePrecision); }

    // Reads from the command server.
    ValueEffects refresh(const CommandReading& reading);

    void relayout(const PixelRect& client);
    const ValueEditGeometry& geometry() const { return geometry_; }

    ValueEffects act(const ValueAction& action);

    ValueEditPress press() const { return press_; }
    int pressedButton() const { return pressedButton_; }
    int timerInterval() const { return repeat_.running(); }

private:
    ValueEffects onPress(PixelPoint at);
    ValueEffects onRelease();
    ValueEffects onTick(int id);
    ValueEffects onKey(const KeyStroke& key);
    ValueEffects onFocusLoss();
    ValueEffects onCommit(const std::string& text);
    // Clamps and shows v; stores and sends it when it differs. True on a change.
    bool setValue(double v, ValueEffects& fx, bool send = true);
    void changed(bool didChange, ValueEffects& fx);

    ValueEditProperties props_;
    std::string buttonsText_;
    std::vector<double> buttons_;
    double value_ = 1.0;
    double min_ = 1.0;
    double max_ = 100.0;
    bool enabled_ = true;
    PixelRect client_;
    ValueEditGeometry geometry_;
    ValueEditPress press_ = ValueEditPress::None;
    int pressedButton_ = -1;
    AutoRepeat repeat_;
};

} // namespace vyr::values
