#pragma once
// The base of the controls that hold pages (MultiPageFrame, Frame): a control that also answers
// for the two internal interfaces through which nested pages reach each other.
#include "controls/core/control.h"
#include "controls/frames/nestedpage.h"

namespace vyr::controls {

class PageHolder : public ControlBase, public INestedPage, public IControlPageOwner {
public:
    using ControlBase::ControlBase;

    STDMETHOD(QueryInterface)(REFIID riid, void** out) override { return ControlBase::QueryInterface(riid, out); }
    STDMETHOD_(ULONG, AddRef)() override { return ControlBase::AddRef(); }
    STDMETHOD_(ULONG, Release)() override { return ControlBase::Release(); }

    // --- IControlPageOwner: ambients and notifications go to the holder's site, or, for a
    // holder without one (the Frame's inner set), to the holder's own owner.
    STDMETHOD(GetAmbientProperty)(DISPID id, VARIANT* value) override
    {
        if (!value)
            return E_POINTER;
        com::ComPtr<IVyrSite> site;
        if (SUCCEEDED(GetSite(site.put())) && site)
            return site->GetAmbientProperty(id, value);
        if (IControlPageOwner* up = upstream())
            return up->GetAmbientProperty(id, value);
        VariantInit(value);
        return DISP_E_MEMBERNOTFOUND;
    }
    STDMETHOD(OnPageChanged)(IUnknown* control) override
    {
        com::ComPtr<IVyrSite> site;
        if (SUCCEEDED(GetSite(site.put())) && site)
            return site->OnControlInfoChanged();
        if (IControlPageOwner* up = upstream())
            return up->OnPageChanged(control);
        return S_OK;
    }

    // The container changed an ambient: the pages' controls see the font through this holder.
    STDMETHOD(OnAmbientPropertyChange)(DISPID id) override
    {
        const HRESULT hr = ControlBase::OnAmbientPropertyChange(id);
        if (id == DISPID_AMBIENT_FONT || id == DISPID_UNKNOWN)
            passAmbientChange(id);
        return hr;
    }

protected:
    // Whom a holder without a site asks.
    virtual IControlPageOwner* upstream() const { return nullptr; }
    virtual void passAmbientChange(DISPID id) = 0;

private:
    void* queryExtra(REFIID riid) override
    {
        if (riid == IID_INestedPage || riid == IID_IPageOwnerAware)
            return static_cast<INestedPage*>(this);
        if (riid == IID_IControlPageOwner)
            return static_cast<IControlPageOwner*>(this);
        return ControlBase::queryExtra(riid);
    }
};

} // namespace vyr::controls
