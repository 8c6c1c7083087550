#include "controls/lists/static.h"
#include "controls/core/draw/drawing.h"
#include "controls/core/properties.h"
#include "controls/lists/labelframe.h"
#include <QPainter>

namespace vyr::controls {

namespace {
constexpr DISPID kPicture = 7, kBackPicture = 8, kCheckedPicture = 75, kPicturePosition = 5, kCaptionPosition = 6,
                 kFrameStyle = 13;
} // namespace

Static::Static() : ControlBase(classDescriptor())
{
    setCaptionText("Label");
    enabled_ = 1; // a label never disables itself
    clearDirty();
}

const ClassDescriptor& Static::classDescriptor()
{
    using C = Static;
    using namespace props;
    static const ClassDescriptor d{
        CLSID_Static,
        IID_IStatic,
        DIID__DButton,
        {
            props::withHelp(props::command(), "Command"),
            props::caption(),
            props::font(),
            colorField<C>(DISPID_FORECOLOR, "TextColor", [](C& c) -> OLE_COLOR& { return c.textColor; }),
            colorField<C>(DISPID_BACKCOLOR, "BackColor", [](C& c) -> OLE_COLOR& { return c.backColor; }),
            pictureField<C>(kPicture, "Picture", [](C& c) -> com::ComPtr<IPictureDisp>& { return c.picture; }),
            pictureField<C>(kBackPicture, "BackPicture", [](C& c) -> com::ComPtr<IPictureDisp>& { return c.backPicture; }),
            pictureField<C>(kCheckedPicture, "CheckedPicture",
                            [](C& c) -> com::ComPtr<IPictureDisp>& { return c.checkedPicture; }),
            shortField<C>(kPicturePosition, "PicturePosition", [](C& c) -> int& { return c.picturePosition; },
                          &itemPositionNames()),
            shortField<C>(kCaptionPosition, "CaptionPosition", [](C& c) -> int& { return c.captionPosition; },
                          &itemPositionNames()),
            shortField<C>(kFrameStyle, "FrameStyle", [](C& c) -> int& { return c.frameStyle; },
                          &lists::frameStyleNames()),
        },
        {},
        {50, DISPID_CAPTION, DISPID_FONT, DISPID_FORECOLOR, DISPID_BACKCOLOR, kPicture, kBackPicture, kCheckedPicture,
         kPicturePosition, kCaptionPosition, kFrameStyle},
    };
    return d;
}

IPictureDisp* Static::shownPicture() const
{
    return checked_ && checkedPicture ? checkedPicture.get() : picture.get();
}

void Static::refreshFromServer()
{
    bool visible = true;
    if (server() && command().registered()) {
        LONG shown = 1, state = checked_ ? 1 : 0;
        server()->GetCommandVisible(command().cookie(), &shown);
        const bool stateRead = SUCCEEDED(server()->GetCommandState(command().cookie(), &state));
        visible = (shown & 0xFFFF) != 0;
        const bool now = stateRead ? (state & 0xFFFF) != 0 : checked_;
        if (now != checked_) {
            checked_ = now;
            invalidate();
        }
    }
    applyShowState(visible);
}

HRESULT Static::OnMnemonic()
{
    if (isRunMode())
        fire(DISPID_EVENT_CLICK);
    return S_OK;
}

void Static::onDraw(QPainter& p, const QRect& bounds)
{
    if (draw::IsClipBoxEmpty(p))
        return;
    p.save();
    p.setClipRect(bounds, Qt::IntersectClip);
    const QRect inner = lists::drawLabelFrame(p, bounds, frameStyle);
    lists::fillLabelBackground(p, window(), inner, backColor, backPicture.get());
    draw::PlacePicture(p, shownPicture(), inner, QRect(), picturePosition, false, false);
    const QFont f = qfont();
    // Text meets its background in the colours the palette pairs, where both are system colours.
    const OLE_COLOR text = gdi::toColorRef(gdi::TextColorOn(textColor, backColor));
    draw::DrawCaptionText(p, captionText(), &f, inner, captionPosition, text, draw::kStyleNormal, false, true, true);
    p.restore();
}

void Static::describe(AccessFacts& facts) const
{
    ControlBase::describe(facts);
    facts.text = facts.name;
    facts.hasText = true;
}

HRESULT createStatic(REFIID iid, void** out)
{
    auto c = com::make<Static>();
    return c->QueryInterface(iid, out);
}

} // namespace vyr::controls
