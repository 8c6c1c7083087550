#pragma once
// Interface plumbing shared by the standard objects (font, picture): out parameters, property
// get and put by dispid on their small fixed dispatch interfaces, names looked up
// case-insensitively.
#include "platform/com/dispatch.h"
#include "platform/com/invokeargs.h"
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

// A property get takes no arguments; a put is checked by putValue under the one rule of every
// invocation path.
inline Access accessOf(WORD flags, const DISPPARAMS* p)
{
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF))
        return Access::Put;
    InvokeArgs none;
    if ((flags & DISPATCH_PROPERTYGET) && SUCCEEDED(none.prepare(CallShape::Get, {}, p, nullptr)))
        return Access::Get;
    return Access::Invalid;
}

// The put value converted to `vt`.
inline HRESULT putValue(const DISPPARAMS* p, VARTYPE vt, Variant& out, UINT* argErr)
{
    InvokeArgs args;
    const ParamSpec spec{vt, false};
    if (HRESULT hr = args.prepare(CallShape::Put, {&spec, 1}, p, argErr); FAILED(hr))
        return hr;
    out = Variant(args.value(0));
    return S_OK;
}

} // namespace vyr::com::disp
