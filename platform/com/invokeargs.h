#pragma once
// The one argument rule of every invocation path (IDispatch::Invoke of the controls and the
// standard objects, ITypeInfo::Invoke and DispInvoke through a vtable): argument counts, null
// arrays, named arguments, by-reference arguments of the declared type and of VT_VARIANT, and
// coercion to the declared types. A caller describes the member's parameters, lets InvokeArgs
// check and convert what the container passed, calls the member with the checked arguments
// and, when that succeeded, lets InvokeArgs hand the out values back.
#include "platform/com/dispatch.h"
#include <memory>
#include <span>
#include <vector>

// A required parameter was neither passed by position nor named.
constexpr HRESULT DISP_E_PARAMNOTOPTIONAL = static_cast<HRESULT>(0x8002000F);

namespace vyr::com {

// A declared parameter: the type the member takes (for an out parameter, the type it writes)
// and its direction.
struct ParamSpec {
    VARTYPE vt = VT_VARIANT;
    bool out = false;
};

// What the caller asked for. A property get takes no arguments; a put takes its value as the
// one argument, named DISPID_PROPERTYPUT; a method takes its parameters, positional (in
// reverse order) or named by their position.
enum class CallShape { Method, Get, Put };

// A value converted to `vt`: a VT_BYREF|VT_VARIANT or VT_BYREF of a scalar is followed once;
// VT_EMPTY and VT_NULL give a null object for VT_DISPATCH and VT_UNKNOWN; VT_VARIANT takes the
// value as it is. DISP_E_OVERFLOW when out of range, E_POINTER for a null reference,
// DISP_E_TYPEMISMATCH otherwise.
HRESULT coerceArg(const VARIANT& in, VARTYPE vt, Variant& out);

class InvokeArgs {
public:
    InvokeArgs();
    InvokeArgs(const InvokeArgs&) = delete;
    InvokeArgs& operator=(const InvokeArgs&) = delete;
    ~InvokeArgs();

    // Checks `params` (null counts as no arguments) against the declared parameters in their
    // natural order and converts every in argument. On failure `argErr`, when given, names the
    // index in rgvarg of the argument at fault.
    HRESULT prepare(CallShape shape, std::span<const ParamSpec> specs, const DISPPARAMS* params, UINT* argErr);

    size_t count() const { return values_.size(); }
    // The i-th argument in natural order: an in argument converted to its declared type, an
    // out argument as VT_BYREF of its declared type pointing to where the value goes.
    const VARIANT& value(size_t i) const { return values_[i].get(); }
    // The checked arguments as a callee reads them: reversed, a put's value named
    // DISPID_PROPERTYPUT. Valid while this object lives.
    DISPPARAMS* dispParams() { return &params_; }
    // After a successful call: out values given as VT_BYREF|VT_VARIANT reach the caller's
    // VARIANT (cleared first, then set to the declared type).
    void complete();

private:
    struct OutCell;
    std::vector<Variant> values_;
    std::vector<VARIANT> reversed_;
    std::vector<std::unique_ptr<OutCell>> cells_;
    DISPID named_ = DISPID_PROPERTYPUT;
    DISPPARAMS params_{nullptr, nullptr, 0, 0};
};

} // namespace vyr::com
