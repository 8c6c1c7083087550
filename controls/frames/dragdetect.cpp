#include "controls/frames/dragdetect.h"
#include <algorithm>
#include <cstdlib>

namespace vyr::frames {

DragDetector::DragDetector(const DragSettings& settings, LONG x, LONG y, int64_t pressMs)
    : settings_{std::max<LONG>(settings.minDistance, 0), std::max<LONG>(settings.delayMs, 0)}, x_(x), y_(y),
      pressMs_(pressMs)
{
}

bool DragDetector::outside(LONG x, LONG y) const
{
    return std::llabs(int64_t(x) - x_) > settings_.minDistance || std::llabs(int64_t(y) - y_) > settings_.minDistance;
}

DragDetector::State DragDetector::feed(Input input, LONG x, LONG y, int64_t nowMs)
{
    if (state_ != State::Waiting)
        return state_;
    switch (input) {
    case Input::Escape:
    case Input::LeftOrRightButton:
    case Input::CaptureLost:
        return state_ = State::Cancelled;
    case Input::Move:
    case Input::OtherButton:
    case Input::Key:
        if (outside(x, y))
            return state_ = State::Started;
        break;
    case Input::Tick:
        break;
    }
    if (nowMs - pressMs_ > settings_.delayMs)
        state_ = State::Started;
    return state_;
}

} // namespace vyr::frames
