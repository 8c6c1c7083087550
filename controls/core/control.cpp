#include "controls/core/control.h"
#include "controls/core/controlwindow.h"
#include "controls/core/module.h"
#include "controls/core/typelibrary.h"
#include "platform/com/invokeargs.h"
#include "platform/com/memstream.h"
#include "platform/com/streamio.h"
#include <QApplication>
#include <QPainter>
#include <algorithm>
#include <cstring>

namespace vyr::controls {

using com::ComPtr;
using com::Variant;

namespace {
constexpr uint32_t kStreamVersion = 1;
constexpr const char* kDefaultFontName = "MS Sans Serif";
constexpr double kDefaultFontPoints = 8.0;
int g_beeps = 0;
} // namespace

void messageBeep()
{
    ++g_beeps;
    QApplication::beep();
}
int beepCount() { return g_beeps; }

ControlBase::ControlBase(const ClassDescriptor& descriptor)
    : desc_(descriptor),
      events_(this, descriptor.eventIid, ConnectionPoint::Kind::Dispinterface),
      notify_(this, IID_IPropertyNotifySink, ConnectionPoint::Kind::Interface)
{
    moduleLock();
}

ControlBase::~ControlBase()
{
    ControlBase::InPlaceDeactivate();
    ControlBase::DestroyControlWindow();
    moduleUnlock();
}

ControlBase* ControlBase::from(IUnknown* object)
{
    IUnknown* self = nullptr;
    if (!object || FAILED(object->QueryInterface(kSelfIid, reinterpret_cast<void**>(&self))) || !self)
        return nullptr;
    self->Release(); // the caller holds `object`, which keeps the control alive
    return static_cast<ControlBase*>(static_cast<IDispatch*>(self));
}

HRESULT ControlBase::QueryInterface(REFIID riid, void** out)
{
    // The IDispatch of a dual interface is that interface's pointer: its vtable continues
    // with the members, so ITypeInfo::Invoke works on whichever pointer a container holds.
    if (riid == IID_IDispatch && out) {
        *out = nullptr;
        IUnknown* dual = static_cast<IUnknown*>(queryExtra(desc_.dispatchIid));
        if (dual) {
            dual->AddRef();
            *out = dual;
            return S_OK;
        }
    }
    return Object::QueryInterface(riid, out);
}

void* ControlBase::queryExtra(REFIID riid)
{
    if (riid == kSelfIid)
        return unknown();
    // The control's own interface is a tear-off whose slots after IDispatch are its members
    // in the interface's order.
    if (riid == desc_.dispatchIid && riid != GUID_NULL) {
        if (!dual_.vtable) {
            const ClassTypeInfo* info = classTypeInfo(desc_.clsid);
            if (!info || !info->layout)
                return nullptr;
            dual_.bind(static_cast<IDispatch*>(this), info->layout.get());
        }
        return &dual_;
    }
    return nullptr;
}

// ---------------------------------------------------------------- IDispatch and class info

HRESULT ControlBase::GetTypeInfoCount(UINT* count)
{
    if (!count)
        return E_POINTER;
    const ClassTypeInfo* info = classTypeInfo(desc_.clsid);
    *count = info && info->dispatch ? 1 : 0;
    return S_OK;
}

HRESULT ControlBase::GetTypeInfo(UINT index, LCID, ITypeInfo** info)
{
    if (!info)
        return E_POINTER;
    *info = nullptr;
    if (index != 0)
        return DISP_E_BADINDEX;
    const ClassTypeInfo* t = classTypeInfo(desc_.clsid);
    if (!t || !t->dispatch)
        return TYPE_E_ELEMENTNOTFOUND;
    return t->dispatch.copyTo(info);
}

HRESULT ControlBase::GetClassInfo(ITypeInfo** info)
{
    if (!info)
        return E_POINTER;
    *info = nullptr;
    const ClassTypeInfo* t = classTypeInfo(desc_.clsid);
    if (!t || !t->coclass)
        return TYPE_E_ELEMENTNOTFOUND;
    return t->coclass.copyTo(info);
}

HRESULT ControlBase::GetGUID(DWORD kind, GUID* guid)
{
    if (!guid)
        return E_POINTER;
    *guid = GUID_NULL;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID)
        return E_INVALIDARG;
    if (desc_.eventIid == GUID_NULL)
        return E_FAIL; // no outgoing interface
    *guid = desc_.eventIid;
    return S_OK;
}

// ---------------------------------------------------------------- property pages

bool ControlBase::pageOf(DISPID id, CLSID& page) const
{
    page = GUID_NULL;
    if (!desc_.propertyMap.empty()) {
        for (const MapEntry& e : desc_.propertyMap)
            if (e.id == id) {
                page = e.page;
                return true;
            }
        return desc_.property(id) != nullptr;
    }
    const PropertyDesc* p = desc_.property(id);
    if (!p)
        return false;
    // Without a map: the stock pages by type, the control's own page for the rest.
    switch (p->type) {
    case PropType::Color: page = CLSID_ColorPpg; break;
    case PropType::Font: page = CLSID_FontPpg; break;
    case PropType::Picture: page = CLSID_PictPpg; break;
    default: page = p->dispatchable && p->put ? desc_.ownPage : GUID_NULL; break;
    }
    return true;
}

HRESULT ControlBase::GetPages(CAUUID* pages)
{
    if (!pages)
        return E_POINTER;
    pages->cElems = 0;
    pages->pElems = nullptr;
    std::vector<CLSID> found;
    auto add = [&](const CLSID& c) {
        if (c != GUID_NULL && std::find(found.begin(), found.end(), c) == found.end())
            found.push_back(c);
    };
    if (desc_.propertyMap.empty()) {
        add(desc_.ownPage);
        for (const PropertyDesc& p : desc_.properties) {
            CLSID page;
            if (p.dispatchable && pageOf(p.id, page))
                add(page);
        }
    } else {
        for (const MapEntry& e : desc_.propertyMap)
            add(e.page);
    }
    if (found.empty())
        return S_OK;
    pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(found.size() * sizeof(GUID)));
    if (!pages->pElems)
        return E_OUTOFMEMORY;
    std::copy(found.begin(), found.end(), pages->pElems);
    pages->cElems = ULONG(found.size());
    return S_OK;
}

HRESULT ControlBase::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    if (!names || !ids)
        return E_POINTER;
    if (count == 0)
        return S_OK;
    // Names as the type information knows them, argument names included, so that a
    // container's named arguments mean the same on every path.
    if (const ClassTypeInfo* t = classTypeInfo(desc_.clsid); t && t->dispatch) {
        const HRESULT hr = DispGetIDsOfNames(t->dispatch.get(), names, count, ids);
        if (ids[0] != DISPID_UNKNOWN)
            return hr;
        // A member the interface leaves out is still reached through IDispatch.
    }
    HRESULT hr = S_OK;
    ids[0] = desc_.idOfName(com::utf8(std::u16string_view(names[0] ? names[0] : u"")));
    if (ids[0] == DISPID_UNKNOWN)
        hr = DISP_E_UNKNOWNNAME;
    for (UINT i = 1; i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
        hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

HRESULT ControlBase::putProperty(const PropertyDesc& p, const VARIANT& value, PutKind kind)
{
    if (!p.put)
        return DISP_E_MEMBERNOTFOUND;
    Variant converted;
    if (HRESULT hr = com::coerceArg(value, varTypeOf(p.type), converted); FAILED(hr))
        return hr == DISP_E_OVERFLOW ? hr : DISP_E_TYPEMISMATCH;
    return p.put(*this, converted.get(), kind);
}

HRESULT ControlBase::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                            UINT* argErr)
{
    com::InvokeArgs args;
    if (const MethodDesc* m = desc_.method(id); m && (flags & DISPATCH_METHOD)) {
        std::vector<com::ParamSpec> specs;
        for (const MethodParam& mp : m->params)
            specs.push_back({varTypeOf(mp.type), mp.out});
        if (HRESULT hr = args.prepare(com::CallShape::Method, specs, params, argErr); FAILED(hr))
            return hr;
        const HRESULT hr = m->call(*this, args.dispParams(), result);
        if (SUCCEEDED(hr))
            args.complete();
        return hr;
    }
    const PropertyDesc* p = desc_.property(id);
    if (!p || !p->dispatchable)
        return DISP_E_MEMBERNOTFOUND;
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        if (!p->put)
            return DISP_E_MEMBERNOTFOUND;
        const com::ParamSpec spec{varTypeOf(p->type), false};
        if (HRESULT hr = args.prepare(com::CallShape::Put, {&spec, 1}, params, argErr); FAILED(hr))
            return hr;
        return p->put(*this, args.value(0),
                      (flags & DISPATCH_PROPERTYPUTREF) ? PutKind::ByRef : PutKind::ByValue);
    }
    if (flags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD)) {
        if (HRESULT hr = args.prepare(com::CallShape::Get, {}, params, argErr); FAILED(hr))
            return hr;
        if (!result)
            return E_FAIL;
        Variant v = p->get(*this);
        if (p->type == PropType::Font && !v.get().pdispVal)
            return E_FAIL; // no font could be made
        return v.copyTo(result);
    }
    return DISP_E_MEMBERNOTFOUND;
}

// ---------------------------------------------------------------- persistence

HRESULT ControlBase::GetClassID(CLSID* clsid)
{
    if (!clsid)
        return E_POINTER;
    *clsid = desc_.clsid;
    return S_OK;
}

HRESULT ControlBase::exchangeProperty(bool load, bool* more, int index, DISPID* id, VARIANT* value)
{
    if (!id || !value)
        return E_POINTER;
    if (load) {
        const PropertyDesc* p = desc_.property(*id);
        if (!p || !p->put)
            return DISP_E_MEMBERNOTFOUND;
        return putProperty(*p, *value, PutKind::ByRef);
    }
    if (index < 0 || size_t(index) >= desc_.saveOrder.size()) {
        if (more)
            *more = false;
        return S_OK;
    }
    if (more)
        *more = true;
    *id = desc_.saveOrder[size_t(index)];
    const PropertyDesc* p = desc_.property(*id);
    if (!p)
        return E_UNEXPECTED;
    return p->get(*this).copyTo(value);
}

HRESULT ControlBase::Load(IStream* stream)
{
    if (!stream)
        return E_POINTER;
    uint32_t version = 0;
    HRESULT hr = com::readValue(stream, version);
    if (FAILED(hr))
        return hr;
    if (version > kStreamVersion)
        return E_FAIL;
    GUID iid;
    uint32_t count = 0;
    if (FAILED(hr = com::readGuid(stream, iid)) || FAILED(hr = com::readValue(stream, count)))
        return hr;
    for (uint32_t i = 0; i < count; ++i) {
        DISPID id = 0;
        Variant value;
        if (FAILED(hr = com::readValue(stream, id)) || FAILED(hr = com::readVariant(stream, value.put())))
            return hr;
        VARIANT v = value.detach();
        hr = exchangeProperty(true, nullptr, int(i), &id, &v);
        VariantClear(&v);
        if (hr == DISP_E_MEMBERNOTFOUND)
            return S_OK; // a property this control does not know ends the list
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

HRESULT ControlBase::Save(IStream* stream, BOOL clearDirtyFlag)
{
    if (!stream)
        return E_POINTER;
    std::vector<std::pair<DISPID, Variant>> records;
    for (int index = 0;; ++index) {
        bool more = false;
        DISPID id = 0;
        Variant value;
        HRESULT hr = exchangeProperty(false, &more, index, &id, value.put());
        if (FAILED(hr))
            return hr;
        if (!more)
            break;
        records.emplace_back(id, std::move(value));
    }
    HRESULT hr = com::writeValue(stream, kStreamVersion);
    if (SUCCEEDED(hr))
        hr = com::writeGuid(stream, IID_IDispatch);
    if (SUCCEEDED(hr))
        hr = com::writeValue(stream, uint32_t(records.size()));
    for (size_t i = 0; SUCCEEDED(hr) && i < records.size(); ++i) {
        hr = com::writeValue(stream, records[i].first);
        if (SUCCEEDED(hr))
            hr = com::writeVariant(stream, records[i].second.get());
    }
    if (SUCCEEDED(hr) && clearDirtyFlag)
        dirty_ = false;
    return hr;
}

HRESULT ControlBase::GetSizeMax(ULARGE_INTEGER* size)
{
    if (!size)
        return E_POINTER;
    auto s = com::MemoryStream::create();
    const bool wasDirty = dirty_;
    HRESULT hr = Save(s.get(), FALSE);
    dirty_ = wasDirty;
    size->QuadPart = s->bytes().size();
    return hr;
}

// ---------------------------------------------------------------- connection points

HRESULT ControlBase::EnumConnectionPoints(IEnumConnectionPoints** points)
{
    std::vector<IConnectionPoint*> items;
    if (desc_.eventIid != GUID_NULL)
        items.push_back(&events_);
    items.push_back(&notify_);
    return makeConnectionPointEnum(std::move(items), points);
}

HRESULT ControlBase::FindConnectionPoint(REFIID riid, IConnectionPoint** point)
{
    if (!point)
        return E_POINTER;
    *point = nullptr;
    if (riid == IID_IPropertyNotifySink)
        *point = &notify_;
    else if (desc_.eventIid != GUID_NULL && riid == desc_.eventIid)
        *point = &events_;
    else
        return CONNECT_E_NOCONNECTION;
    (*point)->AddRef();
    return S_OK;
}

void ControlBase::fire(DISPID id, std::initializer_list<Variant> args)
{
    std::vector<VARIANT> reversed;
    for (auto it = std::rbegin(args); it != std::rend(args); ++it)
        reversed.push_back(it->get()); // shallow: the caller's Variants own the values
    DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(), nullptr, UINT(reversed.size()), 0};
    for (const ComPtr<IUnknown>& sink : events_.sinks()) {
        // Event sinks are dispinterfaces: their vtable is IDispatch's.
        auto* d = reinterpret_cast<IDispatch*>(sink.get());
        Variant result;
        d->Invoke(id, GUID_NULL, 0, DISPATCH_METHOD, &params, result.put(), nullptr, nullptr);
    }
}

int16_t ControlBase::shiftState(Qt::KeyboardModifiers m)
{
    return int16_t((m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) |
                   (m & Qt::AltModifier ? 4 : 0));
}

void ControlBase::fireMouse(DISPID id, int16_t button, int32_t x, int32_t y, Qt::KeyboardModifiers modifiers)
{
    // Positions travel as the low and high 16 bits of the message: unsigned.
    fire(id, {Variant::fromShort(button), Variant::fromShort(shiftState(modifiers)),
              Variant::fromLong(int32_t(uint16_t(x))), Variant::fromLong(int32_t(uint16_t(y)))});
}

void ControlBase::changed(DISPID id)
{
    if (frozen_)
        return;
    dirty_ = true;
    for (const ComPtr<IUnknown>& sink : notify_.sinks())
        reinterpret_cast<IPropertyNotifySink*>(sink.get())->OnChanged(id);
    invalidate();
}

void ControlBase::invalidate()
{
    if (windowless_)
        windowless_->InvalidateRect(nullptr);
    else if (window_)
        window_->update();
    else
        return;
    accessibleChanged(*this);
}

// ---------------------------------------------------------------- browsing

namespace {
LPOLESTR taskString(const std::string& utf8)
{
    const std::u16string s = com::utf16(utf8);
    auto* out = static_cast<LPOLESTR>(CoTaskMemAlloc((s.size() + 1) * sizeof(OLECHAR)));
    std::memcpy(out, s.c_str(), (s.size() + 1) * sizeof(OLECHAR));
    return out;
}

// The current value of an enumerated property as its cookie (booleans as 0/1).
std::optional<int32_t> cookieOf(const PropertyDesc& p, ControlBase& c)
{
    Variant v = p.get(c);
    if (v.type() == VT_BOOL)
        return v.get().boolVal ? 1 : 0;
    return v.toLong();
}
} // namespace

HRESULT ControlBase::GetDisplayString(DISPID id, BSTR* text)
{
    if (!text)
        return E_POINTER;
    *text = nullptr;
    const PropertyDesc* p = desc_.property(id);
    if (!p || !p->names)
        return S_FALSE;
    const auto cookie = cookieOf(*p, *this);
    for (size_t i = 0; cookie && i < p->names->names.size(); ++i) {
        if (p->names->valueAt(i) == *cookie) {
            *text = com::Bstr(p->names->names[i]).detach();
            return S_OK;
        }
    }
    return S_FALSE;
}

HRESULT ControlBase::MapPropertyToPage(DISPID id, CLSID* page)
{
    if (!page)
        return E_POINTER;
    if (!pageOf(id, *page))
        return DISP_E_MEMBERNOTFOUND;
    return *page == GUID_NULL ? PERPROP_E_NOPAGEAVAILABLE : S_OK;
}

HRESULT ControlBase::GetPredefinedStrings(DISPID id, CALPOLESTR* strings, CADWORD* cookies)
{
    if (!strings || !cookies)
        return E_POINTER;
    strings->cElems = cookies->cElems = 0;
    strings->pElems = nullptr;
    cookies->pElems = nullptr;
    const PropertyDesc* p = desc_.property(id);
    if (!p || !p->names)
        return S_FALSE;
    const auto& names = p->names->names;
    strings->pElems = static_cast<LPOLESTR*>(CoTaskMemAlloc(names.size() * sizeof(LPOLESTR)));
    cookies->pElems = static_cast<DWORD*>(CoTaskMemAlloc(names.size() * sizeof(DWORD)));
    for (size_t i = 0; i < names.size(); ++i) {
        strings->pElems[i] = taskString(names[i]);
        cookies->pElems[i] = DWORD(p->names->valueAt(i));
    }
    strings->cElems = cookies->cElems = ULONG(names.size());
    return S_OK;
}

HRESULT ControlBase::GetPredefinedValue(DISPID id, DWORD cookie, VARIANT* value)
{
    if (!value)
        return E_POINTER;
    const PropertyDesc* p = desc_.property(id);
    if (!p || !p->names)
        return E_INVALIDARG;
    for (size_t i = 0; i < p->names->names.size(); ++i) {
        if (DWORD(p->names->valueAt(i)) != cookie)
            continue;
        VariantInit(value);
        value->vt = p->names->predefinedType;
        if (value->vt == VT_I2)
            value->iVal = SHORT(cookie);
        else
            value->lVal = LONG(cookie);
        return S_OK;
    }
    return E_INVALIDARG;
}

// ---------------------------------------------------------------- command binding

HRESULT ControlBase::SetCommandServer(ICommandServer* newServer)
{
    ComPtr<ICommandClient> self(static_cast<ICommandClient*>(this));
    HRESULT result = S_OK;
    std::vector<CommandBinding*> all{&command_};
    all.insert(all.end(), bindings_.begin(), bindings_.end());
    if (server_) {
        for (CommandBinding* b : all) {
            if (HRESULT hr = b->unregister(server_.get(), self.get()); FAILED(hr))
                result = hr; // the old registration stays
        }
    }
    if (SUCCEEDED(result)) {
        server_ = newServer;
        for (CommandBinding* b : all)
            b->registerWith(server_.get(), self.get());
    }
    refreshFromServer();
    accessibleChanged(*this); // a control without a caption is named after its command
    return result;
}

HRESULT ControlBase::OnCommandStateChanged()
{
    refreshFromServer();
    // The command's label may be what changed, with nothing to repaint.
    accessibleChanged(*this);
    return S_OK;
}

void ControlBase::refreshFromServer()
{
    if (!server_ || !command_.registered()) {
        refreshUnbound();
        return;
    }
    int now = 0;
    bool visible = true;
    readCommandState(now, visible);
    if (now != enabled_) {
        enabled_ = now;
        invalidate();
    }
    applyShowState(visible);
}

void ControlBase::readCommandState(int& enabled, bool& visible) const
{
    VARIANT_BOOL en = enabled_ ? VARIANT_TRUE : VARIANT_FALSE;
    LONG shown = 1;
    server_->GetCommandEnabled(command_.cookie(), &en);
    server_->GetCommandVisible(command_.cookie(), &shown);
    enabled = en ? 1 : 0;
    visible = (shown & 0xFFFF) != 0;
}

void ControlBase::refreshUnbound()
{
    if (enabled_) {
        enabled_ = 0;
        invalidate();
    }
    applyShowState(true);
}

void ControlBase::applyShowState(bool visible)
{
    const bool design = !isRunMode();
    const int show = (visible || design) ? 1 : 0;
    if (show != shown_) {
        shown_ = show;
        if (windowless_)
            windowless_->ShowObject(show != 0);
        else if (window_)
            window_->setVisible(show != 0);
    }
    applyEnabled(enabled_ || design);
}

void ControlBase::applyEnabled(bool enable)
{
    // setEnabled keeps the explicit state in WA_ForceDisabled; when that already says the
    // same, the call would change nothing and send no event.
    if (windowless_)
        windowless_->EnableObject(enable);
    else if (window_ && window_->testAttribute(Qt::WA_ForceDisabled) == enable)
        window_->setEnabled(enable);
}

HRESULT ControlBase::executeOwnCommand()
{
    if (!server_ || !command_.registered()) {
        messageBeep();
        return E_FAIL;
    }
    HRESULT hr = server_->ExecuteCommand(command_.cookie());
    if (FAILED(hr))
        messageBeep();
    return hr;
}

HRESULT ControlBase::setCommandText(const std::string& text, DISPID id)
{
    // String puts always apply: the same text registers again with the current server.
    command_.setText(text);
    SetCommandServer(server_.get()); // registers the new text with the current server
    changed(id);
    return S_OK;
}

// ---------------------------------------------------------------- caption, enabled, fonts, pictures

HRESULT ControlBase::setCaptionText(const std::string& text, DISPID id)
{
    if (text == caption_)
        return S_OK;
    caption_ = text;
    const size_t amp = caption_.find('&');
    const char mn = (amp != std::string::npos && amp + 1 < caption_.size()) ? caption_[amp + 1] : 0;
    if (mn != mnemonic_) {
        mnemonic_ = mn;
        // In design mode the container is told when the control switches to run mode.
        mnemonicUnannounced_ = !(site_ && isRunMode());
        if (!mnemonicUnannounced_)
            site_->OnControlInfoChanged();
    }
    changed(id);
    return S_OK;
}

HRESULT ControlBase::setEnabledFlag(bool enabled, DISPID id)
{
    return assign(enabled_, enabled ? 1 : 0, id, [this] { applyShowState(shown_ != 0); });
}

HRESULT ControlBase::getFont(IFontDisp** out)
{
    if (!out)
        return E_FAIL;
    *out = nullptr;
    if (!font_) {
        Variant amb;
        if (ambient(DISPID_AMBIENT_FONT, amb) && (amb.type() == VT_DISPATCH || amb.type() == VT_UNKNOWN) &&
            amb.get().punkVal) {
            ComPtr<IFont> f;
            if (SUCCEEDED(amb.get().punkVal->QueryInterface(IID_IFont, f.putVoid()))) {
                ComPtr<IFont> clone;
                if (SUCCEEDED(f->Clone(clone.put())))
                    clone->QueryInterface(IID_IFontDisp, font_.putVoid());
            }
        }
        if (!font_)
            com::createFont(kDefaultFontName, kDefaultFontPoints, font_.put());
        fontTaken_ = true;
    }
    if (!font_)
        return E_FAIL;
    return font_.copyTo(out);
}

void ControlBase::storeFont(ComPtr<IFontDisp>& slot, IFontDisp* font, PutKind kind)
{
    slot.reset();
    if (font && kind == PutKind::ByRef) {
        slot = font;
    } else if (font) {
        ComPtr<IFont> f, clone;
        if (SUCCEEDED(font->QueryInterface(IID_IFont, f.putVoid())) && SUCCEEDED(f->Clone(clone.put())))
            clone->QueryInterface(IID_IFontDisp, slot.putVoid());
    }
}

HRESULT ControlBase::putFont(IFontDisp* font, PutKind kind, DISPID id)
{
    storeFont(font_, font, kind);
    fontTaken_ = false;
    changed(id);
    return S_OK;
}

QFont ControlBase::qfont()
{
    ComPtr<IFontDisp> f;
    getFont(f.put());
    return com::qfontOf(f.get());
}

HRESULT ControlBase::putPicture(ComPtr<IPictureDisp>& slot, IPictureDisp* pic, PutKind kind)
{
    slot.reset();
    if (!pic)
        return S_OK;
    if (kind == PutKind::ByRef) {
        slot = pic;
        return S_OK;
    }
    // A copy through the picture's persisted form; a source that cannot be copied leaves
    // the property empty.
    ComPtr<IPersistStream> ps;
    if (FAILED(pic->QueryInterface(IID_IPersistStream, ps.putVoid())))
        return S_OK;
    auto stream = com::MemoryStream::create();
    if (FAILED(ps->Save(stream.get(), FALSE)) || FAILED(stream->Seek({0}, STREAM_SEEK_SET, nullptr)))
        return S_OK;
    ComPtr<IPictureDisp> copy;
    ComPtr<IPersistStream> cps;
    if (FAILED(com::createStdObject(CLSID_StdPicture, IID_IPictureDisp, copy.putVoid())) ||
        FAILED(copy->QueryInterface(IID_IPersistStream, cps.putVoid())) || FAILED(cps->Load(stream.get())))
        return S_OK;
    slot = copy;
    return S_OK;
}

// ---------------------------------------------------------------- site, mode, window

bool ControlBase::ambient(DISPID id, Variant& value) const
{
    return site_ && SUCCEEDED(site_->GetAmbientProperty(id, value.put()));
}

bool ControlBase::readRunMode() const
{
    if (!site_)
        return true;
    Variant v;
    if (ambient(DISPID_AMBIENT_USERMODE, v)) {
        if (auto b = v.toBool(); b && !*b)
            return false;
    }
    if (ambient(DISPID_AMBIENT_UIDEAD, v)) {
        if (auto b = v.toBool(); b && *b)
            return false;
    }
    return true;
}

HRESULT ControlBase::SetSite(IVyrSite* site)
{
    site_ = site;
    runMode_ = readRunMode();
    return S_OK;
}

HRESULT ControlBase::OnAmbientPropertyChange(DISPID id)
{
    // A font taken from the container follows the container's font; one set as a property stays.
    if (fontTaken_ && (id == DISPID_AMBIENT_FONT || id == DISPID_UNKNOWN)) {
        font_.reset();
        fontTaken_ = false;
    }
    runMode_ = readRunMode();
    if (mnemonicUnannounced_ && site_ && isRunMode()) {
        mnemonicUnannounced_ = false;
        site_->OnControlInfoChanged();
    }
    applyShowState(shown_ != 0 || !isRunMode());
    invalidate();
    return S_OK;
}

HRESULT ControlBase::GetMnemonic(char* m)
{
    if (!m)
        return E_POINTER;
    *m = mnemonic_;
    return S_OK;
}

HRESULT ControlBase::OnMnemonic() { return S_OK; }

void ControlBase::onFocusIn()
{
    focused_ = true;
    if (site_)
        site_->OnFocus(TRUE);
    invalidate();
}

void ControlBase::onFocusOut()
{
    focused_ = false;
    capture_ = false;
    if (site_)
        site_->OnFocus(FALSE);
    invalidate();
}

void ControlBase::setTimer(int id)
{
    QWidget* w = window();
    if (!w)
        return;
    killTimer(id);
    timers_[id] = w->startTimer(id);
}

void ControlBase::killTimer(int id)
{
    auto it = timers_.find(id);
    if (it == timers_.end())
        return;
    if (QWidget* w = window())
        w->killTimer(it->second);
    timers_.erase(it);
}

bool ControlBase::timerActive(int id) const { return timers_.count(id) != 0; }

} // namespace vyr::controls
