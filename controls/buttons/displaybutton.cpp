#include "controls/buttons/displaybutton.h"
#include "controls/core/properties.h"
#include "platform/com/bstr.h"

namespace vyr::controls {

namespace {
constexpr DISPID kUseBackColor = 60;

template <class C>
ClassDescriptor displayDescriptor(const CLSID& clsid, const IID& iid)
{
    return ClassDescriptor{
        clsid,
        iid,
        DIID__DButton,
        {props::command(), props::font(), FaceControl::foreColorProperty(),
         props::colorField<C>(DISPID_BACKCOLOR, "BackColor", [](C& c) -> OLE_COLOR& { return c.backColorProperty; }),
         FaceControl::pictureProperty(), FaceControl::backPictureProperty(), FaceControl::captionPositionProperty(),
         FaceControl::picturePositionProperty(),
         props::withHelp(props::boolField<C>(kUseBackColor, "UseBackColor", [](C& c) -> int& { return c.useBackColor; }),
                         "Use back color rather than color from server"),
         FaceControl::styleBrowseEntry()},
        {},
        {50, DISPID_BACKCOLOR, DISPID_FORECOLOR, 5, 6, 7, 8, DISPID_FONT, kUseBackColor},
    };
}
} // namespace

template <class Base>
void DisplayOf<Base>::onDraw(QPainter& painter, const QRect& bounds)
{
    this->face.backColor = useBackColor ? backColorProperty : serverColor;
    Base::onDraw(painter, bounds);
}

template <class Base>
void DisplayOf<Base>::showCaption(const std::string& text)
{
    this->setRedrawFrozen(true);
    this->setCaptionText(text);
    this->setRedrawFrozen(false);
}

template <class Base>
void DisplayOf<Base>::refreshFromServer()
{
    ICommandServer* s = this->server();
    if (!s || !this->command().registered()) {
        if (this->enabled_) {
            this->enabled_ = 0;
            showCaption({});
            this->invalidate();
        }
        this->applyShowState(true);
        return;
    }
    const LONG cookie = this->command().cookie();
    std::string caption = kDisplayDefaultCaption;
    BSTR text = nullptr;
    if (SUCCEEDED(s->GetText(cookie, &text)))
        caption = text ? com::utf8(text) : std::string();
    SysFreeString(text);
    OLE_COLOR color = serverColor;
    if (OLE_COLOR c = 0; SUCCEEDED(s->GetColor(cookie, &c)))
        color = c;
    int enabledNow = 0;
    bool visible = true;
    this->readCommandState(enabledNow, visible);
    const bool stateChanged = readSelected(s, cookie);
    if (caption != this->captionText() || color != serverColor || enabledNow != this->enabled_ || stateChanged) {
        serverColor = color;
        this->enabled_ = enabledNow;
        showCaption(caption);
        this->invalidate();
    }
    this->applyShowState(visible);
}

template class DisplayOf<Button>;
template class DisplayOf<OptionButton>;

// ---------------------------------------------------------------- DisplayButton

DisplayButton::DisplayButton() : DisplayOf<Button>(classDescriptor()) {}

const ClassDescriptor& DisplayButton::classDescriptor()
{
    static const ClassDescriptor d = displayDescriptor<DisplayButton>(CLSID_DisplayButton, IID_IDisplayButton);
    return d;
}

HRESULT createDisplayButton(REFIID iid, void** out)
{
    auto b = com::make<DisplayButton>();
    return b->QueryInterface(iid, out);
}

// ---------------------------------------------------------------- DisplayOptionButton

DisplayOptionButton::DisplayOptionButton() : DisplayOf<OptionButton>(classDescriptor()) {}

const ClassDescriptor& DisplayOptionButton::classDescriptor()
{
    static const ClassDescriptor d =
        displayDescriptor<DisplayOptionButton>(CLSID_DisplayOptionButton, IID_IDisplayOptionButton);
    return d;
}

bool DisplayOptionButton::readSelected(ICommandServer* server, LONG cookie)
{
    LONG state = selected;
    if (SUCCEEDED(server->GetCommandState(cookie, &state)))
        state = (state & 0xFFFF) ? 1 : 0;
    if (state == selected)
        return false;
    selected = state;
    face.pressed = selected;
    return true;
}

HRESULT createDisplayOptionButton(REFIID iid, void** out)
{
    auto b = com::make<DisplayOptionButton>();
    return b->QueryInterface(iid, out);
}

} // namespace vyr::controls
