#include "controls/values/auto_repeat.h"

namespace vyr::values {

TimerChange AutoRepeat::start()
{
    running_ = kFirstDelay;
    return {TimerChange::Kind::Start, kFirstDelay};
}

TimerChange AutoRepeat::stop()
{
    if (!running_)
        return {};
    const int was = running_;
    running_ = 0;
    return {TimerChange::Kind::Stop, was};
}

bool AutoRepeat::tick(int id, TimerChange& change)
{
    // A tick of a timer already replaced or stopped is stale.
    if (!running_ || id != running_)
        return false;
    if (running_ > kInterval) {
        running_ = kInterval;
        change = {TimerChange::Kind::Start, kInterval};
    }
    return true;
}

} // namespace vyr::values
