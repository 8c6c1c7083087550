#include "platform/com/picture.h"
#include "stream_bytes.h"
#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vyr::com;
using vyr::com::test::Bytes;

namespace {

std::vector<uint8_t> encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format));
    return {bytes.begin(), bytes.end()};
}

QImage quadrants(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, y < h / 2 ? (x < w / 2 ? qRgb(255, 0, 0) : qRgb(0, 255, 0))
                                           : (x < w / 2 ? qRgb(0, 0, 255) : qRgb(255, 255, 255)));
    return image;
}

// An icon file whose images are 32-bit DIBs of one colour each.
std::vector<uint8_t> iconFile(const std::vector<std::pair<int, QRgb>>& images)
{
    Bytes b;
    b.u16(0).u16(1).u16(uint16_t(images.size()));
    uint32_t offset = 6 + 16 * uint32_t(images.size());
    std::vector<uint32_t> sizes;
    for (const auto& [side, colour] : images) {
        const uint32_t maskRow = uint32_t((side + 31) / 32 * 4);
        const uint32_t size = 40 + uint32_t(side * side * 4) + maskRow * uint32_t(side);
        b.u8(uint8_t(side)).u8(uint8_t(side)).u8(0).u8(0).u16(1).u16(32).u32(size).u32(offset);
        offset += size;
        sizes.push_back(size);
    }
    for (const auto& [side, colour] : images) {
        b.u32(40).u32(uint32_t(side)).u32(uint32_t(2 * side)).u16(1).u16(32).u32(0).u32(0).u32(0).u32(0).u32(0).u32(0);
        for (int i = 0; i < side * side; ++i)
            b.u8(uint8_t(qBlue(colour))).u8(uint8_t(qGreen(colour))).u8(uint8_t(qRed(colour))).u8(255);
        b.raw(std::vector<uint8_t>(size_t((side + 31) / 32 * 4 * side), 0));
    }
    return b.b;
}

ComPtr<IPicture> load(const std::vector<uint8_t>& file, HRESULT expected = S_OK)
{
    ComPtr<IPictureDisp> disp;
    EXPECT_EQ(loadPictureBytes(file.data(), file.size(), disp.put()), expected);
    return disp.as<IPicture>(IID_IPicture);
}

ComPtr<IPicture> fromImage(const QImage& image)
{
    ComPtr<IPictureDisp> disp;
    EXPECT_EQ(createPicture(image, disp.put()), S_OK);
    return disp.as<IPicture>(IID_IPicture);
}

std::vector<uint8_t> saved(IPicture* picture)
{
    auto s = MemoryStream::create();
    EXPECT_EQ(ComPtr<IPicture>(picture).as<IPersistStream>(IID_IPersistStream)->Save(s.get(), TRUE), S_OK);
    return s->bytes();
}

SHORT typeOf(IPicture* p)
{
    SHORT t = 99;
    p->get_Type(&t);
    return t;
}

} // namespace

TEST(StdPicture, LoadsBitmapsAndPngsWithTheirPixels)
{
    const QImage image = quadrants(6, 4);
    for (const char* format : {"BMP", "PNG"}) {
        auto p = load(encoded(image, format));
        ASSERT_TRUE(p) << format;
        EXPECT_EQ(typeOf(p.get()), PICTYPE_BITMAP) << format;
        const QImage back = qimageOf(p.get());
        EXPECT_EQ(back.size(), QSize(6, 4));
        EXPECT_EQ(back.pixel(0, 0), qRgb(255, 0, 0)) << format;
        EXPECT_EQ(back.pixel(5, 3), qRgb(255, 255, 255)) << format;
    }
}

TEST(StdPicture, HimetricSizeDividedBy25IsThePixelSize)
{
    for (const int side : {1, 16, 17, 32, 33, 100, 640}) {
        auto p = fromImage(quadrants(side, side + 1));
        OLE_XSIZE_HIMETRIC w = 0;
        OLE_YSIZE_HIMETRIC h = 0;
        p->get_Width(&w);
        p->get_Height(&h);
        EXPECT_EQ(w / 25, side);
        EXPECT_EQ(h / 25, side + 1);
    }
}

TEST(StdPicture, IconFileGivesTheSystemSizeImage)
{
    auto p = load(iconFile({{16, qRgb(255, 0, 0)}, {32, qRgb(0, 128, 0)}, {48, qRgb(0, 0, 255)}}));
    ASSERT_TRUE(p);
    EXPECT_EQ(typeOf(p.get()), PICTYPE_ICON);
    const QImage image = qimageOf(p.get());
    EXPECT_EQ(image.size(), QSize(32, 32));
    EXPECT_EQ(image.pixel(5, 5), qRgb(0, 128, 0));
    DWORD attributes = 0;
    p->get_Attributes(&attributes);
    EXPECT_EQ(attributes, PICTURE_TRANSPARENT);

    auto other = load(iconFile({{16, qRgb(255, 0, 0)}, {48, qRgb(0, 0, 255)}}));
    ASSERT_TRUE(other);
    EXPECT_EQ(qimageOf(other.get()).size(), QSize(16, 16)) << "without a 32-pixel image the first is taken";
}

TEST(StdPicture, LoadedFilesSaveTheirOwnBytes)
{
    const auto png = encoded(quadrants(4, 4), "PNG");
    auto p = load(png);
    const auto bytes = saved(p.get());
    EXPECT_EQ(bytes, Bytes().text("lt").u16(0).u32(uint32_t(png.size())).raw(png).b);

    auto s = MemoryStream::create();
    LONG size = 0;
    ASSERT_EQ(p->SaveAsFile(s.get(), TRUE, &size), S_OK);
    EXPECT_EQ(size, LONG(png.size()));
    EXPECT_EQ(s->bytes(), png);

    p->put_KeepOriginalFormat(FALSE);
    const auto converted = saved(p.get());
    EXPECT_EQ(converted[8], 'B');
    EXPECT_EQ(converted[9], 'M');
}

TEST(StdPicture, PicturesFromPixelsSaveAsBitmapsAndLoadBack)
{
    const QImage image = quadrants(5, 3);
    auto p = fromImage(image);
    const auto bytes = saved(p.get());
    ASSERT_GT(bytes.size(), 10u);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 4), Bytes().text("lt").u16(0).b);
    EXPECT_EQ(bytes[8], 'B');

    ComPtr<IPicture> copy;
    ASSERT_EQ(createStdObject(CLSID_StdPicture, IID_IPicture, copy.putVoid()), S_OK);
    EXPECT_EQ(typeOf(copy.get()), PICTYPE_UNINITIALIZED);
    auto stream = MemoryStream::create(bytes);
    ASSERT_EQ(copy.as<IPersistStream>(IID_IPersistStream)->Load(stream.get()), S_OK);
    EXPECT_EQ(remainingBytes(stream.get()), 0u);
    EXPECT_EQ(qimageOf(copy.get()), qimageOf(p.get()));
}

TEST(StdPicture, EmptyPicturesSaveAZeroCount)
{
    ComPtr<IPicture> p;
    ASSERT_EQ(createStdObject(CLSID_StdPicture, IID_IPicture, p.putVoid()), S_OK);
    EXPECT_EQ(saved(p.get()), Bytes().text("lt").u16(0).u32(0).b);
    ASSERT_EQ(p.as<IPersistStream>(IID_IPersistStream)->Load(Bytes().text("lt").u16(0).u32(0).stream().get()), S_OK);
    EXPECT_EQ(typeOf(p.get()), PICTYPE_NONE);
    OLE_HANDLE h = 1;
    p->get_Handle(&h);
    EXPECT_EQ(h, 0u);
    EXPECT_EQ(p->SaveAsFile(MemoryStream::create().get(), TRUE, nullptr), E_FAIL);
    EXPECT_EQ(pictureType(nullptr), PICTYPE_NONE);
    EXPECT_TRUE(qimageOf(nullptr).isNull());
}

TEST(StdPicture, HostileDataIsRefusedAndThePictureKept)
{
    // A bitmap header that claims 100000 x 100000 pixels in a file of a few bytes.
    const auto huge = Bytes().text("BM").u32(70).u16(0).u16(0).u32(54)
                          .u32(40).u32(100000).u32(100000).u16(1).u16(24).u32(0).u32(0).u32(0).u32(0).u32(0).u32(0)
                          .raw(std::vector<uint8_t>(16, 0)).b;
    // Within the side limit, but 1 GB of pixels.
    const auto wide = Bytes().text("BM").u32(70).u16(0).u16(0).u32(54)
                          .u32(40).u32(16000).u32(16000).u16(1).u16(32).u32(0).u32(0).u32(0).u32(0).u32(0).u32(0)
                          .raw(std::vector<uint8_t>(16, 0)).b;
    auto png = encoded(quadrants(8, 8), "PNG");
    png.resize(png.size() / 2);
    const std::vector<uint8_t> notImages[] = {huge, wide, png, Bytes().text("GIF89a").u32(0).b,
                                              Bytes().u16(0).u16(1).u16(0).b};
    for (const auto& file : notImages)
        EXPECT_FALSE(load(file, CTL_E_INVALIDPICTURE));

    auto p = fromImage(quadrants(2, 2));
    auto ps = p.as<IPersistStream>(IID_IPersistStream);
    EXPECT_EQ(ps->Load(Bytes().text("lt").u16(0).u32(uint32_t(huge.size())).raw(huge).stream().get()),
              CTL_E_INVALIDPICTURE);
    EXPECT_EQ(ps->Load(Bytes().text("lt").u16(0).u32(0x7FFFFFFF).u32(0).stream().get()), STG_E_READFAULT);
    EXPECT_EQ(ps->Load(Bytes().text("lt").u16(0).stream().get()), STG_E_READFAULT);
    EXPECT_EQ(qimageOf(p.get()).size(), QSize(2, 2));
    EXPECT_EQ(typeOf(p.get()), PICTYPE_BITMAP);
}

TEST(StdPicture, FilesByPath)
{
    QTemporaryDir dir;
    const std::string path = (dir.path() + "/p.png").toStdString();
    ASSERT_TRUE(quadrants(3, 3).save(QString::fromStdString(path)));
    ComPtr<IPictureDisp> p;
    ASSERT_EQ(loadPictureFile(path, p.put()), S_OK);
    EXPECT_EQ(qimageOf(p.get()).size(), QSize(3, 3));
    EXPECT_EQ(loadPictureFile(path + ".missing", p.put()), STG_E_FILENOTFOUND);
    EXPECT_FALSE(p);
}

TEST(StdPicture, RenderTakesTheSourceRectangleBottomUp)
{
    auto p = fromImage(quadrants(2, 2));
    const LONG W = 2 * kHimetricPerPixel, H = 2 * kHimetricPerPixel;
    struct Row {
        const char* name;
        LONG x, y, cx, cy, xSrc, ySrc, cxSrc, cySrc;
        QPoint at;
        QRgb expected;
    };
    const QRgb red = qRgb(255, 0, 0), green = qRgb(0, 255, 0), blue = qRgb(0, 0, 255), white = qRgb(255, 255, 255);
    const Row rows[] = {
        {"upright", 0, 0, 2, 2, 0, H, W, -H, {0, 0}, red},
        {"upright bottom", 0, 0, 2, 2, 0, H, W, -H, {0, 1}, blue},
        {"positive source height flips", 0, 0, 2, 2, 0, 0, W, H, {0, 0}, blue},
        {"stretched", 0, 0, 4, 4, 0, H, W, -H, {3, 3}, white},
        {"negative width mirrors", 0, 0, 2, 2, 0, H, W, -H, {0, 0}, red},
        {"right column only", 1, 1, 1, 2, W / 2, H, W / 2, -H, {1, 1}, green},
        {"right column bottom", 1, 1, 1, 2, W / 2, H, W / 2, -H, {1, 2}, white},
        {"outside the target untouched", 1, 1, 1, 2, W / 2, H, W / 2, -H, {0, 0}, qRgb(9, 9, 9)},
    };
    for (const Row& r : rows) {
        QImage canvas(4, 4, QImage::Format_RGB32);
        canvas.fill(qRgb(9, 9, 9));
        QPainter painter(&canvas);
        const bool mirror = std::string(r.name) == "negative width mirrors";
        const LONG x = mirror ? 2 : r.x, cx = mirror ? -2 : r.cx;
        ASSERT_EQ(p->Render(reinterpret_cast<HDC>(&painter), x, r.y, cx, r.cy, r.xSrc, r.ySrc, r.cxSrc, r.cySrc,
                            nullptr),
                  S_OK)
            << r.name;
        painter.end();
        const QPoint at = mirror ? QPoint(1, 0) : r.at; // mirrored, red lands on the right
        EXPECT_EQ(canvas.pixel(at), r.expected) << r.name;
    }
    QImage canvas(2, 2, QImage::Format_RGB32);
    QPainter painter(&canvas);
    EXPECT_EQ(p->Render(nullptr, 0, 0, 2, 2, 0, H, W, -H, nullptr), E_INVALIDARG);
    EXPECT_EQ(p->Render(reinterpret_cast<HDC>(&painter), 0, 0, 0, 2, 0, H, W, -H, nullptr), E_INVALIDARG);
}

TEST(StdPicture, SelectedPainterDrawsIntoThePicture)
{
    auto p = load(encoded(quadrants(4, 4), "PNG"));
    OLE_HANDLE before = 0;
    p->get_Handle(&before);
    QPainter painter;
    HDC old = reinterpret_cast<HDC>(&old);
    OLE_HANDLE bitmap = 0;
    ASSERT_EQ(p->SelectPicture(reinterpret_cast<HDC>(&painter), &old, &bitmap), S_OK);
    EXPECT_EQ(old, nullptr);
    EXPECT_TRUE(painter.isActive());
    HDC current = nullptr;
    p->get_CurDC(&current);
    EXPECT_EQ(current, reinterpret_cast<HDC>(&painter));
    painter.fillRect(0, 0, 1, 1, Qt::black);
    ASSERT_EQ(p->SelectPicture(nullptr, &old, nullptr), S_OK);
    EXPECT_FALSE(painter.isActive());
    EXPECT_EQ(qimageOf(p.get()).pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_NE(bitmap, before) << "changed pixels get a new handle";
    EXPECT_EQ(saved(p.get())[8], 'B') << "changed pixels no longer save the original file";
}

TEST(StdPicture, DispatchReadsPropertiesAndRefusesReadOnlyPuts)
{
    auto p = fromImage(quadrants(4, 2));
    auto d = p.as<IDispatch>(IID_IDispatch);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    Variant r;
    ASSERT_EQ(d->Invoke(DISPID_PICT_TYPE, GUID_NULL, 0, DISPATCH_PROPERTYGET, &none, r.put(), nullptr, nullptr), S_OK);
    EXPECT_EQ(r.type(), VT_I2);
    EXPECT_EQ(r.get().iVal, PICTYPE_BITMAP);
    ASSERT_EQ(d->Invoke(DISPID_PICT_WIDTH, GUID_NULL, 0, DISPATCH_PROPERTYGET, &none, r.put(), nullptr, nullptr), S_OK);
    EXPECT_EQ(r.toLong(), 100);
    ASSERT_EQ(d->Invoke(DISPID_PICT_HEIGHT, GUID_NULL, 0, DISPATCH_PROPERTYGET, &none, r.put(), nullptr, nullptr), S_OK);
    EXPECT_EQ(r.toLong(), 50);

    VARIANT v = Variant::fromLong(5).detach();
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS one{&v, &put, 1, 1};
    EXPECT_EQ(d->Invoke(DISPID_PICT_WIDTH, GUID_NULL, 0, DISPATCH_PROPERTYPUT, &one, nullptr, nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);
    ASSERT_EQ(d->Invoke(DISPID_PICT_HPAL, GUID_NULL, 0, DISPATCH_PROPERTYPUT, &one, nullptr, nullptr, nullptr), S_OK);
    OLE_HANDLE pal = 0;
    p->get_hPal(&pal);
    EXPECT_EQ(pal, 5u);

    std::u16string name = u"height";
    LPOLESTR n = name.data();
    DISPID id = 0;
    EXPECT_EQ(d->GetIDsOfNames(GUID_NULL, &n, 1, 0, &id), S_OK);
    EXPECT_EQ(id, DISPID_PICT_HEIGHT);
}
