// The in-memory type library: its standard structures, calls through a dual interface's
// vtable in both directions (a C++ object called from Invoke-style arguments, and an IDispatch
// reached through generated vtable slots), and hostile callers.
#include "platform/com/bstr.h"
#include "platform/com/object.h"
#include "platform/com/typelib.h"
#include "platform/com/typelibtext.h"
#include "platform/com/vtablecall.h"
#include <gtest/gtest.h>

using namespace vyr::com;
using namespace vyr::com::typelib;

VYR_DECLARE_INTERFACE(ITypeInfo, IID_ITypeInfo, IUnknown)

constexpr IID IID_IProbe = guidOf("6E0C4C58-8B3B-4E55-9D0B-2B7E0C6C1A01");

// The vtable shape the library below describes. Declared outside an anonymous namespace, as
// an interface is: the compiler must not assume Probe is its only implementation.
struct IProbe : IDispatch {
    STDMETHOD(get_Level)(double* value) = 0;
    STDMETHOD(put_Level)(double value) = 0;
    STDMETHOD(get_Mode)(LONG* value) = 0;
    STDMETHOD(put_Mode)(LONG value) = 0;
    STDMETHOD(Mix)(LONG a, double b, BSTR c, double d, SHORT e, BSTR* out) = 0;
    STDMETHOD(get_Name)(BSTR* value) = 0;
};

VYR_DECLARE_INTERFACE(IProbe, IID_IProbe, IDispatch)

namespace {

std::shared_ptr<Library> probeLibrary()
{
    auto lib = std::make_shared<Library>();
    lib->guid = guidOf("6E0C4C58-8B3B-4E55-9D0B-2B7E0C6C1A00");
    lib->name = "ProbeLib";
    TypeEntry mode;
    mode.kind = TKIND_ENUM;
    mode.name = "ProbeMode";
    mode.consts = {{"eOff", 0, "Off"}, {"eOn", 1, "On"}, {"eAuto", 7, "Auto"}};
    lib->types.push_back(mode);
    TypeEntry probe;
    probe.kind = TKIND_DISPATCH;
    probe.guid = IID_IProbe;
    probe.name = "IProbe";
    probe.flags = TYPEFLAG_FDUAL | TYPEFLAG_FDISPATCHABLE;
    Func getLevel{1, "Level", INVOKE_PROPERTYGET, {}, Type::base(VT_R8), "The level", FUNCFLAG_FBINDABLE};
    Func putLevel{1, "Level", INVOKE_PROPERTYPUT, {{"value", Type::base(VT_R8)}}, Type::base(VT_VOID), "", 0};
    Func getMode{2, "Mode", INVOKE_PROPERTYGET, {}, Type::user(0), "", 0};
    Func putMode{2, "Mode", INVOKE_PROPERTYPUT, {{"value", Type::user(0)}}, Type::base(VT_VOID), "", 0};
    Func mix{3, "Mix", INVOKE_FUNC,
             {{"a", Type::base(VT_I4)}, {"b", Type::base(VT_R8)}, {"c", Type::base(VT_BSTR)}, {"d", Type::base(VT_R8)},
              {"e", Type::base(VT_I2)}},
             Type::base(VT_BSTR), "", 0};
    Func getName{4, "Name", INVOKE_PROPERTYGET, {}, Type::base(VT_BSTR), "", FUNCFLAG_FHIDDEN};
    probe.funcs = {getLevel, putLevel, getMode, putMode, mix, getName};
    lib->types.push_back(probe);
    return lib;
}

ComPtr<ITypeLib> makeLib(std::shared_ptr<const Library> lib)
{
    ComPtr<ITypeLib> out;
    EXPECT_EQ(createTypeLib(std::move(lib), out.put()), S_OK);
    return out;
}

ComPtr<ITypeInfo> vtableView(ITypeLib* lib)
{
    ComPtr<ITypeInfo> disp, view;
    HREFTYPE ref = 0;
    EXPECT_EQ(lib->GetTypeInfo(1, disp.put()), S_OK);
    EXPECT_EQ(disp->GetRefTypeOfImplType(UINT(-1), &ref), S_OK);
    EXPECT_EQ(disp->GetRefTypeInfo(ref, view.put()), S_OK);
    return view;
}

// A C++ implementation of IProbe, for calls made through the type information.
class Probe : public Object<IProbe> {
public:
    double level = 0;
    LONG mode = 0;
    std::string mixed;
    STDMETHOD(GetTypeInfoCount)(UINT* c) override { return *c = 0, S_OK; }
    STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHOD(Invoke)(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }
    STDMETHOD(get_Level)(double* v) override { return v ? (*v = level, S_OK) : E_FAIL; }
    STDMETHOD(put_Level)(double v) override { return level = v, S_OK; }
    STDMETHOD(get_Mode)(LONG* v) override { return v ? (*v = mode, S_OK) : E_FAIL; }
    STDMETHOD(put_Mode)(LONG v) override { return mode = v, S_OK; }
    STDMETHOD(Mix)(LONG a, double b, BSTR c, double d, SHORT e, BSTR* out) override
    {
        mixed = std::to_string(a) + "|" + std::to_string(b) + "|" + utf8(c) + "|" + std::to_string(d) + "|" +
                std::to_string(e);
        *out = Bstr(mixed).detach();
        return S_OK;
    }
    STDMETHOD(get_Name)(BSTR* v) override { return v ? (*v = Bstr("probe").detach(), S_OK) : E_FAIL; }
};

// An IDispatch that records what reaches its Invoke, reached through a generated dual vtable.
class Recorder : public Object<IDispatch> {
public:
    DISPID lastId = 0;
    WORD lastFlags = 0;
    std::vector<Variant> lastArgs; // natural order
    bool namedPut = false;
    STDMETHOD(GetTypeInfoCount)(UINT* c) override { return *c = 0, S_OK; }
    STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHOD(Invoke)(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* p, VARIANT* result, EXCEPINFO*, UINT*) override
    {
        lastId = id;
        lastFlags = flags;
        lastArgs.clear();
        for (UINT i = p->cArgs; i-- > 0;)
            lastArgs.emplace_back(p->rgvarg[i]);
        namedPut = p->cNamedArgs == 1 && p->rgdispidNamedArgs[0] == DISPID_PROPERTYPUT;
        if (result && id == 1)
            *result = Variant::fromDouble(2.5).detach();
        if (result && id == 2)
            *result = Variant::fromShort(7).detach(); // converted to the enum's 32 bits
        if (result && id == 3)
            *result = Variant::fromString("mixed").detach();
        if (result && id == 4)
            *result = Variant::fromString("recorder").detach();
        return S_OK;
    }
};

} // namespace

TEST(TypeLib, DescribesTypesInTheStandardStructures)
{
    ComPtr<ITypeLib> lib = makeLib(probeLibrary());
    EXPECT_EQ(lib->GetTypeInfoCount(), 2u);
    ComPtr<ITypeInfo> disp;
    ASSERT_EQ(lib->GetTypeInfoOfGuid(IID_IProbe, disp.put()), S_OK);
    TYPEATTR* a = nullptr;
    ASSERT_EQ(disp->GetTypeAttr(&a), S_OK);
    EXPECT_EQ(a->typekind, TKIND_DISPATCH);
    EXPECT_TRUE(a->wTypeFlags & TYPEFLAG_FDUAL);
    EXPECT_EQ(a->cFuncs, 6);
    EXPECT_EQ(a->cbSizeVft, 7 * sizeof(void*)) << "the dispatch view has IDispatch's slots only";
    EXPECT_EQ(a->cImplTypes, 1);
    disp->ReleaseTypeAttr(a);
    {
        // Both views implement IDispatch; the vtable view's slots follow it.
        ComPtr<ITypeInfo> view = vtableView(lib.get()), base, again;
        ASSERT_EQ(view->GetTypeAttr(&a), S_OK);
        EXPECT_EQ(a->typekind, TKIND_INTERFACE);
        EXPECT_EQ(a->cbSizeVft, 13 * sizeof(void*));
        EXPECT_EQ(a->cImplTypes, 1);
        view->ReleaseTypeAttr(a);
        HREFTYPE ref = 0;
        ASSERT_EQ(view->GetRefTypeOfImplType(0, &ref), S_OK);
        ASSERT_EQ(view->GetRefTypeInfo(ref, base.put()), S_OK);
        ASSERT_EQ(base->GetTypeAttr(&a), S_OK);
        EXPECT_EQ(a->guid, IID_IDispatch);
        EXPECT_EQ(a->cbSizeVft, 7 * sizeof(void*));
        base->ReleaseTypeAttr(a);
        // Containers compare type information by pointer: one object per type and view.
        EXPECT_EQ(view.get(), vtableView(lib.get()).get());
        ASSERT_EQ(lib->GetTypeInfoOfGuid(IID_IProbe, again.put()), S_OK);
        EXPECT_EQ(again.get(), disp.get());
    }

    // The dispatch view returns the value; the vtable view an HRESULT with a retval pointer.
    FUNCDESC* f = nullptr;
    ASSERT_EQ(disp->GetFuncDesc(2, &f), S_OK);
    EXPECT_EQ(f->invkind, INVOKE_PROPERTYGET);
    EXPECT_EQ(f->funckind, FUNC_DISPATCH);
    EXPECT_EQ(f->cParams, 0);
    ASSERT_EQ(f->elemdescFunc.tdesc.vt, VT_USERDEFINED);
    ComPtr<ITypeInfo> mode;
    ASSERT_EQ(disp->GetRefTypeInfo(f->elemdescFunc.tdesc.hreftype, mode.put()), S_OK);
    disp->ReleaseFuncDesc(f);
    ComPtr<ITypeInfo> view = vtableView(lib.get());
    ASSERT_EQ(view->GetFuncDesc(2, &f), S_OK);
    EXPECT_EQ(f->funckind, FUNC_PUREVIRTUAL);
    EXPECT_EQ(f->elemdescFunc.tdesc.vt, VT_HRESULT);
    EXPECT_EQ(f->oVft, SHORT(9 * sizeof(void*)));
    ASSERT_EQ(f->cParams, 1);
    EXPECT_EQ(f->lprgelemdescParam[0].tdesc.vt, VT_PTR);
    EXPECT_EQ(f->lprgelemdescParam[0].paramdesc.wParamFlags, PARAMFLAG_FOUT | PARAMFLAG_FRETVAL);
    view->ReleaseFuncDesc(f);

    // The enumeration's constants carry their values and display texts.
    VARDESC* v = nullptr;
    ASSERT_EQ(mode->GetVarDesc(2, &v), S_OK);
    EXPECT_EQ(v->varkind, VAR_CONST);
    EXPECT_EQ(v->lpvarValue->lVal, 7);
    Bstr name, doc;
    ASSERT_EQ(mode->GetDocumentation(v->memid, name.put(), doc.put(), nullptr, nullptr), S_OK);
    EXPECT_EQ(name.str(), "eAuto");
    EXPECT_EQ(doc.str(), "Auto");
    mode->ReleaseVarDesc(v);

    // Names: a method's parameters by position, members case-insensitively.
    const std::u16string mix = u"MIX", c = u"c";
    LPOLESTR names[2] = {const_cast<LPOLESTR>(mix.c_str()), const_cast<LPOLESTR>(c.c_str())};
    MEMBERID ids[2];
    ASSERT_EQ(disp->GetIDsOfNames(names, 2, ids), S_OK);
    EXPECT_EQ(ids[0], 3);
    EXPECT_EQ(ids[1], 2);

    const std::string idl = typeLibText(lib.get());
    EXPECT_NE(idl.find("[id(1), propget, bindable, helpstring(\"The level\")] double Level();"), std::string::npos);
    EXPECT_NE(idl.find("eAuto = 7"), std::string::npos);
    EXPECT_NE(idl.find("[id(4), propget, hidden] BSTR Name();"), std::string::npos);
}

TEST(TypeLib, InvokesACppObjectThroughItsVtable)
{
    ComPtr<ITypeLib> lib = makeLib(probeLibrary());
    ComPtr<ITypeInfo> disp;
    ASSERT_EQ(lib->GetTypeInfo(1, disp.put()), S_OK);
    auto probe = make<Probe>();
    void* instance = static_cast<IProbe*>(probe.get());

    DISPID named = DISPID_PROPERTYPUT;
    VARIANT arg = Variant::fromString("3.25").detach(); // converted to the double the slot takes
    DISPPARAMS put{&arg, &named, 1, 1};
    EXPECT_EQ(DispInvoke(instance, disp.get(), 1, DISPATCH_PROPERTYPUT, &put, nullptr, nullptr, nullptr), S_OK);
    VariantClear(&arg);
    EXPECT_EQ(probe->level, 3.25);

    Variant result;
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXPECT_EQ(DispInvoke(instance, disp.get(), 1, DISPATCH_PROPERTYGET, &none, result.put(), nullptr, nullptr), S_OK);
    EXPECT_EQ(result.type(), VT_R8);
    EXPECT_EQ(result.get().dblVal, 3.25);

    // Integer and floating arguments interleaved, a string in between, a string result.
    Variant args[5] = {Variant::fromShort(-4), Variant::fromDouble(0.5), Variant::fromString("x"),
                       Variant::fromDouble(1.5), Variant::fromLong(-70000)}; // reversed
    std::vector<VARIANT> raw;
    for (auto& a : args)
        raw.push_back(a.get());
    DISPPARAMS call{raw.data(), nullptr, 5, 0};
    EXPECT_EQ(DispInvoke(instance, disp.get(), 3, DISPATCH_METHOD, &call, result.put(), nullptr, nullptr), S_OK);
    EXPECT_EQ(probe->mixed, "-70000|1.500000|x|0.500000|-4");
    EXPECT_EQ(result.type(), VT_BSTR);
    EXPECT_EQ(utf8(result.get().bstrVal), probe->mixed);

    // Wrong counts and types are refused before the slot is called.
    UINT argErr = 99;
    VARIANT bad = Variant::fromString("not a number").detach();
    DISPPARAMS badPut{&bad, &named, 1, 1};
    EXPECT_EQ(DispInvoke(instance, disp.get(), 1, DISPATCH_PROPERTYPUT, &badPut, nullptr, nullptr, &argErr),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argErr, 0u);
    VariantClear(&bad);
    EXPECT_EQ(DispInvoke(instance, disp.get(), 3, DISPATCH_METHOD, &none, result.put(), nullptr, nullptr),
              DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(DispInvoke(instance, disp.get(), 99, DISPATCH_METHOD, &none, result.put(), nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(DispInvoke(nullptr, disp.get(), 1, DISPATCH_PROPERTYGET, &none, result.put(), nullptr, nullptr),
              E_INVALIDARG);
    EXPECT_EQ(probe->level, 3.25);
}

TEST(TypeLib, GeneratedVtableReachesInvoke)
{
    ComPtr<ITypeLib> lib = makeLib(probeLibrary());
    std::shared_ptr<const DualLayout> layout;
    ASSERT_EQ(DualLayout::build(vtableView(lib.get()).get(), layout), S_OK);
    ASSERT_EQ(layout->slotCount(), 6u);
    auto recorder = make<Recorder>();
    DualInterface dual;
    dual.bind(recorder.get(), layout.get());
    auto* probe = reinterpret_cast<IProbe*>(&dual);

    // IUnknown goes to the target: identity and reference count are the target's.
    const ULONG before = recorder->refCount();
    probe->AddRef();
    EXPECT_EQ(recorder->refCount(), before + 1);
    probe->Release();

    EXPECT_EQ(probe->put_Level(6.75), S_OK);
    EXPECT_EQ(recorder->lastId, 1);
    EXPECT_EQ(recorder->lastFlags, DISPATCH_PROPERTYPUT);
    EXPECT_TRUE(recorder->namedPut);
    ASSERT_EQ(recorder->lastArgs.size(), 1u);
    EXPECT_EQ(recorder->lastArgs[0].get().dblVal, 6.75);

    double level = 0;
    EXPECT_EQ(probe->get_Level(&level), S_OK);
    EXPECT_EQ(level, 2.5);
    LONG mode = 0;
    EXPECT_EQ(probe->get_Mode(&mode), S_OK);
    EXPECT_EQ(mode, 7);

    Bstr c("text");
    BSTR out = nullptr;
    EXPECT_EQ(probe->Mix(-3, 1.25, c.get(), -8.5, 12, &out), S_OK);
    EXPECT_EQ(recorder->lastFlags, DISPATCH_METHOD);
    ASSERT_EQ(recorder->lastArgs.size(), 5u);
    EXPECT_EQ(recorder->lastArgs[0].get().lVal, -3);
    EXPECT_EQ(recorder->lastArgs[1].get().dblVal, 1.25);
    EXPECT_EQ(utf8(recorder->lastArgs[2].get().bstrVal), "text");
    EXPECT_EQ(recorder->lastArgs[3].get().dblVal, -8.5);
    EXPECT_EQ(recorder->lastArgs[4].get().iVal, 12);
    EXPECT_EQ(utf8(out), "mixed");
    SysFreeString(out);

    // A getter without a place for its value fails without calling.
    recorder->lastId = 0;
    EXPECT_EQ(probe->get_Name(nullptr), E_FAIL);
    EXPECT_EQ(recorder->lastId, 0);
}

TEST(TypeLib, HostileCallersGetErrors)
{
    // References out of range make no library.
    auto broken = probeLibrary();
    broken->types[1].funcs[0].result = Type::user(42);
    ComPtr<ITypeLib> none;
    EXPECT_EQ(createTypeLib(broken, none.put()), E_INVALIDARG);
    EXPECT_FALSE(none);

    ComPtr<ITypeLib> lib = makeLib(probeLibrary());
    ComPtr<ITypeInfo> info;
    EXPECT_EQ(lib->GetTypeInfo(2, info.put()), TYPE_E_ELEMENTNOTFOUND);
    EXPECT_EQ(lib->GetTypeInfo(0, nullptr), E_INVALIDARG);
    ASSERT_EQ(lib->GetTypeInfo(1, info.put()), S_OK);
    FUNCDESC* f = nullptr;
    EXPECT_EQ(info->GetFuncDesc(6, &f), TYPE_E_ELEMENTNOTFOUND);
    EXPECT_EQ(info->GetFuncDesc(0, nullptr), E_INVALIDARG);
    VARDESC* v = nullptr;
    EXPECT_EQ(info->GetVarDesc(0, &v), TYPE_E_ELEMENTNOTFOUND);
    ComPtr<ITypeInfo> missing;
    EXPECT_EQ(info->GetRefTypeInfo(0x7FFF, missing.put()), TYPE_E_ELEMENTNOTFOUND);
    EXPECT_FALSE(missing);
    BSTR names[4];
    UINT count = 0;
    EXPECT_EQ(info->GetNames(12345, names, 4, &count), TYPE_E_ELEMENTNOTFOUND);
    EXPECT_EQ(count, 0u);
    const std::u16string nope = u"Nope";
    LPOLESTR n[1] = {const_cast<LPOLESTR>(nope.c_str())};
    MEMBERID id = 0;
    EXPECT_EQ(info->GetIDsOfNames(n, 1, &id), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(id, MEMBERID_NIL);
    EXPECT_EQ(info->GetDocumentation(777, nullptr, nullptr, nullptr, nullptr), TYPE_E_ELEMENTNOTFOUND);
    INT flags = 0;
    EXPECT_EQ(info->GetImplTypeFlags(1, &flags), TYPE_E_ELEMENTNOTFOUND);
    ComPtr<ITypeInfo> enumInfo;
    ASSERT_EQ(lib->GetTypeInfo(0, enumInfo.put()), S_OK);
    Probe probe;
    EXPECT_EQ(enumInfo->Invoke(&probe, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr), TYPE_E_WRONGTYPEKIND);
}
