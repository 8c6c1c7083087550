#include "controls/values/slider_logic.h"
#include "controls/core/valuechange.h"

#include "controls/values/number_text.h"

#include <cmath>

namespace vyr::values {

namespace {

// The smallest of the step magnitudes: the grid a dragged value snaps to.
double gridStep(const SliderProperties& p)
{
    double s = INFINITY;
    for (double step : {p.step, p.shiftStep, p.controlStep}) {
        if (std::abs(step) < s)
            s = std::abs(step);
    }
    return s;
}

} // namespace

SliderLogic::SliderLogic() : scale_(SliderMode::Normal, 1.0, 100.0, {})
{
    rescale();
}

void SliderLogic::rescale()
{
    scale_ = ValueScale(props_.mode, min_, max_, discrete_);
}

void SliderLogic::reparseDiscrete()
{
    discrete_ = props_.mode == SliderMode::List ? std::vector<double>{} : numberTokens(discreteText_);
    rescale();
}

void SliderLogic::modeChanged()
{
    reparseDiscrete();
    relayout(client_, textHeight_);
}

void SliderLogic::setDiscreteValuesText(std::string_view text)
{
    discreteText_ = joinShort(numberTokens(text));
    reparseDiscrete();
}

void SliderLogic::setValueButtonsText(std::string_view text)
{
    buttons_ = parseValueButtons(text, RangeButtons::Allowed);
    buttonsText_ = vyr::values::valueButtonsText(buttons_);
    pressedButton_ = -1;
    relayout(client_, textHeight_);
}

void SliderLogic::reparseUnits(std::string_view names, std::string_view factors)
{
    units_ = parseUnits(names, factors);
    unitNamesText_ = unitNamesText(units_);
    unitFactorsText_ = vyr::values::unitFactorsText(units_);
    if (selectedUnit_ >= int(units_.size()))
        selectedUnit_ = units_.empty() ? -1 : 0;
    relayout(client_, textHeight_);
}

void SliderLogic::setUnitStrings(std::string_view text)
{
    reparseUnits(text, std::string(unitFactorsText_));
}

void SliderLogic::setUnitFactors(std::string_view text)
{
    reparseUnits(std::string(unitNamesText_), text);
}

ValueEffects SliderLogic::refresh(const CommandReading& reading)
{
    ValueEffects fx;
    bool rangeChanged = false;
    // A range end that is not a finite number is not believed; the old one stays.
    if (props_.mode != SliderMode::List) {
        if (reading.minimum && std::isfinite(*reading.minimum) && controls::valueDiffers(*reading.minimum, min_)) {
            min_ = *reading.minimum;
            rangeChanged = true;
        }
        if (reading.maximum && std::isfinite(*reading.maximum) && controls::valueDiffers(*reading.maximum, max_)) {
            max_ = *reading.maximum;
            rangeChanged = true;
        }
    }
    if (reading.value && !std::isnan(*reading.value)) {
        // Infinities stand for "as far as it goes": the range end on their side.
        const double v = std::isinf(*reading.value) ? scale_.clamp(*reading.value) : *reading.value;
        if (controls::valueDiffers(v, value_)) {
            value_ = v;
            fx.repaint = true;
        }
    }
    if (reading.enabled && *reading.enabled != enabled_) {
        enabled_ = *reading.enabled;
        fx.relayout = fx.repaint = true;
    }
    if (props_.mode == SliderMode::List && reading.entries) {
        std::vector<double> entries;
        double lo = 0.0, hi = 100.0;
        for (double e : *reading.entries) {
            if (!std::isfinite(e))
                continue;
            entries.push_back(e);
            lo = std::min(lo, e);
            hi = std::max(hi, e);
        }
        if (entries != discrete_ || lo != min_ || hi != max_) {
            discrete_ = std::move(entries);
            min_ = lo;
            max_ = hi;
            rangeChanged = true;
        }
    }
    if (reading.failed && enabled_) {
        enabled_ = false;
        fx.relayout = true;
    }
    if (reading.failed || rangeChanged)
        fx.repaint = true;
    if (rangeChanged)
        rescale();
    return fx;
}

void SliderLogic::relayout(const PixelRect& client, int textHeight)
{
    client_ = client;
    textHeight_ = textHeight;
    SliderLayoutParams p;
    p.client = client;
    p.orientation = props_.orientation;
    p.arrowButtons = props_.arrowButtons;
    p.slotWidth = props_.slotWidth;
    p.valueDisplay = props_.valueDisplay;
    p.valueDisplayWidth = props_.valueDisplayWidth;
    p.unitDisplayWidth = props_.unitDisplayWidth;
    p.hasUnits = !units_.empty();
    p.valueButtonCount = buttons_.size();
    p.valueButtonWidth = props_.valueButtonWidth;
    p.valueButtonSide = props_.valueButtonSide;
    p.textHeight = textHeight;
    geometry_ = layoutSlider(p);
}

ValueEffects SliderLogic::act(const ValueAction& action)
{
    struct Visitor {
        SliderLogic& s;
        ValueEffects operator()(const MousePress& a) { return s.onPress(a.at); }
        ValueEffects operator()(const MouseMove& a) { return s.onMove(a.at); }
        ValueEffects operator()(const MouseRelease& a) { return s.onRelease(a.modifiers); }
        ValueEffects operator()(const TimerTick& a) { return s.onTick(a.id, a.modifiers); }
        ValueEffects operator()(const KeyStroke& a) { return s.onKey(a); }
        ValueEffects operator()(const FocusLoss&) { return s.onFocusLoss(); }
        ValueEffects operator()(const CommitText& a) { return s.onCommit(a.text); }
    };
    return std::visit(Visitor{*this}, action);
}

bool SliderLogic::setValue(double v, ValueEffects& fx)
{
    fx.repaint = true;
    if (std::isnan(v))
        return false;
    v = scale_.clamp(v);
    if (v == value_)
        return false;
    value_ = v;
    fx.sentValue = v;
    return true;
}

double SliderLogic::stepFor(KeyModifiers modifiers) const
{
    if (modifiers.ctrl)
        return props_.controlStep;
    return modifiers.shift ? props_.shiftStep : props_.step;
}

void SliderLogic::stepOnce(bool up, KeyModifiers modifiers, ValueEffects& fx)
{
    if (setValue(scale_.stepped(value_, stepFor(modifiers), up ? 1.0 : -1.0), fx)) {
        fx.events.push_back(SliderEvent::Click);
        fx.events.push_back(SliderEvent::Change);
    }
}

ValueEffects SliderLogic::onPress(PixelPoint at)
{
    ValueEffects fx;
    if (press_ != SliderPress::None)
        return fx;
    const SliderHit hit = geometry_.hitTest(at, ratio());
    switch (hit.part) {
    case SliderPart::None:
        return fx;
    case SliderPart::ValueButton:
        press_ = SliderPress::ValueButton;
        pressedButton_ = hit.button;
        break;
    case SliderPart::LowerArrow:
    case SliderPart::UpperArrow:
        press_ = hit.part == SliderPart::LowerArrow ? SliderPress::LowerArrow : SliderPress::UpperArrow;
        fx.timer = repeat_.start();
        break;
    case SliderPart::Thumb:
        press_ = SliderPress::Dragging;
        dragStart_ = at;
        break;
    case SliderPart::TrackBelow:
        press_ = SliderPress::TrackBelow;
        break;
    case SliderPart::TrackAbove:
        press_ = SliderPress::TrackAbove;
        break;
    }
    fx.capture = CaptureChange::Grab;
    fx.repaint = true;
    return fx;
}

ValueEffects SliderLogic::onMove(PixelPoint at)
{
    ValueEffects fx;
    if (press_ != SliderPress::Dragging)
        return fx;
    const double v = scale_.valueAtOffset(geometry_.slotOffset(at), geometry_.slotLength(),
                                          gridStep(props_));
    if (setValue(v, fx))
        fx.events.push_back(SliderEvent::Scroll);
    return fx;
}

ValueEffects SliderLogic::onRelease(KeyModifiers modifiers)
{
    ValueEffects fx;
    fx.timer = repeat_.stop();
    const SliderPress was = press_;
    if (was == SliderPress::None)
        return fx;
    fx.capture = CaptureChange::Release;
    fx.repaint = true;
    press_ = SliderPress::None;
    switch (was) {
    case SliderPress::None:
        break;
    case SliderPress::Dragging:
        fx.events = {SliderEvent::Click, SliderEvent::Change, SliderEvent::Scroll};
        break;
    case SliderPress::ValueButton: {
        const int index = pressedButton_;
        pressedButton_ = -1;
        if (index >= 0 && size_t(index) < buttons_.size()
            && setValue(valueButtonTarget(buttons_[size_t(index)], min_, max_), fx)) {
            fx.events = {SliderEvent::Click, SliderEvent::Change};
        }
        break;
    }
    case SliderPress::LowerArrow:
    case SliderPress::TrackBelow:
        stepOnce(false, modifiers, fx);
        break;
    case SliderPress::UpperArrow:
    case SliderPress::TrackAbove:
        stepOnce(true, modifiers, fx);
        break;
    }
    return fx;
}

ValueEffects SliderLogic::onTick(int id, KeyModifiers modifiers)
{
    ValueEffects fx;
    if (!repeat_.tick(id, fx.timer))
        return fx;
    switch (press_) {
    case SliderPress::LowerArrow:
    case SliderPress::TrackBelow:
        stepOnce(false, modifiers, fx);
        break;
    case SliderPress::UpperArrow:
    case SliderPress::TrackAbove:
        stepOnce(true, modifiers, fx);
        break;
    default:
        // Nothing is held any more: the timer has no business running.
        fx.timer = repeat_.stop();
        break;
    }
    return fx;
}

ValueEffects SliderLogic::onKey(const KeyStroke& key)
{
    ValueEffects fx;
    if (press_ != SliderPress::None)
        return fx;
    const double count = double(std::max(key.repeat, 1));
    // Vertical sliders have the minimum at the top, so Down moves towards the maximum.
    const double step = geometry_.axis.vertical() ? -stepFor(key.modifiers) : stepFor(key.modifiers);
    double target;
    switch (key.key) {
    case ValueKey::PageUp:
    case ValueKey::Up:
    case ValueKey::Right:
        target = scale_.stepped(value_, step, count);
        break;
    case ValueKey::PageDown:
    case ValueKey::Left:
    case ValueKey::Down:
        target = scale_.stepped(value_, step, -count);
        break;
    case ValueKey::End:
        target = scale_.last();
        break;
    case ValueKey::Home:
        target = scale_.first();
        break;
    default:
        return fx;
    }
    if (setValue(target, fx))
        fx.events = {SliderEvent::Click, SliderEvent::Change};
    return fx;
}

ValueEffects SliderLogic::onFocusLoss()
{
    ValueEffects fx;
    fx.timer = repeat_.stop();
    if (press_ != SliderPress::None)
        fx.capture = CaptureChange::Release;
    press_ = SliderPress::None;
    pressedButton_ = -1;
    fx.repaint = true;
    return fx;
}

ValueEffects SliderLogic::onCommit(const std::string& text)
{
    ValueEffects fx;
    const std::optional<double> typed = readNumber(text);
    if (!typed)
        return fx;
    // The field shows the value in the shown unit; what is typed there is meant in it too.
    const double f = shownFactor();
    setValue(std::isfinite(f) && f != 0.0 ? *typed / f : *typed, fx);
    return fx;
}

void SliderLogic::selectUnit(int index)
{
    selectedUnit_ = index >= 0 && size_t(index) < units_.size() ? index : -1;
}

size_t SliderLogic::shownUnit() const
{
    if (props_.unitSelectable && selectedUnit_ >= 0)
        return size_t(selectedUnit_);
    return automaticUnit(units_, value_);
}

double SliderLogic::shownFactor() const
{
    return units_.empty() ? 1.0 : units_[shownUnit()].factor;
}

std::string SliderLogic::valueText() const
{
    return formatFixed(value_ * shownFactor(), props_.valuePrecision);
}

std::string SliderLogic::valueButtonLabel(size_t index) const
{
    if (index >= buttons_.size())
        return {};
    return vyr::values::valueButtonLabel(buttons_[index], shownFactor());
}

} // namespace vyr::values
