#include "controls/lists/reporttable.h"
#include "controls/lists/entrycommand.h"
#include "platform/com/bstr.h"
#include <algorithm>

namespace vyr::controls::lists {

namespace {

const QString kEmpty;

// Reads column `cookie` into `cells` in place: the entry count (negative counts as 0, capped at
// kMaxEntries), then each text in order, compared in the server's UTF-16 with the cell it
// replaces; a cell beyond the end is appended. Rows whose old text changed go to `replaced`,
// and `reached` is the number of entries read. Returns false at the first failing read; the
// cells it did not reach keep their texts.
bool readColumn(ICommandServer* server, LONG cookie, std::vector<QString>& cells, std::vector<int>& replaced,
                size_t& reached)
{
    reached = 0;
    LONG count = 0;
    if (FAILED(server->GetEntryCount(cookie, &count)))
        return false;
    count = std::clamp<LONG>(count, 0, kMaxEntries);
    const size_t held = cells.size();
    if (size_t(count) > held)
        cells.reserve(size_t(count));
    for (LONG i = 0; i < count; ++i) {
        com::Bstr text;
        if (FAILED(server->GetEntryText(cookie, i, text.put())))
            return false;
        const QStringView got(text.get(), qsizetype(text.length())); // a null text reads as ""
        if (size_t(i) >= held) {
            cells.emplace_back(got.toString());
        } else if (cells[size_t(i)] != got) {
            cells[size_t(i)] = got.toString();
            replaced.push_back(int(i));
        }
        reached = size_t(i) + 1;
    }
    return true;
}

} // namespace

void ReportTable::setColumns(int columns)
{
    cells_.resize(size_t(std::max(0, columns)), std::vector<QString>(size_t(rows_)));
}

const QString& ReportTable::text(int row, int column) const
{
    if (column < 0 || column >= columns() || row < 0 || row >= rows_)
        return kEmpty;
    return cells_[size_t(column)][size_t(row)];
}

void ReportTable::resizeRows(int rows)
{
    rows_ = rows;
    for (auto& column : cells_)
        column.resize(size_t(rows));
    checks_.resize(size_t(rows), 0);
    if (current_ >= rows)
        current_ = -1;
}

ReportTable::Changes ReportTable::read(ICommandServer* server, const std::vector<LONG>& cookies, bool withChecks)
{
    Changes ch;
    ch.oldRows = rows_;
    const int oldCurrent = current_;
    // Per column, the rows held before whose text changed.
    std::vector<std::vector<int>> replaced(cells_.size());
    int rows = 0;
    for (size_t c = 0; c < cells_.size(); ++c) {
        const LONG cookie = c < cookies.size() ? cookies[c] : 0;
        auto& column = cells_[c];
        size_t reached = 0;
        if (cookie && !readColumn(server, cookie, column, replaced[c], reached)) {
            // A column that failed part-way keeps the cells it did not reach.
            rows = std::max(rows, std::max(int(reached), std::min(rows_, kMaxEntries)));
            continue;
        }
        // Below the column's last entry (or all of a column without a command) nothing shows.
        for (size_t r = reached; r < column.size(); ++r)
            if (!column[r].isEmpty()) {
                column[r] = QString();
                replaced[c].push_back(int(r));
            }
        rows = std::max(rows, int(reached));
    }
    resizeRows(rows);
    for (size_t c = 0; c < cells_.size(); ++c) {
        for (int r : replaced[c])
            if (r < rows)
                ch.cells.push_back({r, int(c)});
        for (int r = ch.oldRows; r < rows; ++r) // every cell of a new row
            ch.cells.push_back({r, int(c)});
    }
    ch.rows = rows;

    const LONG first = cookies.empty() ? 0 : cookies[0];
    if (first) {
        LONG index = -1;
        if (FAILED(server->GetIndex(first, &index)) || index < 0 || index >= rows)
            index = -1;
        current_ = int(index);
        for (int r = 0; withChecks && r < rows; ++r) {
            LONG state = 0;
            if (FAILED(server->GetEntryState(first, r, &state)))
                continue;
            const char on = state != 0;
            if (on != checks_[size_t(r)]) {
                checks_[size_t(r)] = on;
                ch.checks.push_back(r);
            }
        }
        VARIANT_BOOL en = VARIANT_FALSE;
        enabled_ = SUCCEEDED(server->GetCommandEnabled(first, &en)) && en;
    } else {
        current_ = -1;
        enabled_ = false;
    }
    ch.currentChanged = current_ != oldCurrent;
    return ch;
}

ReportTable::Changes ReportTable::clear()
{
    Changes ch;
    ch.oldRows = rows_;
    ch.currentChanged = current_ != -1;
    current_ = -1;
    enabled_ = false;
    resizeRows(0);
    checks_.clear();
    return ch;
}

bool ReportTable::select(ICommandServer* server, LONG first, int row)
{
    if (row < 0 || row >= rows_ || row == current_)
        return false;
    current_ = row;
    if (server && first)
        server->SelectEntry(first, row);
    return true;
}

HRESULT ReportTable::activate(ICommandServer* server, LONG first)
{
    if (!server || !first)
        return E_FAIL;
    if (current_ < 0)
        return E_INVALIDARG;
    return server->ActivateEntry(first, current_);
}

void ReportTable::check(ICommandServer* server, LONG first, int row, bool on)
{
    if (row < 0 || row >= rows_)
        return;
    select(server, first, row);
    checks_[size_t(row)] = on;
    if (server && first)
        server->SetState(first, on ? 1 : 0);
}

bool ReportTable::edit(ICommandServer* server, LONG first, const std::string& text)
{
    if (current_ < 0 || cells_.empty())
        return false;
    cells_[0][size_t(current_)] = QString::fromStdString(text);
    if (server && first)
        server->SetText(first, com::Bstr(text).get());
    return true;
}

} // namespace vyr::controls::lists
