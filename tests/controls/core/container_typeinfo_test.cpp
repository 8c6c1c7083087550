// A container built apart from the library reads the controls' type information the way a
// form designer would: it registers the library into a registry store of its own, loads the
// type library by its registered identifier and walks every coclass, finding each property a
// control persists with its dispid, name, kind and type.
#include "controls/core/vyrcontrols.h"
#include "platform/com/font.h"
#include "platform/com/memstream.h"
#include "platform/com/persist.h"
#include "platform/com/picture.h"
#include "platform/com/streamio.h"
#include "platform/com/typelibreg.h"
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <strings.h>

using namespace vyr;
using com::ComPtr;

namespace {

struct Module {
    void* handle = dlopen(VYR_CONTROLS_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    template <class F>
    F get(const char* name)
    {
        return handle ? reinterpret_cast<F>(dlsym(handle, name)) : nullptr;
    }
};

std::string nameOf(ITypeInfo* info, MEMBERID id = MEMBERID_NIL)
{
    com::Bstr n;
    info->GetDocumentation(id, n.put(), nullptr, nullptr, nullptr);
    return n.str();
}

// The records of a saved property list: dispid -> VARTYPE; empty for other stream forms.
std::map<DISPID, VARTYPE> persisted(IUnknown* control)
{
    std::map<DISPID, VARTYPE> out;
    ComPtr<IPersistStreamInit> ps;
    if (FAILED(control->QueryInterface(IID_IPersistStreamInit, ps.putVoid())))
        return out;
    auto s = com::MemoryStream::create();
    if (FAILED(ps->Save(s.get(), FALSE)))
        return out;
    s->Seek({0}, STREAM_SEEK_SET, nullptr);
    uint32_t version = 0, count = 0;
    GUID iid{};
    if (FAILED(com::readValue(s.get(), version)) || version != 1 || FAILED(com::readGuid(s.get(), iid)) ||
        iid != IID_IDispatch || FAILED(com::readValue(s.get(), count)))
        return out;
    for (uint32_t i = 0; i < count; ++i) {
        DISPID id = 0;
        com::Variant v;
        if (FAILED(com::readValue(s.get(), id)) || FAILED(com::readVariant(s.get(), v.put())))
            break;
        out[id] = v.type();
    }
    return out;
}

class ContainerTypeInfo : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = std::filesystem::temp_directory_path() / ("vyr-tlb-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir_);
        setenv("VYR_REGISTRY", (dir_ / "registry.db").c_str(), 1);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::filesystem::path dir_;
};

} // namespace

TEST_F(ContainerTypeInfo, WalksEveryControlOfTheRegisteredLibrary)
{
    Module m;
    ASSERT_TRUE(m.handle) << dlerror();
    auto registerServer = m.get<HRESULT (*)()>("DllRegisterServer");
    auto getClassObject = m.get<decltype(&DllGetClassObject)>("DllGetClassObject");
    ComPtr<ITypeLib> lib;
    EXPECT_EQ(LoadRegTypeLib(controls::LIBID_VYRCTRLSLib, 1, 0, 0, lib.put()), TYPE_E_LIBNOTREGISTERED);
    ASSERT_EQ(registerServer(), S_OK);
    ASSERT_EQ(LoadRegTypeLib(controls::LIBID_VYRCTRLSLib, 1, 0, 0, lib.put()), S_OK);
    com::Bstr libName;
    lib->GetDocumentation(-1, libName.put(), nullptr, nullptr, nullptr);
    EXPECT_EQ(libName.str(), "VYRCTRLSLib");

    int controls = 0;
    for (UINT i = 0, n = lib->GetTypeInfoCount(); i < n; ++i) {
        TYPEKIND kind{};
        ASSERT_EQ(lib->GetTypeInfoType(i, &kind), S_OK);
        if (kind != TKIND_COCLASS)
            continue;
        ComPtr<ITypeInfo> coclass, iface;
        ASSERT_EQ(lib->GetTypeInfo(i, coclass.put()), S_OK);
        SCOPED_TRACE(nameOf(coclass.get()));
        TYPEATTR* ca = nullptr;
        ASSERT_EQ(coclass->GetTypeAttr(&ca), S_OK);
        const CLSID clsid = ca->guid;
        const bool creatable = ca->wTypeFlags & TYPEFLAG_FCANCREATE;
        coclass->ReleaseTypeAttr(ca);
        if (!creatable)
            continue; // declared only (AtlControlHostPosition)
        HREFTYPE ref = 0;
        INT flags = 0;
        ASSERT_EQ(coclass->GetImplTypeFlags(0, &flags), S_OK);
        EXPECT_EQ(flags, IMPLTYPEFLAG_FDEFAULT);
        ASSERT_EQ(coclass->GetRefTypeOfImplType(0, &ref), S_OK);
        ASSERT_EQ(coclass->GetRefTypeInfo(ref, iface.put()), S_OK);

        // Create the control the way the container would and compare.
        ComPtr<IClassFactory> factory;
        ASSERT_EQ(getClassObject(clsid, IID_IClassFactory, factory.putVoid()), S_OK);
        ComPtr<IDispatch> control;
        ASSERT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, control.putVoid()), S_OK);
        ++controls;
        std::map<DISPID, FUNCDESC*> getters;
        TYPEATTR* ia = nullptr;
        ASSERT_EQ(iface->GetTypeAttr(&ia), S_OK);
        for (UINT f = 0; f < ia->cFuncs; ++f) {
            FUNCDESC* fd = nullptr;
            ASSERT_EQ(iface->GetFuncDesc(f, &fd), S_OK);
            if (fd->invkind == INVOKE_PROPERTYGET)
                getters[fd->memid] = fd;
            else
                iface->ReleaseFuncDesc(fd);
        }
        iface->ReleaseTypeAttr(ia);

        for (const auto& [id, vt] : persisted(control.get())) {
            SCOPED_TRACE(id);
            auto it = getters.find(id);
            ASSERT_NE(it, getters.end()) << "a persisted property without a getter";
            const std::string name = nameOf(iface.get(), id);
            const std::u16string wide = com::utf16(name);
            LPOLESTR names[1] = {const_cast<LPOLESTR>(wide.c_str())};
            DISPID byName = 0;
            EXPECT_EQ(control->GetIDsOfNames(GUID_NULL, names, 1, 0, &byName), S_OK);
            EXPECT_EQ(byName, id);
            // Follow the getter's type to what it names.
            const TYPEDESC& t = it->second->elemdescFunc.tdesc;
            const TYPEDESC& target = t.vt == VT_PTR ? *t.lptdesc : t;
            GUID named = GUID_NULL;
            TYPEKIND namedKind = TKIND_MAX;
            if (target.vt == VT_USERDEFINED) {
                ComPtr<ITypeInfo> r;
                TYPEATTR* ra = nullptr;
                ASSERT_EQ(iface->GetRefTypeInfo(target.hreftype, r.put()), S_OK);
                ASSERT_EQ(r->GetTypeAttr(&ra), S_OK);
                named = ra->guid;
                namedKind = ra->typekind;
                r->ReleaseTypeAttr(ra);
            }
            if (vt == VT_UI4) {
                EXPECT_EQ(named, controls::IID_OLE_COLOR) << name << ": colours are OLE_COLOR";
            } else if (vt == VT_BSTR && strncasecmp(name.c_str(), "Command", 7) == 0) {
                EXPECT_EQ(named, controls::IID_VYR_COMMAND) << name;
            } else if (vt == VT_BSTR) {
                EXPECT_EQ(target.vt, VT_BSTR) << name << ": a string is not a command";
            } else if (vt == VT_DISPATCH) {
                EXPECT_EQ(t.vt, VT_PTR);
                EXPECT_TRUE(named == IID_IFontDisp || named == IID_IPictureDisp) << name;
            } else if (namedKind == TKIND_ENUM) {
                // An enumeration's constants are what a browser offers.
                ComPtr<IPerPropertyBrowsing> browse;
                ASSERT_EQ(control->QueryInterface(IID_IPerPropertyBrowsing, browse.putVoid()), S_OK);
                CALPOLESTR s{};
                CADWORD c{};
                ASSERT_EQ(browse->GetPredefinedStrings(id, &s, &c), S_OK) << name;
                for (ULONG k = 0; k < s.cElems; ++k)
                    CoTaskMemFree(s.pElems[k]);
                CoTaskMemFree(s.pElems);
                CoTaskMemFree(c.pElems);
                EXPECT_GT(s.cElems, 1u);
            } else {
                EXPECT_TRUE(target.vt == VT_I2 || target.vt == VT_I4 || target.vt == VT_BOOL || target.vt == VT_R8)
                    << name << " has type " << target.vt;
            }
        }
        for (auto& [id, fd] : getters)
            iface->ReleaseFuncDesc(fd);
    }
    EXPECT_GE(controls, 8);
}
