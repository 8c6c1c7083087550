#pragma once
// IPerPropertyBrowsing with its counted arrays (task memory, caller frees).
#include "platform/com/dispatch.h"

struct CALPOLESTR {
    ULONG cElems;
    LPOLESTR* pElems;
};
struct CADWORD {
    ULONG cElems;
    DWORD* pElems;
};

struct IPerPropertyBrowsing : IUnknown {
    STDMETHOD(GetDisplayString)(DISPID id, BSTR* text) = 0;
    STDMETHOD(MapPropertyToPage)(DISPID id, CLSID* page) = 0;
    STDMETHOD(GetPredefinedStrings)(DISPID id, CALPOLESTR* strings, CADWORD* cookies) = 0;
    STDMETHOD(GetPredefinedValue)(DISPID id, DWORD cookie, VARIANT* value) = 0;
};

constexpr IID IID_IPerPropertyBrowsing = vyr::com::guidOf("376BD3AA-3845-101B-84ED-08002B2EC713");
