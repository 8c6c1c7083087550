#include "controls/values/value_window.h"

#include "controls/values/arrow_glyph.h"
#include "controls/values/auto_repeat.h"
#include "platform/gdi/devicepixels.h"
#include "platform/gdi/syscolors.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QVarLengthArray>

namespace vyr::values {

PixelPoint pointOf(const QMouseEvent* e)
{
    const QPoint p = e->position().toPoint();
    return {p.x(), p.y()};
}

KeyModifiers modifiersOf(Qt::KeyboardModifiers m)
{
    return {(m & Qt::ShiftModifier) != 0, (m & Qt::ControlModifier) != 0};
}

std::optional<ValueKey> valueKeyOf(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_PageUp: return ValueKey::PageUp;
    case Qt::Key_PageDown: return ValueKey::PageDown;
    case Qt::Key_Up: return ValueKey::Up;
    case Qt::Key_Down: return ValueKey::Down;
    case Qt::Key_Left: return ValueKey::Left;
    case Qt::Key_Right: return ValueKey::Right;
    case Qt::Key_Home: return ValueKey::Home;
    case Qt::Key_End: return ValueKey::End;
    default: return std::nullopt;
    }
}

int lineHeight(const QFont& font)
{
    // A blank's extent is as high as any text in the font: the font's height, without laying
    // out the blank.
    return QFontMetrics(font).height();
}

CommandReading readCommand(ICommandServer* server, LONG cookie, ReadPlan plan, LONG& visible)
{
    CommandReading r;
    visible = 1;
    double v = 0;
    if (plan.range) {
        if (FAILED(server->GetMinimum(cookie, &v))) {
            r.failed = true;
            return r;
        }
        r.minimum = v;
        if (FAILED(server->GetMaximum(cookie, &v))) {
            r.failed = true;
            return r;
        }
        r.maximum = v;
    }
    if (FAILED(server->GetValue(cookie, &v))) {
        r.failed = true;
        return r;
    }
    r.value = v;
    VARIANT_BOOL enabled = VARIANT_FALSE;
    if (FAILED(server->GetCommandEnabled(cookie, &enabled))) {
        r.failed = true;
        return r;
    }
    r.enabled = enabled != VARIANT_FALSE;
    LONG shown = 1;
    if (SUCCEEDED(server->GetCommandVisible(cookie, &shown)))
        visible = shown;
    if (!plan.entries)
        return r;
    LONG count = 0;
    if (FAILED(server->GetEntryCount(cookie, &count))) {
        r.failed = true;
        return r;
    }
    // A server's count is not trusted with memory: at most kMaxListEntries are read.
    const LONG n = std::clamp<LONG>(count, 0, LONG(kMaxListEntries));
    std::vector<double> entries;
    entries.reserve(size_t(n));
    for (LONG i = 0; i < n; ++i) {
        if (FAILED(server->GetEntryValue(cookie, i, &v))) {
            r.failed = true;
            return r;
        }
        entries.push_back(v);
    }
    r.entries = std::move(entries);
    return r;
}

void carryOut(controls::ControlBase& control, const ValueEffects& fx)
{
    if (fx.sentValue) {
        ICommandServer* server = control.server();
        if (server && control.command().registered())
            server->SetValue(control.command().cookie(), *fx.sentValue);
    }
    switch (fx.timer.kind) {
    case TimerChange::Kind::None:
        break;
    case TimerChange::Kind::Start:
        // The first delay's timer gives way to the repeat interval's.
        for (int id : {AutoRepeat::kFirstDelay, AutoRepeat::kInterval})
            control.killTimer(id);
        control.setTimer(fx.timer.interval);
        break;
    case TimerChange::Kind::Stop:
        control.killTimer(fx.timer.interval);
        break;
    }
    if (fx.capture == CaptureChange::Grab)
        control.captureMouse(true);
    else if (fx.capture == CaptureChange::Release)
        control.captureMouse(false);
    if (fx.repaint)
        control.invalidate();
}

void fireEvents(controls::ControlBase& control, const ValueEffects& fx)
{
    for (SliderEvent e : fx.events)
        control.fire(DISPID(e));
}

QColor arrowGlyphColor(bool enabled)
{
    return gdi::SysColor(enabled ? gdi::COLOR_BTNTEXT : gdi::COLOR_BTNHIGHLIGHT);
}

void drawGlyph(QPainter& painter, const PixelRect& button, const GlyphShape& shape, const QColor& color,
               QPoint offset)
{
    painter.save();
    {
        gdi::DevicePixels device(painter);
        const QPoint shift(device.dx(offset.x()), device.dy(offset.y()));
        painter.setPen(QPen(color, 1));
        painter.setRenderHint(QPainter::Antialiasing, false);
        // All lines in one call: the paint engine sets up the pen once.
        QVarLengthArray<QLine, 32> lines;
        for (const GlyphLine& l : shape(toPixelRect(device.map(toQRect(button)))))
            lines.append(QLine(QPoint(l.a.x, l.a.y) + shift, QPoint(l.b.x, l.b.y) + shift));
        painter.drawLines(lines.constData(), int(lines.size()));
    }
    painter.restore();
}

} // namespace vyr::values
