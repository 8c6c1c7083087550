#pragma once
// Every failure of the database layer is a DaoError: a number in the style of the classic
// database engine's error numbers and a description text the tool can show as it stands.
#include <cstdint>
#include <stdexcept>
#include <string>

namespace vyr::dao {

enum class ErrorNumber : int32_t {
    NotSupported = 3251,        // operation not supported by this kind of recordset
    UpdateWithoutEdit = 3020,   // Update or a field write without Edit or AddNew
    NoCurrentRecord = 3021,     // BOF/EOF, or an empty recordset
    FileNotFound = 3024,        // the database file does not exist
    ReadOnly = 3027,            // writing to a snapshot
    AlreadyExists = 3204,       // creating or compacting onto an existing file
    FileInUse = 3045,           // the database is locked by another connection
    TableNotFound = 3078,       // no table or query of that name
    ItemNotFound = 3265,        // no field of that name
    NotADatabase = 3343,        // the file is not a database
    RecordDeleted = 3167,       // the current record has been deleted
    ObjectClosed = 3420,        // the database or recordset has been closed
    QueryFailed = 3000,         // an SQL statement failed for another reason
    VerifyFailed = 3049,        // a compacted copy did not match its source
    IoError = 3051,             // the file system refused a read or write
};

class DaoError : public std::runtime_error {
public:
    DaoError(ErrorNumber number, const std::string& description)
        : std::runtime_error(description), number_(number) {}
    ErrorNumber number() const { return number_; }
    std::string description() const { return what(); }

private:
    ErrorNumber number_;
};

} // namespace vyr::dao
