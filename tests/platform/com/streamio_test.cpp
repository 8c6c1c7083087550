#include "platform/com/font.h"
#include "platform/com/picture.h"
#include "stream_bytes.h"
#include <QImage>
#include <gtest/gtest.h>

using namespace vyr::com;
using vyr::com::test::Bytes;

namespace {

Variant typed(VARTYPE vt, int64_t bits)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = vt;
    v.llVal = bits;
    return Variant(v);
}

HRESULT roundTrip(const Variant& in, Variant& out, std::vector<uint8_t>* bytes = nullptr)
{
    auto s = MemoryStream::create();
    if (HRESULT hr = writeVariant(s.get(), in.get()); FAILED(hr))
        return hr;
    if (bytes)
        *bytes = s->bytes();
    s->Seek({0}, STREAM_SEEK_SET, nullptr);
    HRESULT hr = readVariant(s.get(), out.put());
    EXPECT_EQ(remainingBytes(s.get()), 0u) << "the reader consumes exactly the record";
    return hr;
}


// An object that exists but cannot persist itself.
struct Sink final : Object<IPropertyNotifySink> {
    STDMETHOD(OnChanged)(DISPID) override { return S_OK; }
    STDMETHOD(OnRequestEdit)(DISPID) override { return S_OK; }
};

} // namespace

TEST(VariantStream, EveryScalarTypeRoundTripsWithItsSize)
{
    struct Row {
        VARTYPE vt;
        int64_t bits;
        size_t valueBytes;
    };
    const Row rows[] = {
        {VT_EMPTY, 0, 0}, {VT_NULL, 0, 0}, {VT_I1, -5, 1}, {VT_UI1, 200, 1}, {VT_I2, -1234, 2},
        {VT_UI2, 60000, 2}, {VT_BOOL, VARIANT_TRUE, 2}, {VT_I4, -123456789, 4}, {VT_UI4, 0xFEDCBA98, 4},
        {VT_INT, 77, 4}, {VT_UINT, 88, 4}, {VT_ERROR, int32_t(E_FAIL), 4}, {VT_R4, 0x40490FDB, 4},
        {VT_I8, -1234567890123LL, 8}, {VT_UI8, 0x0123456789ABCDEFLL, 8}, {VT_R8, 0x400921FB54442D18LL, 8},
        {VT_CY, 123456789, 8}, {VT_DATE, 0x40E5F5C000000000LL, 8},
    };
    for (const Row& r : rows) {
        // Only the type's own bytes are significant; the rest of the union is zero.
        const int64_t bits = r.valueBytes == 8 ? r.bits
                           : r.valueBytes ? int64_t(uint64_t(r.bits) & ((uint64_t(1) << (8 * r.valueBytes)) - 1))
                                          : 0;
        Variant out;
        std::vector<uint8_t> bytes;
        ASSERT_EQ(roundTrip(typed(r.vt, bits), out, &bytes), S_OK) << r.vt;
        EXPECT_EQ(bytes.size(), 2 + r.valueBytes) << r.vt;
        EXPECT_EQ(bytes[0], r.vt & 0xFF);
        EXPECT_EQ(out.type(), r.vt);
        EXPECT_EQ(out.get().llVal, bits) << r.vt;
    }
}

TEST(VariantStream, StringsKeepNullEmptyAndTextApart)
{
    Variant out;
    std::vector<uint8_t> bytes;
    ASSERT_EQ(roundTrip(Variant::fromString("ab"), out, &bytes), S_OK);
    EXPECT_EQ(bytes, Bytes().u16(VT_BSTR).u32(6).u16('a').u16('b').u16(0).b);
    EXPECT_EQ(out.toString(), "ab");

    ASSERT_EQ(roundTrip(Variant::fromString(""), out, &bytes), S_OK);
    EXPECT_EQ(bytes, Bytes().u16(VT_BSTR).u32(2).u16(0).b);
    ASSERT_NE(out.get().bstrVal, nullptr);
    EXPECT_EQ(SysStringLen(out.get().bstrVal), 0u);

    VARIANT null;
    VariantInit(&null);
    null.vt = VT_BSTR;
    null.bstrVal = nullptr;
    ASSERT_EQ(roundTrip(Variant(null), out, &bytes), S_OK);
    EXPECT_EQ(bytes, Bytes().u16(VT_BSTR).u32(0).b);
    EXPECT_EQ(out.type(), VT_BSTR);
    EXPECT_EQ(out.get().bstrVal, nullptr);

    ASSERT_EQ(roundTrip(Variant::fromString("\xE2\x82\xAC 5"), out), S_OK);
    EXPECT_EQ(out.toString(), "\xE2\x82\xAC 5");
}

TEST(VariantStream, ObjectsPersistAsClassIdAndTheirOwnStream)
{
    ComPtr<IFontDisp> font;
    ASSERT_EQ(createFont("Arial", 10, font.put()), S_OK);
    Variant out;
    std::vector<uint8_t> bytes;
    ASSERT_EQ(roundTrip(Variant::fromDispatch(font.get()), out, &bytes), S_OK);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 2, bytes.begin() + 18), Bytes().guid(CLSID_StdFont).b);
    ASSERT_EQ(out.type(), VT_DISPATCH);
    ComPtr<IFont> loaded = ComPtr<IDispatch>(out.get().pdispVal).as<IFont>(IID_IFont);
    ASSERT_TRUE(loaded);
    ComPtr<IFont> original = font.as<IFont>(IID_IFont);
    EXPECT_EQ(original->IsEqual(loaded.get()), S_OK);
    EXPECT_NE(loaded.get(), original.get());

    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(qRgb(10, 20, 30));
    ComPtr<IPictureDisp> picture;
    ASSERT_EQ(createPicture(image, picture.put()), S_OK);
    ASSERT_EQ(roundTrip(Variant::fromUnknown(picture.get()), out), S_OK);
    ASSERT_EQ(out.type(), VT_UNKNOWN);
    EXPECT_EQ(pictureType(out.get().punkVal), PICTYPE_BITMAP);
    EXPECT_EQ(qimageOf(out.get().punkVal), qimageOf(picture.get()));

    ASSERT_EQ(roundTrip(Variant::fromDispatch(nullptr), out, &bytes), S_OK);
    EXPECT_EQ(bytes, Bytes().u16(VT_DISPATCH).guid(GUID_NULL).b);
    EXPECT_EQ(out.type(), VT_DISPATCH);
    EXPECT_EQ(out.get().pdispVal, nullptr);
}

TEST(VariantStream, UnwritableValuesLeaveTheStreamUntouched)
{
    auto s = MemoryStream::create();
    EXPECT_EQ(writeVariant(s.get(), typed(VT_BYREF | VT_I4, 0).get()), DISP_E_BADVARTYPE);
    EXPECT_EQ(writeVariant(s.get(), typed(VT_DECIMAL, 0).get()), DISP_E_BADVARTYPE);
    auto sink = make<Sink>();
    EXPECT_EQ(writeVariant(s.get(), Variant::fromUnknown(sink->unknown()).get()), E_NOINTERFACE);
    EXPECT_TRUE(s->bytes().empty());
}

TEST(VariantStream, HostileRecordsGiveErrorsNotCrashes)
{
    struct Row {
        const char* name;
        Bytes bytes;
        HRESULT hr;
    };
    const Row rows[] = {
        {"empty stream", Bytes(), STG_E_READFAULT},
        {"half a type", Bytes().u8(3), STG_E_READFAULT},
        {"long cut short", Bytes().u16(VT_I4).u16(1), STG_E_READFAULT},
        {"double cut short", Bytes().u16(VT_R8).u32(0), STG_E_READFAULT},
        {"string length beyond the stream", Bytes().u16(VT_BSTR).u32(0xFFFFFFF0).u16('a').u16(0), STG_E_READFAULT},
        {"string length one past", Bytes().u16(VT_BSTR).u32(6).u16('a').u16(0), STG_E_READFAULT},
        {"odd string length", Bytes().u16(VT_BSTR).u32(3).u16('a').u16(0), STG_E_READFAULT},
        {"string without room for a terminator", Bytes().u16(VT_BSTR).u32(1).u8(0), STG_E_READFAULT},
        {"string length cut short", Bytes().u16(VT_BSTR).u16(2), STG_E_READFAULT},
        {"unknown type", Bytes().u16(0x00FF).u32(0), DISP_E_BADVARTYPE},
        {"by-reference type", Bytes().u16(VT_BYREF | VT_I4).u32(0), DISP_E_BADVARTYPE},
        {"array type", Bytes().u16(VT_ARRAY | VT_I4).u32(0), DISP_E_BADVARTYPE},
        {"unknown class", Bytes().u16(VT_DISPATCH).guid(IID_IDispatch), REGDB_E_CLASSNOTREG},
        {"class id cut short", Bytes().u16(VT_UNKNOWN).u32(0x0BE35203), STG_E_READFAULT},
        {"font without data", Bytes().u16(VT_DISPATCH).guid(CLSID_StdFont), STG_E_READFAULT},
        {"font of a later version", Bytes().u16(VT_DISPATCH).guid(CLSID_StdFont).u8(2).u16(0).u8(0).u16(400).u32(80000).u8(0),
         E_FAIL},
        {"font name cut short", Bytes().u16(VT_DISPATCH).guid(CLSID_StdFont).u8(1).u16(0).u8(0).u16(400).u32(80000).u8(9).text("Ari"),
         STG_E_READFAULT},
        {"picture with a wrong tag", Bytes().u16(VT_DISPATCH).guid(CLSID_StdPicture).text("xt").u16(0).u32(0),
         CTL_E_INVALIDPICTURE},
        {"picture size beyond the stream", Bytes().u16(VT_DISPATCH).guid(CLSID_StdPicture).text("lt").u16(0).u32(0xFFFFFFFF).text("BM"),
         STG_E_READFAULT},
        {"picture bytes that are no image", Bytes().u16(VT_DISPATCH).guid(CLSID_StdPicture).text("lt").u16(0).u32(6).text("BMnope"),
         CTL_E_INVALIDPICTURE},
    };
    for (const Row& r : rows) {
        VARIANT out;
        VariantInit(&out);
        out.vt = VT_I4;
        EXPECT_EQ(readVariant(r.bytes.stream().get(), &out), r.hr) << r.name;
        EXPECT_EQ(out.vt, VT_EMPTY) << r.name << ": a failed read leaves an empty VARIANT";
    }
}

TEST(VariantStream, LoadObjectGivesNullForTheNullClass)
{
    ComPtr<IUnknown> obj;
    EXPECT_EQ(loadObject(Bytes().guid(GUID_NULL).stream().get(), obj.put()), S_OK);
    EXPECT_FALSE(obj);
    EXPECT_EQ(createStdObject(IID_IDispatch, IID_IUnknown, obj.putVoid()), REGDB_E_CLASSNOTREG);
    EXPECT_FALSE(obj);
    EXPECT_EQ(createStdObject(CLSID_StdFont, IID_IStream, obj.putVoid()), E_NOINTERFACE);
    ComPtr<IPersistStream> ps;
    ASSERT_EQ(createStdObject(CLSID_StdPicture, IID_IPersistStream, ps.putVoid()), S_OK);
    CLSID clsid{};
    ASSERT_EQ(ps->GetClassID(&clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_StdPicture);
}
