#include "platform/com/invokeargs.h"
#include "platform/com/unknown.h"
#include <cstring>

namespace vyr::com {

namespace {

// Bytes of a scalar a by-reference argument points to; 0 for types that cannot be read so.
size_t scalarSize(VARTYPE vt)
{
    switch (vt) {
    case VT_I1: case VT_UI1: return 1;
    case VT_I2: case VT_UI2: case VT_BOOL: return 2;
    case VT_I4: case VT_UI4: case VT_INT: case VT_UINT: case VT_ERROR: case VT_R4: return 4;
    case VT_I8: case VT_UI8: case VT_R8: case VT_DATE: case VT_CY: return 8;
    case VT_BSTR: case VT_DISPATCH: case VT_UNKNOWN: return sizeof(void*);
    default: return 0;
    }
}

// The value an argument stands for, borrowed (nothing to free): a by-reference VARIANT and a
// by-reference scalar are read through their pointer, once.
HRESULT dereference(const VARIANT& in, VARIANT& out)
{
    const VARIANT* v = &in;
    if (v->vt == (VT_BYREF | VT_VARIANT)) {
        if (!v->pvarVal)
            return E_POINTER;
        v = v->pvarVal;
    }
    if (v->vt & VT_BYREF) {
        const VARTYPE base = VARTYPE(v->vt & ~VT_BYREF);
        const size_t size = scalarSize(base);
        if (size == 0)
            return DISP_E_TYPEMISMATCH;
        if (!v->byref)
            return E_POINTER;
        VariantInit(&out);
        out.vt = base;
        std::memcpy(&out.llVal, v->byref, size);
        return S_OK;
    }
    out = *v;
    return S_OK;
}

} // namespace

HRESULT coerceArg(const VARIANT& in, VARTYPE vt, Variant& out)
{
    VARIANT v;
    if (HRESULT hr = dereference(in, v); FAILED(hr))
        return hr;
    if (vt == VT_VARIANT)
        return VariantCopy(out.put(), &v);
    if ((vt == VT_DISPATCH || vt == VT_UNKNOWN) && (v.vt == VT_EMPTY || v.vt == VT_NULL)) {
        VARIANT none;
        VariantInit(&none);
        none.vt = vt;
        *out.put() = none;
        return S_OK;
    }
    if (v.vt & (VT_ARRAY | VT_BYREF))
        return DISP_E_TYPEMISMATCH;
    const HRESULT hr = VariantChangeType(out.put(), &v, 0, vt);
    if (SUCCEEDED(hr))
        return S_OK;
    return hr == DISP_E_OVERFLOW ? hr : DISP_E_TYPEMISMATCH;
}

// Where an out value given as VT_BYREF|VT_VARIANT is written by the callee before it reaches
// the caller's VARIANT.
struct InvokeArgs::OutCell {
    VARIANT* target = nullptr;
    VARIANT value{}; // vt is the declared type; the union is written through value(i).byref
    bool handed = false;

    ~OutCell()
    {
        if (!handed)
            VariantClear(&value); // a failed call's leftovers
    }
};

InvokeArgs::InvokeArgs() = default;
InvokeArgs::~InvokeArgs() = default;

HRESULT InvokeArgs::prepare(CallShape shape, std::span<const ParamSpec> specs, const DISPPARAMS* p, UINT* argErr)
{
    values_.clear();
    reversed_.clear();
    cells_.clear();
    const UINT args = p ? p->cArgs : 0;
    const UINT named = p ? p->cNamedArgs : 0;
    if (named > args)
        return E_INVALIDARG;
    if (args > 0 && !p->rgvarg)
        return E_POINTER;
    if (named > 0 && !p->rgdispidNamedArgs)
        return E_POINTER;

    // The rgvarg index of each declared parameter.
    std::vector<int> where(specs.size(), -1);
    switch (shape) {
    case CallShape::Get:
        if (args != 0)
            return DISP_E_BADPARAMCOUNT;
        break;
    case CallShape::Put:
        if (args != 1 || specs.size() != 1)
            return DISP_E_BADPARAMCOUNT;
        if (named != 1 || p->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
            return DISP_E_PARAMNOTFOUND;
        where[0] = 0;
        break;
    case CallShape::Method: {
        const UINT positional = args - named;
        if (positional > specs.size())
            return DISP_E_BADPARAMCOUNT;
        for (UINT i = 0; i < positional; ++i)
            where[i] = int(args - 1 - i);
        for (UINT n = 0; n < named; ++n) {
            const DISPID id = p->rgdispidNamedArgs[n];
            if (id < 0 || size_t(id) >= specs.size() || where[size_t(id)] >= 0) {
                if (argErr)
                    *argErr = n;
                return DISP_E_PARAMNOTFOUND;
            }
            where[size_t(id)] = int(n);
        }
        for (int w : where)
            if (w < 0)
                return named ? DISP_E_PARAMNOTOPTIONAL : DISP_E_BADPARAMCOUNT;
        break;
    }
    }

    values_.resize(specs.size());
    cells_.reserve(specs.size());
    for (size_t i = 0; i < specs.size(); ++i) {
        const VARIANT& given = p->rgvarg[where[i]];
        auto fail = [&](HRESULT hr) {
            if (argErr)
                *argErr = UINT(where[i]);
            return hr;
        };
        if (!specs[i].out) {
            if (HRESULT hr = coerceArg(given, specs[i].vt, values_[i]); FAILED(hr))
                return fail(hr);
            continue;
        }
        // An out argument: a reference to the declared type, or to a VARIANT that receives it.
        VARIANT ref;
        VariantInit(&ref);
        ref.vt = VARTYPE(VT_BYREF | specs[i].vt);
        if (given.vt == (VT_BYREF | specs[i].vt)) {
            if (!given.byref)
                return fail(E_POINTER);
            ref.byref = given.byref;
        } else if (given.vt == (VT_BYREF | VT_VARIANT)) {
            if (!given.pvarVal)
                return fail(E_POINTER);
            auto cell = std::make_unique<OutCell>();
            cell->target = given.pvarVal;
            cell->value.vt = specs[i].vt;
            ref.byref = &cell->value.llVal;
            cells_.push_back(std::move(cell));
        } else {
            return fail(DISP_E_TYPEMISMATCH);
        }
        *values_[i].put() = ref;
    }

    for (auto it = values_.rbegin(); it != values_.rend(); ++it)
        reversed_.push_back(it->get()); // shallow: values_ owns them
    const bool put = shape == CallShape::Put;
    params_ = DISPPARAMS{reversed_.empty() ? nullptr : reversed_.data(), put ? &named_ : nullptr,
                         UINT(reversed_.size()), put ? 1u : 0u};
    return S_OK;
}

void InvokeArgs::complete()
{
    for (auto& cell : cells_) {
        VariantClear(cell->target);
        *cell->target = cell->value;
        cell->handed = true;
    }
}

} // namespace vyr::com
