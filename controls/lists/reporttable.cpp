#include "controls/lists/reporttable.h"
#include "controls/lists/entrycommand.h"
#include "platform/com/bstr.h"
#include <algorithm>

namespace vyr::controls::lists {

namespace {
const std::string kEmpty;
} // namespace

void ReportTable::setColumns(int columns)
{
    cells_.resize(size_t(std::max(0, columns)), std::vector<std::string>(size_t(rows_)));
}

const std::string& ReportTable::cell(int row, int column) const
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
    // Each column's texts; a column that failed part-way keeps its other cells.
    std::vector<std::vector<std::string>> read(cells_.size());
    std::vector<char> complete(cells_.size(), 1);
    int rows = 0;
    for (size_t c = 0; c < cells_.size(); ++c) {
        const LONG cookie = c < cookies.size() ? cookies[c] : 0;
        if (!cookie)
            continue;
        complete[c] = readEntryTexts(server, cookie, read[c]);
        rows = std::max(rows, int(read[c].size()));
        if (!complete[c])
            rows = std::max(rows, std::min(rows_, kMaxEntries));
    }
    resizeRows(rows);
    for (size_t c = 0; c < cells_.size(); ++c) {
        auto& column = cells_[c];
        for (int r = 0; r < rows; ++r) {
            const bool have = size_t(r) < read[c].size();
            if (!have && !complete[c])
                continue; // not reached by a failed read: keep
            const std::string& text = have ? read[c][size_t(r)] : kEmpty;
            if (column[size_t(r)] != text || r >= ch.oldRows) {
                column[size_t(r)] = text;
                ch.cells.push_back({r, int(c)});
            }
        }
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
    cells_[0][size_t(current_)] = text;
    if (server && first)
        server->SetText(first, com::Bstr(text).get());
    return true;
}

} // namespace vyr::controls::lists
