#include "controls/values/value_edit_logic.h"
#include "controls/core/valuechange.h"

#include "controls/values/number_text.h"
#include "controls/values/value_buttons.h"
#include "controls/values/value_scale.h"

#include <cmath>

namespace vyr::values {

namespace {

} // namespace

std::string formatEditValue(double v, double unitFactor, int32_t precision)
{
    std::string text = formatFixed(v * unitFactor, precision);
    if (precision > 0)
        return stripTrailingZeros(std::move(text));
    // Without decimals there are no zeros to strip, but a separator may still end the text.
    if (!text.empty() && (text.back() == '.' || text.back() == ','))
        text.pop_back();
    return text;
}

void ValueEditLogic::setValueButtonsText(std::string_view text)
{
    buttons_.clear();
    for (const ValueButton& b : parseValueButtons(text, RangeButtons::NumbersOnly))
        buttons_.push_back(b.number);
    buttonsText_ = joinShort(buttons_);
    pressedButton_ = -1;
    relayout(client_);
}

std::string ValueEditLogic::valueButtonLabel(size_t index) const
{
    return index < buttons_.size() ? formatButtonNumber(buttons_[index] * props_.unitFactor)
                                   : std::string();
}

void ValueEditLogic::relayout(const PixelRect& client)
{
    client_ = client;
    geometry_ = layoutValueEdit(client, props_.spinButtons, buttons_.size(), props_.valueButtonWidth);
}

ValueEffects ValueEditLogic::refresh(const CommandReading& reading)
{
    ValueEffects fx;
    // Range ends that are not finite numbers are not believed; the old ones stay.
    if (reading.minimum && std::isfinite(*reading.minimum)) {
        fx.repaint |= controls::valueDiffers(*reading.minimum, min_);
        min_ = *reading.minimum;
    }
    if (reading.maximum && std::isfinite(*reading.maximum)) {
        fx.repaint |= controls::valueDiffers(*reading.maximum, max_);
        max_ = *reading.maximum;
    }
    if (reading.value && !std::isnan(*reading.value) && controls::valueDiffers(*reading.value, value_)) {
        // Shown and stored, but not written back: a read must not turn into a write, or a
        // server that keeps an out-of-range value would be told again on every read.
        setValue(*reading.value, fx, false);
        fx.repaint = true;
    }
    if (reading.enabled && *reading.enabled != enabled_) {
        enabled_ = *reading.enabled;
        fx.relayout = fx.repaint = true;
    }
    if (reading.failed) {
        fx.relayout |= enabled_;
        enabled_ = false;
        fx.repaint = true;
    }
    return fx;
}

ValueEffects ValueEditLogic::act(const ValueAction& action)
{
    struct Visitor {
        ValueEditLogic& e;
        ValueEffects operator()(const MousePress& a) { return e.onPress(a.at); }
        ValueEffects operator()(const MouseMove&) { return {}; }
        ValueEffects operator()(const MouseRelease&) { return e.onRelease(); }
        ValueEffects operator()(const TimerTick& a) { return e.onTick(a.id); }
        ValueEffects operator()(const KeyStroke& a) { return e.onKey(a); }
        ValueEffects operator()(const FocusLoss&) { return e.onFocusLoss(); }
        ValueEffects operator()(const CommitText& a) { return e.onCommit(a.text); }
    };
    return std::visit(Visitor{*this}, action);
}

bool ValueEditLogic::setValue(double v, ValueEffects& fx, bool send)
{
    if (std::isnan(v))
        return false;
    v = clampToRange(v, min_, max_);
    fx.fieldText = formatEditValue(v, props_.unitFactor, props_.valuePrecision);
    if (v == value_)
        return false;
    value_ = v;
    if (send)
        fx.sentValue = v;
    return true;
}

void ValueEditLogic::changed(bool didChange, ValueEffects& fx)
{
    if (didChange)
        fx.events = {SliderEvent::Click, SliderEvent::Change};
}

ValueEffects ValueEditLogic::onPress(PixelPoint at)
{
    ValueEffects fx;
    if (press_ != ValueEditPress::None)
        return fx;
    const ValueEditHit hit = geometry_.hitTest(at);
    switch (hit.part) {
    case ValueEditPart::UpButton:
    case ValueEditPart::DownButton:
        press_ = hit.part == ValueEditPart::UpButton ? ValueEditPress::UpButton : ValueEditPress::DownButton;
        fx.timer = repeat_.start();
        break;
    case ValueEditPart::ValueButton:
        press_ = ValueEditPress::ValueButton;
        pressedButton_ = hit.button;
        break;
    case ValueEditPart::None:
        fx.focusEdit = true;
        return fx;
    }
    fx.capture = CaptureChange::Grab;
    fx.repaint = true;
    return fx;
}

ValueEffects ValueEditLogic::onRelease()
{
    ValueEffects fx;
    fx.timer = repeat_.stop();
    const ValueEditPress was = press_;
    if (was == ValueEditPress::None)
        return fx;
    press_ = ValueEditPress::None;
    fx.capture = CaptureChange::Release;
    fx.focusEdit = true;
    fx.repaint = true;
    switch (was) {
    case ValueEditPress::None:
        break;
    case ValueEditPress::ValueButton: {
        const int index = pressedButton_;
        pressedButton_ = -1;
        if (index >= 0 && size_t(index) < buttons_.size())
            changed(setValue(buttons_[size_t(index)], fx), fx);
        break;
    }
    case ValueEditPress::UpButton:
        changed(setValue(value_ + props_.step, fx), fx);
        break;
    case ValueEditPress::DownButton:
        changed(setValue(value_ - props_.step, fx), fx);
        break;
    }
    return fx;
}

ValueEffects ValueEditLogic::onTick(int id)
{
    ValueEffects fx;
    if (!repeat_.tick(id, fx.timer))
        return fx;
    if (press_ == ValueEditPress::UpButton)
        changed(setValue(value_ + props_.step, fx), fx);
    else if (press_ == ValueEditPress::DownButton)
        changed(setValue(value_ - props_.step, fx), fx);
    else
        fx.timer = repeat_.stop();
    return fx;
}

ValueEffects ValueEditLogic::onKey(const KeyStroke& key)
{
    ValueEffects fx;
    if (press_ != ValueEditPress::None)
        return fx;
    const double count = double(std::max(key.repeat, 1));
    switch (key.key) {
    case ValueKey::PageUp:
    case ValueKey::Up:
        changed(setValue(value_ + count * props_.step, fx), fx);
        break;
    case ValueKey::PageDown:
    case ValueKey::Down:
        changed(setValue(value_ - count * props_.step, fx), fx);
        break;
    case ValueKey::End:
        changed(setValue(max_, fx), fx);
        break;
    case ValueKey::Home:
        changed(setValue(min_, fx), fx);
        break;
    default:
        break;
    }
    return fx;
}

ValueEffects ValueEditLogic::onFocusLoss()
{
    ValueEffects fx;
    fx.timer = repeat_.stop();
    if (press_ != ValueEditPress::None)
        fx.capture = CaptureChange::Release;
    press_ = ValueEditPress::None;
    pressedButton_ = -1;
    fx.repaint = true;
    return fx;
}

ValueEffects ValueEditLogic::onCommit(const std::string& text)
{
    ValueEffects fx;
    const std::optional<double> typed = readNumber(text);
    if (!typed)
        return fx;
    // The field shows value × UnitFactor; a number typed there is meant the same way.
    const double f = props_.unitFactor;
    setValue(std::isfinite(f) && f != 0.0 ? *typed / f : *typed, fx);
    return fx;
}

} // namespace vyr::values
