#pragma once
// Interface plumbing shared by the standard objects (font, picture): out parameters, property
// get and put by dispid on their small fixed dispatch interfaces, names looked up
// case-insensitively.
#include "platform/com/dispatch.h"
#include <initializer_list>

namespace vyr::com::disp {

// Writes an out parameter; E_POINTER when it is null.
template <class T, class V>
HRESULT writeOut(T* out, const V& value)
{
    if (!out)
        return E_POINTER;
    *out = value;
    return S_OK;
}

// GetTypeInfo of an interface without type information: its members are fixed and documented.
inline HRESULT noTypeInfo(ITypeInfo** info)
{
    if (info)
        *info = nullptr;
    return DISP_E_BADINDEX;
}

struct Member {
    const char16_t* name;
    DISPID id;
};

inline bool sameName(const OLECHAR* a, const char16_t* b)
{
    auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
    for (; *a && *b; ++a, ++b)
        if (lower(*a) != lower(*b))
            return false;
    return *a == *b;
}

// The first name is the member, any further ones would be argument names, which these
// interfaces do not have.
inline HRESULT idsOfNames(std::initializer_list<Member> members, LPOLESTR* names, UINT count, DISPID* ids)
{
    if (!names || !ids)
        return E_INVALIDARG;
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
        if (i == 0 && names[0])
            for (const Member& m : members)
                if (sameName(names[0], m.name))
                    ids[0] = m.id;
        if (ids[i] == DISPID_UNKNOWN)
            hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

enum class Access { Get, Put, Invalid };

// A property get has no arguments; a put has exactly one, named DISPID_PROPERTYPUT (or unnamed).
inline Access accessOf(WORD flags, const DISPPARAMS* p)
{
    const UINT args = p ? p->cArgs : 0;
    const UINT named = p ? p->cNamedArgs : 0;
    if ((flags & DISPATCH_PROPERTYGET) && args == 0)
        return Access::Get;
    if ((flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) && args == 1 && p->rgvarg &&
        (named == 0 || (named == 1 && p->rgdispidNamedArgs && p->rgdispidNamedArgs[0] == DISPID_PROPERTYPUT)))
        return Access::Put;
    return Access::Invalid;
}

// The put value converted to `vt`; a by-reference VARIANT is followed once.
inline HRESULT putValue(const DISPPARAMS* p, VARTYPE vt, Variant& out, UINT* argErr)
{
    const VARIANT* v = &p->rgvarg[0];
    if (v->vt == (VT_BYREF | VT_VARIANT) && v->pvarVal)
        v = v->pvarVal;
    const HRESULT hr = VariantChangeType(out.put(), v, 0, vt);
    if (SUCCEEDED(hr))
        return S_OK;
    if (argErr)
        *argErr = 0;
    return hr == DISP_E_OVERFLOW ? hr : DISP_E_TYPEMISMATCH;
}

} // namespace vyr::com::disp
