#include "tests/support/eventspy.h"

namespace vyr::test {

std::vector<DISPID> EventSpy::ids() const
{
    std::vector<DISPID> r;
    for (const auto& e : events)
        r.push_back(e.id);
    return r;
}

HRESULT EventSpy::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* p, VARIANT*, EXCEPINFO*, UINT*)
{
    FiredEvent e{id, {}};
    for (UINT i = p ? p->cArgs : 0; i-- > 0;)
        e.args.emplace_back(p->rgvarg[i]);
    events.push_back(std::move(e));
    return S_OK;
}

bool EventSpy::connect(IUnknown* control)
{
    com::ComPtr<IConnectionPointContainer> cpc;
    if (!control || FAILED(control->QueryInterface(IID_IConnectionPointContainer, cpc.putVoid())))
        return false;
    com::ComPtr<IEnumConnectionPoints> points;
    if (FAILED(cpc->EnumConnectionPoints(points.put())))
        return false;
    IConnectionPoint* p = nullptr;
    while (points->Next(1, &p, nullptr) == S_OK) {
        auto point = com::ComPtr<IConnectionPoint>::attach(p);
        IID iid{};
        point->GetConnectionInterface(&iid);
        if (iid == IID_IPropertyNotifySink)
            continue;
        iid_ = iid;
        point_ = point;
        return SUCCEEDED(point_->Advise(static_cast<IDispatch*>(this), &cookie_));
    }
    return false;
}

void EventSpy::disconnect()
{
    if (point_)
        point_->Unadvise(cookie_);
    point_.reset();
}

bool NotifySpy::connect(IUnknown* control)
{
    com::ComPtr<IConnectionPointContainer> cpc;
    com::ComPtr<IConnectionPoint> point;
    DWORD cookie = 0;
    return control && SUCCEEDED(control->QueryInterface(IID_IConnectionPointContainer, cpc.putVoid())) &&
           SUCCEEDED(cpc->FindConnectionPoint(IID_IPropertyNotifySink, point.put())) &&
           SUCCEEDED(point->Advise(static_cast<IPropertyNotifySink*>(this), &cookie));
}

} // namespace vyr::test
