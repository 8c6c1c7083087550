#include "platform/com/font.h"
#include "stream_bytes.h"
#include <QFont>
#include <cmath>
#include <gtest/gtest.h>

using namespace vyr::com;
using vyr::com::test::Bytes;

namespace {

ComPtr<IFont> newFont(std::string_view name = "Arial", double points = 12)
{
    ComPtr<IFontDisp> disp;
    EXPECT_EQ(createFont(name, points, disp.put()), S_OK);
    return disp.as<IFont>(IID_IFont);
}

std::vector<uint8_t> saved(IFont* font)
{
    auto ps = ComPtr<IFont>(font).as<IPersistStream>(IID_IPersistStream);
    auto s = MemoryStream::create();
    EXPECT_EQ(ps->Save(s.get(), TRUE), S_OK);
    return s->bytes();
}

HRESULT invoke(IUnknown* obj, DISPID id, WORD flags, std::vector<VARIANT> args, Variant* result = nullptr)
{
    auto d = ComPtr<IUnknown>(obj).as<IDispatch>(IID_IDispatch);
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS p{args.data(), (flags & DISPATCH_PROPERTYPUT) ? &put : nullptr, UINT(args.size()),
                 (flags & DISPATCH_PROPERTYPUT) ? 1u : 0u};
    UINT argErr = 99;
    return d->Invoke(id, GUID_NULL, 0, flags, &p, result ? result->put() : nullptr, nullptr, &argErr);
}

} // namespace

TEST(StdFont, StartsWithTheLibraryDefault)
{
    ComPtr<IFont> font;
    ASSERT_EQ(createStdObject(CLSID_StdFont, IID_IFont, font.putVoid()), S_OK);
    Bstr name;
    CY size{};
    ASSERT_EQ(font->get_Name(name.put()), S_OK);
    ASSERT_EQ(font->get_Size(&size), S_OK);
    EXPECT_EQ(name.str(), "MS Sans Serif");
    EXPECT_EQ(size.int64, 80000);
}

TEST(StdFont, PersistsInTheStandardLayout)
{
    auto font = newFont("Arial", 12);
    font->put_Bold(TRUE);
    font->put_Italic(TRUE);
    font->put_Strikethrough(TRUE);
    font->put_Charset(2);
    const auto expected = Bytes().u8(1).u16(2).u8(0x02 | 0x08).u16(700).u32(120000).u8(5).text("Arial").b;
    EXPECT_EQ(saved(font.get()), expected);

    font->put_Italic(FALSE);
    font->put_Strikethrough(FALSE);
    font->put_Underline(TRUE);
    EXPECT_EQ(saved(font.get())[3], 0x04);

    ULARGE_INTEGER max{};
    font.as<IPersistStream>(IID_IPersistStream)->GetSizeMax(&max);
    EXPECT_EQ(max.QuadPart, expected.size());
}

TEST(StdFont, LoadsWhatItSavedAndTracksDirtiness)
{
    auto font = newFont("Courier New", 9.5);
    font->put_Weight(600);
    font->put_Underline(TRUE);
    auto ps = font.as<IPersistStream>(IID_IPersistStream);
    EXPECT_EQ(ps->IsDirty(), S_OK);
    const auto bytes = saved(font.get());
    EXPECT_EQ(ps->IsDirty(), S_FALSE);

    ComPtr<IFont> copy;
    ASSERT_EQ(createStdObject(CLSID_StdFont, IID_IFont, copy.putVoid()), S_OK);
    ASSERT_EQ(copy.as<IPersistStream>(IID_IPersistStream)->Load(MemoryStream::create(bytes).get()), S_OK);
    EXPECT_EQ(copy->IsEqual(font.get()), S_OK);
    SHORT weight = 0;
    copy->get_Weight(&weight);
    EXPECT_EQ(weight, 600);
}

TEST(StdFont, RefusedLoadsKeepTheFont)
{
    auto font = newFont("Arial", 12);
    auto ps = font.as<IPersistStream>(IID_IPersistStream);
    EXPECT_EQ(ps->Load(Bytes().u8(2).u16(0).u8(0).u16(400).u32(90000).u8(1).text("X").stream().get()), E_FAIL);
    EXPECT_EQ(ps->Load(Bytes().u8(1).u16(0).u8(0).u16(400).u32(90000).u8(3).text("X").stream().get()),
              STG_E_READFAULT);
    EXPECT_EQ(ps->Load(nullptr), E_POINTER);
    EXPECT_EQ(font->IsEqual(newFont("Arial", 12).get()), S_OK);
}

TEST(StdFont, NameBytesThatAreNotUtf8ReadAsLatin1)
{
    auto font = newFont();
    ASSERT_EQ(font.as<IPersistStream>(IID_IPersistStream)
                  ->Load(Bytes().u8(1).u16(0).u8(0).u16(400).u32(80000).u8(5).text("\xC4rial").stream().get()),
              S_OK);
    Bstr name;
    font->get_Name(name.put());
    EXPECT_EQ(name.str(), "\xC3\x84rial");
    EXPECT_EQ(saved(font.get()), Bytes().u8(1).u16(0).u8(0).u16(400).u32(80000).u8(6).text("\xC3\x84rial").b);
}

TEST(StdFont, RefusesValuesItCouldNotPersist)
{
    auto font = newFont();
    EXPECT_EQ(font->put_Name(nullptr), CTL_E_INVALIDPROPERTYVALUE);
    EXPECT_EQ(font->put_Name(Bstr(std::string(256, 'a')).get()), CTL_E_INVALIDPROPERTYVALUE);
    std::string euros;
    for (int i = 0; i < 86; ++i)
        euros += "\xE2\x82\xAC"; // 86 characters, 258 bytes
    EXPECT_EQ(font->put_Name(Bstr(euros).get()), CTL_E_INVALIDPROPERTYVALUE) << "the limit counts stored bytes";
    EXPECT_EQ(font->put_Name(Bstr(std::string(255, 'a')).get()), S_OK);
    EXPECT_EQ(font->put_Size(CY{-1}), CTL_E_INVALIDPROPERTYVALUE);
    EXPECT_EQ(font->put_Size(CY{int64_t(1) << 32}), CTL_E_INVALIDPROPERTYVALUE);
    ComPtr<IFontDisp> none;
    EXPECT_EQ(createFont("Arial", -1, none.put()), CTL_E_INVALIDPROPERTYVALUE);
    EXPECT_EQ(createFont("Arial", NAN, none.put()), CTL_E_INVALIDPROPERTYVALUE);
    EXPECT_FALSE(none);
    Bstr name;
    font->get_Name(name.put());
    EXPECT_EQ(name.length(), 255u);
}

TEST(StdFont, BoldIsAWeightThreshold)
{
    auto font = newFont();
    struct Row {
        SHORT weight;
        BOOL bold;
    };
    for (const Row r : {Row{400, FALSE}, Row{550, FALSE}, Row{551, TRUE}, Row{700, TRUE}, Row{900, TRUE}}) {
        font->put_Weight(r.weight);
        BOOL bold = -1;
        font->get_Bold(&bold);
        EXPECT_EQ(bold, r.bold) << r.weight;
    }
    font->put_Bold(FALSE);
    SHORT w = 0;
    font->get_Weight(&w);
    EXPECT_EQ(w, 400);
    font->put_Bold(TRUE);
    font->get_Weight(&w);
    EXPECT_EQ(w, 700);
}

TEST(StdFont, CloneIsEqualButIndependent)
{
    auto font = newFont("Arial", 12);
    ComPtr<IFont> clone;
    ASSERT_EQ(font->Clone(clone.put()), S_OK);
    EXPECT_EQ(clone->IsEqual(font.get()), S_OK);
    clone->put_Size(CY{100000});
    EXPECT_EQ(clone->IsEqual(font.get()), S_FALSE);
    CY size{};
    font->get_Size(&size);
    EXPECT_EQ(size.int64, 120000);
    EXPECT_EQ(font->IsEqual(nullptr), E_POINTER);
}

TEST(StdFont, HandleGivesTheQFontAndLentHandlesOutliveChanges)
{
    auto font = newFont("Arial", 12);
    font->put_Bold(TRUE);
    HFONT h = nullptr;
    ASSERT_EQ(font->get_hFont(&h), S_OK);
    const QFont q = qfontOf(h);
    EXPECT_EQ(q.family(), "Arial");
    EXPECT_DOUBLE_EQ(q.pointSizeF(), 12.0);
    EXPECT_EQ(q.weight(), QFont::Bold);

    ASSERT_EQ(font->AddRefHfont(h), S_OK);
    font->put_Size(CY{200000});
    HFONT h2 = nullptr;
    font->get_hFont(&h2);
    EXPECT_DOUBLE_EQ(qfontOf(h2).pointSizeF(), 20.0);
    EXPECT_DOUBLE_EQ(qfontOf(h).pointSizeF(), 12.0) << "a lent handle keeps its font";
    EXPECT_EQ(font->ReleaseHfont(h), S_OK);
    EXPECT_EQ(font->ReleaseHfont(h), E_INVALIDARG);
    EXPECT_EQ(font->AddRefHfont(reinterpret_cast<HFONT>(&h)), E_INVALIDARG);
}

TEST(StdFont, QFontOfReadsOwnForeignAndMissingFonts)
{
    auto font = newFont("Courier New", 14);
    font->put_Italic(TRUE);
    const QFont q = qfontOf(font.get());
    EXPECT_EQ(q.family(), "Courier New");
    EXPECT_DOUBLE_EQ(q.pointSizeF(), 14.0);
    EXPECT_TRUE(q.italic());
    EXPECT_EQ(qfontOf(nullptr), QFont());

    ComPtr<IFontDisp> fromQt;
    QFont source("Serif");
    source.setPointSizeF(11);
    source.setUnderline(true);
    ASSERT_EQ(createFont(source, fromQt.put()), S_OK);
    const QFont back = qfontOf(fromQt.get());
    EXPECT_EQ(back.family(), "Serif");
    EXPECT_DOUBLE_EQ(back.pointSizeF(), 11.0);
    EXPECT_TRUE(back.underline());
}

TEST(StdFont, HostileSizesAreClampedOnlyForDrawing)
{
    auto font = newFont();
    font->put_Size(CY{0xFFFFFFFF});
    EXPECT_DOUBLE_EQ(qfontOf(font.get()).pointSizeF(), 1000.0);
    font->put_Size(CY{0});
    EXPECT_DOUBLE_EQ(qfontOf(font.get()).pointSizeF(), 1.0);
    CY size{};
    font->get_Size(&size);
    EXPECT_EQ(size.int64, 0);
}

TEST(StdFont, DispatchPropertiesByNameAndId)
{
    auto font = newFont("Arial", 12);
    auto d = font.as<IDispatch>(IID_IDispatch);
    ASSERT_TRUE(d);
    const std::u16string names[] = {u"name", u"SIZE", u"Bold", u"Italic", u"Underline", u"Strikethrough",
                                    u"Weight", u"Charset"};
    const DISPID ids[] = {0, 2, 3, 4, 5, 6, 7, 8};
    for (size_t i = 0; i < 8; ++i) {
        std::u16string n = names[i];
        LPOLESTR p = n.data();
        DISPID id = -99;
        EXPECT_EQ(d->GetIDsOfNames(GUID_NULL, &p, 1, 0, &id), S_OK);
        EXPECT_EQ(id, ids[i]);
    }
    std::u16string bad = u"Colour";
    LPOLESTR p = bad.data();
    DISPID id = 0;
    EXPECT_EQ(d->GetIDsOfNames(GUID_NULL, &p, 1, 0, &id), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(id, DISPID_UNKNOWN);

    Variant r;
    ASSERT_EQ(invoke(font.get(), DISPID_FONT_NAME, DISPATCH_PROPERTYGET, {}, &r), S_OK);
    EXPECT_EQ(r.toString(), "Arial");
    ASSERT_EQ(invoke(font.get(), DISPID_FONT_SIZE, DISPATCH_PROPERTYGET, {}, &r), S_OK);
    EXPECT_EQ(r.type(), VT_CY);
    EXPECT_EQ(r.get().cyVal.int64, 120000);

    ASSERT_EQ(invoke(font.get(), DISPID_FONT_SIZE, DISPATCH_PROPERTYPUT, {Variant::fromDouble(10.5).detach()}), S_OK);
    CY size{};
    font->get_Size(&size);
    EXPECT_EQ(size.int64, 105000);
    ASSERT_EQ(invoke(font.get(), DISPID_FONT_BOLD, DISPATCH_PROPERTYPUT, {Variant::fromLong(1).detach()}), S_OK);
    ASSERT_EQ(invoke(font.get(), DISPID_FONT_BOLD, DISPATCH_PROPERTYGET, {}, &r), S_OK);
    EXPECT_EQ(r.type(), VT_BOOL);
    EXPECT_EQ(r.get().boolVal, VARIANT_TRUE);

    VARIANT text = Variant::fromString("big").detach();
    EXPECT_EQ(invoke(font.get(), DISPID_FONT_SIZE, DISPATCH_PROPERTYPUT, {text}), DISP_E_TYPEMISMATCH);
    VariantClear(&text);
    EXPECT_EQ(invoke(font.get(), DISPID_FONT_WEIGHT, DISPATCH_PROPERTYPUT, {Variant::fromLong(70000).detach()}),
              DISP_E_OVERFLOW);
    EXPECT_EQ(invoke(font.get(), 1, DISPATCH_PROPERTYGET, {}, &r), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(invoke(font.get(), DISPID_FONT_NAME, DISPATCH_PROPERTYGET, {Variant::fromLong(1).detach()}, &r),
              DISP_E_BADPARAMCOUNT);
}
