#include "platform/dao/recordset.h"

#include "platform/dao/connection.h"
#include "platform/dao/error.h"
#include "platform/dao/recordset_state.h"

#include <algorithm>
#include <strings.h>

namespace vyr::dao {

using detail::Statement;

namespace {

[[noreturn]] void noCurrent()
{
    throw DaoError(ErrorNumber::NoCurrentRecord, "No current record");
}

} // namespace

Recordset::Recordset() = default;
Recordset::Recordset(std::unique_ptr<State> s) : s_(std::move(s)) {}
Recordset::Recordset(Recordset&&) noexcept = default;
Recordset& Recordset::operator=(Recordset&&) noexcept = default;
Recordset::~Recordset() = default;

Recordset::State& Recordset::State::checked(const std::unique_ptr<State>& s)
{
    if (!s)
        throw DaoError(ErrorNumber::ObjectClosed, "Object invalid or no longer set: the recordset is closed");
    s->conn->handle();   // throws when the database has been closed under the recordset
    return *s;
}

size_t Recordset::State::column(const std::string& name) const
{
    std::string bare = detail::stripBrackets(name);
    for (size_t i = 0; i < columns.size(); ++i)
        if (strcasecmp(columns[i].c_str(), bare.c_str()) == 0)
            return i;
    throw DaoError(ErrorNumber::ItemNotFound,
                   "Item not found in this collection: no field [" + bare + "] in " +
                       (table.empty() ? std::string("the query") : "[" + table + "]"));
}

size_t Recordset::State::count() const
{
    return type == RecordsetType::Snapshot ? rows.size() : rowids.size();
}

const std::vector<Value>& Recordset::State::currentRow()
{
    if (deleted)
        throw DaoError(ErrorNumber::RecordDeleted, "Record is deleted");
    if (pos >= count())
        noCurrent();
    if (type == RecordsetType::Snapshot)
        return rows[pos];
    std::ptrdiff_t k = kept && kept->valid ? kept->find(rowids[pos]) : -1;
    if (k >= 0 && kept->fresh[size_t(k)])
        return kept->rows[size_t(k)];
    for (const auto& f : found) {
        std::ptrdiff_t i = f->valid ? f->find(rowids[pos]) : -1;
        if (i >= 0 && f->fresh[size_t(i)])
            return f->rows[size_t(i)];
    }
    if (!loaded) {
        Statement st(*conn, "SELECT * FROM " + detail::quoteIdentifier(table) + " WHERE rowid = ?");
        st.bind(1, Value(double(rowids[pos])));
        if (!st.step())
            throw DaoError(ErrorNumber::RecordDeleted,
                           "Record is deleted: another user removed the row from [" + table + "]");
        current = st.row();
        loaded = true;
        if (k >= 0 && current.size() == kept->columns.size()) {
            kept->rows[size_t(k)] = current;
            kept->fresh[size_t(k)] = 1;
        }
        for (const auto& f : found) {
            std::ptrdiff_t i = f->valid ? f->find(rowids[pos]) : -1;
            if (i >= 0 && current.size() == f->columns.size()) {
                f->rows[size_t(i)] = current;
                f->fresh[size_t(i)] = 1;
            }
        }
    }
    return current;
}

bool Recordset::State::currentKnown() const
{
    if (deleted || pos >= count() || type == RecordsetType::Snapshot)
        return false;
    if (loaded || (kept && kept->valid && kept->find(rowids[pos]) >= 0))
        return true;
    for (const auto& f : found)
        if (f->valid && f->find(rowids[pos]) >= 0)
            return true;
    return false;
}

void Recordset::State::requireUpdatable(const char* what) const
{
    if (type == RecordsetType::Snapshot)
        throw DaoError(ErrorNumber::ReadOnly,
                       std::string("Cannot ") + what + ": the recordset is a read-only snapshot");
}

RecordsetType Recordset::type() const
{
    return State::checked(s_).type;
}

int32_t Recordset::recordCount() const
{
    return int32_t(State::checked(s_).count());
}

bool Recordset::eof() const
{
    State& s = State::checked(s_);
    return !s.deleted && s.pos >= s.count();
}

void Recordset::moveFirst()
{
    State& s = State::checked(s_);
    s.mode = State::Mode::None;
    s.deleted = false;
    s.loaded = false;
    s.pos = 0;
    if (s.count() == 0)
        noCurrent();
}

void Recordset::moveNext()
{
    State& s = State::checked(s_);
    s.mode = State::Mode::None;
    s.loaded = false;
    if (s.deleted) {   // the row after the deleted one already sits at pos
        s.deleted = false;
        return;
    }
    if (s.pos >= s.count())
        noCurrent();
    ++s.pos;
}

std::vector<std::string> Recordset::fieldNames() const
{
    return State::checked(s_).columns;
}

Value Recordset::value(const std::string& field) const
{
    State& s = State::checked(s_);
    size_t col = s.column(field);
    if (s.mode != State::Mode::None && s.buffer[col])
        return *s.buffer[col];
    if (s.mode == State::Mode::AddNew)
        return Value();
    return s.currentRow()[col];
}

void Recordset::setValue(const std::string& field, const Value& v)
{
    State& s = State::checked(s_);
    s.requireUpdatable("write a field");
    size_t col = s.column(field);
    if (s.mode == State::Mode::None)
        throw DaoError(ErrorNumber::UpdateWithoutEdit,
                       "Update or CancelUpdate without AddNew or Edit (writing [" + s.columns[col] + "])");
    s.buffer[col] = v;
}

void Recordset::edit()
{
    State& s = State::checked(s_);
    s.requireUpdatable("edit");
    // There must be a current row; inside a transaction the connection may know it has one
    // without reading it.
    if (!s.currentKnown())
        s.currentRow();
    s.buffer.assign(s.columns.size(), std::nullopt);
    s.mode = State::Mode::Edit;
}

void Recordset::addNew()
{
    State& s = State::checked(s_);
    s.requireUpdatable("add a row");
    s.buffer.assign(s.columns.size(), std::nullopt);
    s.mode = State::Mode::AddNew;
}

void Recordset::update()
{
    State& s = State::checked(s_);
    s.requireUpdatable("update");
    if (s.mode == State::Mode::None)
        throw DaoError(ErrorNumber::UpdateWithoutEdit, "Update or CancelUpdate without AddNew or Edit");
    std::vector<size_t> cols;
    for (size_t i = 0; i < s.buffer.size(); ++i)
        if (s.buffer[i])
            cols.push_back(i);
    std::string table = detail::quoteIdentifier(s.table);
    if (s.mode == State::Mode::Edit) {
        if (!cols.empty()) {
            if (s.conn->rowLog)
                s.conn->logRow(s.table, s.columns, s.rowids[s.pos], &s.currentRow());
            std::string sql = "UPDATE " + table + " SET ";
            for (size_t k = 0; k < cols.size(); ++k)
                sql += (k ? ", " : "") + detail::quoteIdentifier(s.columns[cols[k]]) + " = ?";
            Statement st(*s.conn, sql + " WHERE rowid = ?");
            st.markRowWrite();
            for (size_t k = 0; k < cols.size(); ++k)
                st.bind(int(k + 1), *s.buffer[cols[k]]);
            st.bind(int(cols.size() + 1), Value(double(s.rowids[s.pos])));
            st.step();
            if (sqlite3_changes(s.conn->db) != 1)
                throw DaoError(ErrorNumber::RecordDeleted,
                               "Record is deleted: the row of [" + s.table + "] is gone");
            std::vector<std::string> written;
            for (size_t c : cols)
                written.push_back(s.columns[c]);
            s.conn->rowWritten(s.table, s.rowids[s.pos], detail::Connection::RowChange::Changed, written);
        }
    } else {
        std::string sql = "INSERT INTO " + table;
        if (cols.empty()) {
            sql += " DEFAULT VALUES";
        } else {
            std::string names, marks;
            for (size_t k = 0; k < cols.size(); ++k) {
                names += (k ? ", " : "") + detail::quoteIdentifier(s.columns[cols[k]]);
                marks += k ? ", ?" : "?";
            }
            sql += " (" + names + ") VALUES (" + marks + ")";
        }
        Statement st(*s.conn, sql);
        st.markRowWrite();
        for (size_t k = 0; k < cols.size(); ++k)
            st.bind(int(k + 1), *s.buffer[cols[k]]);
        st.step();
        int64_t id = sqlite3_last_insert_rowid(s.conn->db);
        if (s.conn->rowLog)
            s.conn->logRow(s.table, s.columns, id, nullptr);
        bool atEnd = s.pos >= s.rowids.size();
        auto at = std::lower_bound(s.rowids.begin(), s.rowids.end(), id);
        size_t index = size_t(at - s.rowids.begin());
        s.rowids.insert(at, id);
        s.conn->rowWritten(s.table, id, detail::Connection::RowChange::Inserted);
        if (atEnd)
            s.pos = s.rowids.size();   // still past the last row
        else if (index <= s.pos)
            ++s.pos;                   // the row that was current stays current
    }
    s.mode = State::Mode::None;
    s.loaded = false;
}

void Recordset::cancelUpdate()
{
    State::checked(s_).mode = State::Mode::None;
}

void Recordset::remove()
{
    State& s = State::checked(s_);
    s.requireUpdatable("delete");
    const std::vector<Value>& row = s.currentRow();
    if (s.conn->rowLog)
        s.conn->logRow(s.table, s.columns, s.rowids[s.pos], &row);
    Statement st(*s.conn, "DELETE FROM " + detail::quoteIdentifier(s.table) + " WHERE rowid = ?");
    st.markRowWrite();
    st.bind(1, Value(double(s.rowids[s.pos])));
    st.step();
    s.conn->rowWritten(s.table, s.rowids[s.pos], detail::Connection::RowChange::Deleted);
    s.rowids.erase(s.rowids.begin() + std::ptrdiff_t(s.pos));
    s.mode = State::Mode::None;
    s.loaded = false;
    s.deleted = true;
}

void Recordset::close()
{
    s_.reset();
}

bool Recordset::isOpen() const
{
    return s_ != nullptr;
}

} // namespace vyr::dao
