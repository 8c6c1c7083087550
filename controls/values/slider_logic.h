#pragma once
// The Slider without its window: properties, value and range, list properties, geometry and
// the press-state machine. Every user input goes through act(); what the window must do in
// answer comes back as ValueEffects.
#include "controls/values/command_reading.h"
#include "controls/values/slider_layout.h"
#include "controls/values/unit_list.h"
#include "controls/values/value_actions.h"
#include "controls/values/auto_repeat.h"
#include "controls/values/value_buttons.h"
#include "controls/values/value_scale.h"

#include <string>
#include <vector>

namespace vyr::values {

// The plain properties; the control's property table reads and writes them here.
struct SliderProperties {
    int16_t orientation = 0;
    double step = 1.0;
    double shiftStep = 1.0;
    double controlStep = 1.0;
    bool arrowButtons = true;
    SlotWidth slotWidth = SlotWidth::Small;
    ValueDisplay valueDisplay = ValueDisplay::None;
    int32_t valueDisplayWidth = 35;
    bool valueEditable = true;
    int32_t valuePrecision = 4;
    int32_t unitDisplayWidth = 35;
    bool unitSelectable = false;
    ButtonSide valueButtonSide = ButtonSide::Left;
    int32_t valueButtonWidth = 35;
    SliderMode mode = SliderMode::Normal;
};

enum class SliderPress {
    None = 0,
    Dragging = 1,
    LowerArrow = 2,
    UpperArrow = 3,
    TrackBelow = 4,
    TrackAbove = 5,
    ValueButton = 6,
};

class SliderLogic {
public:
    SliderLogic();

    // Plain properties. After changing ones that affect layout or the mapping, call
    // relayout() or propertiesChanged() respectively.
    SliderProperties& properties() { return props_; }
    const SliderProperties& properties() const { return props_; }
    // Rebuilds the mapping after `SliderMode` changed: List mode empties the discrete values
    // (the command server refills them), the others take them from `DiscreteValues` again.
    void modeChanged();

    // List properties; each setter parses the text and keeps it rewritten.
    void setDiscreteValuesText(std::string_view text);
    const std::string& discreteValuesText() const { return discreteText_; }
    void setValueButtonsText(std::string_view text);
    const std::string& valueButtonsText() const { return buttonsText_; }
    void setUnitStrings(std::string_view text);
    void setUnitFactors(std::string_view text);
    const std::string& unitStringsText() const { return unitNamesText_; }
    const std::string& unitFactorsText() const { return unitFactorsText_; }

    const std::vector<double>& discreteValues() const { return discrete_; }
    const std::vector<ValueButton>& valueButtons() const { return buttons_; }
    const std::vector<Unit>& units() const { return units_; }

    // Value state; 1, 1 and 100 until a command server supplies them.
    double value() const { return value_; }
    double minimum() const { return min_; }
    double maximum() const { return max_; }
    bool enabled() const { return enabled_; }
    const ValueScale& scale() const { return scale_; }
    // Reads from the command server (registration or change notification).
    ValueEffects refresh(const CommandReading& reading);

    // Geometry for the client rectangle and the font's line height.
    void relayout(const PixelRect& client, int textHeight);
    const SliderGeometry& geometry() const { return geometry_; }
    double ratio() const { return scale_.ratio(value_); }
    PixelRect thumb() const { return geometry_.thumb(ratio()); }

    // Every user input.
    ValueEffects act(const ValueAction& action);

    SliderPress press() const { return press_; }
    int pressedButton() const { return pressedButton_; }
    int timerInterval() const { return repeat_.running(); }

    // Display: the unit shown (the user's pick when selectable, else the automatic one),
    // the value field's text and the value buttons' captions.
    void selectUnit(int index);
    int selectedUnit() const { return selectedUnit_; }
    size_t shownUnit() const;
    double shownFactor() const;
    std::string valueText() const;
    std::string valueButtonLabel(size_t index) const;
    // The step for the modifiers held: Ctrl wins over Shift.
    double stepFor(KeyModifiers modifiers) const;

private:
    ValueEffects onPress(PixelPoint at);
    ValueEffects onMove(PixelPoint at);
    ValueEffects onRelease(KeyModifiers modifiers);
    ValueEffects onTick(int id, KeyModifiers modifiers);
    ValueEffects onKey(const KeyStroke& key);
    ValueEffects onFocusLoss();
    ValueEffects onCommit(const std::string& text);
    // Clamps and stores a user's value, sending it on; false when it did not change.
    bool setValue(double v, ValueEffects& fx);
    void stepOnce(bool up, KeyModifiers modifiers, ValueEffects& fx);
    void rescale();
    void reparseDiscrete();
    void reparseUnits(std::string_view names, std::string_view factors);

    SliderProperties props_;
    std::string discreteText_;
    std::string buttonsText_;
    std::string unitNamesText_;
    std::string unitFactorsText_;
    std::vector<double> discrete_;
    std::vector<ValueButton> buttons_;
    std::vector<Unit> units_;
    int selectedUnit_ = -1;

    double value_ = 1.0;
    double min_ = 1.0;
    double max_ = 100.0;
    bool enabled_ = true;
    ValueScale scale_;

    PixelRect client_;
    int textHeight_ = 13;
    SliderGeometry geometry_;

    SliderPress press_ = SliderPress::None;
    int pressedButton_ = -1;
    PixelPoint dragStart_;
    AutoRepeat repeat_;
};

} // namespace vyr::values
