#include "controls/core/connectionpoint.h"
#include "platform/com/object.h"
#include <algorithm>

namespace vyr::controls {

std::vector<com::ComPtr<IUnknown>> ConnectionPoint::sinks() const
{
    std::vector<com::ComPtr<IUnknown>> r;
    r.reserve(sinks_.size());
    for (const Sink& s : sinks_)
        r.push_back(s.unk);
    return r;
}

HRESULT ConnectionPoint::QueryInterface(REFIID riid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (riid != IID_IUnknown && riid != IID_IConnectionPoint)
        return E_NOINTERFACE;
    *out = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
}

HRESULT ConnectionPoint::GetConnectionInterface(IID* iid)
{
    if (!iid)
        return E_POINTER;
    *iid = iid_;
    return S_OK;
}

HRESULT ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container)
{
    if (!container)
        return E_POINTER;
    *container = owner_;
    owner_->AddRef();
    return S_OK;
}

HRESULT ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie)
{
    if (!sink || !cookie)
        return E_POINTER;
    *cookie = 0;
    // The sink must speak the connection's interface: it is called through that vtable.
    com::ComPtr<IUnknown> typed;
    if ((FAILED(sink->QueryInterface(iid_, typed.putVoid())) || !typed) &&
        (kind_ != Kind::Dispinterface || FAILED(sink->QueryInterface(IID_IDispatch, typed.putVoid())) || !typed))
        return CONNECT_E_CANNOTCONNECT;
    sinks_.push_back({typed, nextCookie_});
    *cookie = nextCookie_++;
    return S_OK;
}

HRESULT ConnectionPoint::Unadvise(DWORD cookie)
{
    auto it = std::find_if(sinks_.begin(), sinks_.end(), [cookie](const Sink& s) { return s.cookie == cookie; });
    if (it == sinks_.end())
        return CONNECT_E_NOCONNECTION;
    sinks_.erase(it);
    return S_OK;
}

namespace {

// IEnumX over a snapshot of items that are AddRef'd while held.
template <class Enum, class Item>
class Enumerator final : public com::Object<Enum> {
public:
    explicit Enumerator(std::vector<Item> items) : items_(std::move(items))
    {
        for (Item& i : items_)
            unknownOf(i)->AddRef();
    }
    ~Enumerator() override
    {
        for (Item& i : items_)
            unknownOf(i)->Release();
    }
    STDMETHOD(Next)(ULONG count, Item* out, ULONG* fetched) override
    {
        if (!out || (count > 1 && !fetched))
            return E_POINTER;
        ULONG n = 0;
        for (; n < count && pos_ < items_.size(); ++n, ++pos_) {
            out[n] = items_[pos_];
            unknownOf(out[n])->AddRef();
        }
        if (fetched)
            *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    STDMETHOD(Skip)(ULONG count) override
    {
        const size_t left = items_.size() - pos_;
        pos_ += std::min<size_t>(count, left);
        return count <= left ? S_OK : S_FALSE;
    }
    STDMETHOD(Reset)() override
    {
        pos_ = 0;
        return S_OK;
    }
    STDMETHOD(Clone)(Enum** clone) override
    {
        if (!clone)
            return E_POINTER;
        auto* e = new Enumerator(items_);
        e->pos_ = pos_;
        *clone = e;
        return S_OK;
    }

private:
    static IUnknown* unknownOf(const CONNECTDATA& d) { return d.pUnk; }
    static IUnknown* unknownOf(IConnectionPoint* p) { return p; }
    std::vector<Item> items_;
    size_t pos_ = 0;
};

} // namespace

HRESULT makeConnectionEnum(std::vector<CONNECTDATA> items, IEnumConnections** out)
{
    if (!out)
        return E_POINTER;
    *out = new Enumerator<IEnumConnections, CONNECTDATA>(std::move(items));
    return S_OK;
}

HRESULT makeConnectionPointEnum(std::vector<IConnectionPoint*> items, IEnumConnectionPoints** out)
{
    if (!out)
        return E_POINTER;
    *out = new Enumerator<IEnumConnectionPoints, IConnectionPoint*>(std::move(items));
    return S_OK;
}

HRESULT ConnectionPoint::EnumConnections(IEnumConnections** connections)
{
    std::vector<CONNECTDATA> items;
    for (const Sink& s : sinks_)
        items.push_back({s.unk.get(), s.cookie});
    return makeConnectionEnum(std::move(items), connections);
}

} // namespace vyr::controls
