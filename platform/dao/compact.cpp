#include "platform/dao/compact.h"

#include "platform/dao/connection.h"
#include "platform/dao/database.h"

#include <fcntl.h>
#include <filesystem>
#include <map>
#include <unistd.h>

namespace vyr::dao {

namespace {

int onProgress(void* fn)
{
    return (*static_cast<const CompactProgress*>(fn))() ? 0 : 1;
}

std::map<std::string, int64_t> rowCounts(Database& db)
{
    std::map<std::string, int64_t> counts;
    for (const TableDef& t : db.tableDefs()) {
        Recordset rs = db.openRecordset("SELECT count(*) FROM " + detail::quoteIdentifier(t.name),
                                        RecordsetType::Snapshot);
        counts[t.name] = int64_t(rs.value(rs.fieldNames().front()).number());
    }
    return counts;
}

void flushToDisk(const std::string& path)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    bool ok = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0)
        ::close(fd);
    if (!ok)
        throw DaoError(ErrorNumber::IoError, "Cannot flush the compacted copy '" + path + "' to disk");
}

// A failed copy goes with the journal SQLite may have left beside it: a stale journal beside
// the next copy of that name would be taken for that copy's own.
void removeWithSidecars(const std::string& path)
{
    std::error_code ec;
    for (const char* suffix : {"", "-journal", "-wal", "-shm"})
        std::filesystem::remove(path + suffix, ec);
}

// VACUUM INTO writes the compacted copy on a connection of its own, so that the progress
// callback can be attached to it.
void writeCopy(const std::string& source, const std::string& destination, const CompactProgress& progress)
{
    detail::Connection c;
    c.path = source;
    int rc = sqlite3_open_v2(source.c_str(), &c.db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK)
        detail::fail(c, rc, "opening the database to compact it");
    sqlite3_busy_timeout(c.db, detail::kBusyTimeoutMs);
    if (progress)
        sqlite3_progress_handler(c.db, 100, onProgress, const_cast<CompactProgress*>(&progress));
    detail::Statement st(c, "VACUUM INTO ?");
    st.bindText(1, destination);
    st.step();
}

} // namespace

void compactDatabase(const std::string& source, const std::string& destination,
                     const CompactProgress& progress)
{
    std::error_code ec;
    if (destination.empty())
        throw DaoError(ErrorNumber::FileNotFound, "Cannot compact into a file without a name");
    if (std::filesystem::exists(destination, ec))
        throw DaoError(ErrorNumber::AlreadyExists, "The database '" + destination + "' already exists");
    Database src = Database::open(source);
    try {
        writeCopy(source, destination, progress);
        Database copy = Database::open(destination);
        Recordset check = copy.openRecordset("PRAGMA integrity_check", RecordsetType::Snapshot);
        std::string verdict = check.value(check.fieldNames().front()).text();
        if (verdict != "ok")
            throw DaoError(ErrorNumber::VerifyFailed, "The compacted copy '" + destination + "' is damaged: " + verdict);
        if (rowCounts(copy) != rowCounts(src))
            throw DaoError(ErrorNumber::VerifyFailed, "The compacted copy '" + destination +
                                                          "' does not hold the same rows as '" + source + "'");
        copy.close();
        flushToDisk(destination);
    } catch (...) {
        removeWithSidecars(destination);
        throw;
    }
}

} // namespace vyr::dao
