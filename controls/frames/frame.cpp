#include "controls/frames/frame.h"
#include "controls/buttons/button.h"
#include "controls/core/properties.h"
#include "controls/frames/pagedform.h"
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace vyr::controls {

using com::ComPtr;
using com::Variant;
using frames::ControlPage;

namespace {

EnumNames padded(std::vector<std::string> names, size_t width, const char* typeName,
                 std::vector<std::string> constants)
{
    for (std::string& n : names)
        n.resize(std::max(width, n.size()), ' ');
    return EnumNames{std::move(names), VT_I2, {}, typeName, std::move(constants)};
}

const EnumNames& captionStyleNames()
{
    static const EnumNames n = padded({"No Caption", "Normal", "Banner", "3D-Banner Sunken", "3D-Banner Raised",
                                       "3D-Banner Raised Dot", "3D-Banner Sunken Dot", "ColorBanner",
                                       "3D-ColorBanner Sunken", "3D-ColorBanner Raised", "3D-ColorBanner Raised Dot",
                                       "3D-ColorBanner Sunken Dot"},
                                      25, "CaptionStyle",
                                      {"eNoCaption", "eCaptionNormal", "eBanner", "eBannerSunken", "eBannerRaised",
                                       "eBannerRaisedDot", "eBannerSunkenDot", "eColorBanner", "eColorBannerSunken",
                                       "eColorBannerRaised", "eColorBannerRaisedDot", "eColorBannerSunkenDot"});
    return n;
}

const EnumNames& frameStyleNames()
{
    static const EnumNames n = padded({"No Frame", "Normal", "Raised", "Sunken", "Raised Dot", "Sunken Dot"}, 10, "FrameStyle",
                                       {"eNoFrame", "eFrameNormal", "eFrameRaised", "eFrameSunken", "eFrameRaisedDot",
                                        "eFrameSunkenDot"});
    return n;
}

const EnumNames& backStyleNames()
{
    static const EnumNames n{{"Transparent", "Opaque"}, VT_I2, {}, "BackStyle", {"eTransparent", "eOpaque"}};
    return n;
}

const EnumNames& buttonAlignNames()
{
    static const EnumNames n{{"LeftTop", "CenterTop", "RightTop", "LeftCenter"}, VT_I2, {}, "ButtonAlign",
                             {"eAlignLeftTop", "eAlignCenterTop", "eAlignRightTop", "eAlignLeftCenter"}};
    return n;
}

const EnumNames& loadOptionNames()
{
    static const EnumNames n{
        {"Load if visible; Destroy if invisible", "Load if visible and keep", "Preload"}, VT_I4, {}, "LoadOption",
        {"eLoadVisibleDestroyInvisible", "eLoadVisibleKeep", "ePreload"}};
    return n;
}

} // namespace

// Builds the Frame's property rows; a friend, so that rows can bind the private fields.
struct FrameAccess {
    static Frame& self(ControlBase& b) { return static_cast<Frame&>(b); }

    // A stored field: an equal value does nothing; another is stored and runs the change routine.
    template <class T, class Read, class Make>
    static PropertyDesc stored(DISPID id, const char* name, PropType type, T Frame::*field, Read read, Make make,
                               const EnumNames* names = nullptr)
    {
        PropertyDesc p{id, name, type, nullptr, nullptr, names};
        p.get = [field, make](ControlBase& b) { return make(self(b).*field); };
        p.put = [field, read, id](ControlBase& b, const VARIANT& v, PutKind) {
            Frame& f = self(b);
            const T value = T(read(v));
            if (f.*field == value)
                return S_OK;
            f.*field = value;
            f.propertyChanged(id);
            return S_OK;
        };
        return p;
    }
    static PropertyDesc shortField(DISPID id, const char* name, int Frame::*field, const EnumNames* names)
    {
        return stored(id, name, PropType::Short, field, [](const VARIANT& v) { return v.iVal; },
                      [](int x) { return Variant::fromShort(int16_t(x)); }, names);
    }
    static PropertyDesc boolField(DISPID id, const char* name, int Frame::*field)
    {
        return stored(id, name, PropType::Bool, field, [](const VARIANT& v) { return v.boolVal ? 1 : 0; },
                      [](int x) { return Variant::fromBool(x != 0); }, &boolNames());
    }
    static PropertyDesc longField(DISPID id, const char* name, LONG Frame::*field)
    {
        return stored(id, name, PropType::Long, field, [](const VARIANT& v) { return v.lVal; },
                      [](LONG x) { return Variant::fromLong(x); });
    }
    static PropertyDesc colorField(DISPID id, const char* name, OLE_COLOR Frame::*field)
    {
        return stored(id, name, PropType::Color, field, [](const VARIANT& v) { return v.ulVal; },
                      [](OLE_COLOR x) { return Variant::fromULong(x); });
    }

    // A property kept elsewhere (the control base, the inner set, the current button): its own
    // put stores it; the Frame then runs its change routine when the value changed. Puts of the
    // control base notify by themselves (`notifies`); the others are notified here.
    static PropertyDesc thenChange(PropertyDesc p, bool notifies = false)
    {
        const auto put = p.put;
        const auto get = p.get;
        const DISPID id = p.id;
        const bool compares = p.type != PropType::Font && p.type != PropType::Picture;
        p.put = [put, get, id, compares, notifies](ControlBase& b, const VARIANT& v, PutKind kind) {
            if (compares && get(b) == Variant(v))
                return S_OK;
            const HRESULT hr = put(b, v, kind);
            if (SUCCEEDED(hr) && notifies)
                self(b).afterChange(id);
            else if (SUCCEEDED(hr))
                self(b).propertyChanged(id);
            return hr;
        };
        return p;
    }
    // A property whose value another object holds, reached through two functions.
    static PropertyDesc held(DISPID id, const char* name, PropType type, std::function<Variant(Frame&)> get,
                             std::function<HRESULT(Frame&, const VARIANT&, PutKind)> put, const EnumNames* names = nullptr)
    {
        PropertyDesc p{id, name, type, nullptr, nullptr, names};
        p.get = [get](ControlBase& b) { return get(self(b)); };
        p.put = [put](ControlBase& b, const VARIANT& v, PutKind kind) { return put(self(b), v, kind); };
        return p;
    }
    static HRESULT pictureOf(const VARIANT& v, com::ComPtr<IPictureDisp>& out)
    {
        if (v.pdispVal && FAILED(v.pdispVal->QueryInterface(IID_IPictureDisp, out.putVoid())))
            return DISP_E_TYPEMISMATCH;
        return S_OK;
    }
    // ButtonPicture and ButtonBackPicture of the current button.
    static PropertyDesc buttonPicture(DISPID id, const char* name, com::ComPtr<IPictureDisp> frames::ButtonData::*slot)
    {
        return thenChange(held(
            id, name, PropType::Picture,
            [slot](Frame& f) { return Variant::fromDispatch(f.current() ? (f.current()->data.*slot).get() : nullptr); },
            [slot](Frame& f, const VARIANT& v, PutKind kind) {
                com::ComPtr<IPictureDisp> pic;
                if (HRESULT hr = pictureOf(v, pic); FAILED(hr))
                    return hr;
                return f.current() ? ControlBase::putPicture(f.current()->data.*slot, pic.get(), kind) : E_FAIL;
            }));
    }

    static std::vector<PropertyDesc> properties()
    {
        using F = Frame;
        return {
            thenChange(held(
                F::kLocked, "Locked", PropType::Bool, [](F& f) { return Variant::fromBool(f.inner_->locked()); },
                [](F& f, const VARIANT& v, PutKind) { return f.inner_->setLocked(v.boolVal != 0); }, &boolNames())),
            thenChange(props::command(), true),
            thenChange(props::caption(), true),
            thenChange(props::font(DISPID_FONT, "CaptionFont"), true),
            colorField(DISPID_FORECOLOR, "CaptionTextColor", &F::captionTextColor_),
            colorField(F::kCaptionBackColor, "CaptionBackColor", &F::captionBackColor_),
            shortField(F::kCaptionStyle, "CaptionStyle", &F::captionStyle_, &captionStyleNames()),
            shortField(F::kFrameStyle, "FrameStyle", &F::frameStyle_, &frameStyleNames()),
            thenChange(held(
                DISPID_BACKCOLOR, "BackColor", PropType::Color,
                [](F& f) { return Variant::fromULong(f.inner_->backColor()); },
                [](F& f, const VARIANT& v, PutKind) { return f.inner_->setBackColor(v.ulVal); })),
            thenChange(held(
                F::kBackPicture, "BackPicture", PropType::Picture,
                [](F& f) { return Variant::fromDispatch(f.inner_->backPicture()); },
                [](F& f, const VARIANT& v, PutKind kind) {
                    com::ComPtr<IPictureDisp> pic;
                    HRESULT hr = pictureOf(v, pic);
                    return FAILED(hr) ? hr : f.inner_->setBackPicture(pic.get(), kind);
                })),
            boolField(F::kBackPictureTopLevelAlign, "BackPictureTopLevelAlign", &F::alignTopLevel_),
            thenChange(held(
                F::kDragControls, "DragControls", PropType::Bool,
                [](F& f) { return Variant::fromBool(f.inner_->dragControls()); },
                [](F& f, const VARIANT& v, PutKind) { return f.inner_->setDragControls(v.boolVal != 0); },
                &boolNames())),
            held(
                F::kButtonCount, "ButtonCount", PropType::Long, [](F& f) { return Variant::fromLong(f.buttonCount_); },
                [](F& f, const VARIANT& v, PutKind) { return f.setButtonCount(v.lVal); }),
            colorField(F::kButtonTextColor, "ButtonTextColor", &F::buttonTextColor_),
            longField(F::kButtonSize, "ButtonSize", &F::buttonSize_),
            shortField(F::kButtonAlign, "ButtonAlign", &F::buttonAlign_, &buttonAlignNames()),
            longField(F::kButtonRows, "ButtonRows", &F::buttonRows_),
            thenChange(held(
                F::kButtonFont, "ButtonFont", PropType::Font,
                [](F& f) { return Variant::fromDispatch(f.buttonFontRef()); },
                [](F& f, const VARIANT& v, PutKind kind) {
                    com::ComPtr<IFontDisp> font;
                    if (v.pdispVal && FAILED(v.pdispVal->QueryInterface(IID_IFontDisp, font.putVoid())))
                        return DISP_E_TYPEMISMATCH;
                    return f.putButtonFont(font.get(), kind);
                })),
            shortField(F::kButtonPicturePosition, "ButtonPicturePosition", &F::buttonPicturePosition_,
                       &itemPositionNames()),
            shortField(F::kButtonCaptionPosition, "ButtonCaptionPosition", &F::buttonCaptionPosition_,
                       &itemPositionNames()),
            boolField(F::kCaptionTop, "CaptionTop", &F::captionTop_),
            shortField(F::kBackStyle, "BackStyle", &F::backStyle_, &backStyleNames()),
            colorField(F::kCaptionStartColor, "CaptionStartColor", &F::captionStartColor_),
            colorField(F::kCaptionEndColor, "CaptionEndColor", &F::captionEndColor_),
            held(
                F::kButtonCurrent, "ButtonCurrent", PropType::Long,
                [](F& f) { return Variant::fromLong(f.buttonCurrent()); },
                [](F& f, const VARIANT& v, PutKind) { return f.setButtonCurrent(v.lVal); }),
            thenChange(held(
                F::kLoadOption, "LoadOption", PropType::Long,
                [](F& f) { return Variant::fromLong(f.inner_->pageSet().loadOption()); },
                [](F& f, const VARIANT& v, PutKind) { return f.inner_->setLoadOption(v.lVal); }, &loadOptionNames())),
            thenChange(held(
                F::kButtonCaption, "ButtonCaption", PropType::String,
                [](F& f) { return Variant::fromString(f.current() ? f.current()->data.caption : std::string()); },
                [](F& f, const VARIANT& v, PutKind) {
                    if (!f.current())
                        return E_FAIL;
                    f.current()->data.caption = com::utf8(v.bstrVal);
                    return S_OK;
                })),
            thenChange(held(
                F::kButtonCommand, "ButtonCommand", PropType::Command,
                [](F& f) { return Variant::fromString(f.current() ? f.current()->command.text() : std::string()); },
                [](F& f, const VARIANT& v, PutKind) {
                    if (!f.current())
                        return E_FAIL;
                    f.current()->command.setText(com::utf8(v.bstrVal));
                    return S_OK;
                })),
            buttonPicture(F::kButtonPicture, "ButtonPicture", &frames::ButtonData::picture),
            buttonPicture(F::kButtonBackPicture, "ButtonBackPicture", &frames::ButtonData::backPicture),
        };
    }
};

const ClassDescriptor& Frame::classDescriptor()
{
    static const ClassDescriptor d{
        CLSID_Frame,
        IID_IFrame,
        DIID__DButton,
        FrameAccess::properties(),
        {props::method<Frame>(DISPID_ABOUTBOX, "AboutBox", [](Frame&) { return showAboutBox(); })},
        // The order in which the Frame exchanges its properties.
        {kLoadOption, 50, kLocked, DISPID_CAPTION, DISPID_FONT, DISPID_FORECOLOR, kCaptionBackColor, kCaptionStyle,
         kFrameStyle, DISPID_BACKCOLOR, kBackPicture, kDragControls, kButtonCount, kButtonTextColor, kButtonSize,
         kButtonAlign, kButtonRows, kButtonFont, kButtonPicturePosition, kButtonCaptionPosition, kCaptionTop,
         kBackStyle, kCaptionStartColor, kCaptionEndColor, kBackPictureTopLevelAlign, kButtonCurrent},
        {},
        slotList({{kLocked, "get/put"},
                  {50, "get/put"},
                  {DISPID_CAPTION, "put/get"},
                  {DISPID_FONT, "get/putref/put"},
                  {DISPID_FORECOLOR, "get/put"},
                  {kCaptionBackColor, "get/put"},
                  {kCaptionStyle, "get/put"},
                  {kFrameStyle, "get/put"},
                  {DISPID_BACKCOLOR, "get/put"},
                  {kBackPicture, "get/putref/put"},
                  {kBackPictureTopLevelAlign, "get/put"},
                  {kButtonCount, "get/put"},
                  {kButtonRows, "get/put"},
                  {kButtonSize, "get/put"},
                  {kButtonCommand, "get/put"},
                  {kButtonCaption, "get/put"},
                  {kButtonTextColor, "get/put"},
                  {kButtonAlign, "get/put"},
                  {kButtonFont, "get/putref/put"},
                  {kButtonPicture, "get/putref/put"},
                  {kButtonBackPicture, "get/putref/put"},
                  {kButtonPicturePosition, "get/put"},
                  {kButtonCaptionPosition, "get/put"},
                  {kDragControls, "get/put"},
                  {kButtonCurrent, "get/put"},
                  {kCaptionTop, "get/put"},
                  {kBackStyle, "get/put"},
                  {kCaptionStartColor, "get/put"},
                  {kCaptionEndColor, "get/put"},
                  {kLoadOption, "get/put"},
                  {DISPID_ABOUTBOX, "call"}}),
        // Which page edits which property.
        {{"Locked", kLocked, CLSID_FramePpg},
         {"Caption", DISPID_CAPTION, CLSID_FramePpg},
         {"CaptionFont", DISPID_FONT, CLSID_FontPpg},
         {"CaptionTextColor", DISPID_FORECOLOR, CLSID_ColorPpg},
         {"CaptionBackColor", kCaptionBackColor, CLSID_ColorPpg},
         {"CaptionStyle", kCaptionStyle, CLSID_FramePpg},
         {"FrameStyle", kFrameStyle, CLSID_FramePpg},
         {"BackColor", DISPID_BACKCOLOR, CLSID_ColorPpg},
         {"BackPicture", kBackPicture, CLSID_PictPpg},
         {"DragControls", kDragControls, CLSID_FramePpg},
         {"ButtonCount", kButtonCount, CLSID_FramePpg},
         {"ButtonColor", kButtonTextColor, CLSID_ColorPpg},
         {"ButtonSize", kButtonSize, CLSID_FramePpg},
         {"ButtonAlign", kButtonAlign, CLSID_FramePpg},
         {"ButtonRows", kButtonRows, CLSID_FramePpg},
         {"ButtonFont", kButtonFont, CLSID_FontPpg},
         {"ButtonPicturePosition", kButtonPicturePosition, CLSID_FramePpg},
         {"ButtonCaptionPosition", kButtonCaptionPosition, CLSID_FramePpg},
         {"CaptionTop", kCaptionTop, CLSID_FramePpg},
         {"BackStyle", kBackStyle, CLSID_FramePpg},
         {"CaptionStartColor", kCaptionStartColor, CLSID_ColorPpg},
         {"CaptionEndColor", kCaptionEndColor, CLSID_ColorPpg},
         {"BackPictureTopLevelAlign ", kBackPictureTopLevelAlign, GUID_NULL},
         {"ButtonCurrent", kButtonCurrent, GUID_NULL}},
        CLSID_FramePpg,
    };
    return d;
}

Frame::Frame() : PageHolder(classDescriptor()), inner_(com::make<MultiPageFrame>())
{
    enabled_ = 1; // the Frame's window and its pages always take input
    inner_->attach(this, nullptr);
    // The pages exist (without windows) from the start, so that a Frame can be loaded before
    // its window is made.
    inner_->setPageCount(1);
    syncButtons();
}

Frame::~Frame()
{
    inner_->attach(nullptr, nullptr);
}

void Frame::syncButtons()
{
    const size_t pages = size_t(inner_->pageSet().count());
    ComPtr<ICommandClient> self(static_cast<ICommandClient*>(this));
    while (buttons_.size() > pages) {
        buttons_.back()->command.unregister(server(), self.get());
        buttons_.pop_back();
    }
    while (buttons_.size() < pages)
        buttons_.push_back(std::make_unique<Button>());
}

Frame::Button* Frame::current()
{
    const LONG i = buttonCurrent();
    return i >= 0 && size_t(i) < buttons_.size() && inner_->page(i) ? buttons_[size_t(i)].get() : nullptr;
}

void Frame::notify(std::initializer_list<DISPID> ids)
{
    for (DISPID id : ids)
        changed(id);
}

void Frame::propertyChanged(DISPID id)
{
    afterChange(id);
    changed(id);
}

void Frame::afterChange(DISPID id)
{
    // An opaque Frame repaints; a transparent one (or a change of the mode itself) gets a window
    // built for its background mode.
    if ((backStyle_ != 1 || id == kBackStyle) && window())
        reactivate();
    switch (id) {
    case 50:
    case kButtonCommand:
        SetCommandServer(server());
        break;
    case kButtonRows:
        buttonRows_ = frames::clampButtonRows(buttonRows_, buttonCount_);
        layOut();
        break;
    case kCaptionTop:
    case kCaptionStyle:
    case kFrameStyle:
    case kButtonCount:
    case kButtonSize:
    case kButtonAlign:
    case DISPID_FONT:
        layOut();
        break;
    case kBackPictureTopLevelAlign:
        inner_->setAlignTopLevel(alignTopLevel_ != 0);
        layOut();
        break;
    default:
        break;
    }
}

HRESULT Frame::setButtonCount(LONG n)
{
    n = frames::storedButtonCount(n);
    if (n == buttonCount_)
        return S_OK;
    const HRESULT hr = inner_->setPageCount(n);
    if (FAILED(hr))
        return hr;
    buttonCount_ = n;
    syncButtons();
    buttonRows_ = std::min(buttonRows_, n);
    notify({kButtonCurrent, kButtonRows, kButtonPicture, kButtonBackPicture, kButtonCaption, kButtonCommand,
            kDragControls});
    propertyChanged(kButtonCount);
    return S_OK;
}

HRESULT Frame::setButtonCurrent(LONG index)
{
    if (index == buttonCurrent())
        return S_OK;
    // The page set and the button list grow together through ButtonCount; a page without its
    // button (the page set resized on its own) is treated as missing rather than read past.
    const bool exists = inner_->page(index) != nullptr && index >= 0 && size_t(index) < buttons_.size();
    HRESULT hr = frames::checkButtonCurrent(index, inner_->pageSet().count(), exists, isRunMode(),
                                            exists ? buttons_[size_t(index)]->state : frames::ButtonState{});
    if (FAILED(hr) || FAILED(hr = inner_->setPageCurrent(index)))
        return hr;
    notify({kDragControls, kButtonCaption, kButtonCommand, kButtonPicture, kButtonBackPicture});
    layOut();
    propertyChanged(kButtonCurrent);
    return S_OK;
}

IFontDisp* Frame::buttonFontRef()
{
    // Until one is set the buttons take a copy of the caption font.
    if (!buttonFont_) {
        com::ComPtr<IFontDisp> caption;
        com::ComPtr<IFont> f, clone;
        if (SUCCEEDED(getFont(caption.put())) && SUCCEEDED(caption->QueryInterface(IID_IFont, f.putVoid())) &&
            SUCCEEDED(f->Clone(clone.put())))
            clone->QueryInterface(IID_IFontDisp, buttonFont_.putVoid());
    }
    return buttonFont_.get();
}

HRESULT Frame::putButtonFont(IFontDisp* font, PutKind kind)
{
    storeFont(buttonFont_, font, kind);
    return S_OK;
}

// ---------------------------------------------------------------- geometry

frames::FrameGeometry Frame::geometry()
{
    frames::FrameLayoutInput in;
    const QRect client = clientRect();
    in.client = {0, 0, client.width(), client.height()};
    in.captionStyle = captionStyle_;
    in.frameStyle = frameStyle_;
    in.captionTop = captionTop_ != 0;
    in.fontHeight = QFontMetrics(qfont()).height();
    in.buttonAlign = buttonAlign_;
    in.buttonRows = buttonRows_;
    in.buttonSize = buttonSize_;
    // Buttons exist from two on; a single page just fills the interior.
    if (buttonCount_ > 1) {
        for (const auto& b : buttons_)
            in.buttonVisible.push_back(b->state.visible);
    }
    return frames::layoutFrame(in);
}

void Frame::layOut()
{
    if (!window())
        return;
    const RECT page = geometry().page;
    frames::PageSet& pages = inner_->pageSet();
    pages.setDefaultRect(page);
    for (LONG i = 0; i < pages.count(); ++i) {
        frames::PageSlot* p = pages.page(i);
        if (p->hasWindow() && !frames::sameRect(p->windowRect(), page))
            p->moveWindow(page);
    }
    invalidate();
}

void Frame::reactivate()
{
    if (!window() || reactivating_)
        return;
    reactivating_ = true;
    // The pages wait in a holder while the window is rebuilt, so their controls survive.
    QWidget holder;
    inner_->attach(this, &holder);
    reactivateWindow();
    reactivating_ = false;
}

// ---------------------------------------------------------------- server

HRESULT Frame::SetCommandServer(ICommandServer* newServer)
{
    ComPtr<ICommandClient> self(static_cast<ICommandClient*>(this));
    for (const auto& b : buttons_)
        b->command.unregister(server(), self.get());
    const HRESULT hr = ControlBase::SetCommandServer(newServer);
    for (const auto& b : buttons_)
        b->command.registerWith(server(), self.get());
    inner_->SetCommandServer(server());
    refreshFromServer();
    return hr;
}

void Frame::refreshFromServer()
{
    ICommandServer* s = server();
    std::vector<frames::ButtonState> states;
    for (const auto& b : buttons_) {
        // A button without a command is always available; a failed read keeps the last state.
        if (!s || !b->command.registered()) {
            b->state = {};
            b->state.set = true;
        } else {
            const LONG cookie = b->command.cookie();
            LONG visible = b->state.visible;
            VARIANT_BOOL enabled = b->state.enabled ? VARIANT_TRUE : VARIANT_FALSE;
            LONG state = b->state.set;
            if (SUCCEEDED(s->GetCommandVisible(cookie, &visible)))
                b->state.visible = (visible & 0xFFFF) != 0;
            if (SUCCEEDED(s->GetCommandEnabled(cookie, &enabled)))
                b->state.enabled = enabled != 0;
            if (SUCCEEDED(s->GetCommandState(cookie, &state)))
                b->state.set = (state & 0xFFFF) != 0;
        }
        states.push_back(b->state);
    }
    const LONG cur = buttonCurrent();
    const LONG next = frames::nearestVisibleSet(states, cur);
    if (next != cur && SUCCEEDED(inner_->setPageCurrent(next)))
        notify({kButtonCurrent, kDragControls, kButtonCaption, kButtonCommand, kButtonPicture, kButtonBackPicture});
    layOut();
}

// ---------------------------------------------------------------- window and input

void Frame::onWindowCreated()
{
    window()->setAttribute(Qt::WA_OpaquePaintEvent, backStyle_ == 1);
    inner_->attach(this, window());
    inner_->setAlignTopLevel(alignTopLevel_ != 0);
    layOut();
}

HRESULT Frame::onWindowDestroying() { return reactivating_ ? S_OK : inner_->attach(this, nullptr); }

void Frame::describe(AccessFacts& facts) const
{
    PageHolder::describe(facts);
    if (buttonCount_ <= 1)
        return;
    const frames::FrameGeometry g = const_cast<Frame*>(this)->geometry();
    for (size_t i = 0; i < buttons_.size() && i < g.buttons.size(); ++i) {
        const RECT& r = g.buttons[i];
        if (r.right <= r.left || r.bottom <= r.top)
            continue; // hidden
        // A page button without a caption is called by its command, else by its number.
        QString name = spokenCaption(buttons_[i]->data.caption);
        if (name.isEmpty())
            name = spokenCommand(buttons_[i]->command);
        if (name.isEmpty())
            name = QStringLiteral("Page %1").arg(i + 1);
        facts.items.push_back({int(i), name,
                               QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)),
                               LONG(i) == buttonCurrent()});
    }
}

bool Frame::activateAccessibleItem(int index)
{
    if (!isRunMode() || index < 0 || index >= buttonCount_)
        return false;
    takeFocus();
    if (index == buttonCurrent() || SUCCEEDED(setButtonCurrent(index)))
        focusedButton_ = index;
    invalidate();
    return true;
}

void Frame::onMousePress(QMouseEvent* e)
{
    const QPoint p = e->position().toPoint();
    takeFocus();
    if (e->button() == Qt::LeftButton && buttonCount_ > 1) {
        const int hit = frames::buttonAt(geometry(), p.x(), p.y());
        if (hit >= 0 && (hit == buttonCurrent() || SUCCEEDED(setButtonCurrent(hit))))
            focusedButton_ = hit;
        invalidate();
    }
    fireMouse(DISPID_MOUSEDOWN, e->button() == Qt::LeftButton ? 1 : 0, p.x(), p.y(), e->modifiers());
}

void Frame::onMouseRelease(QMouseEvent* e)
{
    const QPoint p = e->position().toPoint();
    fireMouse(DISPID_MOUSEUP, e->button() == Qt::LeftButton ? 1 : 0, p.x(), p.y(), e->modifiers());
    if (e->button() == Qt::LeftButton && clientRect().contains(p))
        fire(DISPID_CLICK);
}

void Frame::onMouseMove(QMouseEvent* e)
{
    const QPoint p = e->position().toPoint();
    fireMouse(DISPID_MOUSEMOVE, (e->buttons() & Qt::LeftButton) ? 1 : 0, p.x(), p.y(), e->modifiers());
}

bool Frame::onKeyPress(QKeyEvent* e)
{
    const bool press = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter || e->key() == Qt::Key_Space;
    if (!press || focusedButton_ < 0)
        return false;
    if (focusedButton_ != buttonCurrent())
        setButtonCurrent(focusedButton_);
    invalidate();
    return true;
}

void Frame::onFocusIn()
{
    focusedButton_ = focusedBeforeBlur_;
    ControlBase::onFocusIn();
}

void Frame::onFocusOut()
{
    focusedBeforeBlur_ = focusedButton_;
    focusedButton_ = -1;
    ControlBase::onFocusOut();
}

// ---------------------------------------------------------------- nested page

HRESULT Frame::SetPageOwner(IControlPageOwner* owner)
{
    pageOwner_ = owner;
    return S_OK;
}

HRESULT Frame::PointTest(LONG x, LONG y, BOOL* onControl, BOOL* inClient)
{
    return inner_->PointTest(x, y, onControl, inClient);
}

HRESULT Frame::InsertControl(BSTR classId, LONG x, LONG y, LONG width, LONG height)
{
    return inner_->InsertControl(classId, x, y, width, height);
}

HRESULT Frame::IsLocked(BOOL* locked)
{
    if (!locked)
        return E_POINTER;
    *locked = FALSE;
    return pageOwner_ ? pageOwner_->IsLocked(locked) : S_OK;
}

// ---------------------------------------------------------------- persistence

HRESULT Frame::Save(IStream* stream, BOOL clearDirty)
{
    // A Frame whose ButtonCount was never set still has its one page, and saves it.
    const LONG pages = std::max<LONG>(buttonCount_, 1);
    const HRESULT hr = frames::savePaged(
        stream, pages, [this](IStream* s) { return ControlBase::Save(s, FALSE); },
        [this](IStream* s, int32_t i) {
            ControlPage* page = inner_->page(i);
            if (!page || size_t(i) >= buttons_.size())
                return E_FAIL;
            frames::ButtonData data = buttons_[size_t(i)]->data;
            data.command = buttons_[size_t(i)]->command.text();
            const HRESULT h = frames::writeButtonData(s, data);
            return FAILED(h) ? h : page->save(s);
        });
    if (SUCCEEDED(hr) && clearDirty)
        this->clearDirty();
    return hr;
}

HRESULT Frame::Load(IStream* stream)
{
    const HRESULT hr = frames::loadPaged(
        stream, [this](IStream* s, const frames::BlockReader&) { return ControlBase::Load(s); },
        [this] { return int64_t(buttonCount_) + 2; },
        [this](IStream* s, int32_t i, const frames::BlockReader& block) {
            ControlPage* page = inner_->page(i);
            if (!page || size_t(i) >= buttons_.size())
                return S_OK; // a page this Frame does not have: skipped
            Button& b = *buttons_[size_t(i)];
            frames::ButtonData data = b.data;
            data.command = b.command.text();
            HRESULT h = frames::readButtonData(s, block, data);
            if (FAILED(h))
                return h;
            b.data = data;
            b.command.setText(data.command);
            return page->load(s, block.end());
        });
    // What was loaded stands, even after a failing page.
    buttonRows_ = frames::clampButtonRows(buttonRows_, buttonCount_);
    inner_->setAlignTopLevel(alignTopLevel_ != 0);
    if (server())
        SetCommandServer(server());
    layOut();
    if (SUCCEEDED(hr))
        clearDirty();
    return hr;
}

HRESULT createFrame(REFIID iid, void** out)
{
    auto f = com::make<Frame>();
    return f->QueryInterface(iid, out);
}

} // namespace vyr::controls
