#pragma once
// Holds a database's write lock: while it is held no other connection can commit a change,
// though others may still read. Replacing a database file goes on under this lock.
#include "platform/dao/database.h"

#include <string>

namespace vyr::dao {

class WriterLock {
public:
    // Fails like Database::open, and with "locked" when another connection is writing.
    explicit WriterLock(const std::string& path);
    ~WriterLock();
    WriterLock(const WriterLock&) = delete;
    WriterLock& operator=(const WriterLock&) = delete;

private:
    Database db_;
};

} // namespace vyr::dao
