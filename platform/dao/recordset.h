#pragma once
// A recordset: the rows of one table (Table type, updatable, walked in table order) or a
// read-only Snapshot of an SQL statement's rows. Field lookup by column name ignores case.
#include "platform/dao/value.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vyr::dao {

namespace detail { struct Connection; }

enum class RecordsetType : int32_t { Table = 1, Dynaset = 2, Snapshot = 4 };

class Recordset {
public:
    Recordset();
    Recordset(Recordset&&) noexcept;
    Recordset& operator=(Recordset&&) noexcept;
    ~Recordset();

    RecordsetType type() const;
    // Number of rows in the recordset (the full count, for snapshots too).
    int32_t recordCount() const;
    bool eof() const;
    void moveFirst();   // fails with "No current record" on an empty recordset
    void moveNext();    // fails at EOF
    std::vector<std::string> fieldNames() const;

    // The current row's field; during Edit or AddNew the value being prepared.
    Value value(const std::string& field) const;
    // Sets a field of the row being edited or added.
    void setValue(const std::string& field, const Value& v);

    void edit();     // starts changing the current row
    void addNew();   // starts a new row; the current row stays current
    void update();   // writes the edited or new row at once
    void cancelUpdate();
    void remove();   // deletes the current row at once (Delete)
    void close();
    bool isOpen() const;

    struct State;   // inside the database layer (recordset_state.h)

private:
    friend class Database;
    explicit Recordset(std::unique_ptr<State> s);
    std::unique_ptr<State> s_;
};

} // namespace vyr::dao
