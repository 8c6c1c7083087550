#pragma once
// The Display's table form, without a window: the tab-separated text split into cells, and
// the layout of the table in the control (working rectangle, scroll bars, ranges and pages).
#include <QRect>
#include <string>
#include <string_view>
#include <vector>

namespace vyr::controls::lists {

// Rows of cells, split at TAB (next column) and at line breaks (next row; CR LF and LF CR
// count as one break). Rows keep only the cells their line holds, so the memory is that of
// the text however many rows and columns the widest line and the line count make.
struct TextTable {
    int rows = 0;
    int columns = 0;
    std::vector<std::vector<std::string>> cells;
    // Empty for a cell its line does not reach.
    const std::string& cell(int row, int column) const;
};
TextTable parseTable(std::string_view text);

// What the layout needs to know about the table and the control.
struct TableInput {
    QRect bounds;                 // the control's client rectangle
    std::vector<int> columnWidths; // widest cell of each column
    int rows = 0;
    int rowHeight = 0;            // h: the text height of one character
    int charWidth = 0;            // cw: width of "S"
    int charHeight = 0;           // ch: height of "S"; the scroll step is ch + 2
    int tabWidth = 2;             // gap between columns, in character widths
    bool horizontalAllowed = false;
    bool verticalAllowed = false;
    int hBarHeight = 0;           // the system's scroll-bar sizes
    int vBarWidth = 0;
};

struct TableLayout {
    QRect work;          // where the visible part of the table goes
    int width = 0;       // W: all columns and the gaps between them
    int height = 0;      // H: all rows, 2 px apart
    int step = 1;        // pixels per scroll position
    bool hBar = false, vBar = false;
    int hMax = 0, vMax = 0;   // ranges 0 ... max
    int hPage = 0, vPage = 0; // page sizes of both bars
    int gap = 0;         // tabWidth * cw, between two columns
    int rowHeight = 0;   // h; rows are h + 2 apart
    std::vector<int> columnWidths;
};

// The table first fills the bounds less 4 px on each side; a dimension that does not fit
// gets a scroll bar when allowed, which takes its room from the other dimension.
TableLayout layoutTable(const TableInput& in);

} // namespace vyr::controls::lists
