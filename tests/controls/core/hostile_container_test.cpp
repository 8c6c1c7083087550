// A careless container built apart from the library: it loads the library at run time, walks
// the type library through ITypeLib/ITypeInfo only and calls every control of the class table
// the way late-binding containers and script engines do, wrong calls included. Every call
// gets an HRESULT; the IDispatch pointer and the dual pointer answer alike.
#include "controls/core/vyrcontrols.h"
#include "platform/com/bstr.h"
#include "platform/com/connection.h"
#include "platform/com/object.h"
#include "platform/com/typelib.h"
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <map>
#include <set>

using namespace vyr;
using com::ComPtr;
using com::Variant;

namespace {

struct Module {
    void* handle = dlopen(VYR_CONTROLS_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    template <class F>
    F get(const char* name)
    {
        return handle ? reinterpret_cast<F>(dlsym(handle, name)) : nullptr;
    }
};

Module& module()
{
    static Module m;
    return m;
}

ComPtr<ITypeLib> typeLib()
{
    ComPtr<ITypeLib> lib;
    if (auto load = module().get<HRESULT (*)(ITypeLib**)>("VyrLoadTypeLib"))
        load(lib.put());
    return lib;
}

std::string nameOf(ITypeInfo* info, MEMBERID id = MEMBERID_NIL)
{
    com::Bstr n;
    info->GetDocumentation(id, n.put(), nullptr, nullptr, nullptr);
    return n.str();
}

struct Attr {
    ITypeInfo* info;
    TYPEATTR* a = nullptr;
    explicit Attr(ITypeInfo* i) : info(i) { i->GetTypeAttr(&a); }
    ~Attr()
    {
        if (a)
            info->ReleaseTypeAttr(a);
    }
    const TYPEATTR* operator->() const { return a; }
};

struct Control {
    std::string name;
    ComPtr<IUnknown> object;
    ComPtr<ITypeInfo> coclass;
};

// Every creatable coclass of the library, created through its class factory.
std::vector<Control> everyControl()
{
    std::vector<Control> out;
    ComPtr<ITypeLib> lib = typeLib();
    auto getClassObject = module().get<decltype(&DllGetClassObject)>("DllGetClassObject");
    if (!lib || !getClassObject)
        return out;
    for (UINT i = 0; i < lib->GetTypeInfoCount(); ++i) {
        TYPEKIND kind{};
        if (FAILED(lib->GetTypeInfoType(i, &kind)) || kind != TKIND_COCLASS)
            continue;
        Control c;
        lib->GetTypeInfo(i, c.coclass.put());
        Attr a(c.coclass.get());
        if (!(a->wTypeFlags & TYPEFLAG_FCANCREATE))
            continue;
        c.name = nameOf(c.coclass.get());
        ComPtr<IClassFactory> factory;
        if (FAILED(getClassObject(a->guid, IID_IClassFactory, factory.putVoid())) ||
            FAILED(factory->CreateInstance(nullptr, IID_IUnknown, c.object.putVoid())))
            continue;
        out.push_back(std::move(c));
    }
    return out;
}

// A sink that answers IDispatch only.
class DispatchOnlySink final : public com::Object<IDispatch> {
public:
    int calls = 0;
    STDMETHOD(GetTypeInfoCount)(UINT* n) override { return n ? (*n = 0, S_OK) : E_POINTER; }
    STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHOD(Invoke)(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        ++calls;
        return S_OK;
    }
};

} // namespace

TEST(HostileContainer, EveryClassIsReached)
{
    ASSERT_TRUE(module().handle) << dlerror();
    EXPECT_EQ(everyControl().size(), 26u);
}

TEST(HostileContainer, OnePointerPerDualInterface)
{
    for (const Control& c : everyControl()) {
        SCOPED_TRACE(c.name);
        HREFTYPE ref = 0;
        ComPtr<ITypeInfo> fromClass, fromObject, again;
        ASSERT_EQ(c.coclass->GetRefTypeOfImplType(0, &ref), S_OK);
        ASSERT_EQ(c.coclass->GetRefTypeInfo(ref, fromClass.put()), S_OK);
        const IID iid = Attr(fromClass.get())->guid;
        ComPtr<IDispatch> dispatch;
        ComPtr<IUnknown> dual;
        ASSERT_EQ(c.object->QueryInterface(IID_IDispatch, dispatch.putVoid()), S_OK);
        ASSERT_EQ(c.object->QueryInterface(iid, dual.putVoid()), S_OK);
        EXPECT_EQ(static_cast<void*>(dispatch.get()), static_cast<void*>(dual.get()));
        // The same type information object whichever way it is reached.
        ASSERT_EQ(dispatch->GetTypeInfo(0, 0, fromObject.put()), S_OK);
        ASSERT_EQ(dispatch->GetTypeInfo(0, 0, again.put()), S_OK);
        EXPECT_EQ(fromObject.get(), fromClass.get());
        EXPECT_EQ(again.get(), fromObject.get());

        // The standard view shapes.
        Attr view(fromObject.get());
        EXPECT_EQ(view->typekind, TKIND_DISPATCH);
        EXPECT_EQ(view->cImplTypes, 1);
        EXPECT_EQ(view->cbSizeVft, 7 * sizeof(void*));
        ComPtr<ITypeInfo> base, vtable;
        ASSERT_EQ(fromObject->GetRefTypeOfImplType(0, &ref), S_OK);
        ASSERT_EQ(fromObject->GetRefTypeInfo(ref, base.put()), S_OK);
        EXPECT_EQ(Attr(base.get())->guid, IID_IDispatch);
        ASSERT_EQ(fromObject->GetRefTypeOfImplType(UINT(-1), &ref), S_OK);
        ASSERT_EQ(fromObject->GetRefTypeInfo(ref, vtable.put()), S_OK);
        Attr v(vtable.get());
        EXPECT_EQ(v->typekind, TKIND_INTERFACE);
        EXPECT_EQ(v->cbSizeVft, (7 + v->cFuncs) * sizeof(void*));
        ASSERT_EQ(vtable->GetRefTypeOfImplType(0, &ref), S_OK);
        ComPtr<ITypeInfo> vbase;
        ASSERT_EQ(vtable->GetRefTypeInfo(ref, vbase.put()), S_OK);
        EXPECT_EQ(vbase.get(), base.get());
    }
}

// Every member through ITypeInfo::Invoke on either pointer, with the careless calls too.
TEST(HostileContainer, BothPointersFollowOneArgumentRule)
{
    for (const Control& c : everyControl()) {
        SCOPED_TRACE(c.name);
        ComPtr<IDispatch> dispatch;
        ASSERT_EQ(c.object->QueryInterface(IID_IDispatch, dispatch.putVoid()), S_OK);
        ComPtr<ITypeInfo> info;
        ASSERT_EQ(dispatch->GetTypeInfo(0, 0, info.put()), S_OK);
        HREFTYPE ref = 0;
        c.coclass->GetRefTypeOfImplType(0, &ref);
        ComPtr<ITypeInfo> iface;
        c.coclass->GetRefTypeInfo(ref, iface.put());
        ComPtr<IUnknown> dual;
        ASSERT_EQ(c.object->QueryInterface(Attr(iface.get())->guid, dual.putVoid()), S_OK);
        void* pointers[2] = {dispatch.get(), dual.get()};
        Attr a(info.get());
        for (UINT f = 0; f < a->cFuncs; ++f) {
            FUNCDESC* fd = nullptr;
            ASSERT_EQ(info->GetFuncDesc(f, &fd), S_OK);
            const std::string member = nameOf(info.get(), fd->memid);
            SCOPED_TRACE(member);
            if (fd->invkind == INVOKE_PROPERTYGET) {
                HRESULT hr[2];
                Variant r[2];
                for (int p = 0; p < 2; ++p)
                    hr[p] = info->Invoke(pointers[p], fd->memid, DISPATCH_PROPERTYGET, nullptr, r[p].put(), nullptr,
                                         nullptr);
                EXPECT_EQ(hr[0], hr[1]);
                EXPECT_EQ(r[0].type(), r[1].type());
                EXPECT_TRUE(r[0] == r[1]) << "the same value through either pointer";
                Variant viaDispatch;
                DISPPARAMS none{nullptr, nullptr, 0, 0};
                EXPECT_EQ(dispatch->Invoke(fd->memid, GUID_NULL, 0, DISPATCH_PROPERTYGET, &none, viaDispatch.put(),
                                           nullptr, nullptr),
                          hr[0]);
            } else {
                // A null argument array with a count, and a put without its named argument.
                const WORD flags = fd->invkind == INVOKE_FUNC ? DISPATCH_METHOD : WORD(fd->invkind);
                DISPID named = DISPID_PROPERTYPUT;
                const bool put = fd->invkind != INVOKE_FUNC;
                DISPPARAMS nullArgs{nullptr, put ? &named : nullptr, UINT(std::max<SHORT>(fd->cParams, 1)),
                                    put ? 1u : 0u};
                Variant value = Variant::fromLong(0);
                VARIANT arg = value.get();
                DISPPARAMS unnamed{&arg, nullptr, 1, 0};
                for (int p = 0; p < 2; ++p) {
                    Variant r;
                    EXPECT_EQ(info->Invoke(pointers[p], fd->memid, flags, &nullArgs, r.put(), nullptr, nullptr),
                              E_POINTER);
                    if (put)
                        EXPECT_EQ(info->Invoke(pointers[p], fd->memid, flags, &unnamed, nullptr, nullptr, nullptr),
                                  DISP_E_PARAMNOTFOUND);
                }
                EXPECT_EQ(dispatch->Invoke(fd->memid, GUID_NULL, 0, flags, &nullArgs, nullptr, nullptr, nullptr),
                          E_POINTER);
                if (put)
                    EXPECT_EQ(dispatch->Invoke(fd->memid, GUID_NULL, 0, flags, &unnamed, nullptr, nullptr, nullptr),
                              DISP_E_PARAMNOTFOUND);
            }
            info->ReleaseFuncDesc(fd);
        }
    }
}

TEST(HostileContainer, OutArgumentsByReferenceVariantKeepTheirType)
{
    for (const Control& c : everyControl()) {
        if (c.name != "PropertyBrowser")
            continue;
        ComPtr<IDispatch> dispatch;
        ASSERT_EQ(c.object->QueryInterface(IID_IDispatch, dispatch.putVoid()), S_OK);
        ComPtr<ITypeInfo> info;
        ASSERT_EQ(dispatch->GetTypeInfo(0, 0, info.put()), S_OK);
        std::u16string name = u"IsPointInClientArea";
        LPOLESTR names[1] = {name.data()};
        MEMBERID id = MEMBERID_NIL;
        ASSERT_EQ(info->GetIDsOfNames(names, 1, &id), S_OK);
        // As a script engine passes it: out by VT_BYREF|VT_VARIANT, numbers as text.
        VARIANT out;
        VariantInit(&out);
        Variant x = Variant::fromString("-5"), y = Variant::fromLong(-5);
        VARIANT args[3] = {y.get(), x.get(), {}};
        args[2].vt = VT_BYREF | VT_VARIANT;
        args[2].pvarVal = &out;
        DISPPARAMS p{args, nullptr, 3, 0};
        ASSERT_EQ(info->Invoke(dispatch.get(), id, DISPATCH_METHOD, &p, nullptr, nullptr, nullptr), S_OK);
        EXPECT_EQ(out.vt, VT_BOOL);
        EXPECT_EQ(out.boolVal, VARIANT_FALSE);
        VariantInit(&out);
        ASSERT_EQ(dispatch->Invoke(id, GUID_NULL, 0, DISPATCH_METHOD, &p, nullptr, nullptr, nullptr), S_OK);
        EXPECT_EQ(out.vt, VT_BOOL);
        return;
    }
    FAIL() << "no PropertyBrowser";
}

TEST(HostileContainer, ConnectionPointsCheckTheSinksInterface)
{
    for (const Control& c : everyControl()) {
        SCOPED_TRACE(c.name);
        ComPtr<IConnectionPointContainer> cpc;
        if (FAILED(c.object->QueryInterface(IID_IConnectionPointContainer, cpc.putVoid())))
            continue;
        auto sink = com::make<DispatchOnlySink>();
        ComPtr<IConnectionPoint> notify;
        ASSERT_EQ(cpc->FindConnectionPoint(IID_IPropertyNotifySink, notify.put()), S_OK);
        DWORD cookie = 77;
        EXPECT_EQ(notify->Advise(sink.get(), &cookie), CONNECT_E_CANNOTCONNECT);
        EXPECT_EQ(cookie, 0u);
        EXPECT_EQ(notify->Unadvise(12345), CONNECT_E_NOCONNECTION);
        // Event interfaces are dispinterfaces: an IDispatch sink is what they call.
        ComPtr<IProvideClassInfo2> pci;
        GUID events = GUID_NULL;
        if (SUCCEEDED(c.object->QueryInterface(IID_IProvideClassInfo2, pci.putVoid())) &&
            SUCCEEDED(pci->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events))) {
            ComPtr<IConnectionPoint> point;
            ASSERT_EQ(cpc->FindConnectionPoint(events, point.put()), S_OK);
            ASSERT_EQ(point->Advise(sink.get(), &cookie), S_OK);
            EXPECT_EQ(point->Unadvise(cookie), S_OK);
        }
    }
}

TEST(HostileContainer, EveryEnumerationConstantBindsToExactlyOneConstant)
{
    ComPtr<ITypeLib> lib = typeLib();
    ASSERT_TRUE(lib);
    ComPtr<ITypeComp> comp;
    ASSERT_EQ(lib->GetTypeComp(comp.put()), S_OK);
    std::set<std::string> seen;
    size_t constants = 0;
    for (UINT i = 0; i < lib->GetTypeInfoCount(); ++i) {
        ComPtr<ITypeInfo> e;
        ASSERT_EQ(lib->GetTypeInfo(i, e.put()), S_OK);
        Attr a(e.get());
        if (a->typekind != TKIND_ENUM)
            continue;
        for (UINT v = 0; v < a->cVars; ++v) {
            VARDESC* vd = nullptr;
            ASSERT_EQ(e->GetVarDesc(v, &vd), S_OK);
            com::Bstr name, doc;
            e->GetDocumentation(vd->memid, name.put(), doc.put(), nullptr, nullptr);
            const std::string n = name.str();
            SCOPED_TRACE(nameOf(e.get()) + "." + n);
            ++constants;
            EXPECT_TRUE(seen.insert(n).second) << "declared twice";
            ASSERT_GE(n.size(), 2u);
            EXPECT_EQ(n[0], 'e');
            for (char ch : n)
                EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(ch))) << "not an identifier";
            EXPECT_FALSE(doc.str().empty()) << "the display string is the help string";

            std::u16string wide = com::utf16(n);
            ComPtr<ITypeInfo> bound;
            DESCKIND kind = DESCKIND_NONE;
            BINDPTR bind{};
            ASSERT_EQ(comp->Bind(wide.data(), 0, 0, bound.put(), &kind, &bind), S_OK);
            ASSERT_EQ(kind, DESCKIND_VARDESC);
            EXPECT_EQ(bound.get(), e.get());
            EXPECT_EQ(bind.lpvardesc->lpvarValue->lVal, vd->lpvarValue->lVal);
            bound->ReleaseVarDesc(bind.lpvardesc);
            ITypeInfo* found[2] = {};
            MEMBERID ids[2] = {};
            USHORT room = 2;
            ASSERT_EQ(lib->FindName(wide.data(), 0, found, ids, &room), S_OK);
            EXPECT_EQ(room, 1);
            for (USHORT k = 0; k < room; ++k)
                found[k]->Release();
            e->ReleaseVarDesc(vd);
        }
    }
    EXPECT_GT(constants, 40u);
}
