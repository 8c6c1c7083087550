#include "site.h"
#include <QResizeEvent>

HRESULT Site::GetAmbientProperty(DISPID id, VARIANT* value)
{
    if (!value)
        return E_POINTER;
    VariantInit(value);
    switch (id) {
    case DISPID_AMBIENT_USERMODE: // run mode: the controls take mouse and keyboard input
        value->vt = VT_BOOL;
        value->boolVal = VARIANT_TRUE;
        return S_OK;
    case DISPID_AMBIENT_UIDEAD:
        value->vt = VT_BOOL;
        value->boolVal = VARIANT_FALSE;
        return S_OK;
    default:
        return DISP_E_MEMBERNOTFOUND; // the control uses its own default
    }
}

HRESULT ControlHost::host(IUnknown* control)
{
    release();
    HRESULT hr = control->QueryInterface(IID_IVyrControl, control_.putVoid());
    if (FAILED(hr))
        return hr;
    site_ = vyr::com::make<Site>();
    site_->setControl(control);
    if (FAILED(hr = control_->SetSite(site_.get())))
        return hr;
    const RECT rect{0, 0, width(), height()};
    void* window = nullptr;
    if (FAILED(hr = control_->CreateControlWindow(this, &rect, &window)))
        return hr;
    window_ = static_cast<QWidget*>(window);
    return S_OK;
}

void ControlHost::release()
{
    if (!control_)
        return;
    control_->DestroyControlWindow();
    control_->SetSite(nullptr);
    site_->setControl(nullptr);
    control_ = nullptr;
    window_ = nullptr;
}

void ControlHost::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    if (window_)
        window_->setGeometry(rect());
}
