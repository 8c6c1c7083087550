#pragma once
// The window layer both value controls share, over their logic class: the colours, Qt input
// turned into the logic's actions, reading the bound command, and carrying out the effects
// the logic answers with. A control adds its layout, child fields and painting.
#include "controls/core/properties.h"
#include "controls/values/field_rows.h"
#include "controls/values/value_window.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>

namespace vyr::controls {

template <class Logic>
class ValueControl : public ControlBase {
public:
    explicit ValueControl(const ClassDescriptor& descriptor) : ControlBase(descriptor)
    {
        // Without a command server the value is the control's own, so it starts usable.
        enabled_ = 1;
    }

    Logic logic;
    OLE_COLOR textColor = 0x80000012; // button text
    OLE_COLOR backColor = 0x8000000F; // button face

    // Lays the control out again and places its child fields.
    virtual void relayout() = 0;

    void refreshFromServer() override
    {
        ICommandServer* s = server();
        if (!s || !command().registered()) {
            // Local operation: the value stays the control's own, and it can be changed.
            values::CommandReading local;
            local.enabled = true;
            apply(logic.refresh(local));
            enabled_ = 1;
            applyShowState(true);
            return;
        }
        LONG visible = 1;
        apply(logic.refresh(values::readCommand(s, command().cookie(), readPlan(), visible)));
        enabled_ = logic.enabled() ? 1 : 0;
        applyShowState((visible & 0xFFFF) != 0);
    }

    void onMousePress(QMouseEvent* e) override
    {
        if (e->button() == Qt::LeftButton)
            act(values::MousePress{values::pointOf(e)});
    }
    void onMouseRelease(QMouseEvent* e) override
    {
        if (e->button() == Qt::LeftButton)
            act(values::MouseRelease{values::modifiersOf(e->modifiers())});
    }
    bool onKeyPress(QKeyEvent* e) override
    {
        const auto key = values::valueKeyOf(e->key());
        if (!key)
            return false;
        act(values::KeyStroke{*key, e->count(), values::modifiersOf(e->modifiers())});
        return true;
    }
    void onTimer(int id) override
    {
        act(values::TimerTick{id, values::modifiersOf(QGuiApplication::keyboardModifiers())});
    }
    void onResize() override { relayout(); }

    void describe(AccessFacts& facts) const override
    {
        ControlBase::describe(facts);
        facts.enabled = logic.enabled();
        facts.value = AccessValue{logic.value(), logic.minimum(), logic.maximum(), logic.properties().step};
        facts.actions = {AccessAction::Increase, AccessAction::Decrease};
    }
    // Increase and decrease are the arrow keys' steps.
    bool accessibleAction(AccessAction action) override
    {
        if ((action != AccessAction::Increase && action != AccessAction::Decrease) || !isRunMode())
            return false;
        act(values::KeyStroke{action == AccessAction::Increase ? values::ValueKey::Up : values::ValueKey::Down, 1, {}});
        return true;
    }

protected:
    // What to read from the command server besides value and enabled flag.
    virtual values::ReadPlan readPlan() const { return {}; }
    // The control's own part of carrying out effects (its child fields), before events fire.
    virtual void applyToChildren(const values::ValueEffects& fx, bool committed) = 0;

    void act(const values::ValueAction& action)
    {
        apply(logic.act(action), std::holds_alternative<values::CommitText>(action));
    }
    void apply(const values::ValueEffects& fx, bool committed = false)
    {
        values::carryOut(*this, fx);
        applyToChildren(fx, committed);
        // A value shown only in a child field repaints nothing here; announce it anyway.
        accessibleChanged(*this);
        values::fireEvents(*this, fx);
    }

    // Property rows shared by both controls.
    template <class C>
    static PropertyDesc relayingFont()
    {
        // The font goes into the child fields and sets the line height: lay out again.
        return fontThen<C>(&C::relayout);
    }
    // A list text: every put parses and rewrites it, even an equal text, then runs `after`
    // and reports the change of `id` and of `alsoChanged` (DISPID_UNKNOWN: none).
    template <class C>
    static PropertyDesc listText(DISPID id, const char* name, const std::string& (Logic::*text)() const,
                                 void (Logic::*set)(std::string_view), void (*after)(C&),
                                 DISPID alsoChanged = DISPID_UNKNOWN)
    {
        PropertyDesc p{id, name, PropType::String, nullptr, nullptr, nullptr};
        p.get = [text](ControlBase& b) { return com::Variant::fromString((static_cast<C&>(b).logic.*text)()); };
        p.put = [id, set, after, alsoChanged](ControlBase& b, const VARIANT& v, PutKind) {
            C& c = static_cast<C&>(b);
            (c.logic.*set)(com::utf8(v.bstrVal));
            after(c);
            b.changed(id);
            if (alsoChanged != DISPID_UNKNOWN)
                b.changed(alsoChanged);
            return S_OK;
        };
        return p;
    }
};

} // namespace vyr::controls
