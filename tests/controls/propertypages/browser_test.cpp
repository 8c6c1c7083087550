// The property browser's rows and model by plain calls: rows come from type information alone
// (hidden, restricted and unshowable members left out, kinds by the referenced alias or
// interface, enumerations by name), several objects show a value only where they agree, writes
// go to all, property-change notifications refresh rows, and custom colours live in the
// settings store.
#include "controls/core/classtable.h"
#include "controls/propertypages/browsermodel.h"
#include "controls/propertypages/colorpicker.h"
#include "controls/propertypages/propertybrowser.h"
#include "controls/core/usersettings.h"
#include "platform/com/dispcall.h"
#include "platform/com/font.h"
#include "platform/com/object.h"
#include "platform/com/typelib.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <filesystem>

using namespace vyr;
using namespace vyr::controls;
using namespace vyr::controls::browser;
using com::ComPtr;
using com::Variant;
namespace tl = vyr::com::typelib;

namespace {

ComPtr<IDispatch> create(REFCLSID clsid)
{
    ComPtr<IDispatch> d;
    const ClassRow* row = findClass(clsid);
    EXPECT_TRUE(row && row->create);
    if (row && row->create) {
        EXPECT_EQ(row->create(IID_IDispatch, d.putVoid()), S_OK);
    }
    return d;
}

// An object described by a hand-written type library: what a foreign server might hand the
// browser. Its getters answer from `values`; dispid 4 always fails.
class ForeignObject : public com::Object<IDispatch> {
public:
    ForeignObject()
    {
        auto lib = std::make_shared<tl::Library>();
        lib->guid = com::guidOf("0E5A8D4F-1111-4C3B-9C55-6B7C4C1D2E01");
        lib->name = "ForeignLib";
        tl::TypeEntry third;
        third.kind = TKIND_ALIAS;
        third.guid = kKindThird;
        third.name = "THIRD_ALIAS";
        third.alias = tl::Type::base(VT_I4);
        tl::TypeEntry record;
        record.kind = TKIND_RECORD;
        record.guid = com::guidOf("0E5A8D4F-2222-4C3B-9C55-6B7C4C1D2E01");
        record.name = "SomeRecord";
        tl::TypeEntry e;
        e.kind = TKIND_DISPATCH;
        e.guid = com::guidOf("0E5A8D4F-3333-4C3B-9C55-6B7C4C1D2E01");
        e.name = "IForeign";
        e.flags = TYPEFLAG_FDISPATCHABLE;
        auto get = [](MEMBERID id, const char* name, tl::Type t, WORD flags = 0) {
            tl::Func f;
            f.id = id;
            f.name = name;
            f.kind = INVOKE_PROPERTYGET;
            f.result = t;
            f.flags = flags;
            f.doc = std::string("About ") + name;
            return f;
        };
        e.funcs = {get(1, "Visible", tl::Type::base(VT_I4)),
                   get(2, "Hidden", tl::Type::base(VT_I4), FUNCFLAG_FHIDDEN),
                   get(3, "Restricted", tl::Type::base(VT_I4), FUNCFLAG_FRESTRICTED),
                   get(4, "Broken", tl::Type::base(VT_BSTR)),
                   get(5, "PointerToLong", tl::Type::pointer(tl::Type::base(VT_I4))),
                   get(6, "Third", tl::Type::user(0)),
                   get(7, "Record", tl::Type::user(1)),
                   get(8, "Array", tl::Type::base(VT_SAFEARRAY))};
        lib->types = {third, record, e};
        ComPtr<ITypeLib> tlib;
        EXPECT_EQ(tl::createTypeLib(lib, tlib.put()), S_OK);
        EXPECT_EQ(tlib->GetTypeInfo(2, info_.put()), S_OK);
    }
    STDMETHOD(GetTypeInfoCount)(UINT* n) override { *n = 1; return S_OK; }
    STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo** out) override { return info_.copyTo(out); }
    STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        return DispGetIDsOfNames(info_.get(), names, count, ids);
    }
    STDMETHOD(Invoke)(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*, UINT*) override
    {
        if (id == 4)
            return E_FAIL;
        if (result)
            *result = Variant::fromLong(id * 10).detach();
        return S_OK;
    }

private:
    ComPtr<ITypeInfo> info_;
};

std::vector<std::string> names(const std::vector<Row>& rows)
{
    std::vector<std::string> out;
    for (const Row& r : rows)
        out.push_back(r.name);
    return out;
}

const Row* rowNamed(const std::vector<Row>& rows, const std::string& name)
{
    for (const Row& r : rows)
        if (r.name == name)
            return &r;
    return nullptr;
}

} // namespace

TEST(BrowserRows, ComeFromTheTypeInformationOfAControl)
{
    auto slider = create(CLSID_Slider);
    std::vector<Row> rows, third;
    ASSERT_EQ(readRows(slider.get(), rows, third), S_OK);
    EXPECT_TRUE(third.empty());
    const Row* mode = rowNamed(rows, "SliderMode");
    ASSERT_TRUE(mode);
    EXPECT_EQ(mode->id, 48);
    EXPECT_EQ(mode->kind, kKindPlain);
    ASSERT_TRUE(mode->enumInfo);
    ASSERT_EQ(mode->constants.size(), 3u);
    EXPECT_EQ(mode->constants[1].name, "Logarithmic");
    EXPECT_EQ(valueText(*mode, Variant::fromShort(2)), "List");

    auto button = create(CLSID_Button);
    rows.clear();
    ASSERT_EQ(readRows(button.get(), rows, third), S_OK);
    const Row* command = rowNamed(rows, "Command");
    ASSERT_TRUE(command);
    EXPECT_EQ(command->kind, kKindCommand);
    EXPECT_EQ(command->doc, "Command to execute if button is pressed");
    EXPECT_EQ(rowNamed(rows, "BackColor")->kind, kKindColor);
    EXPECT_EQ(rowNamed(rows, "Font")->kind, kKindFont);
    EXPECT_EQ(rowNamed(rows, "Picture")->kind, kKindPicture);
    EXPECT_EQ(rowNamed(rows, "Caption")->kind, kKindPlain);
    EXPECT_FALSE(rowNamed(rows, "Caption")->readOnly);
    EXPECT_EQ(valueText(*rowNamed(rows, "Enabled"), Variant::fromBool(true)), "True");
    // A colour shows as &H%08lX&.
    EXPECT_EQ(valueText(*rowNamed(rows, "BackColor"), Variant::fromULong(0xFF)), "&H000000FF&");
    EXPECT_EQ(valueText(*rowNamed(rows, "BackColor"), Variant::fromULong(0x8000000F)), "&H8000000F&");
}

TEST(BrowserRows, LeaveOutWhatCannotBeShownAndKeepAFailingGetterEmpty)
{
    auto foreign = com::make<ForeignObject>();
    std::vector<Row> rows, third;
    ASSERT_EQ(readRows(foreign.get(), rows, third), S_OK);
    EXPECT_EQ(names(rows), (std::vector<std::string>{"Visible", "Broken"}));
    EXPECT_EQ(rows[0].value.toLong(), 10);
    EXPECT_EQ(rows[0].doc, "About Visible");
    EXPECT_TRUE(rows[0].readOnly);
    EXPECT_FALSE(rows[1].readOk);
    EXPECT_TRUE(rows[1].value.isEmpty());
    ASSERT_EQ(names(third), (std::vector<std::string>{"Third"}));
    EXPECT_EQ(third[0].kind, kKindThird);
}

TEST(BrowserRows, ParseTextBackIntoValues)
{
    auto button = create(CLSID_Button);
    std::vector<Row> rows, third;
    ASSERT_EQ(readRows(button.get(), rows, third), S_OK);
    Variant v;
    ASSERT_TRUE(parseValue(*rowNamed(rows, "CaptionPosition"), "rightbottom", v));
    EXPECT_EQ(v.toLong(), 8);
    ASSERT_TRUE(parseValue(*rowNamed(rows, "BackColor"), "&H000000FF&", v));
    EXPECT_EQ(v.toLong(), 0xFF);
    EXPECT_FALSE(parseValue(*rowNamed(rows, "BackColor"), "&Hxyz&", v));
    ASSERT_TRUE(parseValue(*rowNamed(rows, "Enabled"), "True", v));
    EXPECT_EQ(v.type(), VT_BOOL);
    EXPECT_FALSE(parseValue(*rowNamed(rows, "Enabled"), "perhaps", v));
    EXPECT_FALSE(parseValue(*rowNamed(rows, "Font"), "Arial", v));
}

TEST(BrowserModel, SeveralObjectsAgreeOrShowNothingAndAWriteGoesToAll)
{
    auto a = create(CLSID_Button), b = create(CLSID_Button);
    com::putProperty(a.get(), "Caption", Variant::fromString("One"));
    com::putProperty(b.get(), "Caption", Variant::fromString("Two"));
    BrowserModel m;
    int changes = 0;
    m.changed = [&](DISPID) { ++changes; };
    ASSERT_EQ(m.setDispatch(a.get()), S_OK);
    ASSERT_EQ(m.addDispatch(b.get()), S_OK);
    EXPECT_EQ(m.objectCount(), 2u);
    const int caption = m.lineOf("Caption");
    ASSERT_GE(caption, 0);
    EXPECT_FALSE(m.lines()[size_t(caption)].agree);
    EXPECT_EQ(m.text(size_t(caption)), "");
    EXPECT_EQ(m.text(size_t(m.lineOf("CaptionPosition"))), "CenterCenter");

    ASSERT_EQ(m.writeText(size_t(caption), "Both"), S_OK);
    Variant v;
    com::getProperty(a.get(), "Caption", v);
    EXPECT_EQ(v.toString(), "Both");
    com::getProperty(b.get(), "Caption", v);
    EXPECT_EQ(v.toString(), "Both");
    EXPECT_EQ(m.text(size_t(m.lineOf("Caption"))), "Both");
    EXPECT_EQ(m.writeText(size_t(m.lineOf("BackColor")), "red"), DISP_E_TYPEMISMATCH);

    // A Button and a Slider share only some properties.
    auto slider = create(CLSID_Slider);
    ASSERT_EQ(m.addDispatch(slider.get()), S_OK);
    EXPECT_EQ(m.lineOf("SliderMode"), -1);
    EXPECT_EQ(m.lineOf("Caption"), -1);
    EXPECT_GT(changes, 0);
}

// Two controls hold two font objects; they agree when the fonts look the same.
TEST(BrowserModel, FontsAgreeByTheirLookNotByTheirObject)
{
    auto a = create(CLSID_Button), b = create(CLSID_Button);
    ComPtr<IFontDisp> font;
    ASSERT_EQ(com::createFont("DejaVu Sans", 11, font.put()), S_OK);
    for (IDispatch* d : {a.get(), b.get()}) // by value: each control keeps a copy of its own
        ASSERT_EQ(com::putProperty(d, "Font", Variant::fromDispatch(font.get())), S_OK);
    BrowserModel m;
    ASSERT_EQ(m.setDispatch(a.get()), S_OK);
    ASSERT_EQ(m.addDispatch(b.get()), S_OK);
    const int line = m.lineOf("Font");
    ASSERT_GE(line, 0);
    const Line& l = m.lines()[size_t(line)];
    ASSERT_NE(l.rows[0]->value.get().pdispVal, l.rows[1]->value.get().pdispVal);
    EXPECT_TRUE(l.agree);
    EXPECT_EQ(com::qfontOf(l.value.get().pdispVal).family(), QStringLiteral("DejaVu Sans"));

    // One attribute apart is a disagreement.
    ComPtr<IFontDisp> italic;
    ASSERT_EQ(com::createFont("DejaVu Sans", 11, italic.put()), S_OK);
    ComPtr<IFont> f;
    ASSERT_EQ(italic->QueryInterface(IID_IFont, f.putVoid()), S_OK);
    f->put_Italic(TRUE);
    ASSERT_EQ(com::putProperty(b.get(), "Font", Variant::fromDispatch(italic.get())), S_OK);
    EXPECT_FALSE(m.lines()[size_t(m.lineOf("Font"))].agree);
}

TEST(BrowserModel, FollowsPropertyChangesAndDropsItsConnections)
{
    auto slider = create(CLSID_Slider);
    BrowserModel m;
    std::vector<DISPID> seen;
    m.changed = [&](DISPID id) { seen.push_back(id); };
    ASSERT_EQ(m.setDispatch(slider.get()), S_OK);
    const size_t mode = size_t(m.lineOf("SliderMode"));
    EXPECT_EQ(m.text(mode), "Normal");
    com::putProperty(slider.get(), "SliderMode", Variant::fromShort(2));
    EXPECT_EQ(m.text(size_t(m.lineOf("SliderMode"))), "List");
    EXPECT_NE(std::find(seen.begin(), seen.end(), 48), seen.end());

    // After SetDispatch(null) the browser hears nothing more and holds no reference.
    const ULONG before = slider->AddRef() - 1;
    slider->Release();
    ASSERT_EQ(m.setDispatch(nullptr), S_OK);
    EXPECT_TRUE(m.lines().empty());
    EXPECT_LT(slider->AddRef() - 1, before);
    slider->Release();
    seen.clear();
    com::putProperty(slider.get(), "SliderMode", Variant::fromShort(0));
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(m.addDispatch(nullptr), E_POINTER);
}

TEST(BrowserModel, AnObjectWithoutTypeInformationKeepsTheEarlierRows)
{
    struct NoInfo : com::Object<IDispatch> {
        STDMETHOD(GetTypeInfoCount)(UINT* n) override { *n = 0; return S_OK; }
        STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo** out) override { *out = nullptr; return DISP_E_BADINDEX; }
        STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return DISP_E_UNKNOWNNAME; }
        STDMETHOD(Invoke)(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
        {
            return DISP_E_MEMBERNOTFOUND;
        }
    };
    auto button = create(CLSID_Button);
    BrowserModel m;
    ASSERT_EQ(m.setDispatch(button.get()), S_OK);
    const size_t lines = m.lines().size();
    auto bad = com::make<NoInfo>();
    EXPECT_EQ(m.addDispatch(bad.get()), DISP_E_BADINDEX);
    EXPECT_EQ(m.lines().size(), lines);
    EXPECT_EQ(m.objectCount(), 1u);
}

class CustomColorStore : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = std::filesystem::temp_directory_path() / ("vyr-colors-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir_);
        setenv("VYR_REGISTRY", (dir_ / "registry.db").c_str(), 1);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::filesystem::path dir_;
};

TEST_F(CustomColorStore, MissingColoursAreWhiteAndSavedOnesComeBackClamped)
{
    CustomColors c = loadCustomColors();
    for (OLE_COLOR x : c)
        EXPECT_EQ(x, 0xFFFFFFu);
    saveCustomColor(0, 0x123456);
    saveCustomColor(15, 0x80FFFFFF); // only the colour bits are kept
    saveCustomColor(16, 0x1);        // no such slot: nothing written
    c = loadCustomColors();
    EXPECT_EQ(c[0], 0x123456u);
    EXPECT_EQ(c[15], 0xFFFFFFu);
    EXPECT_EQ(UserSettings::ReadString("Property Browser", "CustomColor 1", ""), "123456");
    UserSettings::WriteString("Property Browser", "CustomColor 2", "7fffffff");
    EXPECT_EQ(loadCustomColors()[1], 0xFFFFFFu);
    EXPECT_EQ(gridColor(48, c), 0x123456u);
    EXPECT_EQ(gridColor(64, c), 0u);
}

TEST(PropertyBrowserControl, AnswersItsOwnInterfaceInSlotOrder)
{
    ComPtr<IVyrPropertyBrowser> browser;
    const ClassRow* row = findClass(CLSID_PropertyBrowser);
    ASSERT_TRUE(row && row->create);
    ASSERT_EQ(row->create(IID_IVyrPropertyBrowser, browser.putVoid()), S_OK);
    auto button = create(CLSID_Button);
    ComPtr<IDispatch> d;
    ASSERT_EQ(browser->QueryInterface(IID_IDispatch, d.putVoid()), S_OK);
    auto* control = dynamic_cast<PropertyBrowser*>(vyr::controls::ControlBase::from(d.get()));
    ASSERT_TRUE(control);
    EXPECT_EQ(browser->SetDispatch(button.get()), S_OK);
    EXPECT_GT(control->model().lines().size(), 5u);
    EXPECT_EQ(browser->AddDispatch(nullptr), E_POINTER);
    EXPECT_EQ(browser->SetDispatch(nullptr), S_OK);
    EXPECT_TRUE(control->model().lines().empty());
    VARIANT_BOOL inside = VARIANT_TRUE;
    EXPECT_EQ(browser->IsPointInClientArea(&inside, 1, 1), S_OK);
    EXPECT_EQ(inside, VARIANT_FALSE); // no window yet
    // Through IDispatch by name as well.
    EXPECT_EQ(com::callMethod(d.get(), "AddDispatch", {Variant::fromDispatch(button.get())}), S_OK);
    EXPECT_EQ(control->model().objectCount(), 1u);
}
