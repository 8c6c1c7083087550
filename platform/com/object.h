#pragma once
// Object<Interfaces...>: QueryInterface and an atomic reference count for a class that
// implements the listed interfaces. Each interface's identifier and base chain come from
// iid_traits, so asking for a base interface (IDispatch of a dual interface, ISequentialStream
// of IStream) returns the implementing interface's pointer.
#include "platform/com/connection.h"
#include "platform/com/dispatch.h"
#include "platform/com/persist.h"
#include "platform/com/propbrowse.h"
#include "platform/com/comptr.h"
#include <atomic>
#include <type_traits>

namespace vyr::com {

template <class I>
struct iid_traits; // { static constexpr IID iid; using base = <base interface or void>; }

} // namespace vyr::com

// Declares the identifier and the base interface of an interface type.
#define VYR_DECLARE_INTERFACE(I, IidValue, Base)                                                                  \
    namespace vyr::com {                                                                                        \
    template <>                                                                                                 \
    struct iid_traits<I> {                                                                                      \
        static constexpr IID iid = IidValue;                                                                    \
        using base = Base;                                                                                      \
    };                                                                                                          \
    }

VYR_DECLARE_INTERFACE(IUnknown, IID_IUnknown, void)
VYR_DECLARE_INTERFACE(IClassFactory, IID_IClassFactory, IUnknown)
VYR_DECLARE_INTERFACE(IDispatch, IID_IDispatch, IUnknown)
VYR_DECLARE_INTERFACE(ISequentialStream, IID_ISequentialStream, IUnknown)
VYR_DECLARE_INTERFACE(IStream, IID_IStream, ISequentialStream)
VYR_DECLARE_INTERFACE(IPersist, IID_IPersist, IUnknown)
VYR_DECLARE_INTERFACE(IPersistStream, IID_IPersistStream, IPersist)
VYR_DECLARE_INTERFACE(IPersistStreamInit, IID_IPersistStreamInit, IPersist)
VYR_DECLARE_INTERFACE(IConnectionPointContainer, IID_IConnectionPointContainer, IUnknown)
VYR_DECLARE_INTERFACE(IConnectionPoint, IID_IConnectionPoint, IUnknown)
VYR_DECLARE_INTERFACE(IEnumConnections, IID_IEnumConnections, IUnknown)
VYR_DECLARE_INTERFACE(IEnumConnectionPoints, IID_IEnumConnectionPoints, IUnknown)
VYR_DECLARE_INTERFACE(IPropertyNotifySink, IID_IPropertyNotifySink, IUnknown)
VYR_DECLARE_INTERFACE(IPerPropertyBrowsing, IID_IPerPropertyBrowsing, IUnknown)

namespace vyr::com {

template <class... Is>
class Object : public Is... {
public:
    Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    virtual ~Object() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (riid == IID_IUnknown)
            *out = unknown();
        else
            (void)((*out = find<Is>(riid)) || ...);
        if (!*out)
            *out = queryExtra(riid);
        if (!*out)
            return E_NOINTERFACE;
        static_cast<IUnknown*>(*out)->AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --refs_;
        if (left == 0)
            delete this;
        return left;
    }

    // The object's identity.
    IUnknown* unknown() { return static_cast<First*>(this); }
    ULONG refCount() const { return refs_; }

protected:
    // Interfaces answered by a derived class beyond the listed ones (not AddRef'd here).
    virtual void* queryExtra(REFIID) { return nullptr; }

private:
    template <class... T>
    struct FirstOf;
    template <class H, class... T>
    struct FirstOf<H, T...> {
        using type = H;
    };
    using First = typename FirstOf<Is...>::type;

    template <class I, class J = I>
    void* find(REFIID riid)
    {
        if constexpr (std::is_void_v<J> || std::is_same_v<J, IUnknown>) {
            return nullptr;
        } else {
            if (riid == iid_traits<J>::iid)
                return static_cast<J*>(static_cast<I*>(this));
            return find<I, typename iid_traits<J>::base>(riid);
        }
    }

    std::atomic<ULONG> refs_{1};
};

// Creates an object with one reference owned by the returned pointer.
template <class T, class... Args>
ComPtr<T> make(Args&&... args)
{
    return ComPtr<T>::attach(new T(std::forward<Args>(args)...));
}

} // namespace vyr::com
