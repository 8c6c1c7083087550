#include "controls/buttons/button.h"
#include "controls/core/properties.h"
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QWidget>

namespace vyr::controls {

using com::ComPtr;

// ---------------------------------------------------------------- shared press handling

bool isPressKey(const QKeyEvent* e)
{
    return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter || e->key() == Qt::Key_Space;
}

HRESULT PushButtonBase::doClick()
{
    if (!isRunMode())
        return E_FAIL;
    executeOwnCommand();
    takeFocus();
    fire(DISPID_CLICK);
    return S_OK;
}

void PushButtonBase::onMousePress(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton)
        return;
    const QPoint p = e->position().toPoint();
    if (noPosition(p) || (ignoresPressWhileDisabled() && !enabledFlag()))
        return;
    takeFocus();
    captureMouse(true);
    setPressed(true);
    fireMouse(DISPID_MOUSEDOWN, 1, p.x(), p.y(), e->modifiers());
    fire(DISPID_CLICK);
    afterPress();
    if (!face.executeOnRelease)
        executeOwnCommand();
}

void PushButtonBase::onMouseRelease(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton)
        return;
    beforeRelease();
    if (!hasCapture())
        return;
    captureMouse(false);
    if (face.executeOnRelease)
        setPressed(false);
    const QPoint p = e->position().toPoint();
    const bool inside = clientRect().contains(p);
    if (inside) {
        fireMouse(DISPID_MOUSEUP, 1, p.x(), p.y(), e->modifiers());
        fire(DISPID_CLICK);
    }
    if (face.executeOnRelease && inside)
        executeOwnCommand();
}

void PushButtonBase::onMouseMove(QMouseEvent* e)
{
    if (!hasCapture())
        return;
    const QPoint p = e->position().toPoint();
    const bool left = e->buttons() & Qt::LeftButton;
    if (clientRect().contains(p) && left)
        setPressed(true);
    else if (face.pressed)
        setPressed(false);
    if (enabledFlag())
        fireMouse(DISPID_MOUSEMOVE, left ? 1 : 0, p.x(), p.y(), e->modifiers());
}

bool PushButtonBase::onKeyPress(QKeyEvent* e)
{
    if (!isPressKey(e))
        return false;
    if (focused() && enabledFlag())
        onKeyDownPress();
    return true;
}

bool PushButtonBase::onKeyRelease(QKeyEvent* e)
{
    if (!isPressKey(e))
        return false;
    if (e->isAutoRepeat())
        return true;
    if (focused() && enabledFlag())
        onKeyUpRelease();
    return true;
}

HRESULT showAboutBox()
{
    auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("About Vyr Controls"),
                                QStringLiteral("Vyr Controls\nVersion 1.0"), QMessageBox::Ok);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    return S_OK;
}

// ---------------------------------------------------------------- Button

namespace {
template <class C>
std::vector<MethodDesc> clickMethods()
{
    return {props::method<C>(DISPID_DOCLICK, "DoClick", [](C& c) { return c.doClick(); }),
            props::method<C>(DISPID_ABOUTBOX, "AboutBox", [](C&) { return showAboutBox(); })};
}
} // namespace

Button::Button() : Button(classDescriptor()) {}

Button::Button(const ClassDescriptor& descriptor) : PushButtonBase(descriptor) { face.executeOnRelease = 1; }

const ClassDescriptor& Button::classDescriptor()
{
    static const ClassDescriptor d{
        CLSID_Button,
        IID_IButton,
        DIID__DButton,
        {props::command(), props::caption(), props::font(), foreColorProperty(), backColorProperty(),
         pictureProperty(), backPictureProperty(), captionPositionProperty(), picturePositionProperty(),
         props::enabled(), pictureEnableProperty(), captionEnableProperty(), styleBrowseEntry()},
        clickMethods<Button>(),
        {50, DISPID_ENABLED, DISPID_CAPTION, DISPID_BACKCOLOR, DISPID_FORECOLOR, 4, 3, 5, 6, 7, 8, DISPID_FONT},
        {},
        {},
        {},
        CLSID_ButtonPpg,
    };
    return d;
}

void Button::onKeyDownPress()
{
    setPressed(true);
    if (!face.executeOnRelease)
        executeOwnCommand();
}

void Button::onKeyUpRelease()
{
    setPressed(false);
    fire(DISPID_CLICK);
    if (face.executeOnRelease)
        executeOwnCommand();
}

HRESULT createButton(REFIID iid, void** out)
{
    auto b = com::make<Button>();
    return b->QueryInterface(iid, out);
}

// ---------------------------------------------------------------- OptionButton

OptionButton::OptionButton() : OptionButton(classDescriptor()) {}

OptionButton::OptionButton(const ClassDescriptor& descriptor) : PushButtonBase(descriptor)
{
    face.executeOnRelease = 0;
}

const ClassDescriptor& OptionButton::classDescriptor()
{
    static const ClassDescriptor d{
        CLSID_OptionButton,
        IID_IOptionButton,
        DIID__DButton,
        {props::command(), props::caption(), props::font(), foreColorProperty(), backColorProperty(),
         pictureProperty(), backPictureProperty(), captionPositionProperty(), picturePositionProperty(),
         props::withHelp(props::boolField<OptionButton>(123, "PictureViaInterface",
                                                        [](OptionButton& b) -> int& { return b.pictureViaInterface; }),
                         "property Picture via Interface"),
         styleBrowseEntry()},
        clickMethods<OptionButton>(),
        {50, DISPID_CAPTION, DISPID_BACKCOLOR, DISPID_FORECOLOR, 5, 6, 7, 8, DISPID_FONT, 123},
        {},
        {},
        {},
        CLSID_ButtonPpg,
    };
    return d;
}

void OptionButton::afterPress()
{
    if (QWidget* w = window())
        w->repaint();
}

void OptionButton::beforeRelease()
{
    // The face returns to the command's state: a selected option stays pushed in.
    setPressed(restingPressed() != 0);
}

void OptionButton::onKeyDownPress() { setPressed(true); }

void OptionButton::onKeyUpRelease()
{
    setPressed(restingPressed() != 0);
    fire(DISPID_CLICK);
    executeOwnCommand();
}

void OptionButton::refreshFromServer()
{
    ICommandServer* s = server();
    if (s && command().registered()) {
        const LONG cookie = command().cookie();
        face.sourcePicture.reset();
        face.imageSource = 0;
        if (pictureViaInterface) {
            ComPtr<IUnknown> obj;
            if (SUCCEEDED(s->GetObject(cookie, obj.put())) && obj &&
                SUCCEEDED(obj->QueryInterface(IID_IPictureDisp, face.sourcePicture.putVoid())))
                face.imageSource = 1;
            invalidate();
        }
        int enabledNow = 0;
        bool visible = true;
        readCommandState(enabledNow, visible);
        LONG state = selected;
        if (SUCCEEDED(s->GetCommandState(cookie, &state)))
            state = (state & 0xFFFF) ? 1 : 0;
        if (state != selected || enabledNow != enabled_) {
            selected = state;
            enabled_ = enabledNow;
            face.pressed = selected;
            invalidate();
        }
        applyShowState(visible);
    } else {
        refreshUnbound();
    }
}

HRESULT OptionButton::executeOwnCommand()
{
    ICommandServer* s = server();
    if (!s || !command().registered()) {
        messageBeep();
        return E_FAIL;
    }
    HRESULT hr = s->ExecuteCommand(command().cookie());
    if (FAILED(hr)) {
        messageBeep();
        return hr;
    }
    refreshFromServer();
    face.pressed = selected;
    invalidate();
    return S_OK;
}

HRESULT createOptionButton(REFIID iid, void** out)
{
    auto b = com::make<OptionButton>();
    return b->QueryInterface(iid, out);
}

// ---------------------------------------------------------------- accessibility

void PushButtonBase::describe(AccessFacts& facts) const
{
    FaceControl::describe(facts);
    facts.enabled = enabledFlag();
    facts.pressed = face.pressed != 0;
    facts.actions = {AccessAction::Press};
}

bool PushButtonBase::accessibleAction(AccessAction action)
{
    if (action != AccessAction::Press && action != AccessAction::Toggle)
        return false;
    // The click itself, not the mnemonic: display buttons press without having a mnemonic.
    return enabledFlag() && doClick() == S_OK;
}

void OptionButton::describe(AccessFacts& facts) const
{
    PushButtonBase::describe(facts);
    facts.checkable = true;
    facts.checked = selected != 0;
    facts.actions = {AccessAction::Press, AccessAction::Toggle};
}

} // namespace vyr::controls
