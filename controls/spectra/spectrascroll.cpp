#include "controls/spectra/spectrascroll.h"
#include <cmath>

namespace vyr::spectra {

ScrollEffect SpectraScroller::moveTo(double centre, const WavelengthMap& map, bool write) const
{
    ScrollEffect e;
    e.centre = map.centre();
    if (!map.valid())
        return e;
    const double clamped = map.clampCentre(centre);
    if (clamped != map.centre()) {
        e.moved = true;
        e.centre = clamped;
        e.writeCentre = write;
    }
    return e;
}

ScrollEffect SpectraScroller::stop()
{
    ScrollEffect e;
    e.stopTimer = timer_;
    e.releaseCapture = state_ != PressState::None;
    timer_ = 0;
    state_ = PressState::None;
    return e;
}

ScrollEffect SpectraScroller::apply(const ScrollInput& input, const WavelengthMap& map)
{
    const bool step = std::isfinite(step_);
    const double c = map.centre();
    if (!withButtons_) {
        // Whatever was held when the buttons went away is let go; nothing scrolls.
        return state_ != PressState::None ? stop() : ScrollEffect{};
    }
    switch (input.kind) {
    case ScrollInput::PressLeftArrow:
    case ScrollInput::PressRightArrow: {
        ScrollEffect e;
        e.stopTimer = timer_;
        state_ = input.kind == ScrollInput::PressLeftArrow ? PressState::LeftButton : PressState::RightButton;
        timer_ = kRepeatDelayMs;
        e.startTimer = timer_;
        e.capture = true;
        e.centre = c;
        return e;
    }
    case ScrollInput::Timer: {
        if (input.value != timer_ || (state_ != PressState::LeftButton && state_ != PressState::RightButton))
            return {.centre = c};
        ScrollEffect restart;
        if (timer_ > kRepeatIntervalMs) {
            restart.stopTimer = timer_;
            restart.startTimer = timer_ = kRepeatIntervalMs;
        }
        const double delta = state_ == PressState::LeftButton ? -step_ : step_;
        ScrollEffect e = step ? moveTo(c + delta, map, true) : ScrollEffect{.centre = c};
        e.stopTimer = restart.stopTimer;
        e.startTimer = restart.startTimer;
        return e;
    }
    case ScrollInput::ReleaseArrow: {
        if (state_ != PressState::LeftButton && state_ != PressState::RightButton)
            return {.centre = c};
        const double delta = state_ == PressState::LeftButton ? -step_ : step_;
        const ScrollEffect s = stop();
        ScrollEffect e = step ? moveTo(c + delta, map, true) : ScrollEffect{.centre = c};
        e.stopTimer = s.stopTimer;
        e.releaseCapture = true;
        return e;
    }
    case ScrollInput::Key:
        switch (ScrollKey(input.value)) {
        case ScrollKey::PageUp:
        case ScrollKey::Up:
        case ScrollKey::Right:
            return step ? moveTo(c + step_, map, true) : ScrollEffect{.centre = c};
        case ScrollKey::PageDown:
        case ScrollKey::Left:
        case ScrollKey::Down:
            return step ? moveTo(c - step_, map, true) : ScrollEffect{.centre = c};
        case ScrollKey::Home:
            return moveTo(map.lo() + map.width() / 2, map, true);
        case ScrollKey::End:
            return moveTo(map.hi() - map.width() / 2, map, true);
        }
        return {.centre = c};
    case ScrollInput::PressBand: {
        ScrollEffect e;
        e.stopTimer = timer_;
        timer_ = 0;
        state_ = PressState::Dragging;
        lastX_ = input.value;
        dragStart_ = c;
        e.capture = true;
        e.centre = c;
        return e;
    }
    case ScrollInput::MoveBand: {
        if (state_ != PressState::Dragging || map.areaWidth() <= 0)
            return {.centre = c};
        const double shift = map.width() * (lastX_ - input.value) / map.areaWidth();
        lastX_ = input.value;
        return moveTo(c + shift, map, false);
    }
    case ScrollInput::ReleaseBand: {
        if (state_ != PressState::Dragging)
            return {.centre = c};
        ScrollEffect e = stop();
        e.centre = c;
        e.writeCentre = map.valid() && c != dragStart_;
        return e;
    }
    case ScrollInput::LoseFocus: {
        // A drag cut short still hands its centre to the server, which would otherwise keep
        // a centre the display no longer shows.
        const bool dragged = state_ == PressState::Dragging && map.valid() && c != dragStart_;
        ScrollEffect e = stop();
        e.centre = c;
        e.writeCentre = dragged;
        return e;
    }
    }
    return {.centre = c};
}

} // namespace vyr::spectra
