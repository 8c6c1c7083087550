#pragma once
// A connection point embedded in a control: sinks in connection order with their cookies.
// Its reference count is the owner's, as an embedded interface's is.
#include "platform/com/comptr.h"
#include "platform/com/connection.h"
#include "platform/com/dispatch.h"
#include <vector>

namespace vyr::controls {

class ConnectionPoint final : public IConnectionPoint {
public:
    // A sink must answer `iid`; the sink of a dispinterface (an event interface) may answer
    // only IDispatch, since a dispinterface is called through IDispatch::Invoke.
    enum class Kind { Interface, Dispinterface };
    ConnectionPoint(IConnectionPointContainer* owner, const IID& iid, Kind kind)
        : owner_(owner), iid_(iid), kind_(kind)
    {
    }

    const IID& iid() const { return iid_; }
    // Snapshot of the connected sinks (so a sink may disconnect while being called).
    std::vector<com::ComPtr<IUnknown>> sinks() const;
    size_t size() const { return sinks_.size(); }

    STDMETHOD(QueryInterface)(REFIID riid, void** out) override;
    STDMETHOD_(ULONG, AddRef)() override { return owner_->AddRef(); }
    STDMETHOD_(ULONG, Release)() override { return owner_->Release(); }
    STDMETHOD(GetConnectionInterface)(IID* iid) override;
    STDMETHOD(GetConnectionPointContainer)(IConnectionPointContainer** container) override;
    STDMETHOD(Advise)(IUnknown* sink, DWORD* cookie) override;
    STDMETHOD(Unadvise)(DWORD cookie) override;
    STDMETHOD(EnumConnections)(IEnumConnections** connections) override;

private:
    struct Sink {
        com::ComPtr<IUnknown> unk;
        DWORD cookie;
    };
    IConnectionPointContainer* owner_;
    IID iid_;
    Kind kind_;
    std::vector<Sink> sinks_;
    DWORD nextCookie_ = 1;
};

// Enumerators over snapshots, as the connection point interfaces hand them out.
HRESULT makeConnectionEnum(std::vector<CONNECTDATA> items, IEnumConnections** out);
HRESULT makeConnectionPointEnum(std::vector<IConnectionPoint*> items, IEnumConnectionPoints** out);

} // namespace vyr::controls
