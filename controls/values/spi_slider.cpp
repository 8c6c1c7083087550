#include "controls/values/spi_slider.h"

#include "controls/core/properties.h"
#include "controls/values/value_window.h"
#include "platform/gdi/edge.h"
#include "platform/gdi/fill.h"
#include "platform/gdi/invert.h"
#include "platform/gdi/syscolors.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWidget>

namespace vyr::controls {

using com::Variant;
using values::SpiThumb;

namespace {

SpiSlider& self(ControlBase& b) { return static_cast<SpiSlider&>(b); }

const EnumNames& noYesNames()
{
    static const EnumNames names{{"no", "yes"}, VT_I4, {}, nullptr, {"eNo", "eYes"}};
    return names;
}
const EnumNames& slotWidthNames()
{
    static const EnumNames names{{"Small", "Wide"}, VT_I2, {}, "SlotWidth", {"eSlotSmall", "eSlotWide"}};
    return names;
}

// A further command name: string puts always apply and register all commands again.
PropertyDesc commandRow(DISPID id, const char* name, CommandBinding SpiSlider::*binding)
{
    PropertyDesc p{id, name, PropType::Command, nullptr, nullptr, nullptr};
    p.get = [binding](ControlBase& b) { return Variant::fromString((self(b).*binding).text()); };
    p.put = [binding, id](ControlBase& b, const VARIANT& v, PutKind) {
        SpiSlider& c = self(b);
        (c.*binding).setText(com::utf8(v.bstrVal));
        c.reregister();
        c.changed(id);
        return S_OK;
    };
    return p;
}

void relayoutAfter(SpiSlider& s) { s.relayout(); }
void toolTipAfter(SpiSlider& s) { s.toolTipChanged(); }

Qt::CursorShape shapeOf(values::SpiCursor c)
{
    switch (c) {
    case values::SpiCursor::Resize: return Qt::SizeHorCursor;
    case values::SpiCursor::NotAllowed: return Qt::ForbiddenCursor;
    case values::SpiCursor::Arrow: break;
    }
    return Qt::ArrowCursor;
}

} // namespace

// The five commands as the logic sees them.
class SpiSlider::Port final : public values::SpiPort {
public:
    explicit Port(SpiSlider& s) : s_(s) {}
    void write(SpiThumb thumb, double value) override
    {
        ICommandServer* server = s_.server();
        // Values go out only while both value commands are bound.
        if (!server || !s_.command().registered() || !s_.rightCommand.registered())
            return;
        server->SetValue((thumb == SpiThumb::Lower ? s_.command() : s_.rightCommand).cookie(), value);
    }
    bool hasVeto() const override { return s_.server() && s_.allowedCommand.registered(); }
    bool allowed() override
    {
        LONG index = 1;
        // A query that fails does not hold the user back.
        if (FAILED(s_.server()->GetIndex(s_.allowedCommand.cookie(), &index)))
            return true;
        return index != 0;
    }

private:
    SpiSlider& s_;
};

SpiSlider::SpiSlider() : ControlBase(classDescriptor())
{
    // Without a command server the values are the control's own, so it starts usable.
    enabled_ = 1;
    addBinding(rightCommand);
    addBinding(allowedCommand);
    addBinding(colorCommand);
    addBinding(stepCommand);
}

const std::vector<MapEntry>& SpiSlider::propertyMap()
{
    // Colours are edited on the stock colour page; the others have no page of their own.
    static const std::vector<MapEntry> map{
        {"CommandLeft", 83, GUID_NULL},          {"CommandRight", 84, GUID_NULL},
        {"CommandAllowed", 85, GUID_NULL},       {"CommandColor", 86, GUID_NULL},
        {"CommandStepSize", 102, GUID_NULL},     {"BackColor", DISPID_BACKCOLOR, CLSID_ColorPpg},
        {"ScaleSmall", 89, GUID_NULL},           {"ScaleMiddle", 88, GUID_NULL},
        {"ScaleLarge", 87, GUID_NULL},           {"AdvancedMode", 103, GUID_NULL},
        {"SliderSlotWidth", 49, GUID_NULL},      {"ScaleColor", 91, CLSID_ColorPpg},
        {"ToolTip", 98, GUID_NULL},              {"ToolTipPrecision", 99, GUID_NULL},
    };
    return map;
}

const ClassDescriptor& SpiSlider::classDescriptor()
{
    using C = SpiSlider;
    static const ClassDescriptor d{
        CLSID_SpiSlider,
        IID_ISpiSlider,
        GUID_NULL,
        {
            props::command(83, "CommandLeft"),
            commandRow(84, "CommandRight", &C::rightCommand),
            commandRow(85, "CommandAllowed", &C::allowedCommand),
            commandRow(86, "CommandColor", &C::colorCommand),
            commandRow(102, "CommandStepSize", &C::stepCommand),
            props::colorField<C>(DISPID_BACKCOLOR, "BackColor", [](C& c) -> OLE_COLOR& { return c.backColor; }),
            props::shortField<C>(89, "ScaleSmall", [](C& c) -> int& { return c.logic.properties().scaleSmall; }),
            props::shortField<C>(88, "ScaleMiddle", [](C& c) -> int& { return c.logic.properties().scaleMiddle; }),
            props::shortField<C>(87, "ScaleLarge", [](C& c) -> int& { return c.logic.properties().scaleLarge; }),
            props::longField<C>(103, "AdvancedMode",
                [](C& c) -> int32_t& { return c.logic.properties().advancedMode; }, &noYesNames()),
            props::shortField<C, values::SlotWidth>(49, "SliderSlotWidth",
                [](C& c) -> values::SlotWidth& { return c.logic.properties().slotWidth; }, &slotWidthNames(),
                relayoutAfter),
            props::colorField<C>(91, "ScaleColor", [](C& c) -> OLE_COLOR& { return c.scaleColor; }),
            props::longField<C>(98, "ToolTip", [](C& c) -> int32_t& { return c.logic.properties().toolTip; },
                &noYesNames(), toolTipAfter),
            props::shortField<C>(99, "ToolTipPrecision",
                [](C& c) -> int& { return c.logic.properties().toolTipPrecision; }),
        },
        {},
        [] {
            std::vector<DISPID> order;
            for (const MapEntry& e : propertyMap())
                order.push_back(e.id);
            return order;
        }(),
        {},
        {},
        propertyMap(),
    };
    return d;
}

// ---------------------------------------------------------------- command server

bool SpiSlider::readServer()
{
    ICommandServer* s = server();
    const LONG left = command().cookie();
    values::SpiReading r;
    VARIANT_BOOL enabled = VARIANT_FALSE;
    if (FAILED(s->GetMinimum(left, &r.minimum)) || FAILED(s->GetMaximum(left, &r.maximum)) ||
        FAILED(s->GetValue(left, &r.lower)) || FAILED(s->GetValue(rightCommand.cookie(), &r.upper)) ||
        FAILED(s->GetCommandEnabled(left, &enabled)))
        return false;
    r.enabled = enabled != VARIANT_FALSE;
    LONG visible = 1;
    if (FAILED(s->GetCommandVisible(left, &visible)))
        visible = 1;
    if (colorCommand.registered()) {
        OLE_COLOR color = 0;
        if (FAILED(s->GetColor(colorCommand.cookie(), &color)))
            return false;
        r.bandColor = color;
    }
    if (stepCommand.registered() && FAILED(s->GetValue(stepCommand.cookie(), &r.step)))
        return false;
    if (logic.refresh(r))
        invalidate();
    enabled_ = logic.enabled() ? 1 : 0;
    applyShowState((visible & 0xFFFF) != 0);
    return true;
}

void SpiSlider::refreshFromServer()
{
    ICommandServer* s = server();
    if (s && command().registered() && rightCommand.registered()) {
        if (!readServer() && logic.readFailed()) {
            enabled_ = 0;
            invalidate();
        }
        return;
    }
    // Not bound: the values stay the control's own and can be changed.
    enabled_ = 1;
    applyShowState(true);
}

// ---------------------------------------------------------------- input

void SpiSlider::act(const values::SpiAction& action, QPoint at)
{
    Port port(*this);
    const values::SpiEffects fx = logic.act(action, port);
    if (fx.capture == values::CaptureChange::Grab)
        captureMouse(true);
    else if (fx.capture == values::CaptureChange::Release)
        captureMouse(false);
    if (fx.cursor && window())
        window()->setCursor(shapeOf(*fx.cursor));
    if (fx.tipsMoved && logic.press() != values::SpiPress::None)
        showTip(at); // the tip follows the pointer while dragging
    if (fx.repaint)
        invalidate();
}

void SpiSlider::onMousePress(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton)
        return;
    takeFocus();
    act(values::MousePress{values::pointOf(e)}, e->position().toPoint());
}

void SpiSlider::onMouseMove(QMouseEvent* e)
{
    act(values::MouseMove{values::pointOf(e)}, e->position().toPoint());
    // Tips show in an inactive window too, where the application sends no tool-tip events:
    // the control times the pointer's rest itself.
    QWidget* w = window();
    if (w && logic.properties().toolTip && e->buttons() == Qt::NoButton && !w->isActiveWindow()) {
        tipAt_ = e->position().toPoint();
        killTimer(kTipDelayMs);
        setTimer(kTipDelayMs);
    }
}

void SpiSlider::onTimer(int id)
{
    if (id != kTipDelayMs)
        return;
    killTimer(kTipDelayMs);
    if (window() && logic.press() == values::SpiPress::None)
        showTip(tipAt_);
}

void SpiSlider::onMouseRelease(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton)
        act(values::MouseRelease{values::modifiersOf(e->modifiers())}, e->position().toPoint());
}

bool SpiSlider::onKeyPress(QKeyEvent* e)
{
    const auto key = values::valueKeyOf(e->key());
    if (!key)
        return false;
    act(values::KeyStroke{*key, e->count(), values::modifiersOf(e->modifiers())}, {});
    updateTip();
    return true;
}

void SpiSlider::onFocusOut()
{
    act(values::FocusLoss{}, {});
    ControlBase::onFocusOut();
}

// ---------------------------------------------------------------- accessibility

void SpiSlider::describe(AccessFacts& facts) const
{
    ControlBase::describe(facts);
    const double lower = logic.value(values::SpiThumb::Lower), upper = logic.value(values::SpiThumb::Upper);
    facts.value = AccessValue{lower, logic.minimum(), logic.maximum(), logic.step() > 0 ? logic.step() : 1.0};
    facts.description = QStringLiteral("%1 - %2").arg(lower).arg(upper);
    facts.enabled = logic.enabled();
    facts.actions = {AccessAction::Increase, AccessAction::Decrease};
}

// Increase and decrease move the band as the arrow keys do.
bool SpiSlider::accessibleAction(AccessAction action)
{
    if ((action != AccessAction::Increase && action != AccessAction::Decrease) || !isRunMode())
        return false;
    act(values::KeyStroke{action == AccessAction::Increase ? values::ValueKey::Up : values::ValueKey::Down, 1, {}},
        {});
    return true;
}

// ---------------------------------------------------------------- tool tips

void SpiSlider::toolTipChanged()
{
    if (!logic.properties().toolTip && QToolTip::isVisible())
        QToolTip::hideText();
}

void SpiSlider::showTip(QPoint at)
{
    QWidget* w = window();
    if (!w || !logic.properties().toolTip || !isRunMode())
        return;
    const auto tool = logic.toolAt({at.x(), at.y()});
    tipTool_ = tool;
    tipAt_ = at;
    if (!tool) {
        QToolTip::hideText();
        return;
    }
    QToolTip::showText(w->mapToGlobal(at), QString::fromStdString(logic.toolText(*tool)), w,
                       values::toQRect(logic.toolRect(*tool)));
}

void SpiSlider::updateTip()
{
    QWidget* w = window();
    if (!w || !tipTool_ || !logic.properties().toolTip || !QToolTip::isVisible())
        return;
    // The tool's rectangle has moved with its thumb; the tip stays where it is until the
    // pointer leaves the old one or the new one.
    const QRect rect = values::toQRect(logic.toolRect(*tipTool_)).united(QRect(tipAt_, QSize(1, 1)));
    QToolTip::showText(w->mapToGlobal(tipAt_), QString::fromStdString(logic.toolText(*tipTool_)), w, rect);
}

bool SpiSlider::onEvent(QEvent* e)
{
    if (e->type() == QEvent::Leave)
        killTimer(kTipDelayMs); // the pointer did not rest here
    if (e->type() != QEvent::ToolTip)
        return false;
    if (logic.properties().toolTip)
        showTip(static_cast<QHelpEvent*>(e)->pos());
    return true;
}

// ---------------------------------------------------------------- window and painting

void SpiSlider::onWindowCreated()
{
    window()->setMouseTracking(true);
    relayout();
}

void SpiSlider::relayout()
{
    logic.relayout(values::toPixelRect(clientRect()));
    invalidate();
}

void SpiSlider::onDraw(QPainter& painter, const QRect&)
{
    const values::SpiGeometry& g = logic.geometry();
    gdi::FillSolid(painter, values::toQRect(g.inner), gdi::ColorOf(backColor));

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(gdi::ColorOf(scaleColor), 1));
    for (const values::SpiTick& t : logic.ticks()) {
        if (t.above > 0)
            painter.drawLine(t.x, g.slot.top - t.above, t.x, g.slot.top - 1);
        if (t.below > 0)
            painter.drawLine(t.x, g.slot.bottom, t.x, g.slot.bottom + t.below - 1);
    }
    painter.restore();

    gdi::DrawEdge(painter, values::toQRect(g.slot), gdi::EDGE_SUNKEN, gdi::BF_RECT);
    if (!g.band.isEmpty())
        gdi::FillSolid(painter, values::toQRect(g.band), gdi::ColorOf(logic.bandColor()));

    const values::SpiPress press = logic.press();
    for (const SpiThumb t : {SpiThumb::Lower, SpiThumb::Upper}) {
        const QRect r = values::toQRect(g.thumb(t));
        const QRect inside = gdi::DrawEdge(painter, r, gdi::EDGE_RAISED, gdi::BF_RECT);
        const bool dragged = press == values::SpiPress::Band || int(press) == int(t) + 1;
        gdi::FillSolid(painter, inside,
                       gdi::SysColor(logic.enabled() && !dragged ? gdi::COLOR_BTNFACE : gdi::COLOR_3DHIGHLIGHT));
        // A line on the band's side, 4 pixels beyond the thumb's top and bottom.
        const int x = t == SpiThumb::Lower ? r.right() : r.left();
        painter.setPen(QPen(QColor(Qt::black), 1));
        painter.drawLine(x, r.top() - 4, x, r.bottom() + 4);
    }
    if (focused())
        gdi::DrawFocusRect(painter, values::toQRect(g.inner));
}

HRESULT createSpiSlider(REFIID iid, void** out)
{
    auto s = com::make<SpiSlider>();
    return s->QueryInterface(iid, out);
}

} // namespace vyr::controls
