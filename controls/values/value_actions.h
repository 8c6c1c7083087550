#pragma once
// What the window layer feeds the value controls' logic (one action per input) and what the
// logic asks of it in return (events to fire, a value to send, timer, capture, repaint).
#include "controls/values/pixel_geometry.h"

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace vyr::values {

// The `_DSlider` events, valued by their dispatch identifiers.
enum class SliderEvent : int32_t { Click = -600, KeyPress = -603, Scroll = 1, Change = 2 };

enum class ValueKey { PageUp, PageDown, Up, Down, Left, Right, Home, End };

struct KeyModifiers {
    bool shift = false;
    bool ctrl = false;
};

struct MousePress {
    PixelPoint at;
};
struct MouseMove {
    PixelPoint at;
};
struct MouseRelease {
    KeyModifiers modifiers = {};
};
// A tick of the repeat timer; the identifier is the interval it was started with.
struct TimerTick {
    int id = 0;
    KeyModifiers modifiers = {};
};
struct KeyStroke {
    ValueKey key = ValueKey::Up;
    int repeat = 1; // the key's repeat count
    KeyModifiers modifiers = {};
};
struct FocusLoss {};
// Return in, or focus leaving, the value's edit field after the user changed its text.
struct CommitText {
    std::string text;
};

using ValueAction =
    std::variant<MousePress, MouseMove, MouseRelease, TimerTick, KeyStroke, FocusLoss, CommitText>;

// The timer identifier equals its interval: Start replaces any running timer with one of
// this interval; Stop ends the running one.
struct TimerChange {
    enum class Kind { None, Start, Stop };
    Kind kind = Kind::None;
    int interval = 0;
};

enum class CaptureChange { None, Grab, Release };

struct ValueEffects {
    std::vector<SliderEvent> events;  // to fire, in this order
    std::optional<double> sentValue;  // the new value, for the command server's SetValue
    TimerChange timer;
    CaptureChange capture = CaptureChange::None;
    bool repaint = false;
    bool relayout = false;            // child fields need placing or enabling again
    bool focusEdit = false;           // give the focus to the edit field
    std::optional<std::string> fieldText; // new edit-field text, all selected, not modified
};

} // namespace vyr::values
