#pragma once
// Auto-repeat of a held button: a first step after 200 ms, then one every 80 ms. The timer's
// identifier is its interval, so a tick names the timer it comes from.
#include "controls/values/value_actions.h"

namespace vyr::values {

class AutoRepeat {
public:
    static constexpr int kFirstDelay = 200;
    static constexpr int kInterval = 80;

    // The running timer's interval (and identifier); 0 when stopped.
    int running() const { return running_; }
    TimerChange start();
    // Nothing to do when no timer runs.
    TimerChange stop();
    // Whether a tick comes from the running timer. After the first delay it switches the
    // timer to the repeat interval (into change).
    bool tick(int id, TimerChange& change);

private:
    int running_ = 0;
};

} // namespace vyr::values
