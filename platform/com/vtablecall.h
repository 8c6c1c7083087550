#pragma once
// Calls between vtable slots and IDispatch::Invoke, driven by type information.
//
// Both directions rest on how the 64-bit calling conventions of this platform (x86-64
// System V, AArch64) pass arguments: integer-class arguments (integers, pointers) go to the
// integer registers in order, floating-point ones to the vector registers in order,
// independently of each other. A slot is therefore called, and a thunk entered, through one
// signature of five integer and eight double arguments after `this`; a member whose
// parameters do not fit that (more than five integer-class or eight double arguments, single
// floats, structures by value) is refused with E_NOTIMPL.
//
// DualInterface is the callee side: a tear-off whose vtable is IUnknown and IDispatch
// forwarding to an IDispatch implementation, followed by one thunk per member of a dual
// interface that unpacks its arguments and calls that implementation's Invoke.
#include "platform/com/typeinfo.h"
#include <memory>
#include <vector>

#if !defined(__x86_64__) && !defined(__aarch64__)
#error "vtable calls are written for the x86-64 and AArch64 calling conventions"
#endif

namespace vyr::com {

// The type an argument or result travels as: one of VT_I2, VT_BOOL, VT_I4, VT_UI4, VT_R8,
// VT_DATE, VT_BSTR, VT_DISPATCH, VT_UNKNOWN; VT_EMPTY for a type that cannot travel in a
// register. Enumerations travel as VT_I4, aliases as what they alias, pointers to interfaces
// as VT_DISPATCH.
VARTYPE abiType(ITypeInfo* info, const TYPEDESC& type);

// One member of a dual interface, as its thunk needs it.
struct DualSlot {
    MEMBERID id = 0;
    INVOKEKIND kind = INVOKE_FUNC;
    struct Arg {
        VARTYPE vt = VT_EMPTY; // abiType of the parameter (of what it points to, for out parameters)
        USHORT flags = PARAMFLAG_FIN;
    };
    std::vector<Arg> args;
    bool callable = true;      // false when the parameters cannot be passed in registers
};

class DualLayout {
public:
    // The layout of the dual interface whose vtable view is `view` (TKIND_INTERFACE).
    static HRESULT build(ITypeInfo* view, std::shared_ptr<const DualLayout>& out);

    // The slots; like a compiler's vtable they are preceded by the offset to the top of the
    // object (0) and a type_info (IDispatch's), so that RTTI on the pointer reads sane data.
    const void* const* vtable() const { return vtable_.data() + kPrefix; }
    size_t slotCount() const { return slots_.size(); }
    const DualSlot& slot(size_t i) const { return slots_[i]; }

private:
    static constexpr size_t kPrefix = 2;
    std::vector<DualSlot> slots_;
    std::vector<const void*> vtable_;
};

// A tear-off interface pointer: its vtable is the layout's; identity and reference counting
// are the target's.
struct DualInterface {
    const void* const* vtable = nullptr;
    IDispatch* target = nullptr;
    const DualLayout* layout = nullptr;

    void bind(IDispatch* dispatch, const DualLayout* l)
    {
        target = dispatch;
        layout = l;
        vtable = l->vtable();
    }
};

} // namespace vyr::com
