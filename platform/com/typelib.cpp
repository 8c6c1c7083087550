#include "platform/com/typelib.h"
#include "platform/com/bstr.h"
#include "platform/com/object.h"
#include "platform/com/vtablecall.h"
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <strings.h>

VYR_DECLARE_INTERFACE(ITypeInfo, IID_ITypeInfo, IUnknown)
VYR_DECLARE_INTERFACE(ITypeLib, IID_ITypeLib, IUnknown)
VYR_DECLARE_INTERFACE(ITypeComp, IID_ITypeComp, IUnknown)

namespace vyr::com::typelib {

namespace {

// The vtable view of a dual interface at library index i has the reference i | kVtableView.
constexpr HREFTYPE kVtableView = 0x40000000;
// IDispatch, which every dispatch interface and every dual's vtable view implements.
constexpr HREFTYPE kDispatchRef = 0x20000000;
constexpr int kDispatchIndex = -1;
// Enumeration constants are numbered from here, as compilers of type libraries do.
constexpr MEMBERID kFirstConstId = 0x40000000;
constexpr int kDispatchSlots = 7;

bool sameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

std::string nameOf(const OLECHAR* s) { return s ? utf8(std::u16string_view(s)) : std::string(); }

bool typeValid(const Type& t, size_t count)
{
    if (t.vt == VT_USERDEFINED)
        return t.ref >= 0 && size_t(t.ref) < count;
    if (t.vt == VT_PTR)
        return t.target && typeValid(*t.target, count);
    return true;
}

bool validLibrary(const Library& lib)
{
    const size_t n = lib.types.size();
    if (n >= kDispatchRef)
        return false;
    for (const TypeEntry& e : lib.types) {
        if ((e.flags & TYPEFLAG_FDUAL) && e.funcs.size() + kDispatchSlots > size_t(kMaxVtableSlots))
            return false;
        if (e.kind == TKIND_ALIAS && !typeValid(e.alias, n))
            return false;
        for (const Impl& i : e.impls)
            if (i.ref < 0 || size_t(i.ref) >= n)
                return false;
        for (const Func& f : e.funcs) {
            if (!typeValid(f.result, n))
                return false;
            for (const Param& p : f.params)
                if (!typeValid(p.type, n))
                    return false;
        }
    }
    return true;
}

// Allocations handed to callers (TYPEATTR, FUNCDESC, VARDESC) with what they point to; kept
// by the object that made them until the caller releases them.
struct Holder {
    TYPEATTR attr{};
    FUNCDESC func{};
    VARDESC var{};
    std::deque<TYPEDESC> nested;
    std::vector<ELEMDESC> elems;
    VARIANT value{};
    ~Holder() { VariantClear(&value); }

    void fill(TYPEDESC& td, const Type& t)
    {
        td = TYPEDESC{};
        td.vt = t.vt;
        if (t.vt == VT_USERDEFINED) {
            td.hreftype = HREFTYPE(t.ref);
        } else if (t.vt == VT_PTR && t.target) {
            TYPEDESC& inner = nested.emplace_back();
            td.lptdesc = &inner;
            fill(inner, *t.target);
        }
    }
};

class Releases {
public:
    template <class T>
    T* keep(std::unique_ptr<Holder> h, T Holder::*member)
    {
        T* p = &((*h).*member);
        std::lock_guard lock(mutex_);
        held_[p] = std::move(h);
        return p;
    }
    void release(const void* p)
    {
        std::lock_guard lock(mutex_);
        held_.erase(p);
    }

private:
    std::mutex mutex_;
    std::map<const void*, std::unique_ptr<Holder>> held_;
};

class TypeLibImpl;

// One object per type and view, owned by the library: every GetTypeInfo and GetRefTypeInfo
// of a type answers the same pointer, and the library lives as long as any of them is held.
class TypeInfoImpl final : public Object<ITypeInfo, ITypeComp> {
public:
    TypeInfoImpl(TypeLibImpl* lib, int index, bool vtableView);

    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;

    STDMETHOD(GetTypeAttr)(TYPEATTR** attr) override;
    STDMETHOD(GetTypeComp)(ITypeComp** comp) override;
    STDMETHOD(GetFuncDesc)(UINT index, FUNCDESC** desc) override;
    STDMETHOD(GetVarDesc)(UINT index, VARDESC** desc) override;
    STDMETHOD(GetNames)(MEMBERID id, BSTR* names, UINT maxNames, UINT* count) override;
    STDMETHOD(GetRefTypeOfImplType)(UINT index, HREFTYPE* ref) override;
    STDMETHOD(GetImplTypeFlags)(UINT index, INT* flags) override;
    STDMETHOD(GetIDsOfNames)(LPOLESTR* names, UINT count, MEMBERID* ids) override;
    STDMETHOD(Invoke)(void* instance, MEMBERID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* excep, UINT* argErr) override;
    STDMETHOD(GetDocumentation)(MEMBERID id, BSTR* name, BSTR* doc, DWORD* helpContext, BSTR* helpFile) override;
    STDMETHOD(GetDllEntry)(MEMBERID, INVOKEKIND, BSTR* dll, BSTR* name, WORD* ordinal) override;
    STDMETHOD(GetRefTypeInfo)(HREFTYPE ref, ITypeInfo** info) override;
    STDMETHOD(AddressOfMember)(MEMBERID, INVOKEKIND, void** address) override;
    STDMETHOD(CreateInstance)(IUnknown* outer, REFIID riid, void** object) override;
    STDMETHOD(GetMops)(MEMBERID, BSTR* mops) override;
    STDMETHOD(GetContainingTypeLib)(ITypeLib** lib, UINT* index) override;
    STDMETHOD_(void, ReleaseTypeAttr)(TYPEATTR* attr) override { releases_.release(attr); }
    STDMETHOD_(void, ReleaseFuncDesc)(FUNCDESC* desc) override { releases_.release(desc); }
    STDMETHOD_(void, ReleaseVarDesc)(VARDESC* desc) override { releases_.release(desc); }

    // ITypeComp
    STDMETHOD(Bind)(LPOLESTR name, ULONG hash, WORD flags, ITypeInfo** info, DESCKIND* kind, BINDPTR* bind) override;
    STDMETHOD(BindType)(LPOLESTR name, ULONG hash, ITypeInfo** info, ITypeComp** comp) override;

    FUNCDESC* makeFuncDesc(size_t index);
    VARDESC* makeVarDesc(size_t index);

private:
    const TypeEntry& entry() const;
    bool dual() const { return (entry().flags & TYPEFLAG_FDUAL) != 0; }
    // A dispatch interface, and a dual's vtable view, implement IDispatch (impl type 0).
    bool implementsDispatch() const { return entry().kind == TKIND_DISPATCH; }
    // The index of the function with that id and a kind that the Invoke flags allow.
    int findFunc(MEMBERID id, WORD flags) const;

    TypeLibImpl* lib_;
    int index_;
    bool vtableView_;
    Releases releases_;
};

// IDispatch as a type: its seven slots are IUnknown's and its own.
const TypeEntry& dispatchEntry()
{
    static const TypeEntry e = [] {
        TypeEntry d;
        d.kind = TKIND_INTERFACE;
        d.guid = IID_IDispatch;
        d.name = "IDispatch";
        return d;
    }();
    return e;
}

class TypeLibImpl final : public Object<ITypeLib, ITypeComp> {
public:
    explicit TypeLibImpl(std::shared_ptr<const Library> lib)
        : lib_(std::move(lib)), infos_(2 * lib_->types.size() + 1)
    {
    }
    const Library& lib() const { return *lib_; }

    HRESULT infoAt(HREFTYPE ref, ITypeInfo** out)
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        size_t slot = 0;
        int index = kDispatchIndex;
        const bool view = ref != kDispatchRef && (ref & kVtableView) != 0;
        if (ref != kDispatchRef) {
            const size_t i = ref & ~kVtableView;
            if (i >= lib_->types.size())
                return TYPE_E_ELEMENTNOTFOUND;
            const TypeEntry& e = lib_->types[i];
            if (view && !(e.kind == TKIND_DISPATCH && (e.flags & TYPEFLAG_FDUAL)))
                return TYPE_E_ELEMENTNOTFOUND;
            index = int(i);
            slot = 1 + 2 * i + (view ? 1 : 0);
        }
        std::lock_guard lock(infosMutex_);
        auto& info = infos_[slot];
        if (!info)
            info = std::make_unique<TypeInfoImpl>(this, index, view);
        info->AddRef();
        *out = info.get();
        return S_OK;
    }

    STDMETHOD_(UINT, GetTypeInfoCount)() override { return UINT(lib_->types.size()); }
    STDMETHOD(GetTypeInfo)(UINT index, ITypeInfo** info) override
    {
        if (!info)
            return E_INVALIDARG;
        *info = nullptr;
        if (index >= lib_->types.size())
            return TYPE_E_ELEMENTNOTFOUND;
        return infoAt(index, info);
    }
    STDMETHOD(GetTypeInfoType)(UINT index, TYPEKIND* kind) override
    {
        if (!kind)
            return E_INVALIDARG;
        if (index >= lib_->types.size())
            return TYPE_E_ELEMENTNOTFOUND;
        *kind = lib_->types[index].kind;
        return S_OK;
    }
    STDMETHOD(GetTypeInfoOfGuid)(REFGUID guid, ITypeInfo** info) override
    {
        if (!info)
            return E_INVALIDARG;
        *info = nullptr;
        if (guid == GUID_NULL)
            return TYPE_E_ELEMENTNOTFOUND;
        for (size_t i = 0; i < lib_->types.size(); ++i)
            if (lib_->types[i].guid == guid)
                return infoAt(HREFTYPE(i), info);
        return TYPE_E_ELEMENTNOTFOUND;
    }
    STDMETHOD(GetLibAttr)(TLIBATTR** attr) override
    {
        if (!attr)
            return E_INVALIDARG;
        *attr = new TLIBATTR{lib_->guid, 0, SYS_WIN64, lib_->major, lib_->minor, 0};
        return S_OK;
    }
    STDMETHOD(GetTypeComp)(ITypeComp** comp) override
    {
        if (!comp)
            return E_INVALIDARG;
        *comp = static_cast<ITypeComp*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHOD(GetDocumentation)(INT index, BSTR* name, BSTR* doc, DWORD* helpContext, BSTR* helpFile) override
    {
        if (index < -1 || index >= INT(lib_->types.size()))
            return TYPE_E_ELEMENTNOTFOUND;
        const std::string& n = index < 0 ? lib_->name : lib_->types[size_t(index)].name;
        const std::string& d = index < 0 ? lib_->doc : lib_->types[size_t(index)].doc;
        if (name)
            *name = Bstr(n).detach();
        if (doc)
            *doc = Bstr(d).detach();
        if (helpContext)
            *helpContext = 0;
        if (helpFile)
            *helpFile = nullptr;
        return S_OK;
    }
    STDMETHOD(IsName)(LPOLESTR name, ULONG, BOOL* found) override
    {
        if (!name || !found)
            return E_INVALIDARG;
        *found = FALSE;
        const std::string n = nameOf(name);
        auto hit = [&](const std::string& stored) {
            if (!sameName(stored, n))
                return false;
            // The name is given back in the case the library stores.
            const std::u16string s = utf16(stored);
            std::copy(s.begin(), s.end(), name);
            return true;
        };
        for (const TypeEntry& e : lib_->types) {
            bool any = hit(e.name);
            for (const Func& f : e.funcs)
                any = any || hit(f.name);
            for (const Const& c : e.consts)
                any = any || hit(c.name);
            if (any) {
                *found = TRUE;
                break;
            }
        }
        return S_OK;
    }
    STDMETHOD(FindName)(LPOLESTR name, ULONG, ITypeInfo** infos, MEMBERID* ids, USHORT* found) override
    {
        if (!name || !infos || !ids || !found)
            return E_INVALIDARG;
        const std::string n = nameOf(name);
        const USHORT room = *found;
        USHORT count = 0;
        for (size_t i = 0; i < lib_->types.size() && count < room; ++i) {
            const TypeEntry& e = lib_->types[i];
            MEMBERID id = MEMBERID_NIL;
            bool hit = sameName(e.name, n);
            for (size_t f = 0; !hit && f < e.funcs.size(); ++f)
                if (sameName(e.funcs[f].name, n)) {
                    hit = true;
                    id = e.funcs[f].id;
                }
            for (size_t c = 0; !hit && c < e.consts.size(); ++c)
                if (sameName(e.consts[c].name, n)) {
                    hit = true;
                    id = kFirstConstId + MEMBERID(c);
                }
            if (hit && SUCCEEDED(infoAt(HREFTYPE(i), &infos[count])))
                ids[count++] = id;
        }
        *found = count;
        return S_OK;
    }
    STDMETHOD_(void, ReleaseTLibAttr)(TLIBATTR* attr) override { delete attr; }

    // ITypeComp over the whole library: enumeration constants by name, types by name.
    STDMETHOD(Bind)(LPOLESTR name, ULONG, WORD, ITypeInfo** info, DESCKIND* kind, BINDPTR* bind) override
    {
        if (!name || !info || !kind || !bind)
            return E_INVALIDARG;
        *info = nullptr;
        *kind = DESCKIND_NONE;
        bind->lpvardesc = nullptr;
        const std::string n = nameOf(name);
        for (size_t i = 0; i < lib_->types.size(); ++i) {
            const TypeEntry& e = lib_->types[i];
            for (size_t c = 0; c < e.consts.size(); ++c) {
                if (!sameName(e.consts[c].name, n))
                    continue;
                ComPtr<ITypeInfo> ti;
                infoAt(HREFTYPE(i), ti.put());
                bind->lpvardesc = static_cast<TypeInfoImpl*>(ti.get())->makeVarDesc(c);
                *kind = DESCKIND_VARDESC;
                *info = ti.detach();
                return S_OK;
            }
        }
        return S_OK;
    }
    STDMETHOD(BindType)(LPOLESTR name, ULONG, ITypeInfo** info, ITypeComp** comp) override
    {
        if (!name || !info)
            return E_INVALIDARG;
        *info = nullptr;
        if (comp)
            *comp = nullptr;
        const int i = lib_->indexOf(nameOf(name));
        return i < 0 ? S_OK : infoAt(HREFTYPE(i), info);
    }

private:
    std::shared_ptr<const Library> lib_;
    std::mutex infosMutex_;
    std::vector<std::unique_ptr<TypeInfoImpl>> infos_; // IDispatch, then per type: dispatch view, vtable view
};

TypeInfoImpl::TypeInfoImpl(TypeLibImpl* lib, int index, bool vtableView)
    : lib_(lib), index_(index), vtableView_(vtableView)
{
}

ULONG TypeInfoImpl::AddRef() { return lib_->AddRef(); }
ULONG TypeInfoImpl::Release() { return lib_->Release(); }

const TypeEntry& TypeInfoImpl::entry() const
{
    return index_ == kDispatchIndex ? dispatchEntry() : lib_->lib().types[size_t(index_)];
}

HRESULT TypeInfoImpl::GetTypeAttr(TYPEATTR** out)
{
    if (!out)
        return E_INVALIDARG;
    const TypeEntry& e = entry();
    auto h = std::make_unique<Holder>();
    TYPEATTR& a = h->attr;
    a.guid = e.guid;
    a.memidConstructor = a.memidDestructor = MEMBERID_NIL;
    a.typekind = vtableView_ ? TKIND_INTERFACE : e.kind;
    a.cFuncs = WORD(e.funcs.size());
    a.cVars = WORD(e.consts.size());
    a.cImplTypes = WORD(e.impls.size() + (implementsDispatch() ? 1 : 0));
    a.wTypeFlags = e.flags;
    a.wMajorVerNum = lib_->lib().major;
    a.wMinorVerNum = lib_->lib().minor;
    a.cbAlignment = 8;
    // Only the vtable view has slots beyond IDispatch's.
    if (e.kind == TKIND_DISPATCH || e.kind == TKIND_INTERFACE)
        a.cbSizeVft = WORD((kDispatchSlots + (vtableView_ ? e.funcs.size() : 0)) * sizeof(void*));
    if (e.kind == TKIND_ENUM)
        a.cbSizeInstance = 4;
    if (e.kind == TKIND_ALIAS)
        h->fill(a.tdescAlias, e.alias);
    *out = releases_.keep(std::move(h), &Holder::attr);
    return S_OK;
}

HRESULT TypeInfoImpl::GetTypeComp(ITypeComp** comp)
{
    if (!comp)
        return E_INVALIDARG;
    *comp = static_cast<ITypeComp*>(this);
    AddRef();
    return S_OK;
}

FUNCDESC* TypeInfoImpl::makeFuncDesc(size_t index)
{
    const Func& f = entry().funcs[index];
    auto h = std::make_unique<Holder>();
    FUNCDESC& d = h->func;
    d.memid = f.id;
    d.invkind = f.kind;
    d.callconv = CC_STDCALL;
    d.wFuncFlags = f.flags;
    if (dual())
        d.oVft = SHORT((kDispatchSlots + index) * sizeof(void*));
    // The vtable view returns HRESULT and hands a property's value out through a pointer.
    const bool retval = vtableView_ && f.result.vt != VT_VOID;
    h->elems.resize(f.params.size() + (retval ? 1 : 0));
    for (size_t i = 0; i < f.params.size(); ++i) {
        h->fill(h->elems[i].tdesc, f.params[i].type);
        h->elems[i].paramdesc = PARAMDESC{nullptr, f.params[i].flags};
    }
    if (retval) {
        h->fill(h->elems.back().tdesc, Type::pointer(f.result));
        h->elems.back().paramdesc = PARAMDESC{nullptr, USHORT(PARAMFLAG_FOUT | PARAMFLAG_FRETVAL)};
    }
    d.cParams = SHORT(h->elems.size());
    d.lprgelemdescParam = h->elems.empty() ? nullptr : h->elems.data();
    if (vtableView_) {
        d.funckind = FUNC_PUREVIRTUAL;
        h->fill(d.elemdescFunc.tdesc, Type::base(VT_HRESULT));
    } else {
        d.funckind = FUNC_DISPATCH;
        h->fill(d.elemdescFunc.tdesc, f.result);
    }
    return releases_.keep(std::move(h), &Holder::func);
}

HRESULT TypeInfoImpl::GetFuncDesc(UINT index, FUNCDESC** desc)
{
    if (!desc)
        return E_INVALIDARG;
    *desc = nullptr;
    if (index >= entry().funcs.size())
        return TYPE_E_ELEMENTNOTFOUND;
    *desc = makeFuncDesc(index);
    return S_OK;
}

VARDESC* TypeInfoImpl::makeVarDesc(size_t index)
{
    const Const& c = entry().consts[index];
    auto h = std::make_unique<Holder>();
    VARDESC& d = h->var;
    d.memid = kFirstConstId + MEMBERID(index);
    d.varkind = VAR_CONST;
    h->value.vt = VT_I4;
    h->value.lVal = c.value;
    d.lpvarValue = &h->value;
    h->fill(d.elemdescVar.tdesc, Type::base(VT_I4));
    return releases_.keep(std::move(h), &Holder::var);
}

HRESULT TypeInfoImpl::GetVarDesc(UINT index, VARDESC** desc)
{
    if (!desc)
        return E_INVALIDARG;
    *desc = nullptr;
    if (index >= entry().consts.size())
        return TYPE_E_ELEMENTNOTFOUND;
    *desc = makeVarDesc(index);
    return S_OK;
}

HRESULT TypeInfoImpl::GetNames(MEMBERID id, BSTR* names, UINT maxNames, UINT* count)
{
    if (!names || !count)
        return E_INVALIDARG;
    *count = 0;
    const TypeEntry& e = entry();
    for (const Func& f : e.funcs) {
        if (f.id != id)
            continue;
        std::vector<std::string> all{f.name};
        // A put's value has no name of its own.
        if (f.kind == INVOKE_FUNC)
            for (const Param& p : f.params)
                all.push_back(p.name);
        for (size_t i = 0; i < all.size() && i < maxNames; ++i)
            names[(*count)++] = Bstr(all[i]).detach();
        return S_OK;
    }
    for (size_t c = 0; c < e.consts.size(); ++c) {
        if (kFirstConstId + MEMBERID(c) != id)
            continue;
        if (maxNames > 0)
            names[(*count)++] = Bstr(e.consts[c].name).detach();
        return S_OK;
    }
    return TYPE_E_ELEMENTNOTFOUND;
}

HRESULT TypeInfoImpl::GetRefTypeOfImplType(UINT index, HREFTYPE* ref)
{
    if (!ref)
        return E_INVALIDARG;
    const TypeEntry& e = entry();
    // -1 on the dispatch view of a dual interface leads to its vtable view.
    if (index == UINT(-1) && dual() && !vtableView_) {
        *ref = HREFTYPE(index_) | kVtableView;
        return S_OK;
    }
    if (implementsDispatch()) {
        if (index == 0) {
            *ref = kDispatchRef;
            return S_OK;
        }
        --index;
    }
    if (index >= e.impls.size())
        return TYPE_E_ELEMENTNOTFOUND;
    *ref = HREFTYPE(e.impls[index].ref);
    return S_OK;
}

HRESULT TypeInfoImpl::GetImplTypeFlags(UINT index, INT* flags)
{
    if (!flags)
        return E_INVALIDARG;
    if (implementsDispatch()) {
        if (index == 0) {
            *flags = 0;
            return S_OK;
        }
        --index;
    }
    if (index >= entry().impls.size())
        return TYPE_E_ELEMENTNOTFOUND;
    *flags = entry().impls[index].flags;
    return S_OK;
}

HRESULT TypeInfoImpl::GetIDsOfNames(LPOLESTR* names, UINT count, MEMBERID* ids)
{
    if (!names || !ids)
        return E_INVALIDARG;
    if (count == 0)
        return S_OK;
    for (UINT i = 0; i < count; ++i)
        ids[i] = MEMBERID_NIL;
    const std::string member = nameOf(names[0]);
    const Func* found = nullptr;
    for (const Func& f : entry().funcs)
        if (sameName(f.name, member)) {
            // Prefer a function with named parameters (a method) over a property accessor.
            if (!found || f.kind == INVOKE_FUNC)
                found = &f;
        }
    if (!found) {
        const auto& consts = entry().consts;
        for (size_t c = 0; c < consts.size(); ++c)
            if (sameName(consts[c].name, member)) {
                ids[0] = kFirstConstId + MEMBERID(c);
                return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
            }
        return DISP_E_UNKNOWNNAME;
    }
    ids[0] = found->id;
    HRESULT hr = S_OK;
    for (UINT i = 1; i < count; ++i) {
        const std::string n = nameOf(names[i]);
        for (size_t p = 0; p < found->params.size(); ++p)
            if (found->kind == INVOKE_FUNC && sameName(found->params[p].name, n))
                ids[i] = MEMBERID(p);
        if (ids[i] == MEMBERID_NIL)
            hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

int TypeInfoImpl::findFunc(MEMBERID id, WORD flags) const
{
    const auto& funcs = entry().funcs;
    for (size_t i = 0; i < funcs.size(); ++i)
        if (funcs[i].id == id && (flags & WORD(funcs[i].kind)))
            return int(i);
    return -1;
}

HRESULT TypeInfoImpl::Invoke(void* instance, MEMBERID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                             EXCEPINFO* excep, UINT* argErr)
{
    if (!instance)
        return E_INVALIDARG;
    const TypeEntry& e = entry();
    if (e.kind != TKIND_DISPATCH)
        return TYPE_E_WRONGTYPEKIND;
    static DISPPARAMS none{nullptr, nullptr, 0, 0};
    if (!params)
        params = &none;
    if (!dual())
        return static_cast<IDispatch*>(instance)->Invoke(id, GUID_NULL, 0, flags, params, result, excep, argErr);
    // A property get may be asked for as a method too, as automation callers do.
    int index = findFunc(id, flags);
    if (index < 0 && (flags & DISPATCH_METHOD))
        index = findFunc(id, DISPATCH_PROPERTYGET);
    if (index < 0)
        return DISP_E_MEMBERNOTFOUND;
    ComPtr<ITypeInfo> view;
    if (vtableView_)
        view = static_cast<ITypeInfo*>(this);
    else if (HRESULT hr = lib_->infoAt(HREFTYPE(index_) | kVtableView, view.put()); FAILED(hr))
        return hr;
    FUNCDESC* fd = nullptr;
    if (HRESULT hr = view->GetFuncDesc(UINT(index), &fd); FAILED(hr))
        return hr;
    HRESULT hr = invokeThroughVtable(instance, *fd, view.get(), params, result, argErr);
    view->ReleaseFuncDesc(fd);
    return hr;
}

HRESULT TypeInfoImpl::GetDocumentation(MEMBERID id, BSTR* name, BSTR* doc, DWORD* helpContext, BSTR* helpFile)
{
    const TypeEntry& e = entry();
    const std::string* n = nullptr;
    const std::string* d = nullptr;
    if (id == MEMBERID_NIL) {
        n = &e.name;
        d = &e.doc;
    }
    for (size_t i = 0; !n && i < e.funcs.size(); ++i)
        if (e.funcs[i].id == id) {
            n = &e.funcs[i].name;
            d = &e.funcs[i].doc;
        }
    for (size_t c = 0; !n && c < e.consts.size(); ++c)
        if (kFirstConstId + MEMBERID(c) == id) {
            n = &e.consts[c].name;
            d = &e.consts[c].doc;
        }
    if (!n)
        return TYPE_E_ELEMENTNOTFOUND;
    if (name)
        *name = Bstr(*n).detach();
    if (doc)
        *doc = Bstr(*d).detach();
    if (helpContext)
        *helpContext = 0;
    if (helpFile)
        *helpFile = nullptr;
    return S_OK;
}

HRESULT TypeInfoImpl::GetDllEntry(MEMBERID, INVOKEKIND, BSTR* dll, BSTR* name, WORD* ordinal)
{
    if (dll)
        *dll = nullptr;
    if (name)
        *name = nullptr;
    if (ordinal)
        *ordinal = 0;
    return TYPE_E_BADMODULEKIND;
}

HRESULT TypeInfoImpl::GetRefTypeInfo(HREFTYPE ref, ITypeInfo** info) { return lib_->infoAt(ref, info); }

HRESULT TypeInfoImpl::AddressOfMember(MEMBERID, INVOKEKIND, void** address)
{
    if (address)
        *address = nullptr;
    return TYPE_E_BADMODULEKIND;
}

HRESULT TypeInfoImpl::CreateInstance(IUnknown*, REFIID, void** object)
{
    if (object)
        *object = nullptr;
    return TYPE_E_WRONGTYPEKIND; // the library's classes are created through their class factories
}

HRESULT TypeInfoImpl::GetMops(MEMBERID, BSTR* mops)
{
    if (!mops)
        return E_INVALIDARG;
    *mops = nullptr;
    return S_OK;
}

HRESULT TypeInfoImpl::GetContainingTypeLib(ITypeLib** lib, UINT* index)
{
    if (lib) {
        *lib = static_cast<ITypeLib*>(lib_);
        (*lib)->AddRef();
    }
    if (index)
        *index = UINT(index_);
    return S_OK;
}

HRESULT TypeInfoImpl::Bind(LPOLESTR name, ULONG, WORD flags, ITypeInfo** info, DESCKIND* kind, BINDPTR* bind)
{
    if (!name || !info || !kind || !bind)
        return E_INVALIDARG;
    *info = nullptr;
    *kind = DESCKIND_NONE;
    bind->lpfuncdesc = nullptr;
    const std::string n = nameOf(name);
    const TypeEntry& e = entry();
    for (size_t i = 0; i < e.funcs.size(); ++i) {
        if (!sameName(e.funcs[i].name, n) || (flags && !(flags & WORD(e.funcs[i].kind))))
            continue;
        bind->lpfuncdesc = makeFuncDesc(i);
        *kind = DESCKIND_FUNCDESC;
        *info = this;
        AddRef();
        return S_OK;
    }
    for (size_t c = 0; c < e.consts.size(); ++c) {
        if (!sameName(e.consts[c].name, n))
            continue;
        bind->lpvardesc = makeVarDesc(c);
        *kind = DESCKIND_VARDESC;
        *info = this;
        AddRef();
        return S_OK;
    }
    return S_OK;
}

HRESULT TypeInfoImpl::BindType(LPOLESTR name, ULONG hash, ITypeInfo** info, ITypeComp** comp)
{
    return lib_->BindType(name, hash, info, comp);
}

} // namespace

int Library::indexOf(std::string_view name) const
{
    for (size_t i = 0; i < types.size(); ++i)
        if (sameName(types[i].name, name))
            return int(i);
    return -1;
}

HRESULT createTypeLib(std::shared_ptr<const Library> library, ITypeLib** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (!library || !validLibrary(*library))
        return E_INVALIDARG;
    *out = new TypeLibImpl(std::move(library));
    return S_OK;
}

} // namespace vyr::com::typelib

HRESULT DispInvoke(void* instance, ITypeInfo* info, DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO* excep, UINT* argErr)
{
    if (!info)
        return E_INVALIDARG;
    return info->Invoke(instance, id, flags, params, result, excep, argErr);
}

HRESULT DispGetIDsOfNames(ITypeInfo* info, LPOLESTR* names, UINT count, DISPID* ids)
{
    if (!info)
        return E_INVALIDARG;
    return info->GetIDsOfNames(names, count, ids);
}
