#pragma once
// Spies for a control's outgoing connections: the events it fires (in order, with their
// arguments) and its property-change notifications.
#include "platform/com/object.h"
#include <string>
#include <vector>

namespace vyr::test {

struct FiredEvent {
    DISPID id;
    std::vector<com::Variant> args; // natural order
};

class EventSpy final : public com::Object<IDispatch> {
public:
    std::vector<FiredEvent> events;
    std::vector<DISPID> ids() const;
    void clear() { events.clear(); }

    // Connects to `control`'s event connection point (the first that is not the
    // property-notification one); returns false when there is none.
    bool connect(IUnknown* control);
    void disconnect();

    STDMETHOD(GetTypeInfoCount)(UINT* n) override { if (n) *n = 0; return S_OK; }
    STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHOD(Invoke)(DISPID id, REFIID, LCID, WORD, DISPPARAMS* p, VARIANT*, EXCEPINFO*, UINT*) override;

protected:
    void* queryExtra(REFIID riid) override { return riid == iid_ ? static_cast<IDispatch*>(this) : nullptr; }

private:
    IID iid_{};
    com::ComPtr<IConnectionPoint> point_;
    DWORD cookie_ = 0;
};

class NotifySpy final : public com::Object<IPropertyNotifySink> {
public:
    std::vector<DISPID> changed;
    bool connect(IUnknown* control);
    STDMETHOD(OnChanged)(DISPID id) override { changed.push_back(id); return S_OK; }
    STDMETHOD(OnRequestEdit)(DISPID) override { return S_OK; }
};

} // namespace vyr::test
