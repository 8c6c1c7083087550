#include "platform/com/vtablecall.h"
#include "platform/com/bstr.h"
#include "platform/com/comptr.h"
#include "platform/com/invokeargs.h"
#include "platform/com/typelib.h"
#include "platform/com/variant.h"
#include <array>
#include <typeinfo>
#include <cstring>
#include <utility>

namespace vyr::com {

namespace {

constexpr size_t kIntRegs = 5; // after `this`
constexpr size_t kFloatRegs = 8;
constexpr int kDispatchSlots = 7;

using SlotFn = HRESULT (*)(void*, uint64_t, uint64_t, uint64_t, uint64_t, uint64_t, double, double, double, double,
                           double, double, double, double);

bool isFloat(VARTYPE vt) { return vt == VT_R8 || vt == VT_DATE; }

bool travels(VARTYPE vt)
{
    switch (vt) {
    case VT_I2: case VT_BOOL: case VT_I4: case VT_UI4: case VT_R8: case VT_DATE: case VT_BSTR: case VT_DISPATCH:
    case VT_UNKNOWN:
        return true;
    default:
        return false;
    }
}

VARTYPE resolve(ITypeInfo* info, const TYPEDESC& t, int depth)
{
    if (depth > 16)
        return VT_EMPTY;
    switch (t.vt) {
    case VT_INT: return VT_I4;
    case VT_UINT: return VT_UI4;
    case VT_HRESULT: return VT_I4;
    case VT_PTR: {
        if (!t.lptdesc)
            return VT_EMPTY;
        const VARTYPE to = t.lptdesc->vt;
        if (to == VT_USERDEFINED) {
            // A pointer to an interface is an interface pointer.
            ComPtr<ITypeInfo> ref;
            TYPEATTR* a = nullptr;
            if (!info || FAILED(info->GetRefTypeInfo(t.lptdesc->hreftype, ref.put())) || FAILED(ref->GetTypeAttr(&a)))
                return VT_EMPTY;
            const TYPEKIND k = a->typekind;
            ref->ReleaseTypeAttr(a);
            return k == TKIND_DISPATCH ? VT_DISPATCH : k == TKIND_INTERFACE ? VT_UNKNOWN : VARTYPE(VT_EMPTY);
        }
        return VT_EMPTY;
    }
    case VT_USERDEFINED: {
        ComPtr<ITypeInfo> ref;
        TYPEATTR* a = nullptr;
        if (!info || FAILED(info->GetRefTypeInfo(t.hreftype, ref.put())) || FAILED(ref->GetTypeAttr(&a)))
            return VT_EMPTY;
        VARTYPE vt = VT_EMPTY;
        if (a->typekind == TKIND_ENUM)
            vt = VT_I4;
        else if (a->typekind == TKIND_ALIAS)
            vt = resolve(ref.get(), a->tdescAlias, depth + 1);
        ref->ReleaseTypeAttr(a);
        return vt;
    }
    default:
        return travels(t.vt) ? t.vt : VARTYPE(VT_EMPTY);
    }
}

// Writes a value of type vt, read from `v` (already of that type), to `where`; the value's
// ownership (strings, interfaces) passes to the receiver.
void storeOut(void* where, VARTYPE vt, VARIANT& v)
{
    switch (vt) {
    case VT_I2: case VT_BOOL: *static_cast<int16_t*>(where) = v.iVal; break;
    case VT_I4: case VT_UI4: *static_cast<int32_t*>(where) = v.lVal; break;
    case VT_R8: case VT_DATE: *static_cast<double*>(where) = v.dblVal; break;
    case VT_BSTR: *static_cast<BSTR*>(where) = v.bstrVal; v.vt = VT_EMPTY; break;
    case VT_DISPATCH: case VT_UNKNOWN: *static_cast<IUnknown**>(where) = v.punkVal; v.vt = VT_EMPTY; break;
    default: break;
    }
}

// Reads a value of type vt from `where` into a VARIANT that takes a copy.
void loadOut(VARIANT& v, VARTYPE vt, const void* where)
{
    VariantInit(&v);
    v.vt = vt;
    switch (vt) {
    case VT_I2: case VT_BOOL: v.iVal = *static_cast<const int16_t*>(where); break;
    case VT_I4: case VT_UI4: v.lVal = *static_cast<const int32_t*>(where); break;
    case VT_R8: case VT_DATE: v.dblVal = *static_cast<const double*>(where); break;
    case VT_BSTR: v.bstrVal = *static_cast<BSTR const*>(where); break; // owned: taken over
    case VT_DISPATCH: case VT_UNKNOWN: v.punkVal = *static_cast<IUnknown* const*>(where); break;
    default: v.vt = VT_EMPTY; break;
    }
}

// A VARIANT that only borrows the register value (no copy, nothing to free).
VARIANT borrow(VARTYPE vt, uint64_t bits, double d)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = vt;
    switch (vt) {
    case VT_I2: case VT_BOOL: v.iVal = int16_t(bits); break;
    case VT_I4: case VT_UI4: v.lVal = int32_t(bits); break;
    case VT_R8: case VT_DATE: v.dblVal = d; break;
    default: v.byref = reinterpret_cast<void*>(bits); break;
    }
    return v;
}

WORD flagsOf(INVOKEKIND k)
{
    switch (k) {
    case INVOKE_PROPERTYGET: return DISPATCH_PROPERTYGET;
    case INVOKE_PROPERTYPUT: return DISPATCH_PROPERTYPUT;
    case INVOKE_PROPERTYPUTREF: return DISPATCH_PROPERTYPUTREF;
    default: return DISPATCH_METHOD;
    }
}

// The thunk side: unpack the registers by the slot's description and call Invoke.
HRESULT callSlot(DualInterface* self, size_t index, const uint64_t* ints, const double* floats)
{
    if (!self->layout || index >= self->layout->slotCount())
        return E_UNEXPECTED;
    const DualSlot& s = self->layout->slot(index);
    if (!s.callable)
        return E_NOTIMPL;
    std::vector<VARIANT> in;
    void* retval = nullptr;
    VARTYPE retType = VT_EMPTY;
    size_t ni = 0, nf = 0;
    for (const DualSlot::Arg& a : s.args) {
        if (a.flags & PARAMFLAG_FRETVAL) {
            retval = reinterpret_cast<void*>(ints[ni++]);
            retType = a.vt;
        } else if (a.flags & PARAMFLAG_FOUT) {
            VARIANT v;
            VariantInit(&v);
            v.vt = VARTYPE(VT_BYREF | a.vt);
            v.byref = reinterpret_cast<void*>(ints[ni++]);
            in.push_back(v);
        } else if (isFloat(a.vt)) {
            in.push_back(borrow(a.vt, 0, floats[nf++]));
        } else {
            in.push_back(borrow(a.vt, ints[ni++], 0));
        }
    }
    if (retType != VT_EMPTY && !retval)
        return E_FAIL; // a getter with no place for its value
    std::vector<VARIANT> reversed(in.rbegin(), in.rend());
    DISPID named = DISPID_PROPERTYPUT;
    const bool put = s.kind == INVOKE_PROPERTYPUT || s.kind == INVOKE_PROPERTYPUTREF;
    DISPPARAMS dp{reversed.empty() ? nullptr : reversed.data(), put ? &named : nullptr, UINT(reversed.size()),
                  put ? 1u : 0u};
    Variant result;
    HRESULT hr = self->target->Invoke(s.id, GUID_NULL, 0, flagsOf(s.kind), &dp, retval ? result.put() : nullptr,
                                      nullptr, nullptr);
    if (FAILED(hr) || !retval)
        return hr;
    Variant converted;
    if (FAILED(VariantChangeType(converted.put(), &result.get(), 0, retType)))
        return DISP_E_TYPEMISMATCH;
    VARIANT raw = converted.detach();
    storeOut(retval, retType, raw);
    VariantClear(&raw);
    return hr;
}

// Of exactly the type SlotFn calls, so that a checked indirect call finds what it expects.
template <size_t N>
HRESULT thunk(void* self, uint64_t a0, uint64_t a1, uint64_t a2, uint64_t a3, uint64_t a4, double f0, double f1,
              double f2, double f3, double f4, double f5, double f6, double f7)
{
    const uint64_t ints[kIntRegs] = {a0, a1, a2, a3, a4};
    const double floats[kFloatRegs] = {f0, f1, f2, f3, f4, f5, f6, f7};
    return callSlot(static_cast<DualInterface*>(self), N, ints, floats);
}

template <size_t... N>
constexpr std::array<const void*, sizeof...(N)> thunkTable(std::index_sequence<N...>)
{
    return {reinterpret_cast<const void*>(&thunk<N>)...};
}

const auto& thunks()
{
    static const auto table = thunkTable(std::make_index_sequence<typelib::kMaxVtableSlots - kDispatchSlots>{});
    return table;
}

// IUnknown and IDispatch of the tear-off go to the target.
HRESULT tearQueryInterface(DualInterface* self, REFIID riid, void** out)
{
    return self->target->QueryInterface(riid, out);
}
ULONG tearAddRef(DualInterface* self) { return self->target->AddRef(); }
ULONG tearRelease(DualInterface* self) { return self->target->Release(); }
HRESULT tearGetTypeInfoCount(DualInterface* self, UINT* count) { return self->target->GetTypeInfoCount(count); }
HRESULT tearGetTypeInfo(DualInterface* self, UINT index, LCID lcid, ITypeInfo** info)
{
    return self->target->GetTypeInfo(index, lcid, info);
}
HRESULT tearGetIDsOfNames(DualInterface* self, REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids)
{
    return self->target->GetIDsOfNames(riid, names, count, lcid, ids);
}
HRESULT tearInvoke(DualInterface* self, DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                   VARIANT* result, EXCEPINFO* excep, UINT* argErr)
{
    return self->target->Invoke(id, riid, lcid, flags, params, result, excep, argErr);
}

} // namespace

VARTYPE abiType(ITypeInfo* info, const TYPEDESC& type) { return resolve(info, type, 0); }

HRESULT DualLayout::build(ITypeInfo* view, std::shared_ptr<const DualLayout>& out)
{
    if (!view)
        return E_POINTER;
    TYPEATTR* attr = nullptr;
    if (HRESULT hr = view->GetTypeAttr(&attr); FAILED(hr))
        return hr;
    const bool isInterface = attr->typekind == TKIND_INTERFACE;
    const WORD count = attr->cFuncs;
    view->ReleaseTypeAttr(attr);
    if (!isInterface)
        return TYPE_E_WRONGTYPEKIND;
    auto layout = std::make_shared<DualLayout>();
    layout->vtable_ = {nullptr, &typeid(IDispatch), reinterpret_cast<const void*>(&tearQueryInterface), reinterpret_cast<const void*>(&tearAddRef),
                       reinterpret_cast<const void*>(&tearRelease),
                       reinterpret_cast<const void*>(&tearGetTypeInfoCount),
                       reinterpret_cast<const void*>(&tearGetTypeInfo),
                       reinterpret_cast<const void*>(&tearGetIDsOfNames), reinterpret_cast<const void*>(&tearInvoke)};
    for (UINT i = 0; i < count; ++i) {
        FUNCDESC* fd = nullptr;
        if (HRESULT hr = view->GetFuncDesc(i, &fd); FAILED(hr))
            return hr;
        const size_t slot = size_t(fd->oVft) / sizeof(void*);
        if (slot != kDispatchSlots + layout->slots_.size() || slot >= size_t(typelib::kMaxVtableSlots)) {
            view->ReleaseFuncDesc(fd);
            return TYPE_E_INVALIDSTATE; // the members must follow IDispatch without gaps
        }
        DualSlot s;
        s.id = fd->memid;
        s.kind = fd->invkind;
        size_t ints = 0, floats = 0;
        for (SHORT p = 0; p < fd->cParams; ++p) {
            const ELEMDESC& e = fd->lprgelemdescParam[p];
            DualSlot::Arg a;
            a.flags = e.paramdesc.wParamFlags;
            if (a.flags & PARAMFLAG_FOUT) {
                a.vt = e.tdesc.vt == VT_PTR && e.tdesc.lptdesc ? abiType(view, *e.tdesc.lptdesc) : VARTYPE(VT_EMPTY);
                ++ints;
            } else {
                a.vt = abiType(view, e.tdesc);
                (isFloat(a.vt) ? floats : ints)++;
            }
            if (a.vt == VT_EMPTY)
                s.callable = false;
            s.args.push_back(a);
        }
        if (ints > kIntRegs || floats > kFloatRegs)
            s.callable = false;
        view->ReleaseFuncDesc(fd);
        layout->vtable_.push_back(thunks()[layout->slots_.size()]);
        layout->slots_.push_back(std::move(s));
    }
    out = std::move(layout);
    return S_OK;
}

namespace typelib {

HRESULT invokeThroughVtable(void* instance, const FUNCDESC& func, ITypeInfo* info, DISPPARAMS* params,
                            VARIANT* result, UINT* argErr)
{
    if (!instance)
        return E_INVALIDARG;
    const SHORT slot = SHORT(func.oVft / SHORT(sizeof(void*)));
    if (func.oVft <= 0 || func.oVft % SHORT(sizeof(void*)) || slot >= kMaxVtableSlots)
        return TYPE_E_INVALIDSTATE;
    // The declared parameters as the shared argument rule sees them; [out, retval] is ours.
    std::vector<ParamSpec> specs;
    int retIndex = -1;
    VARTYPE retType = VT_EMPTY;
    for (SHORT p = 0; p < func.cParams; ++p) {
        const ELEMDESC& e = func.lprgelemdescParam[p];
        const USHORT flags = e.paramdesc.wParamFlags;
        const bool out = flags & PARAMFLAG_FOUT;
        const VARTYPE vt = out ? (e.tdesc.vt == VT_PTR && e.tdesc.lptdesc ? abiType(info, *e.tdesc.lptdesc)
                                                                          : VARTYPE(VT_EMPTY))
                               : abiType(info, e.tdesc);
        if (vt == VT_EMPTY)
            return E_NOTIMPL;
        if (flags & PARAMFLAG_FRETVAL) {
            if (retIndex >= 0)
                return E_NOTIMPL;
            retIndex = p;
            retType = vt;
            continue;
        }
        specs.push_back({vt, out});
    }
    const CallShape shape = func.invkind == INVOKE_PROPERTYGET ? CallShape::Get
                            : func.invkind == INVOKE_FUNC      ? CallShape::Method
                                                               : CallShape::Put;
    InvokeArgs args;
    if (HRESULT hr = args.prepare(shape, specs, params, argErr); FAILED(hr))
        return hr;

    uint64_t ints[kIntRegs] = {};
    double floats[kFloatRegs] = {};
    size_t ni = 0, nf = 0;
    alignas(8) unsigned char retStore[16] = {};
    size_t next = 0;
    for (SHORT p = 0; p < func.cParams; ++p) {
        if (p == retIndex) {
            if (ni == kIntRegs)
                return E_NOTIMPL;
            ints[ni++] = reinterpret_cast<uint64_t>(&retStore[0]);
            continue;
        }
        const ParamSpec& spec = specs[next];
        const VARIANT& c = args.value(next++);
        if (!spec.out && isFloat(spec.vt)) {
            if (nf == kFloatRegs)
                return E_NOTIMPL;
            floats[nf++] = c.dblVal;
            continue;
        }
        if (ni == kIntRegs)
            return E_NOTIMPL;
        if (spec.out) {
            ints[ni++] = reinterpret_cast<uint64_t>(c.byref);
            continue;
        }
        switch (spec.vt) {
        case VT_I2: case VT_BOOL: ints[ni++] = uint64_t(int64_t(c.iVal)); break;
        case VT_I4: ints[ni++] = uint64_t(int64_t(c.lVal)); break;
        case VT_UI4: ints[ni++] = uint64_t(c.ulVal); break;
        default: ints[ni++] = reinterpret_cast<uint64_t>(c.byref); break;
        }
    }
    auto* vtbl = *static_cast<void* const* const*>(instance);
    auto fn = reinterpret_cast<SlotFn>(vtbl[slot]);
    const HRESULT hr = fn(instance, ints[0], ints[1], ints[2], ints[3], ints[4], floats[0], floats[1], floats[2],
                          floats[3], floats[4], floats[5], floats[6], floats[7]);
    if (FAILED(hr))
        return hr;
    args.complete();
    if (retIndex >= 0) {
        VARIANT v;
        loadOut(v, retType, retStore);
        if (result) {
            *result = v; // a result VARIANT arrives initialised and empty

        } else {
            VariantClear(&v);
        }
    } else if (result) {
        VariantInit(result);
    }
    return hr;
}

} // namespace typelib

} // namespace vyr::com
