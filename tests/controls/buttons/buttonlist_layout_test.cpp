// The ButtonList grid by plain calls: one row per example of the arrangement modes.
#include "controls/buttons/buttonlistlayout.h"
#include <gtest/gtest.h>
#include <ostream>
#include <string>

using namespace vyr::controls;

namespace {

std::string str(const RECT& r)
{
    if (isEmpty(r))
        return "-";
    return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

// Every cell of a layout in bounds 0,0-300,100, separated by spaces.
std::string cells(const ButtonListLayout& l, RECT bounds = {0, 0, 300, 100})
{
    std::string out;
    for (int i = 0; i < l.count + 1; ++i)
        out += (i ? " " : "") + str(l.cell(bounds, i));
    return out;
}

struct Row {
    const char* name;
    ButtonListLayout layout;
    const char* expected;
};

const Row kRows[] = {
    {"rows2_horizontal_3_columns_last_cell_empty", {5, 2, 1, 0, 0, 0},
     "0,0-100,50 100,0-200,50 200,0-300,50 0,50-100,100 100,50-200,100 -"},
    {"fill_last_row_halves", {5, 2, 1, 0, 2, 0},
     "0,0-100,50 100,0-200,50 200,0-300,50 0,50-150,100 150,50-300,100 -"},
    {"columns2_vertical_fills_column_0_first", {5, 1, 2, 0, 1, 1},
     "0,0-150,33 0,33-150,66 0,66-150,100 150,0-300,33 150,33-300,66 -"},
    {"fill_last_column_halves", {5, 1, 2, 0, 3, 1},
     "0,0-150,33 0,33-150,66 0,66-150,100 150,0-300,50 150,50-300,100 -"},
    {"fixed_rows_and_columns_leave_the_rest_out", {5, 2, 2, 0, 4, 0},
     "0,0-150,50 150,0-300,50 0,50-150,100 150,50-300,100 - -"},
    {"rows_capped_by_the_count", {2, 5, 1, 0, 0, 0}, "0,0-300,50 0,50-300,100 -"},
    {"zero_rows_draws_nothing", {3, 0, 3, 0, 4, 0}, "- - - -"},
    {"columns_below_one_count_as_one", {2, 1, -4, 0, 1, 0}, "0,0-300,50 0,50-300,100 -"},
    {"gap_between_neighbours_not_at_the_border", {3, 1, 1, 4, 0, 0}, "0,0-97,100 101,0-198,100 202,0-300,100 -"},
    {"no_buttons", {0, 1, 1, 0, 0, 0}, "-"},
};

// Test names and failure messages show the row's name, not its bytes.
void PrintTo(const Row& r, std::ostream* os) { *os << r.name; }

class Layout : public testing::TestWithParam<Row> {};

} // namespace

TEST_P(Layout, Cells) { EXPECT_EQ(cells(GetParam().layout), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(Modes, Layout, testing::ValuesIn(kRows),
                         [](const testing::TestParamInfo<Row>& i) { return std::string(i.param.name); });

TEST(LayoutHit, PointsFindTheirCellAndGapsAndEmptyPlacesNone)
{
    const ButtonListLayout l{5, 2, 1, 4, 0, 0};
    const RECT b{0, 0, 300, 100};
    EXPECT_EQ(l.hit(b, 10, 10), 0);
    EXPECT_EQ(l.hit(b, 299, 10), 2);
    EXPECT_EQ(l.hit(b, 150, 75), 4);
    EXPECT_EQ(l.hit(b, 250, 75), -1) << "the empty third cell of the second row";
    EXPECT_EQ(l.hit(b, 98, 10), -1) << "the gap";
    EXPECT_EQ((ButtonListLayout{3, 0, 1, 0, 0, 0}.hit(b, 10, 10)), -1) << "ButtonRows 0: clicks hit nothing";
}

TEST(LayoutHit, OffsetBoundsAndHugeCountsStayInside)
{
    const ButtonListLayout l{1000000, 1000, 1, 0, 0, 0};
    const RECT b{10, 20, 110, 70};
    const RECT last = l.cell(b, 999999);
    EXPECT_GE(last.left, 10);
    EXPECT_LE(last.right, 110);
    EXPECT_GE(last.top, 20);
    EXPECT_LE(last.bottom, 70);
}
