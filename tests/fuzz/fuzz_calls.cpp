// The call fuzzer's loader: its input is read as a control of the class table and a sequence of
// calls a careless container makes on it — members from the control's own type information
// (or made-up dispids), argument counts, VARTYPEs and values (null and long strings, NaN and
// infinities, null interface pointers, by-reference variants, arrays), flags, named arguments
// and null out pointers — through IDispatch::Invoke, ITypeInfo::Invoke on the IDispatch and
// the dual pointer, GetIDsOfNames, IPerPropertyBrowsing, ISpecifyPropertyPages,
// IProvideClassInfo2, connection points and IPersistStreamInit::Save into a failing stream.
// Every call must answer with an HRESULT.
#include "tests/fuzz/loaders.h"

#include "controls/core/classtable.h"
#include "controls/core/vyrcontrols.h"
#include "platform/com/memstream.h"
#include "platform/com/object.h"
#include "platform/com/typelib.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <limits>
#include <vector>

namespace vyr::fuzz {
namespace {

using namespace vyr::com;

constexpr size_t kMostCalls = 48;
constexpr size_t kLongString = 20000;
constexpr DISPID kAboutBox = -552; // opens a window each time: not a call worth fuzzing

class Input {
public:
    Input(const uint8_t* d, size_t n) : d_(d), n_(n) {}
    bool empty() const { return pos_ >= n_; }
    uint8_t byte() { return pos_ < n_ ? d_[pos_++] : 0; }
    uint32_t word()
    {
        uint32_t w = 0;
        for (int i = 0; i < 4; ++i)
            w = w << 8 | byte();
        return w;
    }
    // Bytes as text, up to `most`.
    std::u16string text(size_t most)
    {
        std::u16string s;
        const size_t len = std::min<size_t>(byte() % 24, most);
        for (size_t i = 0; i < len; ++i)
            s.push_back(char16_t(byte()));
        return s;
    }

private:
    const uint8_t* d_;
    size_t n_;
    size_t pos_ = 0;
};

// Sinks with too few interfaces and the right one.
enum class SinkKind { Unknown, Dispatch, Notify };
class Sink final : public Object<IPropertyNotifySink, IDispatch> {
public:
    explicit Sink(SinkKind k) : kind_(k) {}
    STDMETHOD(QueryInterface)(REFIID riid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (riid == IID_IUnknown || (riid == IID_IDispatch && kind_ != SinkKind::Unknown) ||
            (riid == IID_IPropertyNotifySink && kind_ == SinkKind::Notify))
            return Object::QueryInterface(riid, out);
        return E_NOINTERFACE;
    }
    STDMETHOD(OnChanged)(DISPID) override { return S_OK; }
    STDMETHOD(OnRequestEdit)(DISPID) override { return S_OK; }
    STDMETHOD(GetTypeInfoCount)(UINT* n) override { return n ? (*n = 0, S_OK) : E_POINTER; }
    STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHOD(Invoke)(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { return S_OK; }

private:
    SinkKind kind_;
};

// A stream that takes `room` bytes and then fails every write.
class FailingStream final : public Object<IStream> {
public:
    explicit FailingStream(size_t room) : room_(room) {}
    STDMETHOD(Read)(void*, ULONG, ULONG* read) override
    {
        if (read)
            *read = 0;
        return STG_E_READFAULT;
    }
    STDMETHOD(Write)(const void*, ULONG n, ULONG* written) override
    {
        const ULONG took = ULONG(std::min<size_t>(n, room_));
        room_ -= took;
        if (written)
            *written = took;
        return took == n ? S_OK : STG_E_MEDIUMFULL;
    }
    STDMETHOD(Seek)(LARGE_INTEGER, DWORD, ULARGE_INTEGER* pos) override
    {
        if (pos)
            pos->QuadPart = 0;
        return STG_E_INVALIDFUNCTION;
    }
    STDMETHOD(SetSize)(ULARGE_INTEGER) override { return STG_E_MEDIUMFULL; }
    STDMETHOD(CopyTo)(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override { return E_NOTIMPL; }
    STDMETHOD(Commit)(DWORD) override { return S_OK; }
    STDMETHOD(Revert)() override { return E_NOTIMPL; }
    STDMETHOD(LockRegion)(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(UnlockRegion)(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(Stat)(STATSTG*, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(Clone)(IStream** s) override
    {
        if (s)
            *s = nullptr;
        return E_NOTIMPL;
    }

private:
    size_t room_;
};

struct Target {
    ComPtr<IDispatch> dispatch; // QueryInterface(IID_IDispatch)
    ComPtr<IDispatch> other;    // an object without type information, for object arguments
    ComPtr<IUnknown> dual;      // QueryInterface(the coclass's default interface)
    ComPtr<ITypeInfo> info;     // the dispatch view
    std::vector<DISPID> members;
    std::vector<ComPtr<IConnectionPoint>> points;
    std::vector<DWORD> cookies;
};

// What the arguments of one call point to, freed after the call: the arguments themselves
// only borrow (strings from here, objects from the target). Out values written through
// by-reference arguments are the caller's and freed here too.
struct Arena {
    std::deque<VARIANT> variants; // targets of VT_BYREF|VT_VARIANT, owning their values
    std::deque<std::pair<VARTYPE, int64_t>> scalars; // targets of VT_BYREF|scalar
    std::deque<BSTR> strings;
    ~Arena()
    {
        for (VARIANT& v : variants)
            VariantClear(&v);
        for (auto& [vt, bits] : scalars) {
            if (vt == VT_BSTR)
                SysFreeString(reinterpret_cast<BSTR>(bits));
            else if (vt == VT_DISPATCH && bits)
                reinterpret_cast<IDispatch*>(bits)->Release();
        }
        for (BSTR s : strings)
            SysFreeString(s);
    }
    VARIANT* variant()
    {
        VARIANT& v = variants.emplace_back();
        VariantInit(&v);
        return &v;
    }
};

double strangeDouble(Input& in)
{
    switch (in.byte() % 6) {
    case 0: return std::numeric_limits<double>::quiet_NaN();
    case 1: return std::numeric_limits<double>::infinity();
    case 2: return -std::numeric_limits<double>::infinity();
    case 3: return 1e308;
    case 4: return -0.0;
    default: return double(int32_t(in.word())) / 16.0;
    }
}

// One argument as a container might pass it.
VARIANT makeArg(Input& in, Arena& arena, Target& t, int depth = 0)
{
    VARIANT v;
    VariantInit(&v);
    switch (in.byte() % 18) {
    case 0: break; // VT_EMPTY
    case 1: v.vt = VT_NULL; break;
    case 2: v.vt = VT_I2; v.iVal = SHORT(in.word()); break;
    case 3: v.vt = VT_I4; v.lVal = LONG(in.word()); break;
    case 4: v.vt = VT_R8; v.dblVal = strangeDouble(in); break;
    case 5: v.vt = VT_BOOL; v.boolVal = in.byte() & 1 ? VARIANT_TRUE : VARIANT_FALSE; break;
    case 6: v.vt = VT_BSTR; v.bstrVal = nullptr; break;
    case 7: {
        const std::u16string s = in.text(64);
        v.vt = VT_BSTR;
        v.bstrVal = arena.strings.emplace_back(SysAllocStringLen(s.data(), UINT(s.size())));
        break;
    }
    case 8: {
        std::u16string s(kLongString, char16_t(u'0' + in.byte() % 40));
        v.vt = VT_BSTR;
        v.bstrVal = arena.strings.emplace_back(SysAllocStringLen(s.data(), UINT(s.size())));
        break;
    }
    case 9: v.vt = VT_DISPATCH; v.pdispVal = nullptr; break;
    case 10: v.vt = VT_UNKNOWN; v.punkVal = nullptr; break;
    case 11: v.vt = VT_DISPATCH; v.pdispVal = t.other.get(); break; // borrowed
    case 12: { // by-reference VARIANT: null, or a value of its own
        v.vt = VT_BYREF | VT_VARIANT;
        if (in.byte() & 1) {
            VARIANT* inner = arena.variant();
            if (depth < 2) {
                // The target owns its value: the callee may clear it to write an out value.
                const VARIANT borrowed = makeArg(in, arena, t, depth + 1);
                if (borrowed.vt & VT_BYREF)
                    *inner = borrowed;
                else if (borrowed.vt == VT_BSTR || borrowed.vt == VT_DISPATCH || borrowed.vt == VT_UNKNOWN)
                    VariantCopy(inner, &borrowed);
                else if (borrowed.vt < VT_I8 || borrowed.vt == VT_UI4)
                    *inner = borrowed;
            }
            v.pvarVal = inner;
        }
        break;
    }
    case 13: { // by-reference scalar, null or not
        static constexpr VARTYPE types[] = {VT_I2, VT_I4, VT_R8, VT_BOOL, VT_UI4, VT_BSTR, VT_DISPATCH};
        const VARTYPE base = types[in.byte() % std::size(types)];
        v.vt = VARTYPE(VT_BYREF | base);
        v.byref = (in.byte() & 3) ? &arena.scalars.emplace_back(base, 0).second : nullptr;
        break;
    }
    case 14: v.vt = VT_ARRAY | VT_I4; v.byref = nullptr; break;
    case 15: v.vt = VT_ARRAY | VT_BYREF | VT_VARIANT; v.byref = nullptr; break;
    case 16: v.vt = VARTYPE(in.byte() << 8 | in.byte()); v.llVal = 0; break; // any VARTYPE, no payload
    default: v.vt = VT_UI4; v.ulVal = in.word(); break;
    }
    return v;
}

DISPID pickMember(Input& in, const Target& t)
{
    const uint8_t b = in.byte();
    if (b < 0xE0 && !t.members.empty())
        return t.members[b % t.members.size()];
    return DISPID(int32_t(in.word()));
}

WORD pickFlags(Input& in)
{
    static constexpr WORD common[] = {DISPATCH_METHOD, DISPATCH_PROPERTYGET, DISPATCH_PROPERTYPUT,
                                      DISPATCH_PROPERTYPUTREF, DISPATCH_METHOD | DISPATCH_PROPERTYGET};
    const uint8_t b = in.byte();
    return b < 0xF0 ? common[b % std::size(common)] : WORD(in.word());
}

void invokeCall(Input& in, Target& t, int path)
{
    const DISPID id = pickMember(in, t);
    if (id == kAboutBox)
        return;
    const WORD flags = pickFlags(in);
    Arena arena;
    const UINT count = in.byte() % 5;
    std::vector<VARIANT> args;
    for (UINT i = 0; i < count; ++i)
        args.push_back(makeArg(in, arena, t));
    const uint8_t shape = in.byte();
    UINT named = std::min<UINT>(count, shape % 3);
    std::vector<DISPID> names;
    for (UINT i = 0; i < named; ++i)
        names.push_back((in.byte() & 1) ? DISPID_PROPERTYPUT : DISPID(int8_t(in.byte())));
    DISPPARAMS p{(shape & 0x08) ? nullptr : args.data(), (shape & 0x10) ? nullptr : names.data(), count, named};
    if (count == 0)
        p.rgvarg = nullptr;
    VARIANT result;
    VariantInit(&result);
    UINT argErr = 0;
    VARIANT* r = (shape & 0x20) ? nullptr : &result;
    UINT* e = (shape & 0x40) ? nullptr : &argErr;
    DISPPARAMS* params = (shape & 0x80) && count == 0 ? nullptr : &p;
    switch (path) {
    case 0: t.dispatch->Invoke(id, GUID_NULL, 0, flags, params, r, nullptr, e); break;
    case 1: t.info->Invoke(t.dispatch.get(), id, flags, params, r, nullptr, e); break;
    default: t.info->Invoke(t.dual.get(), id, flags, params, r, nullptr, e); break;
    }
    VariantClear(&result);
}

void namesCall(Input& in, Target& t)
{
    std::vector<std::u16string> texts;
    const UINT count = in.byte() % 4;
    for (UINT i = 0; i < count; ++i) {
        if (in.byte() & 1 && !t.members.empty()) {
            com::Bstr n;
            t.info->GetDocumentation(pickMember(in, t), n.put(), nullptr, nullptr, nullptr);
            texts.push_back(n.get() ? std::u16string(n.get()) : std::u16string());
        } else {
            texts.push_back(in.text(32));
        }
    }
    std::vector<LPOLESTR> names;
    for (auto& s : texts)
        names.push_back((in.byte() & 7) ? s.data() : nullptr);
    std::vector<DISPID> ids(count + 1);
    const bool nullArray = in.byte() & 1;
    t.dispatch->GetIDsOfNames(GUID_NULL, nullArray ? nullptr : names.data(), count, 0, ids.data());
    t.info->GetIDsOfNames(nullArray ? nullptr : names.data(), count, ids.data());
}

void browsingCall(Input& in, Target& t)
{
    ComPtr<IPerPropertyBrowsing> b;
    if (FAILED(t.dispatch->QueryInterface(IID_IPerPropertyBrowsing, b.putVoid())))
        return;
    const DISPID id = pickMember(in, t);
    const bool nulls = in.byte() & 1;
    switch (in.byte() % 4) {
    case 0: {
        BSTR text = nullptr;
        b->GetDisplayString(id, nulls ? nullptr : &text);
        SysFreeString(text);
        break;
    }
    case 1: {
        CLSID page;
        b->MapPropertyToPage(id, nulls ? nullptr : &page);
        break;
    }
    case 2: {
        CALPOLESTR strings{};
        CADWORD cookies{};
        if (SUCCEEDED(b->GetPredefinedStrings(id, nulls ? nullptr : &strings, &cookies)) && !nulls) {
            for (ULONG i = 0; i < strings.cElems; ++i)
                CoTaskMemFree(strings.pElems[i]);
            CoTaskMemFree(strings.pElems);
            CoTaskMemFree(cookies.pElems);
        }
        break;
    }
    default: {
        VARIANT v;
        VariantInit(&v);
        b->GetPredefinedValue(id, in.word() % 16, nulls ? nullptr : &v);
        VariantClear(&v);
        break;
    }
    }
}

void classInfoCall(Input& in, Target& t)
{
    const bool nulls = in.byte() & 1;
    ComPtr<ISpecifyPropertyPages> pages;
    if (SUCCEEDED(t.dispatch->QueryInterface(IID_ISpecifyPropertyPages, pages.putVoid()))) {
        CAUUID c{};
        if (SUCCEEDED(pages->GetPages(nulls ? nullptr : &c)) && !nulls)
            CoTaskMemFree(c.pElems);
    }
    ComPtr<IProvideClassInfo2> ci;
    if (SUCCEEDED(t.dispatch->QueryInterface(IID_IProvideClassInfo2, ci.putVoid()))) {
        ComPtr<ITypeInfo> info;
        ci->GetClassInfo(nulls ? nullptr : info.put());
        GUID g;
        ci->GetGUID(in.byte() % 3, nulls ? nullptr : &g);
    }
}

void connectionCall(Input& in, Target& t)
{
    const uint8_t b = in.byte();
    if (!t.points.empty() && (b & 1)) {
        IConnectionPoint* point = t.points[in.byte() % t.points.size()].get();
        switch (in.byte() % 4) {
        case 0:
        case 1: {
            auto sink = make<Sink>(SinkKind(in.byte() % 3));
            DWORD cookie = 0;
            const bool nulls = (in.byte() & 7) == 0;
            if (SUCCEEDED(point->Advise(nulls ? nullptr : static_cast<IDispatch*>(sink.get()), &cookie)))
                t.cookies.push_back(cookie);
            break;
        }
        case 2: {
            const uint8_t c = in.byte();
            point->Unadvise(c < 0x80 && !t.cookies.empty() ? t.cookies[c % t.cookies.size()] : in.word());
            break;
        }
        default: {
            ComPtr<IEnumConnections> e;
            if (SUCCEEDED(point->EnumConnections(e.put()))) {
                CONNECTDATA d[2];
                ULONG got = 0;
                if (SUCCEEDED(e->Next(2, d, &got)))
                    for (ULONG i = 0; i < got && i < 2; ++i)
                        d[i].pUnk->Release();
            }
            break;
        }
        }
        return;
    }
    // A property change reaches every connected sink.
    const DISPID id = pickMember(in, t);
    Arena arena;
    VARIANT value = makeArg(in, arena, t);
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS p{&value, &named, 1, 1};
    if (id != kAboutBox)
        t.dispatch->Invoke(id, GUID_NULL, 0, DISPATCH_PROPERTYPUT, &p, nullptr, nullptr, nullptr);
}

void saveCall(Input& in, Target& t)
{
    ComPtr<IPersistStreamInit> persist;
    if (FAILED(t.dispatch->QueryInterface(IID_IPersistStreamInit, persist.putVoid())))
        return;
    const uint8_t b = in.byte();
    if (b & 1) {
        auto stream = make<FailingStream>(in.byte() * 4u);
        persist->Save(stream.get(), b & 2);
    } else {
        ULARGE_INTEGER size{};
        persist->GetSizeMax((b & 2) ? nullptr : &size);
    }
}

bool prepare(const controls::ClassRow& row, Target& t)
{
    if (FAILED(row.create(IID_IDispatch, t.dispatch.putVoid())) || !t.dispatch)
        return false;
    t.other = ComPtr<IDispatch>(static_cast<IDispatch*>(make<Sink>(SinkKind::Dispatch).get()));
    if (FAILED(t.dispatch->GetTypeInfo(0, 0, t.info.put())) || !t.info)
        return false;
    ComPtr<IProvideClassInfo2> ci;
    ComPtr<ITypeInfo> coclass, iface;
    HREFTYPE ref = 0;
    TYPEATTR* a = nullptr;
    if (SUCCEEDED(t.dispatch->QueryInterface(IID_IProvideClassInfo2, ci.putVoid())) &&
        SUCCEEDED(ci->GetClassInfo(coclass.put())) && SUCCEEDED(coclass->GetRefTypeOfImplType(0, &ref)) &&
        SUCCEEDED(coclass->GetRefTypeInfo(ref, iface.put())) && SUCCEEDED(iface->GetTypeAttr(&a))) {
        t.dispatch->QueryInterface(a->guid, t.dual.putVoid());
        iface->ReleaseTypeAttr(a);
    }
    if (!t.dual)
        return false;
    if (SUCCEEDED(t.info->GetTypeAttr(&a))) {
        for (UINT i = 0; i < a->cFuncs; ++i) {
            FUNCDESC* f = nullptr;
            if (SUCCEEDED(t.info->GetFuncDesc(i, &f))) {
                if (f->memid != kAboutBox)
                    t.members.push_back(f->memid);
                t.info->ReleaseFuncDesc(f);
            }
        }
        t.info->ReleaseTypeAttr(a);
    }
    ComPtr<IConnectionPointContainer> cpc;
    ComPtr<IEnumConnectionPoints> all;
    if (SUCCEEDED(t.dispatch->QueryInterface(IID_IConnectionPointContainer, cpc.putVoid())) &&
        SUCCEEDED(cpc->EnumConnectionPoints(all.put()))) {
        IConnectionPoint* p = nullptr;
        while (all->Next(1, &p, nullptr) == S_OK && p)
            t.points.push_back(ComPtr<IConnectionPoint>::attach(p));
    }
    return true;
}

} // namespace

void fuzzCalls(const uint8_t* data, size_t size)
{
    // VYR_FUZZ_COUNT=1 prints the number of calls made when the program ends.
    static uint64_t calls = 0;
    static const bool counting = [] {
        if (std::getenv("VYR_FUZZ_COUNT"))
            std::atexit([] { std::fprintf(stderr, "calls made: %llu\n", static_cast<unsigned long long>(calls)); });
        return true;
    }();
    (void)counting;
    static const std::vector<const controls::ClassRow*> rows = [] {
        std::vector<const controls::ClassRow*> out;
        for (const controls::ClassRow& r : controls::classTable())
            if (r.create && r.kind != controls::ClassKind::Page)
                out.push_back(&r);
        return out;
    }();
    Input in(data, size);
    Target t;
    if (rows.empty() || !prepare(*rows[in.byte() % rows.size()], t))
        return;
    for (size_t n = 0; n < kMostCalls && !in.empty(); ++n, ++calls) {
        switch (in.byte() % 9) {
        case 0: case 1: invokeCall(in, t, 0); break;
        case 2: invokeCall(in, t, 1); break;
        case 3: invokeCall(in, t, 2); break;
        case 4: namesCall(in, t); break;
        case 5: browsingCall(in, t); break;
        case 6: classInfoCall(in, t); break;
        case 7: connectionCall(in, t); break;
        default: saveCall(in, t); break;
        }
    }
    // Disconnect what is left, as a container that goes away would (or would not: half the time).
    if (in.byte() & 1)
        for (auto& p : t.points)
            for (DWORD c : t.cookies)
                p->Unadvise(c);
}

} // namespace vyr::fuzz
