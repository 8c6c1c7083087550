#include "controls/frames/popuprules.h"

namespace vyr::frames {

PopupPoint buttonCentre(const RECT& button)
{
    return {LONG((int64_t(button.left) + button.right) / 2), LONG((int64_t(button.top) + button.bottom) / 2)};
}

namespace {
// Positions far outside any screen are held at a bound, so that hostile property values cannot
// overflow the arithmetic.
constexpr int64_t kFar = int64_t(1) << 28;
int64_t bounded(int64_t v) { return v < -kFar ? -kFar : v > kFar ? kFar : v; }
} // namespace

RECT placePopup(const RECT& button, LONG left, LONG top, LONG width, LONG height, const RECT& desktop, PopupPoint& offset)
{
    const PopupPoint c = buttonCentre(button);
    int64_t l = bounded(int64_t(c.x) + left), t = bounded(int64_t(c.y) + top);
    const int64_t w = bounded(width < 0 ? 0 : width), h = bounded(height < 0 ? 0 : height);
    int64_t r = l + w, b = t + h;
    auto shift = [](int64_t& a, int64_t& z, int64_t by) { a += by, z += by; };
    if (b > desktop.bottom)
        shift(t, b, desktop.bottom - b);
    if (r > desktop.right)
        shift(l, r, desktop.right - r);
    if (t < desktop.top)
        shift(t, b, desktop.top - t);
    if (l < desktop.left)
        shift(l, r, desktop.left - l);
    offset = {LONG(l - c.x), LONG(t - c.y)};
    return {LONG(l), LONG(t), LONG(r), LONG(b)};
}

PopupMode popupModeFor(std::string_view platformName)
{
    // "wayland", "wayland-egl", "wayland-brcm" …
    return platformName.substr(0, 7) == "wayland" ? PopupMode::Overlay : PopupMode::OwnWindow;
}

bool liesIn(const WindowPoint& press, const WindowArea& area)
{
    return press.window && press.window == area.window && contains(area.rect, press.x, press.y);
}

bool pressCloses(LONG autoClose, const PopupPress& p)
{
    if (autoClose == LONG(AutoClose::PressInParent)) {
        if (!p.inWatched)
            return false;
    } else if (autoClose != LONG(AutoClose::PressAnywhere)) {
        return false;
    }
    if (p.onButton || !p.popupVisible || p.insidePopup || !p.locked)
        return false;
    // Unlocked, a press on a hosted control edits the layout.
    return *p.locked || !p.onHostedControl;
}

} // namespace vyr::frames
