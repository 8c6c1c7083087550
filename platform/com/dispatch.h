#pragma once
// IDispatch with DISPPARAMS and EXCEPINFO, in standard layout and method order.
#include "platform/com/unknown.h"
#include "platform/com/variant.h"

struct DISPPARAMS {
    VARIANTARG* rgvarg;          // arguments in reverse order
    DISPID* rgdispidNamedArgs;
    UINT cArgs;
    UINT cNamedArgs;
};

struct EXCEPINFO {
    WORD wCode;
    WORD wReserved;
    BSTR bstrSource;
    BSTR bstrDescription;
    BSTR bstrHelpFile;
    DWORD dwHelpContext;
    void* pvReserved;
    HRESULT (*pfnDeferredFillIn)(EXCEPINFO*);
    SCODE scode;
};

// Type information is described by our own descriptor tables; the interface is declared so
// that IDispatch keeps its standard shape.
struct ITypeInfo;

struct IDispatch : IUnknown {
    STDMETHOD(GetTypeInfoCount)(UINT* count) = 0;
    STDMETHOD(GetTypeInfo)(UINT index, LCID lcid, ITypeInfo** info) = 0;
    STDMETHOD(GetIDsOfNames)(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) = 0;
    STDMETHOD(Invoke)(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* excep, UINT* argErr) = 0;
};

constexpr IID IID_IDispatch = vyr::com::guidOf("00020400-0000-0000-C000-000000000046");
