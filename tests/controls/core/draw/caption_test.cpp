#include "draw_test_support.h"
#include <QFontMetrics>
#include <gtest/gtest.h>

using namespace vyr::controls::draw;
using namespace vyr::controls::draw::test;

namespace {

const QRgb kWhite = qRgb(255, 255, 255);

QFont captionFont()
{
    QFont f("DejaVu Sans");
    f.setPixelSize(12);
    return f;
}

struct Drawn {
    QImage image;
    bool drawn;
};

Drawn caption(const std::string& text, QRect rect, int position, bool pressed = false, int style = kStyleNormal,
              bool enabled = true, bool multiLine = false, QRgb background = kWhite)
{
    QImage image = canvas(140, 80, background);
    QPainter p(&image);
    const QFont font = captionFont();
    const bool drawn =
        DrawCaptionText(p, text, &font, rect, position, 0x00000000, style, pressed, enabled, multiLine);
    return {image, drawn};
}

// Rows holding dark pixels, grouped into runs (one per text line).
std::vector<std::pair<int, int>> darkRows(const QImage& image)
{
    std::vector<std::pair<int, int>> runs;
    for (int y = 0; y < image.height(); ++y) {
        bool dark = false;
        for (int x = 0; x < image.width() && !dark; ++x)
            dark = qGray(image.pixel(x, y)) < 128;
        if (dark && !runs.empty() && runs.back().second == y - 1)
            runs.back().second = y;
        else if (dark)
            runs.push_back({y, y});
    }
    return runs;
}

} // namespace

TEST(DrawCaptionText, BackslashNBreaksTheLine)
{
    const Drawn one = caption("One Two", QRect(0, 0, 140, 80), 4);
    const Drawn two = caption("One\\nTwo", QRect(0, 0, 140, 80), 4);
    EXPECT_TRUE(two.drawn);
    EXPECT_EQ(darkRows(one.image).size(), 1u);
    const auto rows = darkRows(two.image);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_GE(rows[1].first - rows[0].first, QFontMetrics(captionFont()).height() - 1);
    EXPECT_LT(inkOf(two.image, kWhite).width(), inkOf(one.image, kWhite).width());
}

TEST(DrawCaptionText, NinePlacesInsideTheRectangle)
{
    // rect (10, 10)-(130, 70). The box is the measured text plus 4 and the text sits 2 inside
    // it, so the ink's offsets from the box are those of the centred caption.
    const QRect rect(10, 10, 120, 60);
    const QFontMetrics fm(captionFont());
    const int tw = fm.horizontalAdvance("Mg"), th = fm.height();
    const QRect centre = inkOf(caption("Mg", rect, 4).image, kWhite);
    const int inkX = centre.left() - ((10 + 130 - (tw + 4)) / 2 + 2);
    const int inkY = centre.top() - ((10 + 70 - (th + 4)) / 2 + 2);
    const int xs[3] = {10 + 2 + inkX, centre.left(), 130 - (tw + 4) + 2 + inkX};
    const int ys[3] = {10 + 2 + inkY, centre.top(), 70 - (th + 4) + 2 + inkY};
    for (int position = 0; position < 9; ++position) {
        const QRect ink = inkOf(caption("Mg", rect, position).image, kWhite);
        EXPECT_EQ(ink.topLeft(), QPoint(xs[position % 3], ys[position / 3])) << "position " << position;
        EXPECT_EQ(ink.size(), centre.size()) << "position " << position;
    }
    EXPECT_EQ(inkOf(caption("Mg", rect, 42).image, kWhite), centre) << "positions outside 0-8 centre the caption";
    EXPECT_EQ(inkOf(caption("Mg", rect, -3).image, kWhite), centre);
}

TEST(DrawCaptionText, PressedMovesTheTextByOnePixel)
{
    const QRect up = inkOf(caption("Mg", QRect(0, 0, 100, 40), 4).image, kWhite);
    const QRect down = inkOf(caption("Mg", QRect(0, 0, 100, 40), 4, true).image, kWhite);
    EXPECT_EQ(down, up.translated(1, 1));
}

TEST(DrawCaptionText, DisabledRoundAndDiamondFacesDrawTwice)
{
    const QRgb grey = qRgb(128, 128, 128);
    const QImage circle = caption("I", QRect(0, 0, 60, 40), 4, false, kStyleCircle, false, false, grey).image;
    const QImage normal = caption("I", QRect(0, 0, 60, 40), 4, false, kStyleNormal, false, false, grey).image;
    // A light pixel of the white pass with the dark pass one pixel right and down of it (the
    // text is antialiased, so "light" and "dark" are thresholds).
    const auto lightThenDark = [](const QImage& image) {
        for (int y = 0; y + 1 < image.height(); ++y)
            for (int x = 0; x + 1 < image.width(); ++x)
                if (qGray(image.pixel(x, y)) > 200 && qGray(image.pixel(x + 1, y + 1)) < 60)
                    return true;
        return false;
    };
    EXPECT_TRUE(lightThenDark(circle));
    EXPECT_FALSE(lightThenDark(normal)) << "a Normal face draws a disabled caption once";
    EXPECT_EQ(inkOf(circle, grey).bottomRight(), inkOf(normal, grey).bottomRight() + QPoint(1, 1));
}

TEST(DrawCaptionText, MultiLineWrapsAtTheWidth)
{
    const QRect rect(0, 0, QFontMetrics(captionFont()).horizontalAdvance("word") + 8, 80);
    EXPECT_EQ(darkRows(caption("word word", rect, 0, false, kStyleNormal, true, false).image).size(), 1u);
    EXPECT_EQ(darkRows(caption("word word", rect, 0, false, kStyleNormal, true, true).image).size(), 2u);
}

TEST(DrawCaptionText, EmptyTextDrawsNothingAndThePainterIsKept)
{
    QImage image = canvas(40, 40, kWhite);
    QPainter p(&image);
    p.setPen(QColor(1, 2, 3));
    p.setBackgroundMode(Qt::OpaqueMode);
    const QFont before = p.font();
    const QFont font = captionFont();
    EXPECT_FALSE(DrawCaptionText(p, "", &font, QRect(0, 0, 40, 40), 4, 0, kStyleNormal, false, true, false));
    EXPECT_TRUE(DrawCaptionText(p, "x", &font, QRect(0, 0, 40, 40), 4, 0x000000FF, kStyleNormal, false, true, false));
    EXPECT_EQ(p.pen().color(), QColor(1, 2, 3));
    EXPECT_EQ(p.backgroundMode(), Qt::OpaqueMode);
    EXPECT_EQ(p.font(), before);
    p.end();
    bool red = false;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            red = red || image.pixel(x, y) == qRgb(255, 0, 0);
    EXPECT_TRUE(red) << "the OLE colour 0x000000FF is red";
}
