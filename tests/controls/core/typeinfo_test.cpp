// Type information of every built control: names and dispids agree with IDispatch, values read
// through the type information equal those of Invoke, enumerations and aliases are described,
// the Frame's interface pointer calls its members in slot order, property pages follow the
// property maps, and hostile callers get errors.
#include "controls/core/classtable.h"
#include "controls/core/control.h"
#include "controls/core/typelibrary.h"
#include "platform/com/dispcall.h"
#include "platform/com/typelib.h"
#include "platform/com/typelibtext.h"
#include <gtest/gtest.h>
#include <strings.h>

using namespace vyr;
using namespace vyr::controls;
using com::ComPtr;
using com::Variant;

namespace {

Variant prop(IDispatch* d, std::string_view name)
{
    Variant v;
    EXPECT_EQ(com::getProperty(d, name, v), S_OK);
    return v;
}

struct Created {
    const ClassRow* row;
    ComPtr<IDispatch> dispatch;
    ControlBase* control;
};

std::vector<Created> everyControl()
{
    std::vector<Created> out;
    for (const ClassRow& row : classTable()) {
        if (!row.create)
            continue;
        ComPtr<IDispatch> d;
        if (FAILED(row.create(IID_IDispatch, d.putVoid())) || !d)
            continue;
        if (auto* c = vyr::controls::ControlBase::from(d.get()))
            out.push_back({&row, d, c});
    }
    return out;
}

ComPtr<ITypeInfo> typeInfoOf(IDispatch* d)
{
    ComPtr<ITypeInfo> info;
    UINT count = 0;
    EXPECT_EQ(d->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(d->GetTypeInfo(0, 0, info.put()), S_OK);
    return info;
}

// The dispatch view's function of a member and kind, or -1.
int funcIndex(ITypeInfo* info, MEMBERID id, INVOKEKIND kind, FUNCDESC** out = nullptr)
{
    TYPEATTR* a = nullptr;
    info->GetTypeAttr(&a);
    const WORD n = a->cFuncs;
    info->ReleaseTypeAttr(a);
    for (UINT i = 0; i < n; ++i) {
        FUNCDESC* f = nullptr;
        info->GetFuncDesc(i, &f);
        if (f->memid == id && f->invkind == kind) {
            if (out)
                *out = f;
            else
                info->ReleaseFuncDesc(f);
            return int(i);
        }
        info->ReleaseFuncDesc(f);
    }
    return -1;
}

// The type a getter returns, followed through pointers to what the kind identifier names.
TYPEATTR* referencedAttr(ITypeInfo* info, const TYPEDESC& t, ComPtr<ITypeInfo>& ref)
{
    const TYPEDESC* d = &t;
    if (d->vt == VT_PTR)
        d = d->lptdesc;
    if (d->vt != VT_USERDEFINED || FAILED(info->GetRefTypeInfo(d->hreftype, ref.put())))
        return nullptr;
    TYPEATTR* a = nullptr;
    ref->GetTypeAttr(&a);
    return a;
}

std::vector<std::string> predefined(IDispatch* d, DISPID id)
{
    ComPtr<IPerPropertyBrowsing> b;
    d->QueryInterface(IID_IPerPropertyBrowsing, b.putVoid());
    CALPOLESTR s{};
    CADWORD c{};
    std::vector<std::string> r;
    if (!b || b->GetPredefinedStrings(id, &s, &c) != S_OK)
        return r;
    for (ULONG i = 0; i < s.cElems; ++i) {
        std::string t = com::utf8(std::u16string_view(s.pElems[i]));
        while (!t.empty() && t.back() == ' ')
            t.pop_back();
        r.push_back(t);
        CoTaskMemFree(s.pElems[i]);
    }
    CoTaskMemFree(s.pElems);
    CoTaskMemFree(c.pElems);
    return r;
}

std::vector<GUID> pagesOf(IDispatch* d)
{
    ComPtr<ISpecifyPropertyPages> spp;
    EXPECT_EQ(d->QueryInterface(IID_ISpecifyPropertyPages, spp.putVoid()), S_OK);
    CAUUID pages{};
    EXPECT_EQ(spp->GetPages(&pages), S_OK);
    std::vector<GUID> out(pages.pElems, pages.pElems + pages.cElems);
    CoTaskMemFree(pages.pElems);
    return out;
}

} // namespace

TEST(TypeInfo, EveryMemberAgreesWithDispatchAndReadsTheSameValues)
{
    const auto controls = everyControl();
    ASSERT_GE(controls.size(), 8u);
    for (const Created& c : controls) {
        SCOPED_TRACE(c.row->className);
        ComPtr<ITypeInfo> info = typeInfoOf(c.dispatch.get());
        ASSERT_TRUE(info);
        TYPEATTR* a = nullptr;
        ASSERT_EQ(info->GetTypeAttr(&a), S_OK);
        EXPECT_EQ(a->typekind, TKIND_DISPATCH);
        EXPECT_TRUE(a->wTypeFlags & TYPEFLAG_FDUAL);
        EXPECT_EQ(a->guid, c.control->descriptor().dispatchIid);
        info->ReleaseTypeAttr(a);
        // The interface pointer the type information describes.
        void* dual = nullptr;
        ASSERT_EQ(c.dispatch->QueryInterface(c.control->descriptor().dispatchIid, &dual), S_OK);
        ComPtr<IUnknown> dualRef = ComPtr<IUnknown>::attach(static_cast<IUnknown*>(dual));

        for (const PropertyDesc& p : c.control->descriptor().properties) {
            if (!p.dispatchable)
                continue;
            SCOPED_TRACE(p.name);
            const std::u16string name = com::utf16(p.name);
            LPOLESTR names[1] = {const_cast<LPOLESTR>(name.c_str())};
            DISPID viaDispatch = 0;
            MEMBERID viaInfo = 0;
            EXPECT_EQ(c.dispatch->GetIDsOfNames(GUID_NULL, names, 1, 0, &viaDispatch), S_OK);
            EXPECT_EQ(info->GetIDsOfNames(names, 1, &viaInfo), S_OK);
            EXPECT_EQ(viaDispatch, p.id);
            EXPECT_EQ(viaInfo, p.id);
            EXPECT_GE(funcIndex(info.get(), p.id, INVOKE_PROPERTYGET), 0);
            if (p.put) {
                EXPECT_GE(funcIndex(info.get(), p.id, INVOKE_PROPERTYPUT), 0);
            }

            Variant direct, typed;
            DISPPARAMS none{nullptr, nullptr, 0, 0};
            const HRESULT hd =
                c.dispatch->Invoke(p.id, GUID_NULL, 0, DISPATCH_PROPERTYGET, &none, direct.put(), nullptr, nullptr);
            const HRESULT ht = DispInvoke(dual, info.get(), p.id, DISPATCH_PROPERTYGET, &none, typed.put(), nullptr,
                                          nullptr);
            EXPECT_EQ(hd, ht);
            if (FAILED(hd))
                continue;
            Variant same;
            ASSERT_EQ(VariantChangeType(same.put(), &typed.get(), 0, direct.type()), S_OK);
            EXPECT_TRUE(same == direct);
        }
    }
}

TEST(TypeInfo, PutsThroughTheTypeInformationReachTheControl)
{
    for (const Created& c : everyControl()) {
        if (c.row->clsid != CLSID_Slider && c.row->clsid != CLSID_Button)
            continue;
        ComPtr<ITypeInfo> info = typeInfoOf(c.dispatch.get());
        void* dual = nullptr;
        ASSERT_EQ(c.dispatch->QueryInterface(c.control->descriptor().dispatchIid, &dual), S_OK);
        ComPtr<IUnknown> dualRef = ComPtr<IUnknown>::attach(static_cast<IUnknown*>(dual));
        DISPID named = DISPID_PROPERTYPUT;
        if (c.row->clsid == CLSID_Slider) {
            // SliderMode by its enumeration: the logarithmic mode is 1.
            VARIANT v = Variant::fromLong(1).detach();
            DISPPARAMS put{&v, &named, 1, 1};
            EXPECT_EQ(DispInvoke(dual, info.get(), 48, DISPATCH_PROPERTYPUT, &put, nullptr, nullptr, nullptr), S_OK);
            EXPECT_EQ(prop(c.dispatch.get(), "SliderMode").toLong(), 1);
        } else {
            VARIANT v = Variant::fromString("&Start").detach();
            DISPPARAMS put{&v, &named, 1, 1};
            EXPECT_EQ(DispInvoke(dual, info.get(), DISPID_CAPTION, DISPATCH_PROPERTYPUT, &put, nullptr, nullptr,
                                 nullptr),
                      S_OK);
            VariantClear(&v);
            EXPECT_EQ(c.control->captionText(), "&Start");
            EXPECT_EQ(c.control->mnemonic(), 'S');
        }
    }
}

TEST(TypeInfo, EnumerationsAndAliasesAreDescribed)
{
    for (const Created& c : everyControl()) {
        SCOPED_TRACE(c.row->className);
        ComPtr<ITypeInfo> info = typeInfoOf(c.dispatch.get());
        for (const PropertyDesc& p : c.control->descriptor().properties) {
            if (!p.dispatchable)
                continue;
            SCOPED_TRACE(p.name);
            FUNCDESC* f = nullptr;
            ASSERT_GE(funcIndex(info.get(), p.id, INVOKE_PROPERTYGET, &f), 0);
            ComPtr<ITypeInfo> ref;
            TYPEATTR* a = referencedAttr(info.get(), f->elemdescFunc.tdesc, ref);
            if (p.type == PropType::Color || p.type == PropType::Command) {
                ASSERT_TRUE(a);
                EXPECT_EQ(a->typekind, TKIND_ALIAS);
                EXPECT_EQ(a->guid, p.type == PropType::Color ? IID_OLE_COLOR : IID_VYR_COMMAND);
            } else if (p.type == PropType::Font || p.type == PropType::Picture) {
                ASSERT_TRUE(a);
                EXPECT_EQ(f->elemdescFunc.tdesc.vt, VT_PTR);
                EXPECT_EQ(a->guid, p.type == PropType::Font ? IID_IFontDisp : IID_IPictureDisp);
            } else if (p.names && p.names->typeName) {
                // The enumeration's constants carry the texts a browser shows.
                ASSERT_TRUE(a);
                EXPECT_EQ(a->typekind, TKIND_ENUM);
                const auto texts = predefined(c.dispatch.get(), p.id);
                ASSERT_EQ(a->cVars, texts.size());
                for (UINT i = 0; i < a->cVars; ++i) {
                    VARDESC* v = nullptr;
                    ASSERT_EQ(ref->GetVarDesc(i, &v), S_OK);
                    com::Bstr doc;
                    ref->GetDocumentation(v->memid, nullptr, doc.put(), nullptr, nullptr);
                    EXPECT_EQ(doc.str(), texts[i]);
                    EXPECT_EQ(v->lpvarValue->lVal, p.names->valueAt(i));
                    ref->ReleaseVarDesc(v);
                }
            } else {
                EXPECT_FALSE(a) << "plain properties are base types";
            }
            if (a)
                ref->ReleaseTypeAttr(a);
            info->ReleaseFuncDesc(f);
        }
    }
    // The spectra enumerations keep the constant names of the type library.
    ComPtr<ITypeLib> lib;
    ASSERT_EQ(controlsTypeLib(lib.put()), S_OK);
    const std::string idl = com::typeLibText(lib.get(), {"CurveDrawMode", "CurveDisplayMode"});
    EXPECT_NE(idl.find("ePolyline = 0"), std::string::npos);
    EXPECT_NE(idl.find("ePixel = 2"), std::string::npos);
    EXPECT_NE(idl.find("eCurveInSpectra = 2"), std::string::npos);
    const std::string button = com::typeLibText(lib.get(), {"Button"});
    EXPECT_NE(button.find("helpstring(\"Command to execute if button is pressed\")] VYR_COMMAND Command();"),
              std::string::npos);
    EXPECT_NE(button.find("[default, source] dispinterface _DButton;"), std::string::npos);
}

TEST(TypeInfo, FrameInterfaceCallsItsMembersInSlotOrder)
{
    ComPtr<IDispatch> d;
    ASSERT_EQ(findClass(CLSID_Frame)->create(IID_IDispatch, d.putVoid()), S_OK);
    ComPtr<IFrame> frame;
    ASSERT_EQ(d->QueryInterface(IID_IFrame, frame.putVoid()), S_OK);
    EXPECT_EQ(static_cast<void*>(frame.get()), static_cast<void*>(d.get())); // a dual's IDispatch is the dual
    // The same object behind both pointers.
    ComPtr<IUnknown> a, b;
    d->QueryInterface(IID_IUnknown, a.putVoid());
    frame->QueryInterface(IID_IUnknown, b.putVoid());
    EXPECT_EQ(a.get(), b.get());

    com::Bstr caption("Filters");
    EXPECT_EQ(frame->put_Caption(caption.get()), S_OK);
    BSTR got = nullptr;
    EXPECT_EQ(frame->get_Caption(&got), S_OK);
    EXPECT_EQ(com::utf8(got), "Filters");
    SysFreeString(got);
    LONG style = 0;
    EXPECT_EQ(frame->get_CaptionStyle(&style), S_OK);
    EXPECT_EQ(style, 4);
    EXPECT_EQ(frame->put_FrameStyle(2), S_OK);
    EXPECT_EQ(prop(d.get(), "FrameStyle").toLong(), 2);
    EXPECT_EQ(frame->put_ButtonSize(64), S_OK);
    LONG size = 0;
    EXPECT_EQ(frame->get_ButtonSize(&size), S_OK);
    EXPECT_EQ(size, 64);
    OLE_COLOR color = 0;
    EXPECT_EQ(frame->put_CaptionEndColor(0x00123456), S_OK);
    EXPECT_EQ(frame->get_CaptionEndColor(&color), S_OK);
    EXPECT_EQ(color, 0x00123456u);
    VARIANT_BOOL top = VARIANT_TRUE;
    EXPECT_EQ(frame->get_CaptionTop(&top), S_OK);
    EXPECT_EQ(top, VARIANT_FALSE);
    IDispatch* font = nullptr;
    EXPECT_EQ(frame->get_CaptionFont(&font), S_OK);
    ASSERT_NE(font, nullptr);
    font->Release();
    LONG option = -1;
    EXPECT_EQ(frame->get_LoadOption(&option), S_OK);
    EXPECT_EQ(option, 1);
    // A getter with nowhere to put its value fails.
    EXPECT_EQ(frame->get_ButtonRows(nullptr), E_FAIL);
}

TEST(TypeInfo, PagesFollowThePropertyMaps)
{
    ComPtr<IDispatch> frame, button, slider;
    ASSERT_EQ(findClass(CLSID_Frame)->create(IID_IDispatch, frame.putVoid()), S_OK);
    ASSERT_EQ(findClass(CLSID_Button)->create(IID_IDispatch, button.putVoid()), S_OK);
    ASSERT_EQ(findClass(CLSID_Slider)->create(IID_IDispatch, slider.putVoid()), S_OK);
    EXPECT_EQ(pagesOf(frame.get()), (std::vector<GUID>{CLSID_FramePpg, CLSID_FontPpg, CLSID_ColorPpg, CLSID_PictPpg}));
    EXPECT_EQ(pagesOf(button.get()), (std::vector<GUID>{CLSID_ButtonPpg, CLSID_FontPpg, CLSID_ColorPpg, CLSID_PictPpg}));
    EXPECT_EQ(pagesOf(slider.get()), (std::vector<GUID>{CLSID_FontPpg, CLSID_ColorPpg}));

    ComPtr<IPerPropertyBrowsing> fb, bb;
    frame->QueryInterface(IID_IPerPropertyBrowsing, fb.putVoid());
    button->QueryInterface(IID_IPerPropertyBrowsing, bb.putVoid());
    CLSID page{};
    EXPECT_EQ(fb->MapPropertyToPage(DISPID_FONT, &page), S_OK);
    EXPECT_EQ(page, CLSID_FontPpg);
    EXPECT_EQ(fb->MapPropertyToPage(33, &page), S_OK); // "ButtonColor"
    EXPECT_EQ(page, CLSID_ColorPpg);
    EXPECT_EQ(fb->MapPropertyToPage(18, &page), S_OK);
    EXPECT_EQ(page, CLSID_FramePpg);
    EXPECT_EQ(fb->MapPropertyToPage(61, &page), PERPROP_E_NOPAGEAVAILABLE); // "BackPictureTopLevelAlign "
    EXPECT_EQ(page, GUID_NULL);
    EXPECT_EQ(fb->MapPropertyToPage(4711, &page), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(fb->MapPropertyToPage(DISPID_FONT, nullptr), E_POINTER);
    EXPECT_EQ(bb->MapPropertyToPage(DISPID_CAPTION, &page), S_OK);
    EXPECT_EQ(page, CLSID_ButtonPpg);
    EXPECT_EQ(bb->MapPropertyToPage(7, &page), S_OK); // Picture
    EXPECT_EQ(page, CLSID_PictPpg);
}

TEST(TypeInfo, ClassInfoNamesTheCoclassAndItsEvents)
{
    ComPtr<IDispatch> d;
    ASSERT_EQ(findClass(CLSID_Button)->create(IID_IDispatch, d.putVoid()), S_OK);
    ComPtr<IProvideClassInfo2> pci;
    ASSERT_EQ(d->QueryInterface(IID_IProvideClassInfo2, pci.putVoid()), S_OK);
    GUID events{};
    EXPECT_EQ(pci->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events), S_OK);
    EXPECT_EQ(events, DIID__DButton);
    EXPECT_EQ(pci->GetGUID(2, &events), E_INVALIDARG);
    ComPtr<ITypeInfo> coclass;
    ASSERT_EQ(pci->GetClassInfo(coclass.put()), S_OK);
    TYPEATTR* a = nullptr;
    ASSERT_EQ(coclass->GetTypeAttr(&a), S_OK);
    EXPECT_EQ(a->typekind, TKIND_COCLASS);
    EXPECT_EQ(a->guid, CLSID_Button);
    EXPECT_EQ(a->cImplTypes, 2);
    coclass->ReleaseTypeAttr(a);
    INT flags = 0;
    HREFTYPE ref = 0;
    ComPtr<ITypeInfo> source;
    ASSERT_EQ(coclass->GetImplTypeFlags(1, &flags), S_OK);
    EXPECT_EQ(flags, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE);
    ASSERT_EQ(coclass->GetRefTypeOfImplType(1, &ref), S_OK);
    ASSERT_EQ(coclass->GetRefTypeInfo(ref, source.put()), S_OK);
    com::Bstr name;
    source->GetDocumentation(MEMBERID_NIL, name.put(), nullptr, nullptr, nullptr);
    EXPECT_EQ(name.str(), "_DButton");
    // A control without events has no outgoing interface to name.
    ComPtr<IDispatch> spectra;
    ASSERT_EQ(findClass(CLSID_SpectraCtrl)->create(IID_IDispatch, spectra.putVoid()), S_OK);
    ASSERT_EQ(spectra->QueryInterface(IID_IProvideClassInfo2, pci.putVoid()), S_OK);
    EXPECT_EQ(pci->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events), E_FAIL);
}

TEST(TypeInfo, HostileCallersGetErrors)
{
    ComPtr<IDispatch> d;
    ASSERT_EQ(findClass(CLSID_Slider)->create(IID_IDispatch, d.putVoid()), S_OK);
    ComPtr<ITypeInfo> info;
    EXPECT_EQ(d->GetTypeInfo(1, 0, info.put()), DISP_E_BADINDEX);
    EXPECT_EQ(d->GetTypeInfo(0, 0, nullptr), E_POINTER);
    EXPECT_EQ(d->GetTypeInfoCount(nullptr), E_POINTER);
    info = typeInfoOf(d.get());
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    Variant r;
    void* dual = nullptr;
    ASSERT_EQ(d->QueryInterface(IID_ISlider, &dual), S_OK);
    ComPtr<IUnknown> dualRef = ComPtr<IUnknown>::attach(static_cast<IUnknown*>(dual));
    EXPECT_EQ(DispInvoke(dual, info.get(), 31337, DISPATCH_PROPERTYGET, &none, r.put(), nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);
    // A put with a value that does not convert changes nothing.
    const Variant before = prop(d.get(), "Step");
    DISPID named = DISPID_PROPERTYPUT;
    VARIANT v = Variant::fromString("many").detach();
    DISPPARAMS put{&v, &named, 1, 1};
    EXPECT_EQ(DispInvoke(dual, info.get(), 40, DISPATCH_PROPERTYPUT, &put, nullptr, nullptr, nullptr),
              DISP_E_TYPEMISMATCH);
    VariantClear(&v);
    EXPECT_TRUE(prop(d.get(), "Step") == before);
    FUNCDESC* f = nullptr;
    EXPECT_EQ(info->GetFuncDesc(60000, &f), TYPE_E_ELEMENTNOTFOUND);
    ComPtr<IPerPropertyBrowsing> pb;
    d->QueryInterface(IID_IPerPropertyBrowsing, pb.putVoid());
    CLSID page;
    EXPECT_EQ(pb->MapPropertyToPage(-12345, &page), DISP_E_MEMBERNOTFOUND);
    ComPtr<ISpecifyPropertyPages> spp;
    d->QueryInterface(IID_ISpecifyPropertyPages, spp.putVoid());
    EXPECT_EQ(spp->GetPages(nullptr), E_POINTER);
    // An interface the control does not have.
    void* other = nullptr;
    EXPECT_EQ(d->QueryInterface(IID_IFrame, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
}

// The help strings containers and browsers show for members, as the type information gives them.
TEST(TypeInfo, MembersCarryTheirHelpStrings)
{
    const struct {
        CLSID clsid;
        const char* member;
        const char* help;
    } rows[] = {
        {CLSID_OptionButton, "PictureViaInterface", "property Picture via Interface"},
        {CLSID_VyrCheckBox, "Command", "Command to execute if selection has changed"},
        {CLSID_Button, "Command", "Command to execute if button is pressed"},
        {CLSID_DisplayButton, "UseBackColor", "Use back color rather than color from server"},
        {CLSID_DisplayOptionButton, "UseBackColor", "Use back color rather than color from server"},
        {CLSID_ButtonList, "UseBackColor", "Use back color rather than color from server"},
        {CLSID_ButtonList, "ForeColor", "Frame text color"},
        {CLSID_ButtonList, "BackColor", "Back color for buttons and interior"},
        {CLSID_ButtonList, "Font", "Caption font"},
        {CLSID_Static, "Command", "Command"},
        {CLSID_Slider, "DiscreteValues", "List of values for slider ticks separated by space characters"},
        {CLSID_Slider, "UnitStrings", "Unit strings separated by space characters"},
        {CLSID_Slider, "UnitFactors", "Unit factors separated by space characters"},
        {CLSID_Slider, "ValueButtons", "Value button strings separated by space characters"},
        {CLSID_VyrValueEdit, "Step", "Spin button step"},
        {CLSID_VyrValueEdit, "ValueButtons", "Value button strings separated by space characters"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.member);
        const ClassTypeInfo* t = classTypeInfo(r.clsid);
        ASSERT_TRUE(t && t->dispatch);
        std::u16string name = com::utf16(r.member);
        LPOLESTR names[1] = {name.data()};
        MEMBERID id = MEMBERID_NIL;
        ASSERT_EQ(t->dispatch->GetIDsOfNames(names, 1, &id), S_OK);
        com::Bstr doc;
        ASSERT_EQ(t->dispatch->GetDocumentation(id, nullptr, doc.put(), nullptr, nullptr), S_OK);
        EXPECT_EQ(doc.str(), r.help);
    }
}
