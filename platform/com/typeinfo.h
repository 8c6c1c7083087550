#pragma once
// Type information in the standard layout: TYPEDESC, ELEMDESC, TYPEATTR, FUNCDESC, VARDESC,
// TLIBATTR, and ITypeInfo, ITypeLib, ITypeComp in the standard method order, together with
// IProvideClassInfo(2) and ISpecifyPropertyPages that controls answer from it.
#include "platform/com/dispatch.h"

using HREFTYPE = DWORD;
using ULONG_PTR = uintptr_t;

enum TYPEKIND : int32_t {
    TKIND_ENUM = 0, TKIND_RECORD, TKIND_MODULE, TKIND_INTERFACE, TKIND_DISPATCH, TKIND_COCLASS, TKIND_ALIAS,
    TKIND_UNION, TKIND_MAX
};
enum FUNCKIND : int32_t { FUNC_VIRTUAL = 0, FUNC_PUREVIRTUAL, FUNC_NONVIRTUAL, FUNC_STATIC, FUNC_DISPATCH };
enum INVOKEKIND : int32_t {
    INVOKE_FUNC = 1, INVOKE_PROPERTYGET = 2, INVOKE_PROPERTYPUT = 4, INVOKE_PROPERTYPUTREF = 8
};
enum CALLCONV : int32_t { CC_FASTCALL = 0, CC_CDECL = 1, CC_STDCALL = 4 };
enum VARKIND : int32_t { VAR_PERINSTANCE = 0, VAR_STATIC, VAR_CONST, VAR_DISPATCH };
enum SYSKIND : int32_t { SYS_WIN16 = 0, SYS_WIN32, SYS_MAC, SYS_WIN64 };
enum DESCKIND : int32_t {
    DESCKIND_NONE = 0, DESCKIND_FUNCDESC, DESCKIND_VARDESC, DESCKIND_TYPECOMP, DESCKIND_IMPLICITAPPOBJ
};

constexpr VARTYPE VT_PTR = 26;
constexpr VARTYPE VT_SAFEARRAY = 27;
constexpr VARTYPE VT_CARRAY = 28;
constexpr VARTYPE VT_USERDEFINED = 29;

// TYPEFLAGS
constexpr WORD TYPEFLAG_FAPPOBJECT = 0x1;
constexpr WORD TYPEFLAG_FCANCREATE = 0x2;
constexpr WORD TYPEFLAG_FLICENSED = 0x4;
constexpr WORD TYPEFLAG_FPREDECLID = 0x8;
constexpr WORD TYPEFLAG_FHIDDEN = 0x10;
constexpr WORD TYPEFLAG_FCONTROL = 0x20;
constexpr WORD TYPEFLAG_FDUAL = 0x40;
constexpr WORD TYPEFLAG_FNONEXTENSIBLE = 0x80;
constexpr WORD TYPEFLAG_FOLEAUTOMATION = 0x100;
constexpr WORD TYPEFLAG_FRESTRICTED = 0x200;
constexpr WORD TYPEFLAG_FDISPATCHABLE = 0x1000;
// FUNCFLAGS and VARFLAGS
constexpr WORD FUNCFLAG_FRESTRICTED = 0x1;
constexpr WORD FUNCFLAG_FSOURCE = 0x2;
constexpr WORD FUNCFLAG_FBINDABLE = 0x4;
constexpr WORD FUNCFLAG_FHIDDEN = 0x40;
constexpr WORD VARFLAG_FREADONLY = 0x1;
constexpr WORD VARFLAG_FHIDDEN = 0x40;
constexpr WORD VARFLAG_FRESTRICTED = 0x80;
// IMPLTYPEFLAGS
constexpr INT IMPLTYPEFLAG_FDEFAULT = 0x1;
constexpr INT IMPLTYPEFLAG_FSOURCE = 0x2;
// PARAMFLAGS
constexpr USHORT PARAMFLAG_NONE = 0;
constexpr USHORT PARAMFLAG_FIN = 0x1;
constexpr USHORT PARAMFLAG_FOUT = 0x2;
constexpr USHORT PARAMFLAG_FRETVAL = 0x8;
constexpr USHORT PARAMFLAG_FOPT = 0x10;

constexpr MEMBERID MEMBERID_NIL = DISPID_UNKNOWN;

constexpr HRESULT TYPE_E_BADMODULEKIND = static_cast<HRESULT>(0x800288BD);
constexpr HRESULT TYPE_E_LIBNOTREGISTERED = static_cast<HRESULT>(0x8002801D);
constexpr HRESULT TYPE_E_CANTLOADLIBRARY = static_cast<HRESULT>(0x80029C4A);
constexpr HRESULT TYPE_E_INVALIDSTATE = static_cast<HRESULT>(0x80028029);
constexpr HRESULT TYPE_E_WRONGTYPEKIND = static_cast<HRESULT>(0x8002802A);
constexpr HRESULT TYPE_E_REGISTRYACCESS = static_cast<HRESULT>(0x8002801C);
constexpr HRESULT PERPROP_E_NOPAGEAVAILABLE = static_cast<HRESULT>(0x80040200);

struct ARRAYDESC;
struct TYPEDESC {
    union {
        TYPEDESC* lptdesc;   // VT_PTR, VT_SAFEARRAY
        ARRAYDESC* lpadesc;  // VT_CARRAY
        HREFTYPE hreftype;   // VT_USERDEFINED
    };
    VARTYPE vt;
};
struct IDLDESC {
    ULONG_PTR dwReserved;
    USHORT wIDLFlags;
};
struct PARAMDESCEX {
    ULONG cBytes;
    VARIANTARG varDefaultValue;
};
struct PARAMDESC {
    PARAMDESCEX* pparamdescex;
    USHORT wParamFlags;
};
struct ELEMDESC {
    TYPEDESC tdesc;
    union {
        IDLDESC idldesc;
        PARAMDESC paramdesc;
    };
};
struct TYPEATTR {
    GUID guid;
    LCID lcid;
    DWORD dwReserved;
    MEMBERID memidConstructor;
    MEMBERID memidDestructor;
    LPOLESTR lpstrSchema;
    ULONG cbSizeInstance;
    TYPEKIND typekind;
    WORD cFuncs;
    WORD cVars;
    WORD cImplTypes;
    WORD cbSizeVft;
    WORD cbAlignment;
    WORD wTypeFlags;
    WORD wMajorVerNum;
    WORD wMinorVerNum;
    TYPEDESC tdescAlias;
    IDLDESC idldescType;
};
struct FUNCDESC {
    MEMBERID memid;
    SCODE* lprgscode;
    ELEMDESC* lprgelemdescParam;
    FUNCKIND funckind;
    INVOKEKIND invkind;
    CALLCONV callconv;
    SHORT cParams;
    SHORT cParamsOpt;
    SHORT oVft;
    SHORT cScodes;
    ELEMDESC elemdescFunc;
    WORD wFuncFlags;
};
struct VARDESC {
    MEMBERID memid;
    LPOLESTR lpstrSchema;
    union {
        ULONG oInst;
        VARIANT* lpvarValue;
    };
    ELEMDESC elemdescVar;
    WORD wVarFlags;
    VARKIND varkind;
};
struct TLIBATTR {
    GUID guid;
    LCID lcid;
    SYSKIND syskind;
    WORD wMajorVerNum;
    WORD wMinorVerNum;
    WORD wLibFlags;
};

struct ITypeInfo;
struct ITypeLib;
struct ITypeComp;

union BINDPTR {
    FUNCDESC* lpfuncdesc;
    VARDESC* lpvardesc;
    ITypeComp* lptcomp;
};

struct ITypeComp : IUnknown {
    STDMETHOD(Bind)(LPOLESTR name, ULONG hash, WORD flags, ITypeInfo** info, DESCKIND* kind, BINDPTR* bind) = 0;
    STDMETHOD(BindType)(LPOLESTR name, ULONG hash, ITypeInfo** info, ITypeComp** comp) = 0;
};

struct ITypeInfo : IUnknown {
    STDMETHOD(GetTypeAttr)(TYPEATTR** attr) = 0;
    STDMETHOD(GetTypeComp)(ITypeComp** comp) = 0;
    STDMETHOD(GetFuncDesc)(UINT index, FUNCDESC** desc) = 0;
    STDMETHOD(GetVarDesc)(UINT index, VARDESC** desc) = 0;
    STDMETHOD(GetNames)(MEMBERID id, BSTR* names, UINT maxNames, UINT* count) = 0;
    STDMETHOD(GetRefTypeOfImplType)(UINT index, HREFTYPE* ref) = 0;
    STDMETHOD(GetImplTypeFlags)(UINT index, INT* flags) = 0;
    STDMETHOD(GetIDsOfNames)(LPOLESTR* names, UINT count, MEMBERID* ids) = 0;
    STDMETHOD(Invoke)(void* instance, MEMBERID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* excep, UINT* argErr) = 0;
    STDMETHOD(GetDocumentation)(MEMBERID id, BSTR* name, BSTR* doc, DWORD* helpContext, BSTR* helpFile) = 0;
    STDMETHOD(GetDllEntry)(MEMBERID id, INVOKEKIND kind, BSTR* dll, BSTR* name, WORD* ordinal) = 0;
    STDMETHOD(GetRefTypeInfo)(HREFTYPE ref, ITypeInfo** info) = 0;
    STDMETHOD(AddressOfMember)(MEMBERID id, INVOKEKIND kind, void** address) = 0;
    STDMETHOD(CreateInstance)(IUnknown* outer, REFIID riid, void** object) = 0;
    STDMETHOD(GetMops)(MEMBERID id, BSTR* mops) = 0;
    STDMETHOD(GetContainingTypeLib)(ITypeLib** lib, UINT* index) = 0;
    STDMETHOD_(void, ReleaseTypeAttr)(TYPEATTR* attr) = 0;
    STDMETHOD_(void, ReleaseFuncDesc)(FUNCDESC* desc) = 0;
    STDMETHOD_(void, ReleaseVarDesc)(VARDESC* desc) = 0;
};

struct ITypeLib : IUnknown {
    STDMETHOD_(UINT, GetTypeInfoCount)() = 0;
    STDMETHOD(GetTypeInfo)(UINT index, ITypeInfo** info) = 0;
    STDMETHOD(GetTypeInfoType)(UINT index, TYPEKIND* kind) = 0;
    STDMETHOD(GetTypeInfoOfGuid)(REFGUID guid, ITypeInfo** info) = 0;
    STDMETHOD(GetLibAttr)(TLIBATTR** attr) = 0;
    STDMETHOD(GetTypeComp)(ITypeComp** comp) = 0;
    STDMETHOD(GetDocumentation)(INT index, BSTR* name, BSTR* doc, DWORD* helpContext, BSTR* helpFile) = 0;
    STDMETHOD(IsName)(LPOLESTR name, ULONG hash, BOOL* found) = 0;
    STDMETHOD(FindName)(LPOLESTR name, ULONG hash, ITypeInfo** infos, MEMBERID* ids, USHORT* found) = 0;
    STDMETHOD_(void, ReleaseTLibAttr)(TLIBATTR* attr) = 0;
};

struct IProvideClassInfo : IUnknown {
    STDMETHOD(GetClassInfo)(ITypeInfo** info) = 0;
};

constexpr DWORD GUIDKIND_DEFAULT_SOURCE_DISP_IID = 1;
struct IProvideClassInfo2 : IProvideClassInfo {
    STDMETHOD(GetGUID)(DWORD kind, GUID* guid) = 0;
};

struct CAUUID {
    ULONG cElems;
    GUID* pElems;
};
struct ISpecifyPropertyPages : IUnknown {
    STDMETHOD(GetPages)(CAUUID* pages) = 0;
};

constexpr IID IID_ITypeInfo = vyr::com::guidOf("00020401-0000-0000-C000-000000000046");
constexpr IID IID_ITypeLib = vyr::com::guidOf("00020402-0000-0000-C000-000000000046");
constexpr IID IID_ITypeComp = vyr::com::guidOf("00020403-0000-0000-C000-000000000046");
constexpr IID IID_IProvideClassInfo = vyr::com::guidOf("B196B283-BAB4-101A-B69C-00AA00341D07");
constexpr IID IID_IProvideClassInfo2 = vyr::com::guidOf("A6BC3AC0-DBAA-11CE-9DE3-00AA004BB851");
constexpr IID IID_ISpecifyPropertyPages = vyr::com::guidOf("B196B28B-BAB4-101A-B69C-00AA00341D07");
