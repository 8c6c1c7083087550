#include "controls/frames/multipageframe.h"
#include "controls/core/properties.h"
#include "controls/frames/backpicture.h"
#include <QPainter>
#include <QWidget>

namespace vyr::controls {

using frames::ControlPage;

namespace {

enum : DISPID {
    kLocked = 1,
    kPageCount = 2,
    kPageCurrent = 3,
    kDragControls = 4,
    kBackPicture = 5,
    kBackColor = 6,
    kLeft = 7,
    kTop = 8,
    kWidth = 9,
    kHeight = 10,
    kAutoFrameArrange = 11,
    kAutoArrangeFrameDistance = 12,
};

const EnumNames& arrangeNames()
{
    static const EnumNames names{{"Off", "Vertical", "Horizontal"}, VT_I4, {}, "FrameArrange",
                                  {"eArrangeOff", "eArrangeVertical", "eArrangeHorizontal"}};
    return names;
}

MultiPageFrame& self(ControlBase& b) { return static_cast<MultiPageFrame&>(b); }

PropertyDesc longProperty(DISPID id, const char* name, std::function<LONG(MultiPageFrame&)> get,
                          std::function<HRESULT(MultiPageFrame&, LONG)> put, const EnumNames* names = nullptr)
{
    PropertyDesc p{id, name, PropType::Long, nullptr, nullptr, names};
    p.get = [get](ControlBase& b) { return com::Variant::fromLong(get(self(b))); };
    p.put = [put](ControlBase& b, const VARIANT& v, PutKind) { return put(self(b), v.lVal); };
    return p;
}

PropertyDesc boolProperty(DISPID id, const char* name, std::function<bool(MultiPageFrame&)> get,
                          std::function<HRESULT(MultiPageFrame&, bool)> put)
{
    PropertyDesc p{id, name, PropType::Bool, nullptr, nullptr, &boolNames()};
    p.get = [get](ControlBase& b) { return com::Variant::fromBool(get(self(b))); };
    p.put = [put](ControlBase& b, const VARIANT& v, PutKind) { return put(self(b), v.boolVal != 0); };
    return p;
}

// Left, Top, Width and Height of the current page's rectangle.
PropertyDesc rectProperty(DISPID id, const char* name, LONG RECT::*edge)
{
    return longProperty(
        id, name,
        [edge, id](MultiPageFrame& m) {
            const RECT r = m.pageSet().currentRect();
            return id == kWidth ? r.right - r.left : id == kHeight ? r.bottom - r.top : r.*edge;
        },
        [edge, id](MultiPageFrame& m, LONG v) {
            RECT r = m.pageSet().currentRect();
            if (id == kWidth)
                r.right = r.left + v;
            else if (id == kHeight)
                r.bottom = r.top + v;
            else {
                const LONG shift = v - r.*edge;
                r = id == kLeft ? frames::moved(r, shift, 0) : frames::moved(r, 0, shift);
            }
            return m.pageSet().setCurrentRect(r);
        });
}

} // namespace

const ClassDescriptor& MultiPageFrame::classDescriptor()
{
    static const ClassDescriptor d{
        CLSID_MultiPageFrame,
        IID_IMultiPageFrame,
        GUID_NULL,
        {
            boolProperty(kLocked, "Locked", [](MultiPageFrame& m) { return m.locked(); },
                         [](MultiPageFrame& m, bool v) { return m.setLocked(v); }),
            longProperty(kPageCount, "PageCount", [](MultiPageFrame& m) { return m.pageSet().count(); },
                         [](MultiPageFrame& m, LONG v) { return m.setPageCount(v); }),
            longProperty(kPageCurrent, "PageCurrent", [](MultiPageFrame& m) { return m.pageSet().current(); },
                         [](MultiPageFrame& m, LONG v) { return m.setPageCurrent(v); }),
            boolProperty(kDragControls, "DragControls", [](MultiPageFrame& m) { return m.dragControls(); },
                         [](MultiPageFrame& m, bool v) { return m.setDragControls(v); }),
            [] {
                PropertyDesc p{kBackPicture, "BackPicture", PropType::Picture, nullptr, nullptr, nullptr};
                p.get = [](ControlBase& b) { return com::Variant::fromDispatch(self(b).backPicture()); };
                p.put = [](ControlBase& b, const VARIANT& v, PutKind kind) {
                    com::ComPtr<IPictureDisp> pic;
                    if (v.pdispVal && FAILED(v.pdispVal->QueryInterface(IID_IPictureDisp, pic.putVoid())))
                        return DISP_E_TYPEMISMATCH;
                    return self(b).setBackPicture(pic.get(), kind);
                };
                return p;
            }(),
            [] {
                PropertyDesc p{kBackColor, "BackColor", PropType::Color, nullptr, nullptr, nullptr};
                p.get = [](ControlBase& b) { return com::Variant::fromULong(self(b).backColor()); };
                p.put = [](ControlBase& b, const VARIANT& v, PutKind) { return self(b).setBackColor(v.ulVal); };
                return p;
            }(),
            rectProperty(kLeft, "Left", &RECT::left),
            rectProperty(kTop, "Top", &RECT::top),
            rectProperty(kWidth, "Width", &RECT::left),
            rectProperty(kHeight, "Height", &RECT::top),
            longProperty(
                kAutoFrameArrange, "AutoFrameArrange", [](MultiPageFrame& m) { return m.pageSet().arrangeMode(); },
                [](MultiPageFrame& m, LONG v) {
                    if (v != m.pageSet().arrangeMode()) {
                        m.pageSet().setArrange(v, m.pageSet().arrangeDistance());
                        m.changed(kAutoFrameArrange);
                    }
                    return S_OK;
                },
                &arrangeNames()),
            longProperty(
                kAutoArrangeFrameDistance, "AutoArrangeFrameDistance",
                [](MultiPageFrame& m) { return m.pageSet().arrangeDistance(); },
                [](MultiPageFrame& m, LONG v) {
                    if (v != m.pageSet().arrangeDistance()) {
                        m.pageSet().setArrange(m.pageSet().arrangeMode(), v);
                        m.changed(kAutoArrangeFrameDistance);
                    }
                    return S_OK;
                }),
        },
        {},
        {kBackColor, kBackPicture, kPageCount, kPageCurrent, kAutoFrameArrange, kAutoArrangeFrameDistance},
        {},
        slotList({{kLocked, "get/put"},
                  {kPageCount, "get/put"},
                  {kPageCurrent, "get/put"},
                  {kDragControls, "get/put"},
                  {kBackColor, "get/put"},
                  {kBackPicture, "get/putref/put"},
                  {kAutoFrameArrange, "get/put"},
                  {kAutoArrangeFrameDistance, "get/put"},
                  {kLeft, "get/put"},
                  {kTop, "get/put"},
                  {kWidth, "get/put"},
                  {kHeight, "get/put"}}),
        {{"BackColor", kBackColor, CLSID_ColorPpg},
         {"BackPicture", kBackPicture, CLSID_PictPpg},
         {"PageCount", kPageCount, CLSID_FramePpg},
         {"PageCurrent", kPageCurrent, CLSID_FramePpg},
         {"AutoFrameArrange", kAutoFrameArrange, CLSID_FramePpg},
         {"AutoArrangeFrameDistance", kAutoArrangeFrameDistance, CLSID_FramePpg}},
    };
    return d;
}

MultiPageFrame::MultiPageFrame() : PageHolder(classDescriptor()), pages_([this] { return makePage(); })
{
    enabled_ = 1; // no command of its own: the window and the pages in it always take input
}

MultiPageFrame::~MultiPageFrame()
{
    attach(nullptr, nullptr);
}

std::unique_ptr<frames::PageSlot> MultiPageFrame::makePage()
{
    auto p = std::make_unique<ControlPage>();
    p->setParentWidget(parent_);
    p->setOwner(this);
    p->setCommandServer(server());
    p->setBackColor(backColor_);
    p->setBackPicture(backPicture_.get());
    p->setLocked(locked_);
    p->setAlignTopLevel(alignTopLevel_);
    return p;
}

ControlPage* MultiPageFrame::page(LONG index) const
{
    return static_cast<ControlPage*>(pages_.page(index));
}

HRESULT MultiPageFrame::attach(IControlPageOwner* owner, QWidget* parent)
{
    owner_ = owner;
    if (parent == parent_)
        return S_OK;
    parent_ = parent;
    if (parent) {
        pages_.setDefaultRect({0, 0, parent->width(), parent->height()});
        eachPage([&](ControlPage& p) { p.setParentWidget(parent); });
    }
    const HRESULT hr = pages_.attach(parent != nullptr);
    // A window kept because its controls could not be saved must outlive the old parent.
    if (!parent)
        eachPage([&](ControlPage& p) { p.setParentWidget(nullptr); });
    return hr;
}

bool MultiPageFrame::dragControls() const
{
    const ControlPage* p = currentPage();
    return p && p->dragControls();
}

HRESULT MultiPageFrame::setLocked(bool locked)
{
    if (locked == locked_)
        return S_OK;
    locked_ = locked;
    eachPage([&](ControlPage& p) { p.setLocked(locked); });
    changed(kLocked);
    return S_OK;
}

HRESULT MultiPageFrame::setPageCount(LONG n)
{
    const LONG before = pages_.count();
    const HRESULT hr = pages_.setCount(n);
    if (FAILED(hr))
        return hr;
    if (pages_.count() != before)
        changed(kPageCount);
    return S_OK;
}

HRESULT MultiPageFrame::setPageCurrent(LONG index)
{
    if (index < 0 || index >= pages_.count())
        return E_FAIL;
    const HRESULT hr = pages_.setCurrent(index);
    changed(kPageCurrent);
    return hr;
}

HRESULT MultiPageFrame::setDragControls(bool drag)
{
    ControlPage* p = currentPage();
    if (!p)
        return E_FAIL;
    if (p->dragControls() != drag) {
        p->setDragControls(drag);
        changed(kDragControls);
    }
    return S_OK;
}

HRESULT MultiPageFrame::setBackColor(OLE_COLOR color)
{
    return assign(backColor_, color, kBackColor, [&] { eachPage([&](ControlPage& p) { p.setBackColor(color); }); });
}

HRESULT MultiPageFrame::setBackPicture(IPictureDisp* picture, PutKind kind)
{
    const HRESULT hr = putPicture(backPicture_, picture, kind);
    eachPage([&](ControlPage& p) { p.setBackPicture(backPicture_.get()); });
    changed(kBackPicture);
    return hr;
}

void MultiPageFrame::setAlignTopLevel(bool align)
{
    alignTopLevel_ = align;
    eachPage([&](ControlPage& p) { p.setAlignTopLevel(align); });
}

// ---------------------------------------------------------------- persistence

HRESULT MultiPageFrame::Save(IStream* stream, BOOL clearDirty)
{
    const HRESULT hr = pages_.save(stream, [this](IStream* s) { return ControlBase::Save(s, FALSE); });
    if (SUCCEEDED(hr) && clearDirty)
        this->clearDirty();
    return hr;
}

HRESULT MultiPageFrame::Load(IStream* stream)
{
    const HRESULT hr = pages_.load(stream, [this](IStream* s, const frames::BlockReader&) { return ControlBase::Load(s); });
    if (FAILED(hr))
        return hr;
    if (parent_ && currentPage())
        currentPage()->passFocus(false);
    clearDirty();
    return S_OK;
}

// ---------------------------------------------------------------- server and window

HRESULT MultiPageFrame::SetCommandServer(ICommandServer* server)
{
    const HRESULT hr = ControlBase::SetCommandServer(server);
    eachPage([&](ControlPage& p) { p.setCommandServer(server); });
    return hr;
}

void MultiPageFrame::onWindowCreated()
{
    attach(pageOwner_.get(), window());
}

HRESULT MultiPageFrame::onWindowDestroying()
{
    return parent_ && parent_ == window() ? attach(nullptr, nullptr) : S_OK;
}

void MultiPageFrame::onResize()
{
    if (parent_ && parent_ == window())
        pages_.setDefaultRect({0, 0, parent_->width(), parent_->height()});
}

void MultiPageFrame::onDraw(QPainter& painter, const QRect& bounds)
{
    frames::paintBackground(painter, window(), bounds, backColor_, nullptr, false);
}

// ---------------------------------------------------------------- nested page

HRESULT MultiPageFrame::SetPageOwner(IControlPageOwner* owner)
{
    pageOwner_ = owner;
    if (parent_ && parent_ == window())
        owner_ = owner;
    return S_OK;
}

HRESULT MultiPageFrame::PointTest(LONG x, LONG y, BOOL* onControl, BOOL* inClient)
{
    if (!onControl || !inClient)
        return E_POINTER;
    bool on = false, in = false;
    if (ControlPage* p = currentPage(); p && p->widget()) {
        const QPoint local = p->widget()->mapFrom(parent_, QPoint(x, y));
        p->pointTest(local.x(), local.y(), on, in);
    }
    *onControl = on;
    *inClient = in;
    return S_OK;
}

HRESULT MultiPageFrame::ForwardDispatch(IDispatch* object)
{
    ControlPage* p = currentPage();
    return p ? p->forwardDispatch(object, false) : E_FAIL;
}

HRESULT MultiPageFrame::AddDispatch(IDispatch* object)
{
    ControlPage* p = currentPage();
    return p ? p->forwardDispatch(object, true) : E_FAIL;
}

HRESULT MultiPageFrame::InsertControl(BSTR classId, LONG x, LONG y, LONG width, LONG height)
{
    ControlPage* p = currentPage();
    return p ? p->insertControl(com::utf8(classId), {x, y, x + width, y + height}) : E_FAIL;
}

HRESULT MultiPageFrame::GetDragControls(BOOL* drag)
{
    if (!drag)
        return E_POINTER;
    *drag = dragControls();
    return currentPage() ? S_OK : E_FAIL;
}

HRESULT MultiPageFrame::IsLocked(BOOL* locked)
{
    if (!locked)
        return E_POINTER;
    BOOL ownerLocked = FALSE;
    *locked = locked_ || (owner_ && SUCCEEDED(owner_->IsLocked(&ownerLocked)) && ownerLocked);
    return S_OK;
}

void MultiPageFrame::passAmbientChange(DISPID id)
{
    eachPage([&](ControlPage& p) { p.ambientChanged(id); });
}

HRESULT createMultiPageFrame(REFIID iid, void** out)
{
    auto m = com::make<MultiPageFrame>();
    return m->QueryInterface(iid, out);
}

} // namespace vyr::controls
