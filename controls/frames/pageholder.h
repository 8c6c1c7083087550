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

private:
    void* queryExtra(REFIID riid) override
    {
        if (riid == IID_INestedPage)
            return static_cast<INestedPage*>(this);
        if (riid == IID_IControlPageOwner)
            return static_cast<IControlPageOwner*>(this);
        return ControlBase::queryExtra(riid);
    }
};

} // namespace vyr::controls
