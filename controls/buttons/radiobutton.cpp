#include "controls/buttons/radiobutton.h"
#include "controls/buttons/button.h"
#include "controls/buttons/radiogroup.h"
#include "controls/core/properties.h"
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace vyr::controls {

namespace {
constexpr DISPID kValue = 0;
constexpr DISPID kGroupNumber = 10;
constexpr DISPID kStyle = 9;
} // namespace

RadioButton::RadioButton() : FaceControl(classDescriptor()) {}

const std::vector<MapEntry>& RadioButton::propertyMap()
{
    static const std::vector<MapEntry> map{
        {"Value", kValue, CLSID_RadioButtonPpg},
        {"GroupNumber", kGroupNumber, CLSID_RadioButtonPpg},
        {"Enabled", DISPID_ENABLED, CLSID_RadioButtonPpg},
        {"Caption", DISPID_CAPTION, CLSID_RadioButtonPpg},
        {"BackColor", DISPID_BACKCOLOR, CLSID_ColorPpg},
        {"FrontColor", DISPID_FORECOLOR, CLSID_ColorPpg},
        {"PictureEnable", 4, CLSID_RadioButtonPpg},
        {"CaptionEnable", 3, CLSID_RadioButtonPpg},
        {"PicturePosition", 5, CLSID_RadioButtonPpg},
        {"CaptionPosition", 6, CLSID_RadioButtonPpg},
        {"Style", kStyle, CLSID_RadioButtonPpg},
        {"Picture", 7, CLSID_PictPpg},
        {"BackPicture", 8, CLSID_PictPpg},
        {"Font", DISPID_FONT, CLSID_FontPpg},
    };
    return map;
}

const ClassDescriptor& RadioButton::classDescriptor()
{
    static const ClassDescriptor d = [] {
        PropertyDesc value{kValue, "Value", PropType::Bool, nullptr, nullptr, &boolNames()};
        value.get = [](ControlBase& b) { return com::Variant::fromBool(static_cast<RadioButton&>(b).value()); };
        value.put = [](ControlBase& b, const VARIANT& v, PutKind) {
            return static_cast<RadioButton&>(b).setValue(v.boolVal != 0);
        };
        std::vector<DISPID> order;
        for (const MapEntry& e : propertyMap())
            order.push_back(e.id);
        return ClassDescriptor{
            CLSID_RadioButton,
            IID_IRadioButton,
            DIID__DButton, // fired to connected sinks, though the class declares no event interface
            {value,
             props::longField<RadioButton>(kGroupNumber, "GroupNumber", [](RadioButton& r) -> int& { return r.face.reserved; }),
             props::shortField<RadioButton>(kStyle, "Style", [](RadioButton& r) -> int& { return r.face.style; },
                                            &buttonStyleNames()),
             props::enabled(), props::caption(), captionEnableProperty(), pictureEnableProperty(),
             picturePositionProperty(), captionPositionProperty(), pictureProperty(), backPictureProperty(),
             props::font(), foreColorProperty(), backColorProperty()},
            {props::method<RadioButton>(DISPID_ABOUTBOX, "AboutBox", [](RadioButton&) { return showAboutBox(); })},
            order,
            {},
            {},
            propertyMap(),
        };
    }();
    return d;
}

HRESULT RadioButton::QueryInterface(REFIID riid, void** out)
{
    if (riid == IID_ICommandClient) {
        if (out)
            *out = nullptr;
        return E_NOINTERFACE;
    }
    return FaceControl::QueryInterface(riid, out);
}

HRESULT RadioButton::setValue(bool on)
{
    if (on == value())
        return S_OK;
    if (on) {
        com::ComPtr<IVyrSite> site;
        GetSite(site.put());
        switchOffGroup(containerControls(site.get()), groupNumber());
    }
    face.pressed = on ? 1 : 0;
    changed(kValue);
    return S_OK;
}

void RadioButton::onMousePress(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton)
        return;
    const QPoint p = e->position().toPoint();
    if (noPosition(p) || !enabledFlag())
        return;
    takeFocus();
    captureMouse(true);
    setValue(true);
    fireMouse(DISPID_MOUSEDOWN, 1, p.x(), p.y(), e->modifiers());
    fire(DISPID_CLICK);
}

void RadioButton::onMouseRelease(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || !hasCapture())
        return;
    captureMouse(false);
    const QPoint p = e->position().toPoint();
    if (enabledFlag() && clientRect().contains(p))
        fireMouse(DISPID_MOUSEUP, 1, p.x(), p.y(), e->modifiers());
}

void RadioButton::onWindowCreated()
{
    // MouseMove fires while the pointer crosses the button with no button held, too.
    window()->setMouseTracking(true);
}

void RadioButton::onMouseMove(QMouseEvent* e)
{
    if (!enabledFlag())
        return;
    const QPoint p = e->position().toPoint();
    fireMouse(DISPID_MOUSEMOVE, (e->buttons() & Qt::LeftButton) ? 1 : 0, p.x(), p.y(), e->modifiers());
}

bool RadioButton::onKeyPress(QKeyEvent* e)
{
    if (!isPressKey(e))
        return false;
    if (focused() && enabledFlag() && !value()) {
        setValue(true);
        fire(DISPID_CLICK);
    }
    return true;
}

HRESULT RadioButton::OnMnemonic()
{
    if (!enabledFlag() || !isRunMode())
        return S_FALSE;
    takeFocus();
    setValue(true);
    fire(DISPID_CLICK);
    return S_OK;
}

void RadioButton::describe(AccessFacts& facts) const
{
    FaceControl::describe(facts);
    facts.enabled = enabledFlag();
    facts.checkable = true;
    facts.checked = value();
    facts.actions = {AccessAction::Press, AccessAction::Toggle};
}

// Pressed or toggled it is switched on, as by its mnemonic: a radio button is not switched off
// by the user.
bool RadioButton::accessibleAction(AccessAction action)
{
    if (action != AccessAction::Press && action != AccessAction::Toggle)
        return false;
    return OnMnemonic() == S_OK;
}

HRESULT createRadioButton(REFIID iid, void** out)
{
    auto r = com::make<RadioButton>();
    return r->QueryInterface(iid, out);
}

} // namespace vyr::controls
