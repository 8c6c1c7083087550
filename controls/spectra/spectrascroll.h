#pragma once
// Scrolling the spectra window: the arrow buttons with auto-repeat, the keys and dragging the
// band. Every input goes through apply(); the window layer carries out the returned effect
// (repaint, write the centre, timers, mouse capture).
#include "controls/spectra/wavelengthmap.h"

namespace vyr::spectra {

// First auto-repeat delay and the repeat interval; a timer's identifier is its interval.
constexpr int kRepeatDelayMs = 200;
constexpr int kRepeatIntervalMs = 50;

enum class PressState { None = 0, RightButton = 1, LeftButton = 2, Dragging = 3 };

enum class ScrollKey { PageUp, Up, Right, PageDown, Left, Down, Home, End };

struct ScrollInput {
    enum Kind { PressLeftArrow, PressRightArrow, ReleaseArrow, Timer, Key, PressBand, MoveBand, ReleaseBand, LoseFocus };
    Kind kind;
    int value = 0; // the timer identifier, the ScrollKey, or the pointer x
};

struct ScrollEffect {
    bool moved = false;       // the centre changed: store `centre` and repaint
    double centre = 0;
    bool writeCentre = false; // send the centre to the command server
    int stopTimer = 0;        // identifier of a timer to stop, 0 for none
    int startTimer = 0;       // interval (and identifier) of a timer to start, 0 for none
    bool capture = false;
    bool releaseCapture = false;
};

class SpectraScroller {
public:
    void setStep(double step) { step_ = step; }
    double step() const { return step_; }
    // Without buttons nothing scrolls.
    void setWithButtons(bool on) { withButtons_ = on; }

    PressState state() const { return state_; }
    int timerInterval() const { return timer_; }

    // `map` holds the current centre, axis and width.
    ScrollEffect apply(const ScrollInput& input, const WavelengthMap& map);

private:
    ScrollEffect moveTo(double centre, const WavelengthMap& map, bool write) const;
    ScrollEffect stop();

    double step_ = 1.0;
    bool withButtons_ = true;
    PressState state_ = PressState::None;
    int timer_ = 0;         // running timer's interval, 0 when none runs
    int lastX_ = 0;         // pointer x while dragging
    double dragStart_ = 0;  // centre when the drag began
};

} // namespace vyr::spectra
