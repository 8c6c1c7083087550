#include "draw_test_support.h"
#include <gtest/gtest.h>

using namespace vyr;
using namespace vyr::controls::draw;
using namespace vyr::controls::draw::test;
using namespace vyr::gdi;

namespace {

const QRgb kRed = qRgb(255, 0, 0);
const OLE_COLOR kOleRed = 0x000000FF;
const QRgb kTile = qRgb(0, 160, 0);

struct Face {
    QRect bounds{10, 10, 60, 30};
    QRect update;
    int style = kStyleNormal;
    int captionPosition = 4, picturePosition = 4;
    std::string caption;
    OLE_COLOR fore = 0x80000012, back = kOleRed;
    IUnknown* picture = nullptr;
    IUnknown* backPicture = nullptr;
    bool pressed = false, enabled = true, focused = false;
};

QImage drawFace(const Face& f, bool* dirty = nullptr)
{
    QImage image = canvas(80, 50);
    QPainter p(&image);
    QFont font("DejaVu Sans");
    font.setPixelSize(12);
    DrawButtonFace(p, f.bounds, f.update, f.style, f.captionPosition, f.picturePosition, f.caption, f.fore, f.back,
                   &font, f.picture, f.backPicture, f.pressed, f.enabled, f.focused, dirty);
    return image;
}

} // namespace

TEST(DrawButtonFace, NormalFaceEdgeAndBackground)
{
    Face f;
    bool dirty = true;
    const QImage up = drawFace(f, &dirty);
    EXPECT_FALSE(dirty) << "drawing clears the dirty mark";
    EXPECT_EQ(up.pixel(11, 11), sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(up.pixel(69, 39), sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(up.pixel(40, 25), kRed);
    EXPECT_EQ(up.pixel(9, 9), kCanvas);
    EXPECT_EQ(up.pixel(70, 40), kCanvas);
    f.pressed = true;
    const QImage down = drawFace(f);
    EXPECT_EQ(down.pixel(10, 10), sys(COLOR_BTNSHADOW));
    EXPECT_EQ(down.pixel(11, 11), sys(COLOR_3DDKSHADOW));
}

TEST(DrawButtonFace, BoundsNarrowerThanTwoPixelsAreFilledFlat)
{
    Face f;
    f.bounds = QRect(10, 10, 1, 30);
    const QImage image = drawFace(f);
    for (int y = 10; y < 40; ++y)
        EXPECT_EQ(image.pixel(10, y), sys(COLOR_BTNFACE)) << y;
    EXPECT_EQ(image.pixel(11, 20), kCanvas);
}

TEST(DrawButtonFace, OnlyTheUpdateRectangleIsCopied)
{
    Face f;
    f.update = QRect(10, 10, 20, 30);
    const QImage image = drawFace(f);
    EXPECT_EQ(image.pixel(20, 25), kRed);
    EXPECT_EQ(image.pixel(29, 25), kRed);
    EXPECT_EQ(image.pixel(30, 25), kCanvas);
    f.update = QRect(100, 100, 5, 5);
    EXPECT_EQ(inkOf(drawFace(f), kCanvas), QRect()) << "an update outside the bounds copies nothing";
}

TEST(DrawButtonFace, KeyColouredPicturePixelShowsTheFaceNotTheBackPicture)
{
    QImage bitmap = solid(8, 8, qRgb(0, 0, 255));
    bitmap.setPixel(3, 3, 0xFFC0C0C0);
    const auto picture = pictureOf(bitmap);
    const auto back = pictureOf(solid(5, 5, kTile));
    Face f;
    f.picture = picture.get();
    f.backPicture = back.get();
    f.picturePosition = 0; // inner (12, 12) + 3: picture at (15, 15)
    const QImage image = drawFace(f);
    EXPECT_EQ(image.pixel(15 + 3, 15 + 3), sys(COLOR_BTNFACE));
    EXPECT_EQ(image.pixel(15, 15), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(40, 25), kTile) << "the back picture, not the back colour, fills the face";
}

TEST(DrawButtonFace, PictureAtARightHandPositionEndsOnePixelInside)
{
    const auto picture = pictureOf(solid(8, 8, qRgb(0, 0, 255)));
    Face f;
    f.picture = picture.get();
    f.picturePosition = 5; // inner right edge 68 (exclusive): picture columns 59..66
    const QImage image = drawFace(f);
    EXPECT_EQ(image.pixel(59, 25), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(66, 25), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(67, 25), kRed);
    EXPECT_EQ(image.pixel(58, 25), kRed);
    f.pressed = true;
    EXPECT_EQ(drawFace(f).pixel(67, 26), qRgb(0, 0, 255)) << "pressed moves it one pixel";
}

TEST(DrawButtonFace, RoundAndDiamondShapes)
{
    Face f;
    f.bounds = QRect(10, 10, 40, 30); // inner (12, 12) 36 x 26: square 26 x 26
    for (const int style : {kStyleCircle, kStyleRhomb}) {
        f.style = style;
        const QImage image = drawFace(f);
        EXPECT_EQ(image.pixel(25, 25), kRed) << style << ": back colour inside the shape";
        EXPECT_EQ(image.pixel(13, 13), sys(COLOR_BTNFACE)) << style << ": button face outside it";
        EXPECT_EQ(image.pixel(45, 25), sys(COLOR_BTNFACE)) << style << ": and right of the square";
        EXPECT_EQ(image.pixel(10, 10), sys(COLOR_BTNFACE)) << style << ": no rectangular edge";
    }
    f.style = kStyleRhomb;
    EXPECT_EQ(drawFace(f).pixel(12, 25), qRgb(255, 255, 255)) << "the diamond's left corner";
    f.style = kStyleCircle;
    EXPECT_EQ(drawFace(f).pixel(12 + 26, 25), qRgb(91, 91, 91)) << "the ring's rightmost pixel";
}

TEST(DrawButtonFace, FlatFaceHasNoEdgeAndUnknownStylesDrawNormal)
{
    Face f;
    f.style = kStyleFlat;
    EXPECT_EQ(drawFace(f).pixel(10, 10), kRed);
    f.style = 7;
    EXPECT_EQ(drawFace(f).pixel(11, 11), sys(COLOR_BTNHIGHLIGHT));
}

TEST(DrawButtonFace, FocusMarkThreePixelsIn)
{
    Face f;
    f.back = 0x00FFFFFF;
    f.focused = true;
    const QImage image = drawFace(f);
    EXPECT_EQ(image.pixel(13, 13), qRgb(0, 0, 0)); // x + y even: a dot
    EXPECT_EQ(image.pixel(14, 13), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(14, 14), qRgb(255, 255, 255)) << "inside the mark";
}

TEST(DrawButtonFace, DisabledIsEmbossedAndEtched)
{
    Face f;
    f.back = 0x8000000F;
    f.caption = "I";
    f.enabled = false;
    const QImage image = drawFace(f);
    EXPECT_EQ(image.pixel(10, 10), sys(COLOR_BTNSHADOW)) << "etched outer ring";
    EXPECT_EQ(image.pixel(11, 11), sys(COLOR_BTNHIGHLIGHT)) << "etched inner ring";
    EXPECT_EQ(image.pixel(40, 15), sys(COLOR_BTNFACE));
    // The caption comes out in the shadow colour only: no black is left.
    int shadow = 0;
    for (int y = 13; y < 37; ++y)
        for (int x = 13; x < 67; ++x) {
            ASSERT_NE(image.pixel(x, y), qRgb(0, 0, 0));
            shadow += image.pixel(x, y) == sys(COLOR_BTNSHADOW);
        }
    EXPECT_GT(shadow, 5);
}
