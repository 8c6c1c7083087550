#include "platform/dao/writer_lock.h"

namespace vyr::dao {

WriterLock::WriterLock(const std::string& path) : db_(Database::open(path))
{
    db_.execute("BEGIN IMMEDIATE");
}

WriterLock::~WriterLock()
{
    try {
        db_.execute("ROLLBACK");
    } catch (...) {
        // closing the connection below ends the transaction as well
    }
    db_.close();
}

} // namespace vyr::dao
