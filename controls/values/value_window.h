#pragma once
// What the Slider and the ValueEdit share in their window layer: turning Qt input into the
// logic's actions, reading their command from the server, and carrying out the effects the
// logic returns.
#include "controls/core/control.h"
#include "controls/values/command_reading.h"
#include "controls/values/value_actions.h"

#include <QColor>
#include <QFont>
#include <QRect>
#include <functional>
#include <optional>
#include <vector>

class QKeyEvent;
class QMouseEvent;
class QPainter;

namespace vyr::values {

struct GlyphLine;

inline QRect toQRect(const PixelRect& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }
inline PixelRect toPixelRect(const QRect& r) { return {r.left(), r.top(), r.right() + 1, r.bottom() + 1}; }
PixelPoint pointOf(const QMouseEvent* e);
KeyModifiers modifiersOf(Qt::KeyboardModifiers m);
// The value key a Qt key stands for; nothing for other keys.
std::optional<ValueKey> valueKeyOf(int qtKey);
// The height of a blank in the font: one text line.
int lineHeight(const QFont& font);

// What to read besides value and enabled flag.
struct ReadPlan {
    bool range = true;    // minimum and maximum
    bool entries = false; // the list entries' numbers
};
// Reads the command in the order minimum, maximum, value, enabled, visible, entries; the
// first failing read ends the reading. `visible` stays 1 when its read fails.
CommandReading readCommand(ICommandServer* server, LONG cookie, ReadPlan plan, LONG& visible);

// Sends a changed value to the command server at once (when one is bound), switches the
// repeat timer, releases the capture and requests a repaint, as `fx` asks.
void carryOut(controls::ControlBase& control, const ValueEffects& fx);
// Fires the events of `fx` in order.
void fireEvents(controls::ControlBase& control, const ValueEffects& fx);

// The glyph colour on an arrow button: the button text colour while enabled, the button
// highlight otherwise (black and white in the classic scheme), so a dark theme keeps them
// visible on its faces.
QColor arrowGlyphColor(bool enabled);
// Draws the glyph `shape` makes for `button` in one colour, shifted by `offset` logical pixels
// (pressed buttons). The shape is made for the button's device rectangle and drawn in device
// pixels, so on a high-DPI target the triangle has device-pixel steps instead of logical ones
// blown up; at ratio 1 this is the logical glyph.
using GlyphShape = std::function<std::vector<GlyphLine>(const PixelRect&)>;
void drawGlyph(QPainter& painter, const PixelRect& button, const GlyphShape& shape, const QColor& color,
               QPoint offset = {});

} // namespace vyr::values
