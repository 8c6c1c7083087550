#include "platform/gdi/text.h"
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

using namespace vyr::gdi;

namespace {

QFont testFont()
{
    QFont f("DejaVu Sans");
    f.setPixelSize(12);
    return f;
}

struct Canvas {
    QImage image{120, 60, QImage::Format_RGB32};
    Canvas() { image.fill(Qt::white); }
};

// Draws with black text on white and returns the image.
QImage drawText(const QString& text, QRect rect, UINT format, int* height = nullptr)
{
    Canvas c;
    QPainter p(&c.image);
    p.setFont(testFont());
    p.setPen(Qt::black);
    const int h = DrawText(p, text, rect, format);
    if (height)
        *height = h;
    return c.image;
}

QRect calc(const QString& text, QRect rect, UINT format)
{
    Canvas c;
    QPainter p(&c.image);
    p.setFont(testFont());
    DrawText(p, text, rect, format | DT_CALCRECT);
    p.end();
    EXPECT_EQ(c.image.pixel(5, 5), qRgb(255, 255, 255)) << "measuring draws nothing";
    return rect;
}

// The bounding box of the dark pixels.
QRect ink(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 160)
                box |= QRect(x, y, 1, 1);
    return box;
}

// Rows holding dark pixels, grouped into runs (one run per text line).
std::vector<std::pair<int, int>> inkRows(const QImage& image)
{
    std::vector<std::pair<int, int>> runs;
    for (int y = 0; y < image.height(); ++y) {
        bool dark = false;
        for (int x = 0; x < image.width() && !dark; ++x)
            dark = qGray(image.pixel(x, y)) < 160;
        if (dark && !runs.empty() && runs.back().second == y - 1)
            runs.back().second = y;
        else if (dark)
            runs.push_back({y, y});
    }
    return runs;
}

const QFontMetrics& fm()
{
    static const QFontMetrics m(testFont());
    return m;
}

} // namespace

TEST(DrawText, MeasuresLinesAndPrefixes)
{
    const int lh = fm().height();
    struct Row {
        const char* name;
        QString text;
        UINT format;
        int width;
        int lines;
    };
    const Row rows[] = {
        {"plain", "Hello", DT_SINGLELINE, fm().horizontalAdvance("Hello"), 1},
        {"mnemonic marker not measured", "&File", DT_SINGLELINE, fm().horizontalAdvance("File"), 1},
        {"double ampersand is one", "a&&b", DT_SINGLELINE, fm().horizontalAdvance("a&b"), 1},
        {"no prefix keeps markers", "&File", DT_SINGLELINE | DT_NOPREFIX, fm().horizontalAdvance("&File"), 1},
        {"two lines", "ab\r\ncdef", 0, fm().horizontalAdvance("cdef"), 2},
        {"bare line feeds break too", "ab\ncd\rx", 0, fm().horizontalAdvance("ab"), 3},
        {"final break adds no line", "ab\r\n", 0, fm().horizontalAdvance("ab"), 1},
        {"empty line between", "ab\r\n\r\ncd", 0, fm().horizontalAdvance("ab"), 3},
        {"single line drops breaks", "ab\r\ncd", DT_SINGLELINE, fm().horizontalAdvance("abcd"), 1},
        {"empty text", "", 0, 0, 0},
    };
    for (const Row& r : rows) {
        const QRect out = calc(r.text, QRect(5, 7, 100, 10), r.format);
        EXPECT_EQ(out.topLeft(), QPoint(5, 7)) << r.name;
        EXPECT_EQ(out.width(), r.width) << r.name;
        EXPECT_EQ(out.height(), r.lines * lh) << r.name;
    }
}

TEST(DrawText, WordBreakAtSpacesWithinTheWidth)
{
    const int lh = fm().height();
    const int word = fm().horizontalAdvance("aaa");
    QRect r = calc("aaa aaa aaa", QRect(0, 0, word + 2, 0), DT_WORDBREAK);
    EXPECT_EQ(r.height(), 3 * lh);
    EXPECT_EQ(r.width(), word) << "the spaces at the breaks vanish";
    r = calc("aaa bbb ccc", QRect(0, 0, fm().horizontalAdvance("aaa bbb"), 0), DT_WORDBREAK);
    EXPECT_EQ(r.height(), 2 * lh);
    const int longWord = fm().horizontalAdvance("abcdefghij");
    r = calc("x abcdefghij y", QRect(0, 0, 20, 0), DT_WORDBREAK);
    EXPECT_EQ(r.height(), 3 * lh);
    EXPECT_EQ(r.width(), longWord) << "a word wider than the rectangle stays whole and widens it";
    r = calc("aaa bbb", QRect(0, 0, 5, 0), DT_WORDBREAK | DT_SINGLELINE);
    EXPECT_EQ(r.height(), lh) << "single line ignores word breaks";
}

TEST(DrawText, TabStops)
{
    const int avg = fm().averageCharWidth();
    const int b = fm().horizontalAdvance("b");
    EXPECT_EQ(calc("a\tb", QRect(0, 0, 100, 0), DT_SINGLELINE | DT_EXPANDTABS).width(), 8 * avg + b);
    // With DT_TABSTOP the high byte is the tab size (so DT_CALCRECT cannot be used with it):
    // "b" lands three average characters in.
    const QRect alone = ink(drawText("b", QRect(0, 0, 100, 30), DT_SINGLELINE));
    const QRect tabbed = ink(drawText("\tb", QRect(0, 0, 100, 30), DT_SINGLELINE | DT_EXPANDTABS | DT_TABSTOP | 0x0300));
    EXPECT_EQ(tabbed.left() - alone.left(), 3 * avg);
    QRect unchanged(0, 0, 100, 10);
    Canvas c;
    QPainter p(&c.image);
    p.setFont(testFont());
    DrawText(p, "abc", unchanged, DT_TABSTOP | DT_CALCRECT); // 0x400 is a tab size here
    EXPECT_EQ(unchanged, QRect(0, 0, 100, 10));
}

TEST(DrawText, AlignmentInTheRectangle)
{
    const QRect rect(10, 5, 100, 40);
    struct Row {
        const char* name;
        UINT format;
        int x;
        int y; // -1: not checked
    };
    const int w = fm().horizontalAdvance("HH");
    const int lh = fm().height();
    const Row rows[] = {
        {"left top", DT_SINGLELINE, 10, 5},
        {"right", DT_SINGLELINE | DT_RIGHT, 110 - w, 5},
        {"centre", DT_SINGLELINE | DT_CENTER, 10 + (100 - w) / 2, 5},
        {"vertical centre", DT_SINGLELINE | DT_VCENTER, 10, 5 + (40 - lh) / 2},
        {"bottom", DT_SINGLELINE | DT_BOTTOM, 10, 45 - lh},
        {"bottom needs single line", DT_BOTTOM, 10, 5},
    };
    // Where "HH" inks relative to its own cell, measured once at the origin.
    const QRect cell = ink(drawText("HH", QRect(0, 0, 100, 40), DT_SINGLELINE));
    for (const Row& r : rows) {
        const QRect box = ink(drawText("HH", rect, r.format));
        EXPECT_NEAR(box.left() - cell.left(), r.x, 1) << r.name;
        EXPECT_EQ(box.top() - cell.top(), r.y) << r.name;
    }
}

TEST(DrawText, ClipsUnlessNoClipAndTabStopTakesTheNoClipBit)
{
    const QRect narrow(10, 10, 12, 20);
    EXPECT_LE(ink(drawText("WWWWWW", narrow, DT_SINGLELINE)).right(), narrow.right());
    EXPECT_GT(ink(drawText("WWWWWW", narrow, DT_SINGLELINE | DT_NOCLIP)).right(), narrow.right() + 10);
    EXPECT_LE(ink(drawText("WWWWWW", narrow, 0x1C0)).right(), narrow.right())
        << "0x1C0 is tabs of one character, so the text is clipped";
}

TEST(DrawText, LineBreaksDrawSeparateLines)
{
    int height = 0;
    const auto runs = inkRows(drawText("Top\r\nLow", QRect(0, 0, 100, 60), 0, &height));
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_GE(runs[1].first - runs[0].first, fm().height() - 1);
    EXPECT_EQ(height, 2 * fm().height());
}

TEST(DrawText, MnemonicUnderline)
{
    const int baseline = fm().ascent();
    const QImage marked = drawText("&x", QRect(0, 0, 100, 30), DT_SINGLELINE);
    const int xw = fm().horizontalAdvance("x");
    for (int x = 0; x < xw; ++x)
        EXPECT_EQ(marked.pixel(x, baseline + 1), qRgb(0, 0, 0)) << x;
    EXPECT_EQ(marked.pixel(xw + 1, baseline + 1), qRgb(255, 255, 255));
    const QImage hidden = drawText("&x", QRect(0, 0, 100, 30), DT_SINGLELINE | DT_HIDEPREFIX);
    EXPECT_NE(hidden.pixel(0, baseline + 1), qRgb(0, 0, 0));
    const QImage only = drawText("&x", QRect(0, 0, 100, 30), DT_SINGLELINE | DT_PREFIXONLY);
    EXPECT_EQ(ink(only), QRect(0, baseline + 1, xw, 1));
}

TEST(DrawText, OpaqueBackgroundFillsTheLineExtent)
{
    Canvas c;
    QPainter p(&c.image);
    p.setFont(testFont());
    p.setBackgroundMode(Qt::OpaqueMode);
    p.setBackground(QColor(0, 0, 200));
    QRect r(4, 4, 100, 30);
    DrawText(p, "ab", r, DT_SINGLELINE);
    p.end();
    EXPECT_EQ(c.image.pixel(4, 4), qRgb(0, 0, 200));
    EXPECT_EQ(c.image.pixel(4 + fm().horizontalAdvance("ab") - 1, 4 + fm().height() - 1), qRgb(0, 0, 200));
    EXPECT_EQ(c.image.pixel(4 + fm().horizontalAdvance("ab") + 1, 4), qRgb(255, 255, 255));
}

TEST(TextExtent, WidthAndLineHeight)
{
    EXPECT_EQ(TextExtent(testFont(), "Hello"), QSize(fm().horizontalAdvance("Hello"), fm().height()));
}
