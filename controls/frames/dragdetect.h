#pragma once
// Telling a drag from a click after a mouse press on a hosted control: the drag starts once the
// mouse leaves a small square around the press point or once the press has been held longer
// than a delay; Escape or another press or release of the left or right button cancels it.
#include "platform/com/types.h"

namespace vyr::frames {

struct DragSettings {
    LONG minDistance = 2; // half-side of the no-drag square ("DragMinDist")
    LONG delayMs = 200;   // ("DragDelay")
};

class DragDetector {
public:
    enum class State { Waiting, Started, Cancelled };
    enum class Input {
        Move,              // mouse moved
        LeftOrRightButton, // left or right button pressed or released
        OtherButton,       // any other mouse button message
        Escape,            // Escape pressed
        Key,               // any other key message
        Tick,              // time passed without a message
        CaptureLost,
    };

    DragDetector(const DragSettings& settings, LONG x, LONG y, int64_t pressMs);

    // One message (or a tick) at cursor position (x, y) and time `nowMs`.
    State feed(Input input, LONG x, LONG y, int64_t nowMs);
    State state() const { return state_; }
    // When a waiting detector starts the drag if nothing else happens.
    int64_t deadlineMs() const { return pressMs_ + settings_.delayMs + 1; }

private:
    bool outside(LONG x, LONG y) const;

    DragSettings settings_;
    LONG x_, y_;
    int64_t pressMs_;
    State state_ = State::Waiting;
};

} // namespace vyr::frames
