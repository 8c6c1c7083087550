// The Display's table form by plain calls: splitting the text into cells and laying the table
// out in the control with and without scroll bars.
#include "controls/lists/displaytable.h"
#include "controls/lists/recolor.h"
#include <gtest/gtest.h>

using namespace vyr::controls::lists;

TEST(ParseTable, SplitsAtTabsAndLineBreaks)
{
    struct Case {
        const char* name;
        std::string text;
        int rows, columns;
    } cases[] = {
        {"two lines, one tab each", "a\tb\nc\td", 2, 2},
        {"CR LF is one break", "a\tb\r\nc\td", 2, 2},
        {"LF CR is one break", "a\tb\n\rc\td", 2, 2},
        {"two LF are two breaks", "a\n\nb", 3, 1},
        {"widest line decides the columns", "a\nb\t\t\tc\nd", 3, 4},
        {"empty text", "", 1, 1},
        {"one column", "x\ny", 2, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TextTable t = parseTable(c.text);
        EXPECT_EQ(t.rows, c.rows);
        EXPECT_EQ(t.columns, c.columns);
    }
    const TextTable t = parseTable("a\tb\r\nc\td");
    EXPECT_EQ(t.cell(0, 0), "a");
    EXPECT_EQ(t.cell(0, 1), "b");
    EXPECT_EQ(t.cell(1, 0), "c");
    EXPECT_EQ(t.cell(1, 1), "d");
    // A single column fills its cells too.
    EXPECT_EQ(parseTable("x\ny").cell(1, 0), "y");
    // Cells outside the table or beyond a short line are empty.
    EXPECT_EQ(t.cell(5, 0), "");
    EXPECT_EQ(t.cell(-1, 0), "");
    EXPECT_EQ(parseTable("a\nb\t\t\tc").cell(0, 3), "");
}

TEST(ParseTable, ManyRowsAndOneWideLineKeepTheTextsSize)
{
    // 50,000 rows and a line of 50,000 columns: 2.5e9 cells if it were a full grid.
    std::string text(50000, '\n');
    text += std::string(50000, '\t');
    const TextTable t = parseTable(text);
    EXPECT_EQ(t.rows, 50001);
    EXPECT_EQ(t.columns, 50001);
    size_t cells = 0;
    for (const auto& row : t.cells)
        cells += row.size();
    EXPECT_EQ(cells, 50000u + 50001u);
}

namespace {
TableInput input(QRect bounds, std::vector<int> widths, int rows)
{
    TableInput in;
    in.bounds = bounds;
    in.columnWidths = std::move(widths);
    in.rows = rows;
    in.rowHeight = 13;
    in.charWidth = 7;
    in.charHeight = 13;
    in.tabWidth = 2;
    in.hBarHeight = 17;
    in.vBarWidth = 17;
    return in;
}
} // namespace

TEST(LayoutTable, AFittingTableTakesItsOwnSizeAndNoBars)
{
    TableInput in = input(QRect(0, 0, 200, 100), {30, 40}, 3);
    in.horizontalAllowed = in.verticalAllowed = true;
    const TableLayout l = layoutTable(in);
    EXPECT_EQ(l.width, 30 + 40 + 14);
    EXPECT_EQ(l.height, 15 * 3 - 2);
    EXPECT_EQ(l.work, QRect(4, 4, 84, 43));
    EXPECT_FALSE(l.hBar);
    EXPECT_FALSE(l.vBar);
    EXPECT_EQ(l.step, 15);
}

TEST(LayoutTable, TooLargeGetsBothBarsWhenAllowed)
{
    TableInput in = input(QRect(0, 0, 200, 100), {100, 100, 100}, 20);
    in.horizontalAllowed = in.verticalAllowed = true;
    const TableLayout l = layoutTable(in);
    ASSERT_TRUE(l.hBar);
    ASSERT_TRUE(l.vBar);
    // The horizontal bar takes its height first, the vertical bar then its width.
    EXPECT_EQ(l.work, QRect(4, 4, 192 - 17, 92 - 17));
    EXPECT_EQ(l.hMax, (328 - 192) / 15 + 1);
    EXPECT_EQ(l.vMax, (15 * 20 - 2 - 75) / 15 + 1);
    EXPECT_EQ(l.hPage, 175 / 15 + 1);
    EXPECT_EQ(l.vPage, 75 / 15 + 1);
}

TEST(LayoutTable, VerticalBarThatMakesTheTableTooWideAddsTheHorizontalBar)
{
    // 180 px fit the 192 px working width until the vertical bar takes 17 of them.
    TableInput in = input(QRect(0, 0, 200, 100), {180}, 20);
    in.horizontalAllowed = in.verticalAllowed = true;
    const TableLayout l = layoutTable(in);
    ASSERT_TRUE(l.vBar);
    ASSERT_TRUE(l.hBar);
    EXPECT_EQ(l.work, QRect(4, 4, 175, 75));
    EXPECT_EQ(l.hMax, (180 - 175) / 15 + 1);
    EXPECT_EQ(l.vMax, (298 - 75) / 15 + 1);
}

TEST(LayoutTable, TooLargeWithoutPermissionGetsNoBar)
{
    const TableLayout l = layoutTable(input(QRect(0, 0, 100, 50), {300}, 30));
    EXPECT_FALSE(l.hBar);
    EXPECT_FALSE(l.vBar);
    EXPECT_EQ(l.work, QRect(4, 4, 92, 42));
    EXPECT_EQ(l.hMax, 0);
}

TEST(LayoutTable, HostileSizesStayBounded)
{
    TableInput in = input(QRect(0, 0, 100, 50), std::vector<int>(100000, 1 << 20), 1 << 28);
    in.horizontalAllowed = in.verticalAllowed = true;
    in.tabWidth = -5;
    const TableLayout l = layoutTable(in);
    EXPECT_GE(l.width, 0);
    EXPECT_GE(l.height, 0);
    EXPECT_GT(l.hMax, 0);
    EXPECT_GT(l.vMax, 0);
    EXPECT_EQ(l.gap, 0);
}

TEST(RecolorRed, OnlyPureRedTakesTheColour)
{
    QImage img(3, 1, QImage::Format_RGB32);
    img.setPixel(0, 0, qRgb(255, 0, 0));
    img.setPixel(1, 0, qRgb(255, 255, 255));
    img.setPixel(2, 0, qRgb(254, 0, 0));
    const QImage out = recolorRed(img, QColor(0, 128, 0));
    EXPECT_EQ(out.pixel(0, 0), qRgb(0, 128, 0));
    EXPECT_EQ(out.pixel(1, 0), qRgb(255, 255, 255));
    EXPECT_EQ(out.pixel(2, 0), qRgb(254, 0, 0));
}
