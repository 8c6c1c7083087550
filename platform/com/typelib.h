#pragma once
// A type library built in memory from a plain description: enumerations, aliases, dual and
// pure dispatch interfaces, and coclasses. createTypeLib() turns the description into
// ITypeLib / ITypeInfo / ITypeComp objects that answer in the standard structures.
//
// A dual interface is one entry of the library: its dispatch view (TKIND_DISPATCH, flagged
// dual) is what GetTypeInfo returns; GetRefTypeOfImplType(-1) leads to its vtable view
// (TKIND_INTERFACE), whose functions return HRESULT, carry the property value as a
// [out, retval] pointer and have their vtable offsets in oVft (slot 7 on, after IDispatch).
#include "platform/com/comptr.h"
#include "platform/com/typeinfo.h"
#include <memory>
#include <string>
#include <vector>

namespace vyr::com::typelib {

// A type: a base VARTYPE, a pointer to another type (VT_PTR), or a type of the library by
// its index (VT_USERDEFINED).
struct Type {
    VARTYPE vt = VT_EMPTY;
    int ref = -1;                      // VT_USERDEFINED: index into Library::types
    std::shared_ptr<const Type> target; // VT_PTR: the type pointed to

    static Type base(VARTYPE vt) { return Type{vt, -1, nullptr}; }
    static Type user(int index) { return Type{VT_USERDEFINED, index, nullptr}; }
    static Type pointer(Type to) { return Type{VT_PTR, -1, std::make_shared<const Type>(std::move(to))}; }
};

struct Param {
    std::string name;
    Type type;
    USHORT flags = PARAMFLAG_FIN; // PARAMFLAG_FOUT with a VT_PTR type for an out parameter
};

// A member of a dispatch interface, as its dispatch view shows it: a property get returns
// `result` and takes no parameters; a put takes the value as its one parameter.
struct Func {
    MEMBERID id = 0;
    std::string name;
    INVOKEKIND kind = INVOKE_FUNC;
    std::vector<Param> params;
    Type result = Type::base(VT_VOID);
    std::string doc;
    WORD flags = 0; // FUNCFLAG_*
};

// An enumeration constant.
struct Const {
    std::string name;
    int32_t value = 0;
    std::string doc;
};

struct Impl {
    int ref = -1; // index of the implemented interface
    INT flags = 0; // IMPLTYPEFLAG_*
};

struct TypeEntry {
    TYPEKIND kind = TKIND_DISPATCH;
    GUID guid = GUID_NULL;
    std::string name;
    std::string doc;
    WORD flags = 0;               // TYPEFLAG_*; TYPEFLAG_FDUAL makes a dispatch interface dual
    std::vector<Func> funcs;      // TKIND_DISPATCH
    std::vector<Const> consts;    // TKIND_ENUM
    std::vector<Impl> impls;      // TKIND_COCLASS
    Type alias;                   // TKIND_ALIAS
};

struct Library {
    GUID guid = GUID_NULL;
    std::string name;
    std::string doc;
    WORD major = 1;
    WORD minor = 0;
    std::vector<TypeEntry> types;

    // Index of the type with that name, -1 when absent.
    int indexOf(std::string_view name) const;
};

// The library as ITypeLib; the description is checked first (references in range, dual
// interfaces within the vtable limit): E_INVALIDARG when it is inconsistent.
HRESULT createTypeLib(std::shared_ptr<const Library> library, ITypeLib** out);

// The number of vtable slots a dual interface may have (IUnknown and IDispatch included).
constexpr int kMaxVtableSlots = 512;

// Calls slot `oVft / sizeof(void*)` of the interface `instance` as the vtable view's
// FUNCDESC describes it, with arguments and result as for IDispatch::Invoke.
HRESULT invokeThroughVtable(void* instance, const FUNCDESC& func, ITypeInfo* info, DISPPARAMS* params,
                            VARIANT* result, UINT* argErr);

} // namespace vyr::com::typelib

// The standard helpers over a type description.
HRESULT DispInvoke(void* instance, ITypeInfo* info, DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO* excep, UINT* argErr);
HRESULT DispGetIDsOfNames(ITypeInfo* info, LPOLESTR* names, UINT count, DISPID* ids);
