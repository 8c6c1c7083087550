#include "controls/core/host.h"
#include "controls/core/classtable.h"
#include "platform/com/dispcall.h"
#include "platform/com/object.h"
#include "platform/com/persist.h"
#include <QKeySequence>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QShortcut>

VYR_DECLARE_INTERFACE(IVyrSite, IID_IVyrSite, IUnknown)
VYR_DECLARE_INTERFACE(IVyrSite2, IID_IVyrSite2, IVyrSite)
VYR_DECLARE_INTERFACE(IVyrWindowlessSite, IID_IVyrWindowlessSite, IUnknown)
VYR_DECLARE_INTERFACE(IVyrWindowlessControl, IID_IVyrWindowlessControl, IUnknown)

namespace vyr::controls {

using com::ComPtr;
using com::Variant;

// The site a hosted control asks for ambient properties, and for what a window would give
// it when it has none; it outlives neither side's use because the host detaches it before
// going away.
class HostSite final : public com::Object<IVyrSite2, IVyrWindowlessSite> {
public:
    explicit HostSite(HostWidget* host) : host_(host) {}
    void detach() { host_ = nullptr; }

    STDMETHOD(GetAmbientProperty)(DISPID id, VARIANT* value) override
    {
        if (!value)
            return E_POINTER;
        VariantInit(value);
        if (!host_)
            return E_FAIL;
        switch (id) {
        case DISPID_AMBIENT_USERMODE: return Variant::fromBool(host_->userMode()).copyTo(value);
        case DISPID_AMBIENT_UIDEAD: return Variant::fromBool(host_->uiDead()).copyTo(value);
        case DISPID_AMBIENT_FONT:
            if (!host_->ambientFont())
                return DISP_E_MEMBERNOTFOUND;
            return Variant::fromDispatch(host_->ambientFont()).copyTo(value);
        default: return DISP_E_MEMBERNOTFOUND;
        }
    }
    STDMETHOD(OnControlInfoChanged)() override
    {
        if (host_)
            host_->controlInfoChanged();
        return S_OK;
    }
    STDMETHOD(OnFocus)(BOOL got) override
    {
        if (host_)
            host_->controlFocusChanged(got != FALSE);
        return S_OK;
    }
    STDMETHOD(GetSibling)(ULONG index, IUnknown** control) override
    {
        if (!control)
            return E_POINTER;
        *control = nullptr;
        if (!host_)
            return E_FAIL;
        const std::vector<HostWidget*> all = host_->siblings();
        if (index >= all.size())
            return S_FALSE;
        *control = all[index]->control();
        (*control)->AddRef();
        return S_OK;
    }

    // --- IVyrWindowlessSite
    STDMETHOD(GetWindow)(void** widget) override
    {
        if (!widget)
            return E_POINTER;
        *widget = host_;
        return host_ ? S_OK : E_FAIL;
    }
    STDMETHOD(InvalidateRect)(const RECT* r) override
    {
        if (!host_)
            return E_FAIL;
        r ? host_->update(r->left, r->top, r->right - r->left, r->bottom - r->top) : host_->update();
        return S_OK;
    }
    STDMETHOD(SetCapture)(BOOL capture) override
    {
        capture_ = capture != FALSE;
        return host_ ? S_OK : E_FAIL;
    }
    STDMETHOD(GetCapture)() override { return host_ && capture_ ? S_OK : S_FALSE; }
    STDMETHOD(SetFocus)(BOOL focus) override
    {
        if (!host_)
            return E_FAIL;
        if (!focus)
            host_->clearFocus();
        else if (!host_->hasFocus())
            host_->setFocus(Qt::MouseFocusReason);
        return S_OK;
    }
    STDMETHOD(GetFocus)() override { return host_ && host_->hasFocus() ? S_OK : S_FALSE; }
    STDMETHOD(MoveFocus)(BOOL next) override { return host_ && host_->moveFocus(next != FALSE) ? S_OK : S_FALSE; }
    STDMETHOD(SetCursor)(LONG shape) override
    {
        if (!host_)
            return E_FAIL;
        if (shape < 0 || shape > Qt::LastCursor)
            return E_INVALIDARG;
        host_->setCursor(Qt::CursorShape(shape));
        return S_OK;
    }
    STDMETHOD(ShowObject)(BOOL shown) override
    {
        if (!host_)
            return E_FAIL;
        host_->showControl(shown != FALSE);
        return S_OK;
    }
    STDMETHOD(EnableObject)(BOOL enabled) override
    {
        if (!host_)
            return E_FAIL;
        // setEnabled keeps the explicit state in WA_ForceDisabled: compared first, a call
        // that would change nothing sends no event.
        if (host_->testAttribute(Qt::WA_ForceDisabled) == (enabled != FALSE))
            host_->setEnabled(enabled != FALSE);
        return S_OK;
    }

private:
    HostWidget* host_;
    bool capture_ = false;
};

namespace {
// VYR_CONTROL_WINDOWS=1 gives every control a window of its own, as containers that do not
// know windowless activation do.
HostWidget::Activation g_defaultActivation =
    qEnvironmentVariableIntValue("VYR_CONTROL_WINDOWS") ? HostWidget::Activation::Window : HostWidget::Activation::Windowless;

QVariant toQVariant(const VARIANT& v)
{
    switch (v.vt) {
    case VT_I2: return v.iVal;
    case VT_I4: case VT_INT: return v.lVal;
    case VT_UI4: case VT_UINT: return v.ulVal;
    case VT_R8: return v.dblVal;
    case VT_R4: return v.fltVal;
    case VT_BOOL: return v.boolVal != 0;
    case VT_BSTR: return QString::fromStdString(com::utf8(v.bstrVal));
    default: return {};
    }
}
} // namespace

// Receives the control's events (a dispinterface) and re-emits them as a Qt signal.
class HostEventSink final : public com::Object<IDispatch> {
public:
    HostEventSink(HostWidget* host, const IID& eventIid) : host_(host), eventIid_(eventIid) {}
    void detach() { host_ = nullptr; }
    STDMETHOD(GetTypeInfoCount)(UINT* n) override { if (n) *n = 0; return S_OK; }
    STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHOD(Invoke)(DISPID id, REFIID, LCID, WORD, DISPPARAMS* p, VARIANT*, EXCEPINFO*, UINT*) override
    {
        if (!host_)
            return S_OK;
        QList<QVariant> args;
        for (UINT i = p ? p->cArgs : 0; i-- > 0;)
            args.push_back(toQVariant(p->rgvarg[i]));
        emit host_->controlEvent(id, args);
        return S_OK;
    }

protected:
    void* queryExtra(REFIID riid) override
    {
        // The event interface is a dispinterface: answer for it with IDispatch.
        return riid == eventIid_ ? static_cast<IDispatch*>(this) : nullptr;
    }

private:
    HostWidget* host_;
    IID eventIid_;
};

HostWidget::HostWidget(QWidget* parent) : QWidget(parent), activation_(g_defaultActivation) {}

void HostWidget::setDefaultActivation(Activation activation) { g_defaultActivation = activation; }
HostWidget::Activation HostWidget::defaultActivation() { return g_defaultActivation; }

HostWidget::~HostWidget() { destroyControl(); }

HRESULT HostWidget::instantiate(const std::string& classId)
{
    destroyControl();
    CLSID clsid{};
    if (auto g = com::parseGuid(classId)) {
        clsid = *g;
    } else if (const ClassRow* row = findClassByProgId(classId)) {
        clsid = row->clsid;
    } else {
        return REGDB_E_CLASSNOTREG;
    }
    ComPtr<IClassFactory> factory;
    HRESULT hr = DllGetClassObject(clsid, IID_IClassFactory, factory.putVoid());
    if (FAILED(hr))
        return hr;
    if (FAILED(hr = factory->CreateInstance(nullptr, IID_IUnknown, unknown_.putVoid())))
        return hr;
    clsid_ = clsid;
    unknown_->QueryInterface(IID_IDispatch, dispatch_.putVoid());
    unknown_->QueryInterface(IID_IVyrControl, vyrControl_.putVoid());
    if (vyrControl_) {
        site_ = new HostSite(this);
        vyrControl_->SetSite(site_);
    }
    return S_OK;
}

HRESULT HostWidget::activate()
{
    if (!vyrControl_)
        return S_OK; // not a windowed control: nothing to embed
    HRESULT hr = E_NOINTERFACE;
    if (activation_ == Activation::Windowless &&
        SUCCEEDED(unknown_->QueryInterface(IID_IVyrWindowlessControl, windowless_.putVoid())) && windowless_) {
        if (FAILED(hr = windowless_->InPlaceActivate(site_)))
            windowless_.reset();
    }
    if (!windowless_) {
        RECT r{0, 0, width(), height()};
        void* window = nullptr;
        if (FAILED(hr = vyrControl_->CreateControlWindow(this, &r, &window)))
            return hr;
    }
    ComPtr<IConnectionPointContainer> cpc;
    ComPtr<IConnectionPoint> cp;
    if (SUCCEEDED(unknown_->QueryInterface(IID_IConnectionPointContainer, cpc.putVoid()))) {
        ComPtr<IEnumConnectionPoints> points;
        if (SUCCEEDED(cpc->EnumConnectionPoints(points.put()))) {
            IConnectionPoint* p = nullptr;
            while (points->Next(1, &p, nullptr) == S_OK) {
                ComPtr<IConnectionPoint> point = ComPtr<IConnectionPoint>::attach(p);
                IID iid{};
                point->GetConnectionInterface(&iid);
                if (iid != IID_IPropertyNotifySink && !cp)
                    cp = point;
            }
        }
    }
    if (cp) {
        IID eventIid{};
        cp->GetConnectionInterface(&eventIid);
        sink_ = new HostEventSink(this, eventIid);
        cp->Advise(static_cast<IDispatch*>(sink_), &sinkCookie_);
    }
    controlInfoChanged();
    return S_OK;
}

HRESULT HostWidget::create(const std::string& classId)
{
    HRESULT hr = instantiate(classId);
    if (SUCCEEDED(hr))
        hr = activate();
    if (FAILED(hr))
        destroyControl();
    return hr;
}

HRESULT HostWidget::createAndLoad(const std::string& classId, IStream* stream)
{
    HRESULT hr = instantiate(classId);
    if (SUCCEEDED(hr))
        hr = load(stream);
    if (SUCCEEDED(hr))
        hr = activate();
    if (FAILED(hr))
        destroyControl();
    return hr;
}

void HostWidget::destroyControl()
{
    delete mnemonic_;
    mnemonic_ = nullptr;
    if (sink_) {
        ComPtr<IConnectionPointContainer> cpc;
        if (unknown_ && SUCCEEDED(unknown_->QueryInterface(IID_IConnectionPointContainer, cpc.putVoid()))) {
            ComPtr<IEnumConnectionPoints> points;
            if (SUCCEEDED(cpc->EnumConnectionPoints(points.put()))) {
                IConnectionPoint* p = nullptr;
                while (points->Next(1, &p, nullptr) == S_OK) {
                    ComPtr<IConnectionPoint> point = ComPtr<IConnectionPoint>::attach(p);
                    point->Unadvise(sinkCookie_);
                }
            }
        }
        sink_->detach();
        sink_->Release();
        sink_ = nullptr;
    }
    if (windowless_) {
        windowless_->InPlaceDeactivate();
        windowless_.reset();
        update();
    } else if (vyrControl_) {
        vyrControl_->DestroyControlWindow();
    }
    if (vyrControl_)
        vyrControl_->SetSite(nullptr);
    if (site_) {
        site_->detach();
        site_->Release();
        site_ = nullptr;
    }
    ComPtr<ICommandClient> client;
    if (unknown_ && SUCCEEDED(unknown_->QueryInterface(IID_ICommandClient, client.putVoid())))
        client->SetCommandServer(nullptr);
    vyrControl_.reset();
    dispatch_.reset();
    unknown_.reset();
    clsid_ = GUID_NULL;
}

QWidget* HostWidget::controlWindow() const
{
    if (windowless_)
        return const_cast<HostWidget*>(this);
    void* w = nullptr;
    if (vyrControl_)
        vyrControl_->GetControlWindow(&w);
    return static_cast<QWidget*>(w);
}

void HostWidget::notifyAmbient(DISPID id)
{
    if (vyrControl_)
        vyrControl_->OnAmbientPropertyChange(id);
}

void HostWidget::setUserMode(bool on)
{
    if (on == userMode_)
        return;
    userMode_ = on;
    notifyAmbient(DISPID_AMBIENT_USERMODE);
}

void HostWidget::setUiDead(bool on)
{
    if (on == uiDead_)
        return;
    uiDead_ = on;
    notifyAmbient(DISPID_AMBIENT_UIDEAD);
}

void HostWidget::setAmbientFont(IFontDisp* font)
{
    ambientFont_ = font;
    notifyAmbient(DISPID_AMBIENT_FONT);
}

HRESULT HostWidget::setProperty(std::string_view name, const Variant& value)
{
    return com::putProperty(dispatch_.get(), name, value);
}

Variant HostWidget::property(std::string_view name, HRESULT* hr) const
{
    Variant v;
    const HRESULT r = com::getProperty(dispatch_.get(), name, v);
    if (hr)
        *hr = r;
    return v;
}

HRESULT HostWidget::call(std::string_view name, const std::vector<Variant>& args)
{
    return com::callMethod(dispatch_.get(), name, args);
}

HRESULT HostWidget::setCommandServer(ICommandServer* server)
{
    ComPtr<ICommandClient> client;
    if (!unknown_ || FAILED(unknown_->QueryInterface(IID_ICommandClient, client.putVoid())))
        return E_NOINTERFACE;
    return client->SetCommandServer(server);
}

HRESULT HostWidget::save(IStream* stream, bool clearDirty)
{
    ComPtr<IPersistStreamInit> p;
    if (!unknown_ || FAILED(unknown_->QueryInterface(IID_IPersistStreamInit, p.putVoid())))
        return E_NOINTERFACE;
    return p->Save(stream, clearDirty ? TRUE : FALSE);
}

HRESULT HostWidget::load(IStream* stream)
{
    ComPtr<IPersistStreamInit> p;
    if (!unknown_ || FAILED(unknown_->QueryInterface(IID_IPersistStreamInit, p.putVoid())))
        return E_NOINTERFACE;
    return p->Load(stream);
}

void HostWidget::controlInfoChanged()
{
    delete mnemonic_;
    mnemonic_ = nullptr;
    char m = 0;
    if (!vyrControl_ || FAILED(vyrControl_->GetMnemonic(&m)) || !m)
        return;
    mnemonic_ = new QShortcut(QKeySequence(QStringLiteral("Alt+") + QChar(m).toUpper()), this);
    mnemonic_->setContext(Qt::WindowShortcut);
    connect(mnemonic_, &QShortcut::activated, this, [this] {
        if (vyrControl_ && userMode_)
            vyrControl_->OnMnemonic();
    });
}

void HostWidget::controlFocusChanged(bool gotFocus) { emit controlFocus(gotFocus); }

std::vector<HostWidget*> HostWidget::siblings() const
{
    std::vector<HostWidget*> out;
    const QObjectList none;
    const QObjectList& children = parentWidget() ? parentWidget()->children() : none;
    for (QObject* child : children) {
        auto* h = qobject_cast<HostWidget*>(child);
        if (h && h->control())
            out.push_back(h);
    }
    if (out.empty() && control())
        out.push_back(const_cast<HostWidget*>(this)); // a host without a parent holds only itself
    return out;
}

void HostWidget::setVisible(bool visible)
{
    containerHidden_ = !visible;
    QWidget::setVisible(visible && !controlHidden_);
}

void HostWidget::showControl(bool shown)
{
    if (controlHidden_ == !shown)
        return;
    controlHidden_ = !shown;
    if (!shown)
        QWidget::setVisible(false);
    else if (!containerHidden_ && (parentWidget() || testAttribute(Qt::WA_WState_ExplicitShowHide)))
        QWidget::setVisible(true); // back as the container left it
}

bool HostWidget::event(QEvent* e)
{
    if (windowless_ && e->type() != QEvent::Paint && windowless_->OnWindowEvent(e) == S_OK)
        return true;
    return QWidget::event(e);
}

void HostWidget::paintEvent(QPaintEvent* e)
{
    if (!windowless_ || e->region().isEmpty())
        return;
    QPainter p(this);
    p.setClipRegion(e->region());
    const RECT bounds{0, 0, width(), height()};
    windowless_->Draw(&p, &bounds);
}

void HostWidget::resizeEvent(QResizeEvent* e)
{
    if (windowless_)
        return;
    if (QWidget* w = controlWindow())
        w->setGeometry(QRect(QPoint(0, 0), e->size()));
}

} // namespace vyr::controls
