#include "controls/values/spi_logic.h"

#include "controls/values/number_text.h"
#include "controls/values/value_scale.h"

#include <cmath>

namespace vyr::values {

using controls::kValueEpsilon;
using controls::valueDiffers;

namespace {

int centreOf(const PixelRect& r) { return (r.left + r.right) / 2; }

// A move counts when it is more than the value epsilon.
bool moved(double from, double to) { return std::fabs(to - from) > kValueEpsilon; }

} // namespace

// ---------------------------------------------------------------- reading

bool SpiSliderLogic::refresh(const SpiReading& r)
{
    const bool changed = !read_ || valueDiffers(min_, r.minimum) || valueDiffers(max_, r.maximum) ||
                         valueDiffers(lower_, r.lower) || valueDiffers(upper_, r.upper) ||
                         valueDiffers(step_, r.step) || bandColor_ != r.bandColor || enabled_ != r.enabled;
    min_ = r.minimum;
    max_ = r.maximum;
    lower_ = r.lower;
    upper_ = r.upper;
    step_ = r.step;
    bandColor_ = r.bandColor;
    enabled_ = r.enabled;
    if (!read_) {
        pressLower_ = lower_;
        pressUpper_ = upper_;
        read_ = true;
    }
    placeThumbs();
    return changed;
}

bool SpiSliderLogic::readFailed()
{
    const bool was = enabled_;
    enabled_ = false;
    return was;
}

// ---------------------------------------------------------------- geometry

void SpiSliderLogic::relayout(const PixelRect& client)
{
    client_ = client;
    geometry_ = layoutSpiFrame(client, props_.slotWidth);
    placeThumbs();
}

void SpiSliderLogic::placeThumbs() { placeSpiThumbs(geometry_, lower_, upper_, min_, max_); }

std::vector<SpiTick> SpiSliderLogic::ticks() const
{
    return planSpiTicks(geometry_, {props_.scaleSmall, props_.scaleMiddle, props_.scaleLarge}, min_, max_);
}

// ---------------------------------------------------------------- the band rules

double SpiSliderLogic::snap(double x) const
{
    // snapToGrid leaves x for steps below the epsilon, and so for a missing step (0).
    return snapToGrid(x, step_);
}

double SpiSliderLogic::tolerance() const { return 0.0001 * (props_.advancedMode ? 1.0 : step_); }

double SpiSliderLogic::keyStep() const
{
    // Without a step command there is no step: keys then move by 1, as in the advanced mode.
    return props_.advancedMode || !(std::fabs(step_) >= kValueEpsilon) ? 1.0 : step_;
}

void SpiSliderLogic::set(SpiThumb thumb, double v, SpiPort& port)
{
    if (std::isnan(v))
        return;
    const double t = tolerance();
    if (!(v < max_ - t))
        v = max_;
    else if (!(v > min_ + t))
        v = min_;
    if (thumb == SpiThumb::Upper && v < lower_) {
        if (v >= min_)
            set(SpiThumb::Lower, v, port);
        else
            v = upper_;
    } else if (thumb == SpiThumb::Lower && v > upper_) {
        if (v <= max_)
            set(SpiThumb::Upper, v, port);
        else
            v = upper_;
    }
    double& held = thumb == SpiThumb::Lower ? lower_ : upper_;
    if (v != held) {
        held = v;
        port.write(thumb, v);
    }
    placeThumbs();
}

void SpiSliderLogic::moveBand(double newLower, SpiPort& port)
{
    const double width = upper_ - lower_;
    newLower = std::max(newLower, min_);
    double newUpper = newLower + width;
    if (newUpper > max_) {
        newUpper = max_;
        newLower = max_ - width;
    }
    setBoth(newLower, newUpper, port);
}

void SpiSliderLogic::setBoth(double lower, double upper, SpiPort& port)
{
    // The leading thumb first: the other never pushes it, so the host never sees the band
    // collapsed on the way.
    if (upper >= upper_) {
        set(SpiThumb::Upper, upper, port);
        set(SpiThumb::Lower, lower, port);
    } else {
        set(SpiThumb::Lower, lower, port);
        set(SpiThumb::Upper, upper, port);
    }
}

// ---------------------------------------------------------------- input

SpiEffects SpiSliderLogic::act(const SpiAction& action, SpiPort& port)
{
    struct Visitor {
        SpiSliderLogic& s;
        SpiPort& port;
        SpiEffects operator()(const MousePress& a) { return s.onPress(a.at); }
        SpiEffects operator()(const MouseMove& a) { return s.onMove(a.at, port); }
        SpiEffects operator()(const MouseRelease&) { return s.onRelease(port); }
        SpiEffects operator()(const KeyStroke& a) { return s.onKey(a, port); }
        SpiEffects operator()(const FocusLoss&)
        {
            SpiEffects fx;
            if (s.press_ != SpiPress::None) {
                s.press_ = SpiPress::None;
                fx.capture = CaptureChange::Release;
                fx.repaint = true;
            }
            return fx;
        }
    };
    return std::visit(Visitor{*this, port}, action);
}

SpiEffects SpiSliderLogic::onPress(PixelPoint at)
{
    SpiEffects fx;
    const SpiGeometry& g = geometry_;
    if (!g.inner.contains(at))
        return fx;
    offsetLower_ = at.x - centreOf(g.lowerThumb);
    offsetUpper_ = at.x - centreOf(g.upperThumb);
    pressLower_ = lower_;
    pressUpper_ = upper_;
    if (g.lowerThumb.contains(at))
        press_ = SpiPress::Lower;
    else if (g.upperThumb.contains(at))
        press_ = SpiPress::Upper;
    else if (at.x >= g.lowerThumb.right && at.x < g.upperThumb.left)
        press_ = SpiPress::Band;
    else
        press_ = SpiPress::None;
    fx.capture = CaptureChange::Grab;
    fx.repaint = press_ != SpiPress::None;
    fx.cursor = cursorAt(at);
    return fx;
}

SpiEffects SpiSliderLogic::onMove(PixelPoint at, SpiPort& port)
{
    SpiEffects fx;
    if (press_ == SpiPress::None) {
        fx.cursor = cursorAt(at);
        return fx;
    }
    const bool free = props_.advancedMode != 0;
    const auto valueAt = [&](const Travel& travel, int centre) {
        const double raw = spiOffsetValue(travel, centre, min_, max_);
        return (free ? raw : snap(raw)) + min_;
    };
    if (press_ == SpiPress::Band) {
        const double newLower = std::max(valueAt(geometry_.lowerTravel, at.x - offsetLower_), min_);
        moveBand(newLower, port);
    } else {
        const SpiThumb thumb = press_ == SpiPress::Lower ? SpiThumb::Lower : SpiThumb::Upper;
        const int offset = thumb == SpiThumb::Lower ? offsetLower_ : offsetUpper_;
        const double v = std::clamp(valueAt(geometry_.travel(thumb), at.x - offset), min_, max_);
        if (moved(value(thumb), v))
            set(thumb, v, port);
    }
    fx.repaint = true;
    fx.tipsMoved = true;
    if (port.hasVeto())
        fx.cursor = port.allowed() ? cursorAt(at) : SpiCursor::NotAllowed;
    else
        fx.cursor = cursorAt(at);
    return fx;
}

SpiEffects SpiSliderLogic::onRelease(SpiPort& port)
{
    SpiEffects fx;
    fx.capture = CaptureChange::Release;
    const SpiPress was = press_;
    if (was == SpiPress::None)
        return fx;
    if (!props_.advancedMode) {
        if (port.hasVeto() && !port.allowed())
            setBoth(pressLower_, pressUpper_, port);
    } else if (was == SpiPress::Lower || was == SpiPress::Band) {
        // The band becomes a whole number of steps wide; the upper thumb follows.
        double u = lower_ + snap(upper_ - lower_);
        if (u > max_)
            u -= step_;
        if (moved(upper_, u))
            set(SpiThumb::Upper, u, port);
    } else {
        double l = upper_ - snap(upper_ - lower_);
        if (l < min_)
            l += step_;
        if (moved(lower_, l))
            set(SpiThumb::Lower, l, port);
    }
    press_ = SpiPress::None;
    fx.repaint = true;
    fx.tipsMoved = true;
    return fx;
}

SpiEffects SpiSliderLogic::onKey(const KeyStroke& key, SpiPort& port)
{
    SpiEffects fx;
    if (press_ != SpiPress::None)
        return fx;
    // Ctrl moves only the lower thumb, Shift only the upper one, neither the band.
    const bool band = !key.modifiers.ctrl && !key.modifiers.shift;
    const SpiThumb thumb = key.modifiers.ctrl ? SpiThumb::Lower : SpiThumb::Upper;
    const double beforeLower = lower_, beforeUpper = upper_;
    const double width = upper_ - lower_;
    double delta = 0;
    switch (key.key) {
    case ValueKey::PageUp:
    case ValueKey::Up:
    case ValueKey::Right: delta = keyStep(); break;
    case ValueKey::PageDown:
    case ValueKey::Left:
    case ValueKey::Down: delta = -keyStep(); break;
    case ValueKey::End:
        if (!band)
            set(thumb, max_, port);
        else
            moveBand(max_ - width, port);
        break;
    case ValueKey::Home:
        if (!band)
            set(thumb, min_, port);
        else
            moveBand(min_, port);
        break;
    }
    if (delta != 0) {
        if (!band)
            set(thumb, value(thumb) + delta, port);
        else
            moveBand(lower_ + delta, port);
    }
    if (port.hasVeto() && !port.allowed()) {
        setBoth(beforeLower, beforeUpper, port);
        fx.cursor = SpiCursor::NotAllowed;
    } else {
        fx.cursor = band ? SpiCursor::Resize : SpiCursor::Arrow;
    }
    fx.tipsMoved = true;
    fx.repaint = true;
    return fx;
}

// ---------------------------------------------------------------- cursor and tool tips

SpiCursor SpiSliderLogic::cursorAt(PixelPoint at) const
{
    if (press_ == SpiPress::Band)
        return SpiCursor::Resize;
    if (press_ == SpiPress::None && toolAt(at) == SpiTool::Band)
        return SpiCursor::Resize;
    return SpiCursor::Arrow;
}

std::optional<SpiTool> SpiSliderLogic::toolAt(PixelPoint at) const
{
    switch (press_) {
    case SpiPress::Lower: return SpiTool::Lower;
    case SpiPress::Upper: return SpiTool::Upper;
    case SpiPress::Band: return SpiTool::Band;
    case SpiPress::None: break;
    }
    for (SpiTool t : {SpiTool::Lower, SpiTool::Upper, SpiTool::Band})
        if (toolRect(t).contains(at))
            return t;
    return std::nullopt;
}

PixelRect SpiSliderLogic::toolRect(SpiTool tool) const
{
    if (press_ != SpiPress::None)
        return client_; // the whole client while dragging
    const SpiGeometry& g = geometry_;
    switch (tool) {
    case SpiTool::Lower: return g.lowerThumb;
    case SpiTool::Upper: return g.upperThumb;
    case SpiTool::Band: break;
    }
    return {g.lowerThumb.right, g.lowerThumb.top, g.upperThumb.left, g.upperThumb.bottom};
}

std::string SpiSliderLogic::toolText(SpiTool tool) const
{
    const long decimals = props_.toolTipPrecision;
    switch (tool) {
    case SpiTool::Lower: return formatFixed(lower_, decimals);
    case SpiTool::Upper: return formatFixed(upper_, decimals);
    case SpiTool::Band: break;
    }
    return formatFixed(lower_, decimals) + " ... " + formatFixed(upper_, decimals);
}

} // namespace vyr::values
