#include "draw_test_support.h"
#include "platform/com/streamio.h"
#include <QBuffer>
#include <gtest/gtest.h>

using namespace vyr;
using namespace vyr::controls::draw;
using namespace vyr::controls::draw::test;
using namespace vyr::gdi;

namespace {

const QRgb kRed = qRgb(255, 0, 0);

// A 10 x 6 red picture whose top-left pixel is blue, so its placement can be read off.
com::ComPtr<IPictureDisp> marker()
{
    QImage image = solid(10, 6, kRed);
    image.setPixel(0, 0, qRgb(0, 0, 255));
    return pictureOf(image);
}

// Where the marker's blue corner landed.
QPoint cornerOf(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == qRgb(0, 0, 255))
                return {x, y};
    return {-1, -1};
}

com::ComPtr<IPictureDisp> icon(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, "ICO"));
    com::ComPtr<IPictureDisp> p;
    EXPECT_EQ(com::loadPictureBytes(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()), p.put()),
              S_OK);
    return p;
}

} // namespace

TEST(PlacePicture, NinePositionsAndTheRest)
{
    // rect (20, 10)-(120, 70) exclusive; picture 10 x 6.
    struct Row {
        int position;
        bool pressed;
        QPoint corner;
    };
    const Row rows[] = {
        {0, false, {23, 13}}, {1, false, {65, 13}},  {2, false, {109, 13}},
        {3, false, {23, 37}}, {4, false, {65, 37}},  {5, false, {109, 37}},
        {6, false, {23, 63}}, {7, false, {65, 63}},  {8, false, {109, 63}},
        {4, true, {66, 38}},  {8, true, {110, 64}},
        {9, false, {20, 10}}, {-1, false, {20, 10}}, {-1, true, {21, 11}},
    };
    const auto picture = marker();
    for (const Row& r : rows) {
        QImage image = canvas(130, 80);
        QPainter p(&image);
        PlacePicture(p, picture.get(), QRect(20, 10, 100, 60), QRect(), r.position, false, r.pressed);
        p.end();
        EXPECT_EQ(cornerOf(image), r.corner) << "position " << r.position << (r.pressed ? " pressed" : "");
    }
}

TEST(PlacePicture, RightHandPositionEndsOnePixelInsideTheBorder)
{
    QImage image = canvas(130, 80);
    QPainter p(&image);
    PlacePicture(p, marker().get(), QRect(20, 10, 100, 60), QRect(), 5, false, false);
    p.end();
    EXPECT_EQ(image.pixel(118, 40), kRed) << "last picture column: right border 120 - 1 - 1";
    EXPECT_EQ(image.pixel(119, 40), kCanvas);
}

TEST(PlacePicture, RenderDirectIsClipped)
{
    QImage image = canvas(60, 40);
    QPainter p(&image);
    PlacePicture(p, marker().get(), QRect(0, 0, 60, 40), QRect(0, 0, 30, 40), 4, true, false);
    p.end();
    EXPECT_EQ(cornerOf(image), QPoint(25, 17));
    EXPECT_EQ(image.pixel(29, 20), kRed);
    EXPECT_EQ(image.pixel(30, 20), kCanvas) << "clipped at x 30";
}

TEST(PlacePicture, NothingWithoutAPicture)
{
    QImage image = canvas(20, 20);
    QPainter p(&image);
    PlacePicture(p, nullptr, QRect(0, 0, 20, 20), QRect(), 4, false, false);
    com::ComPtr<IUnknown> empty;
    ASSERT_EQ(com::createStdObject(CLSID_StdPicture, IID_IUnknown, empty.putVoid()), S_OK);
    PlacePicture(p, empty.get(), QRect(0, 0, 20, 20), QRect(), 4, false, false);
    PlacePicture(p, pictureOf(QImage()).get(), QRect(0, 0, 20, 20), QRect(), 4, true, false);
    p.end();
    EXPECT_EQ(inkOf(image, kCanvas), QRect());
}

TEST(DrawPictureTransparent, KeyColourShowsTheButtonFace)
{
    QImage bitmap = solid(4, 4, kRed);
    bitmap.setPixel(1, 1, 0xFFC0C0C0);
    const auto picture = pictureOf(bitmap);
    QImage image = canvas(12, 12);
    QPainter p(&image);
    DrawPictureTransparent(p, QRect(2, 2, 4, 4), QRect(), picture.get(), true);
    DrawPictureTransparent(p, QRect(6, 6, 4, 4), QRect(), picture.get(), false);
    p.end();
    EXPECT_EQ(image.pixel(3, 3), sys(COLOR_BTNFACE));
    EXPECT_EQ(image.pixel(2, 2), kRed);
    EXPECT_EQ(image.pixel(7, 7), 0xFFC0C0C0) << "without transparency the key is just a colour";
}

TEST(DrawPictureTransparent, CentredOnTheFaceAndClipped)
{
    const auto picture = pictureOf(solid(2, 2, kRed));
    QImage image = canvas(12, 12);
    QPainter p(&image);
    DrawPictureTransparent(p, QRect(0, 0, 6, 6), QRect(0, 0, 3, 6), picture.get(), true);
    p.end();
    EXPECT_EQ(image.pixel(0, 0), sys(COLOR_BTNFACE)) << "the margin round a smaller bitmap is face";
    EXPECT_EQ(image.pixel(2, 2), kRed);
    EXPECT_EQ(image.pixel(3, 2), kCanvas) << "clipped";
}

TEST(DrawPictureTransparent, IconsKeepTheirOwnTransparencyAtIconSize)
{
    QImage glyph(16, 16, QImage::Format_ARGB32);
    glyph.fill(Qt::transparent);
    for (int i = 4; i < 12; ++i)
        for (int j = 4; j < 12; ++j)
            glyph.setPixel(i, j, qRgba(0, 128, 0, 255));
    const auto picture = icon(glyph);
    ASSERT_EQ(com::pictureType(picture.get()), PICTYPE_ICON);
    QImage image = canvas(40, 40);
    QPainter p(&image);
    DrawPictureTransparent(p, QRect(2, 2, 16, 16), QRect(), picture.get(), true);
    p.end();
    EXPECT_EQ(image.pixel(3, 3), kCanvas) << "transparent icon pixels show what is beneath";
    EXPECT_EQ(image.pixel(2 + 16, 2 + 16), qRgb(0, 128, 0)) << "drawn at 32 x 32, the middle scaled up";
    EXPECT_EQ(image.pixel(2 + 31, 2 + 31), kCanvas);
}

TEST(TileBackPicture, TilesFromTheCornerOrTheTopLevelGrid)
{
    QImage tile = solid(4, 4, kRed);
    tile.setPixel(0, 0, qRgb(0, 0, 255));
    const auto picture = pictureOf(tile);
    const QRgb blue = qRgb(0, 0, 255);
    struct Row {
        const char* name;
        bool align;
        std::optional<QPoint> offset;
        std::vector<QPoint> blues;
    };
    const Row rows[] = {
        {"from the corner", false, std::nullopt, {{10, 10}, {14, 10}, {10, 26}, {26, 26}}},
        {"aligned without a window", true, std::nullopt, {{10, 10}, {14, 14}}},
        // Widget at (3, 5) in its window: grid lines where x + 3 and y + 5 are multiples of 4.
        {"aligned to the window", true, QPoint(3, 5), {{13, 11}, {17, 11}, {13, 15}, {29, 27}}},
    };
    for (const Row& r : rows) {
        QImage image = canvas(40, 40);
        QPainter p(&image);
        TileBackPicture(p, picture.get(), QRect(10, 10, 20, 20), QRect(), r.align, r.offset);
        p.end();
        for (const QPoint& at : r.blues)
            EXPECT_EQ(image.pixel(at), blue) << r.name << " " << at.x() << "," << at.y();
        EXPECT_EQ(image.pixel(9, 15), kCanvas) << r.name;
        EXPECT_EQ(image.pixel(30, 15), kCanvas) << r.name;
        EXPECT_EQ(image.pixel(15, 30), kCanvas) << r.name;
        EXPECT_EQ(inkOf(image, kCanvas), QRect(10, 10, 20, 20)) << r.name << ": the whole rectangle, no more";
    }
    QImage image = canvas(40, 40);
    QPainter p(&image);
    TileBackPicture(p, picture.get(), QRect(10, 10, 20, 20), QRect(0, 0, 15, 40), false);
    p.end();
    EXPECT_EQ(inkOf(image, kCanvas), QRect(10, 10, 5, 20)) << "and within the clip";
}

TEST(TileBackPicture, IconsTileAtTheSystemIconSize)
{
    QImage glyph(16, 16, QImage::Format_ARGB32);
    glyph.fill(qRgba(0, 128, 0, 255));
    const auto picture = icon(glyph);
    QImage image = canvas(80, 40);
    QPainter p(&image);
    TileBackPicture(p, picture.get(), QRect(0, 0, 70, 40), QRect(), false);
    p.end();
    EXPECT_EQ(image.pixel(69, 39), qRgb(0, 128, 0));
    EXPECT_EQ(image.pixel(70, 39), kCanvas);
}

TEST(ScalePictureToFit, KeepsTheAspectRatio)
{
    struct Row {
        QSize source, box, expected;
    };
    for (const Row& r : {Row{{40, 20}, {10, 10}, {10, 5}}, Row{{20, 40}, {10, 10}, {5, 10}},
                         Row{{1000, 1}, {10, 10}, {10, 1}}, Row{{3, 3}, {30, 12}, {12, 12}},
                         Row{{8, 8}, {8, 8}, {8, 8}}}) {
        const auto scaled = ScalePictureToFit(pictureOf(solid(r.source.width(), r.source.height(), kRed)).get(),
                                              r.box.width(), r.box.height());
        ASSERT_TRUE(scaled);
        EXPECT_EQ(com::pictureType(scaled.get()), PICTYPE_BITMAP);
        EXPECT_EQ(com::qimageOf(scaled.get()).size(), r.expected) << r.source.width() << "x" << r.source.height();
        EXPECT_EQ(com::qimageOf(scaled.get()).pixel(0, 0), kRed);
    }
    EXPECT_FALSE(ScalePictureToFit(pictureOf(solid(4, 4, kRed)).get(), 0, 10));
    EXPECT_FALSE(ScalePictureToFit(nullptr, 10, 10));
    EXPECT_FALSE(ScalePictureToFit(icon(solid(16, 16, kRed)).get(), 10, 10)) << "icons are not scaled";
}

TEST(DrawDisabledBitmap, DrawingBecomesShadowOverHighlight)
{
    const QRgb face = sys(COLOR_BTNFACE);
    QImage source = solid(10, 10, qRgb(0, 0, 200)); // the face's back colour
    source.setPixel(4, 4, qRgb(0, 0, 0));
    source.setPixel(7, 2, face);
    QImage image = canvas(20, 20);
    QPainter p(&image);
    DrawDisabledBitmap(p, 5, 5, 10, 10, source, 0, 0, QColor(0, 0, 200));
    DrawDisabledBitmap(p, 0, 0, 0, 10, source, 0, 0, QColor(0, 0, 200)); // empty: nothing
    p.end();
    EXPECT_EQ(image.pixel(5 + 4, 5 + 4), sys(COLOR_BTNSHADOW));
    EXPECT_EQ(image.pixel(5 + 5, 5 + 5), sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(image.pixel(5 + 1, 5 + 1), face) << "back colour is background";
    EXPECT_EQ(image.pixel(5 + 7, 5 + 2), face) << "so is the face colour";
    EXPECT_EQ(image.pixel(0, 0), kCanvas);
}
