#pragma once
// The MultiList's table without a window: one list command per column fills that column's
// cells row by row; the first column's command also carries the current row and the check
// marks and receives the user's actions. A refresh reports exactly what changed, so the view
// replaces only those cells.
//
// Cells are held as the server gives them, in UTF-16, and each text read is compared with the
// cell in place: an unchanged table costs one comparison per cell and no conversion, and the
// view shows the very string the table holds.
#include "controls/core/vyrcontrols.h"
#include <QString>
#include <string>
#include <vector>

namespace vyr::controls::lists {

class ReportTable {
public:
    struct Cell {
        int row, column;
    };
    // What one refresh changed.
    struct Changes {
        int oldRows = 0;           // rows before; rows from `rows` on were deleted
        int rows = 0;              // rows now
        std::vector<Cell> cells;   // cells whose text was replaced (rows added included)
        std::vector<int> checks;   // rows whose check mark changed
        bool currentChanged = false;
    };

    // Columns of the table; growing adds empty columns, shrinking drops the last ones.
    void setColumns(int columns);
    int columns() const { return int(cells_.size()); }
    int rows() const { return rows_; }
    // What the cell shows, as the view takes it (empty outside the table).
    const QString& text(int row, int column) const;
    // The same text in UTF-8.
    std::string cell(int row, int column) const { return text(row, column).toStdString(); }
    bool checked(int row) const { return row >= 0 && row < rows_ && checks_[size_t(row)]; }
    int current() const { return current_; }
    bool enabled() const { return enabled_; }

    // Reads the table: per column with a cookie (cookie 0: no command, empty cells) the entry
    // count and texts; the row count becomes the longest column's. Then, from the first
    // column's command, the current row, the check state of each row (only with
    // `withChecks`) and the enabled state. A column whose read fails keeps the cells it did not
    // get to; a failing current-row read leaves no current row; a failing check read keeps the
    // mark; a failing enabled read disables.
    Changes read(ICommandServer* server, const std::vector<LONG>& cookies, bool withChecks);
    // No server: every cell, row and mark goes.
    Changes clear();

    // User actions; `first` is the first column's cookie.
    // A row other than the current one becomes current and goes to SelectEntry.
    bool select(ICommandServer* server, LONG first, int row);
    // ActivateEntry with the current row.
    HRESULT activate(ICommandServer* server, LONG first);
    // A check box toggled: the row becomes current (as select), then SetState(0 or 1).
    void check(ICommandServer* server, LONG first, int row, bool on);
    // An in-place edit of the current row's first cell finished with `text`: the cell takes it
    // and SetText sends it.
    bool edit(ICommandServer* server, LONG first, const std::string& text);

private:
    void resizeRows(int rows);

    std::vector<std::vector<QString>> cells_; // [column][row]
    std::vector<char> checks_;
    int rows_ = 0;
    int current_ = -1;
    bool enabled_ = false;
};

} // namespace vyr::controls::lists
