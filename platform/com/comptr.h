#pragma once
// ComPtr: a counted interface reference that releases on destruction.
#include "platform/com/unknown.h"
#include <utility>

namespace vyr::com {

template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    ComPtr(T* p) : p_(p) { if (p_) p_->AddRef(); }
    ComPtr(const ComPtr& o) : ComPtr(o.p_) {}
    ComPtr(ComPtr&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
    ~ComPtr() { reset(); }
    ComPtr& operator=(ComPtr o) noexcept { std::swap(p_, o.p_); return *this; }

    // Takes over a reference the caller already owns.
    static ComPtr attach(T* p) { ComPtr r; r.p_ = p; return r; }
    T* detach() { T* p = p_; p_ = nullptr; return p; }
    void reset() { if (p_) { T* p = p_; p_ = nullptr; p->Release(); } }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    T& operator*() const { return *p_; }
    explicit operator bool() const { return p_ != nullptr; }
    T** put() { reset(); return &p_; }
    void** putVoid() { return reinterpret_cast<void**>(put()); }

    // QueryInterface for another interface; empty when not supported.
    template <class U>
    ComPtr<U> as(REFIID iid) const
    {
        ComPtr<U> r;
        if (p_)
            p_->QueryInterface(iid, r.putVoid());
        return r;
    }
    // Hands out a counted reference through an out pointer.
    HRESULT copyTo(T** out) const
    {
        if (!out)
            return E_POINTER;
        *out = p_;
        if (p_)
            p_->AddRef();
        return S_OK;
    }

    friend bool operator==(const ComPtr& a, const ComPtr& b) { return a.p_ == b.p_; }
    friend bool operator==(const ComPtr& a, const T* b) { return a.p_ == b; }

private:
    T* p_ = nullptr;
};

} // namespace vyr::com
