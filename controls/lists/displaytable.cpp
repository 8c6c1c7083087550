#include "controls/lists/displaytable.h"
#include <algorithm>

namespace vyr::controls::lists {

const std::string& TextTable::cell(int row, int column) const
{
    static const std::string empty;
    if (row < 0 || size_t(row) >= cells.size() || column < 0 || size_t(column) >= cells[size_t(row)].size())
        return empty;
    return cells[size_t(row)][size_t(column)];
}

TextTable parseTable(std::string_view text)
{
    TextTable t;
    t.cells.emplace_back(1);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\t') {
            t.cells.back().emplace_back();
        } else if (c == '\r' || c == '\n') {
            if (i + 1 < text.size() && (text[i + 1] == '\r' || text[i + 1] == '\n') && text[i + 1] != c)
                ++i; // CR LF or LF CR: one break
            t.cells.emplace_back(1);
        } else {
            t.cells.back().back() += c;
        }
    }
    t.rows = int(t.cells.size());
    for (const auto& row : t.cells)
        t.columns = std::max(t.columns, int(row.size()));
    return t;
}

TableLayout layoutTable(const TableInput& in)
{
    TableLayout l;
    l.step = std::max(1, in.charHeight + 2);
    l.gap = std::max(0, in.tabWidth) * in.charWidth;
    l.rowHeight = std::max(0, in.rowHeight);
    l.columnWidths = in.columnWidths;
    l.work = in.bounds.adjusted(4, 4, -4, -4);
    long long w = 0;
    for (int cw : in.columnWidths)
        w += cw;
    w += (long long)l.gap * std::max<long long>(0, (long long)in.columnWidths.size() - 1);
    const long long h = (long long)(l.rowHeight + 2) * in.rows - 2;
    constexpr long long kMax = 1 << 30;
    l.width = int(std::clamp<long long>(w, 0, kMax));
    l.height = int(std::clamp<long long>(h, 0, kMax));

    const int available = l.work.width();
    if (l.width <= l.work.width()) {
        l.work.setWidth(l.width);
    } else if (in.horizontalAllowed) {
        l.hBar = true;
        l.work.setHeight(l.work.height() - in.hBarHeight);
        l.hMax = (l.width - l.work.width()) / l.step + 1;
    }
    if (l.height <= l.work.height()) {
        l.work.setHeight(l.height);
    } else if (in.verticalAllowed) {
        l.vBar = true;
        l.work.setWidth(l.work.width() - in.vBarWidth);
        l.vMax = (l.height - l.work.height()) / l.step + 1;
        // The vertical bar's width can make a table too wide that fitted before: it needs
        // the horizontal bar then, or its last columns could not be reached.
        if (!l.hBar && in.horizontalAllowed && l.width > l.work.width()) {
            l.hBar = true;
            l.work.setWidth(available - in.vBarWidth);
            l.work.setHeight(l.work.height() - in.hBarHeight);
            l.hMax = (l.width - l.work.width()) / l.step + 1;
            l.vMax = (l.height - l.work.height()) / l.step + 1;
        }
    }
    l.hPage = std::max(0, l.work.width()) / l.step + 1;
    l.vPage = std::max(0, l.work.height()) / l.step + 1;
    return l;
}

} // namespace vyr::controls::lists
