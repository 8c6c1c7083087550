#pragma once
// The container's side of hosting one control: its ambient properties (run mode, live input)
// and the window the control's own window lives in.
#include <vyr/vyrcontrols.h>
#include <vyr/com/comptr.h>
#include <vyr/com/object.h>
#include <QWidget>

VYR_DECLARE_INTERFACE(IVyrSite, IID_IVyrSite, IUnknown)
VYR_DECLARE_INTERFACE(IVyrSite2, IID_IVyrSite2, IVyrSite)
VYR_DECLARE_INTERFACE(IVyrControl, IID_IVyrControl, IUnknown)

class Site final : public vyr::com::Object<IVyrSite2> {
public:
    STDMETHOD(GetAmbientProperty)(DISPID id, VARIANT* value) override;
    STDMETHOD(OnControlInfoChanged)() override { return S_OK; }
    STDMETHOD(OnFocus)(BOOL) override { return S_OK; }
    // One control per site: the control is its only sibling.
    STDMETHOD(GetSibling)(ULONG index, IUnknown** control) override
    {
        if (!control)
            return E_POINTER;
        *control = index == 0 ? control_ : nullptr;
        if (*control)
            (*control)->AddRef();
        return *control ? S_OK : S_FALSE;
    }
    void setControl(IUnknown* control) { control_ = control; }

private:
    // Not a counted reference (the control holds its site): the host clears it before it
    // lets the control go.
    IUnknown* control_ = nullptr;
};

// A widget that hosts one control: gives it a site, creates the control's window as its
// child, keeps that window filling it, and takes it down again before the control goes.
class ControlHost : public QWidget {
public:
    explicit ControlHost(QWidget* parent = nullptr) : QWidget(parent) {}
    ~ControlHost() override { release(); }

    HRESULT host(IUnknown* control);
    void release();

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    vyr::com::ComPtr<IVyrControl> control_;
    vyr::com::ComPtr<Site> site_;
    QWidget* window_ = nullptr;
};
