#include "platform/com/variant.h"
#include "platform/com/dispatch.h"
#include <cerrno>
#include <cfenv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <strings.h>

void VariantInit(VARIANT* v)
{
    std::memset(v, 0, sizeof *v);
    v->vt = VT_EMPTY;
}

HRESULT VariantClear(VARIANT* v)
{
    if (!v)
        return E_INVALIDARG;
    if (!(v->vt & VT_BYREF)) {
        switch (v->vt) {
        case VT_BSTR: SysFreeString(v->bstrVal); break;
        case VT_UNKNOWN:
        case VT_DISPATCH:
            if (v->punkVal)
                v->punkVal->Release();
            break;
        default: break;
        }
    }
    VariantInit(v);
    return S_OK;
}

HRESULT VariantCopy(VARIANT* dest, const VARIANT* src)
{
    if (!dest || !src)
        return E_INVALIDARG;
    if (dest == src)
        return S_OK;
    VARIANT copy = *src;
    if (!(src->vt & VT_BYREF)) {
        if (src->vt == VT_BSTR && src->bstrVal) {
            copy.bstrVal = SysAllocStringLen(src->bstrVal, SysStringLen(src->bstrVal));
            if (!copy.bstrVal)
                return E_OUTOFMEMORY;
        } else if ((src->vt == VT_UNKNOWN || src->vt == VT_DISPATCH) && src->punkVal) {
            src->punkVal->AddRef();
        }
    }
    VariantClear(dest);
    *dest = copy;
    return S_OK;
}

namespace {

// A scalar source reduced to one of four forms.
struct Scalar {
    enum Kind { Integer, Unsigned, Real, Text } kind = Integer;
    int64_t i = 0;
    uint64_t u = 0;
    double d = 0;
    std::string text;

    static Scalar integer(int64_t v) { Scalar s; s.i = v; return s; }
    static Scalar whole(uint64_t v) { Scalar s; s.kind = Unsigned; s.u = v; return s; }
    static Scalar real(double v) { Scalar s; s.kind = Real; s.d = v; return s; }
    static Scalar string(std::string v) { Scalar s; s.kind = Text; s.text = std::move(v); return s; }
};

HRESULT toScalar(const VARIANT& v, Scalar& s)
{
    switch (v.vt) {
    case VT_EMPTY: s = Scalar::integer(0); return S_OK;
    case VT_I1: s = Scalar::integer(v.cVal); return S_OK;
    case VT_I2: s = Scalar::integer(v.iVal); return S_OK;
    case VT_BOOL: s = Scalar::integer(v.boolVal ? -1 : 0); return S_OK;
    case VT_I4: case VT_INT: case VT_ERROR: s = Scalar::integer(v.lVal); return S_OK;
    case VT_I8: s = Scalar::integer(v.llVal); return S_OK;
    case VT_UI1: s = Scalar::whole(v.bVal); return S_OK;
    case VT_UI2: s = Scalar::whole(v.uiVal); return S_OK;
    case VT_UI4: case VT_UINT: s = Scalar::whole(v.ulVal); return S_OK;
    case VT_UI8: s = Scalar::whole(v.ullVal); return S_OK;
    case VT_R4: s = Scalar::real(v.fltVal); return S_OK;
    case VT_R8: case VT_DATE: s = Scalar::real(v.dblVal); return S_OK;
    case VT_CY: s = Scalar::real(double(v.cyVal.int64) / 10000.0); return S_OK;
    case VT_BSTR: s = Scalar::string(vyr::com::utf8(v.bstrVal)); return S_OK;
    default: return DISP_E_TYPEMISMATCH;
    }
}

// Text to a number: decimal, or "True"/"False".
HRESULT parseNumber(const std::string& text, double& out)
{
    const char* b = text.c_str();
    while (*b == ' ' || *b == '\t')
        ++b;
    if (strcasecmp(b, "true") == 0) { out = -1; return S_OK; }
    if (strcasecmp(b, "false") == 0) { out = 0; return S_OK; }
    char* end = nullptr;
    errno = 0;
    const double d = std::strtod(b, &end);
    if (end == b)
        return DISP_E_TYPEMISMATCH;
    while (*end == ' ' || *end == '\t')
        ++end;
    if (*end)
        return DISP_E_TYPEMISMATCH;
    if (errno == ERANGE && std::isinf(d))
        return DISP_E_OVERFLOW;
    // strtod also takes "inf", "nan" and hexadecimal forms, which are not numbers here.
    if (!std::isfinite(d) || std::strpbrk(b, "xX"))
        return DISP_E_TYPEMISMATCH;
    out = d;
    return S_OK;
}

HRESULT asReal(const Scalar& s, double& out)
{
    switch (s.kind) {
    case Scalar::Integer: out = double(s.i); return S_OK;
    case Scalar::Unsigned: out = double(s.u); return S_OK;
    case Scalar::Real: out = s.d; return S_OK;
    case Scalar::Text: return parseNumber(s.text, out);
    }
    return DISP_E_TYPEMISMATCH;
}

// Integer targets round half to even, as the automation conversions do.
template <class T>
HRESULT roundToInteger(double d, T& out)
{
    using L = std::numeric_limits<T>;
    if (std::isnan(d))
        return DISP_E_OVERFLOW;
    const int mode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(d);
    std::fesetround(mode);
    // max() + 1 is a power of two and exact, unlike max() itself for 64-bit types.
    if (r < double(L::min()) || r >= double(L::max()) + 1.0)
        return DISP_E_OVERFLOW;
    out = T(r);
    return S_OK;
}

template <class T>
HRESULT asInteger(const Scalar& s, T& out)
{
    using L = std::numeric_limits<T>;
    if (s.kind == Scalar::Integer) {
        if constexpr (std::is_signed_v<T>) {
            if (s.i < int64_t(L::min()) || s.i > int64_t(L::max()))
                return DISP_E_OVERFLOW;
        } else if (s.i < 0 || uint64_t(s.i) > uint64_t(L::max())) {
            return DISP_E_OVERFLOW;
        }
        out = T(s.i);
        return S_OK;
    }
    if (s.kind == Scalar::Unsigned) {
        if (s.u > uint64_t(L::max()))
            return DISP_E_OVERFLOW;
        out = T(s.u);
        return S_OK;
    }
    double d;
    if (HRESULT hr = asReal(s, d); FAILED(hr))
        return hr;
    return roundToInteger(d, out);
}

std::string asText(const Scalar& s, VARTYPE from)
{
    char buf[64];
    switch (s.kind) {
    case Scalar::Text: return s.text;
    case Scalar::Integer:
        if (from == VT_BOOL)
            return s.i ? "True" : "False";
        std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(s.i));
        return buf;
    case Scalar::Unsigned:
        std::snprintf(buf, sizeof buf, "%llu", static_cast<unsigned long long>(s.u));
        return buf;
    case Scalar::Real:
        std::snprintf(buf, sizeof buf, "%.15g", s.d);
        return buf;
    }
    return {};
}

} // namespace

HRESULT VariantChangeType(VARIANT* dest, const VARIANT* src, WORD, VARTYPE vt)
{
    if (!dest || !src)
        return E_INVALIDARG;
    if (src->vt == vt)
        return VariantCopy(dest, src);
    VARIANT r;
    VariantInit(&r);
    r.vt = vt;
    if (vt == VT_UNKNOWN || vt == VT_DISPATCH) {
        if (src->vt != VT_UNKNOWN && src->vt != VT_DISPATCH)
            return DISP_E_TYPEMISMATCH;
        if (!src->punkVal) {
            r.punkVal = nullptr;
        } else if (vt == VT_UNKNOWN) {
            r.punkVal = src->punkVal;
            r.punkVal->AddRef();
        } else if (FAILED(src->punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&r.pdispVal)))) {
            return DISP_E_TYPEMISMATCH;
        }
        VariantClear(dest);
        *dest = r;
        return S_OK;
    }
    if (vt == VT_EMPTY)
        return VariantClear(dest);
    Scalar s{};
    if (HRESULT hr = toScalar(*src, s); FAILED(hr))
        return hr;
    HRESULT hr = S_OK;
    switch (vt) {
    case VT_I1: hr = asInteger(s, r.cVal); break;
    case VT_UI1: hr = asInteger(s, r.bVal); break;
    case VT_I2: hr = asInteger(s, r.iVal); break;
    case VT_UI2: hr = asInteger(s, r.uiVal); break;
    case VT_I4: case VT_INT: case VT_ERROR: hr = asInteger(s, r.lVal); break;
    case VT_UI4: case VT_UINT: hr = asInteger(s, r.ulVal); break;
    case VT_I8: hr = asInteger(s, r.llVal); break;
    case VT_UI8: hr = asInteger(s, r.ullVal); break;
    case VT_R8: case VT_DATE: hr = asReal(s, r.dblVal); break;
    case VT_R4: {
        double d;
        hr = asReal(s, d);
        if (SUCCEEDED(hr) && std::isfinite(d) && std::fabs(d) > std::numeric_limits<float>::max())
            hr = DISP_E_OVERFLOW;
        r.fltVal = float(d);
        break;
    }
    case VT_CY: {
        double d;
        hr = asReal(s, d);
        if (SUCCEEDED(hr))
            hr = roundToInteger(d * 10000.0, r.cyVal.int64);
        break;
    }
    case VT_BOOL: {
        double d;
        hr = asReal(s, d);
        r.boolVal = (SUCCEEDED(hr) && d != 0) ? VARIANT_TRUE : VARIANT_FALSE;
        break;
    }
    case VT_BSTR:
        r.bstrVal = vyr::com::Bstr(asText(s, src->vt)).detach();
        break;
    default: return DISP_E_BADVARTYPE;
    }
    if (FAILED(hr))
        return hr;
    VariantClear(dest);
    *dest = r;
    return S_OK;
}

namespace vyr::com {

Variant::Variant(const VARIANT& v)
{
    VariantInit(&v_);
    VariantCopy(&v_, &v);
}

Variant& Variant::operator=(const Variant& o)
{
    if (this != &o)
        VariantCopy(&v_, &o.v_);
    return *this;
}

Variant& Variant::operator=(Variant&& o) noexcept
{
    if (this != &o) {
        VariantClear(&v_);
        v_ = o.v_;
        VariantInit(&o.v_);
    }
    return *this;
}

Variant Variant::fromShort(int16_t x) { Variant r; r.v_.vt = VT_I2; r.v_.iVal = x; return r; }
Variant Variant::fromLong(int32_t x) { Variant r; r.v_.vt = VT_I4; r.v_.lVal = x; return r; }
Variant Variant::fromULong(uint32_t x) { Variant r; r.v_.vt = VT_UI4; r.v_.ulVal = x; return r; }
Variant Variant::fromDouble(double x) { Variant r; r.v_.vt = VT_R8; r.v_.dblVal = x; return r; }
Variant Variant::fromBool(bool x) { Variant r; r.v_.vt = VT_BOOL; r.v_.boolVal = x ? VARIANT_TRUE : VARIANT_FALSE; return r; }
Variant Variant::fromString(std::string_view s) { Variant r; r.v_.vt = VT_BSTR; r.v_.bstrVal = Bstr(s).detach(); return r; }
Variant Variant::fromUnknown(IUnknown* p)
{
    Variant r;
    r.v_.vt = VT_UNKNOWN;
    r.v_.punkVal = p;
    if (p)
        p->AddRef();
    return r;
}
Variant Variant::fromDispatch(IDispatch* p)
{
    Variant r;
    r.v_.vt = VT_DISPATCH;
    r.v_.pdispVal = p;
    if (p)
        p->AddRef();
    return r;
}

HRESULT Variant::changeType(VARTYPE vt, Variant& out) const { return VariantChangeType(out.put(), &v_, 0, vt); }

std::optional<int32_t> Variant::toLong() const
{
    Variant r;
    if (FAILED(changeType(VT_I4, r)))
        return std::nullopt;
    return r.v_.lVal;
}
std::optional<double> Variant::toDouble() const
{
    Variant r;
    if (FAILED(changeType(VT_R8, r)))
        return std::nullopt;
    return r.v_.dblVal;
}
std::optional<bool> Variant::toBool() const
{
    Variant r;
    if (FAILED(changeType(VT_BOOL, r)))
        return std::nullopt;
    return r.v_.boolVal != 0;
}
std::optional<std::string> Variant::toString() const
{
    Variant r;
    if (FAILED(changeType(VT_BSTR, r)))
        return std::nullopt;
    return utf8(r.v_.bstrVal);
}

bool operator==(const Variant& a, const Variant& b)
{
    const VARIANT& x = a.get();
    const VARIANT& y = b.get();
    if (x.vt != y.vt)
        return false;
    switch (x.vt) {
    case VT_EMPTY: case VT_NULL: return true;
    case VT_BSTR:
        return SysStringLen(x.bstrVal) == SysStringLen(y.bstrVal) &&
               std::memcmp(x.bstrVal ? x.bstrVal : u"", y.bstrVal ? y.bstrVal : u"",
                           SysStringByteLen(x.bstrVal)) == 0;
    case VT_I1: case VT_UI1: return x.bVal == y.bVal;
    case VT_I2: case VT_UI2: case VT_BOOL: return x.iVal == y.iVal;
    case VT_R4: return x.fltVal == y.fltVal;
    case VT_R8: case VT_DATE: return x.dblVal == y.dblVal;
    case VT_I8: case VT_UI8: case VT_CY: return x.llVal == y.llVal;
    case VT_UNKNOWN: case VT_DISPATCH: return x.punkVal == y.punkVal;
    default: return x.lVal == y.lVal;
    }
}

} // namespace vyr::com
