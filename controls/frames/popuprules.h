#pragma once
// The PopupDialog's rules apart from its windows: where the popup goes relative to the button
// and the desktop, and which mouse presses close it.
#include "controls/frames/rectops.h"
#include <optional>
#include <string_view>

namespace vyr::frames {

struct PopupPoint {
    LONG x = 0, y = 0;
};

// The popup rectangle (screen coordinates) for a button whose window rectangle is `button`:
// (left, top) to (left + width, top + height) moved by the button's centre, then clamped to the
// desktop: bottom, right, top, left in that order. `offset` receives the resulting top-left
// relative to the button centre.
RECT placePopup(const RECT& button, LONG left, LONG top, LONG width, LONG height, const RECT& desktop, PopupPoint& offset);

// The button's centre: the integer halves of left + right and top + bottom.
PopupPoint buttonCentre(const RECT& button);

// How the popup is shown. Where the window system puts a window where the application asks
// (X11, the offscreen platform) it is a window of its own, owned by the button's window. Where
// it does not (Wayland: a client cannot place a top-level window, and a grabbing popup surface
// is dismissed by the compositor on any outside press) it is an overlay inside the button's
// top-level window, placed in that window's coordinates and clamped to it.
enum class PopupMode { OwnWindow, Overlay };
PopupMode popupModeFor(std::string_view platformName);

// A rectangle, or a press, in the coordinates of one top-level window (`window` names it).
// Positions are compared only within one window: under Wayland a window knows nothing of where
// the others lie, and "global" positions are window-relative.
struct WindowArea {
    const void* window = nullptr;
    RECT rect{};
};
struct WindowPoint {
    const void* window = nullptr;
    LONG x = 0, y = 0;
};
bool liesIn(const WindowPoint& press, const WindowArea& area);

// AutoClose values.
enum class AutoClose { Never = 0, PressInParent = 1, PressAnywhere = 2 };

// What is known about a left mouse press somewhere in the thread.
struct PopupPress {
    bool inWatched = false;    // in the client area of a watched window or one of its descendants
    bool onButton = false;     // on the PopupDialog's own button
    bool popupVisible = false;
    bool insidePopup = false;  // on the popup window or inside its rectangle
    std::optional<bool> locked; // the PopupDialog's lock state; empty when unknown
    bool onHostedControl = false; // the pressed window (or its parent) hosts a control
};

bool pressCloses(LONG autoClose, const PopupPress& press);

} // namespace vyr::frames
