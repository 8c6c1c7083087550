#pragma once
// IUnknown and IClassFactory in standard method order. Interfaces are abstract classes with
// pure virtual functions only, so a vtable slot is the standard position.
#include "platform/com/guid.h"

#define STDMETHODCALLTYPE
#define STDMETHOD(name) virtual HRESULT STDMETHODCALLTYPE name
#define STDMETHOD_(type, name) virtual type STDMETHODCALLTYPE name

struct IUnknown {
    STDMETHOD(QueryInterface)(REFIID riid, void** object) = 0;
    STDMETHOD_(ULONG, AddRef)() = 0;
    STDMETHOD_(ULONG, Release)() = 0;
};

struct IClassFactory : IUnknown {
    STDMETHOD(CreateInstance)(IUnknown* outer, REFIID riid, void** object) = 0;
    STDMETHOD(LockServer)(BOOL lock) = 0;
};

constexpr IID IID_IUnknown = vyr::com::guidOf("00000000-0000-0000-C000-000000000046");
constexpr IID IID_IClassFactory = vyr::com::guidOf("00000001-0000-0000-C000-000000000046");

// Task memory, as CoTaskMemAlloc/CoTaskMemFree: caller-owned arrays handed across interfaces.
void* CoTaskMemAlloc(size_t size);
void CoTaskMemFree(void* p);
