#include "vtx/model/compaction.h"

#include "vtx/model/access.h"

#include "platform/dao/compact.h"
#include "platform/dao/database.h"
#include "platform/dao/error.h"
#include "platform/dao/writer_lock.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace vyr::vtx {

namespace fs = std::filesystem;
using dao::DaoError;
using dao::ErrorNumber;

namespace {

std::string folderOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool present(const std::string& path)
{
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

// An intact database opens, passes the quick check and holds at least one table. A database
// that another program holds locked is not judged: the lock error goes to the caller.
bool intact(const std::string& path)
{
    try {
        dao::Database db = dao::Database::open(path);
        dao::Recordset check = db.openRecordset("PRAGMA quick_check", dao::RecordsetType::Snapshot);
        return check.value(check.fieldNames().front()).isText("ok") && !db.tableDefs().empty();
    } catch (const DaoError& e) {
        if (e.number() == ErrorNumber::FileInUse)
            throw;
        return false;
    }
}

void syncFolder(const std::string& folder)
{
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

void renameOver(const std::string& from, const std::string& to)
{
    if (::rename(from.c_str(), to.c_str()) != 0)
        throw DaoError(ErrorNumber::IoError,
                       "Cannot rename '" + from + "' to '" + to + "': " + std::strerror(errno));
    syncFolder(folderOf(to));
}

// Leaves at most the database, never "new.mdb" as its only copy.
void sortOutScratch(const std::string& path, const std::string& scratch)
{
    if (!present(scratch))
        return;
    if (present(path) && intact(path)) {
        std::error_code ec;
        if (!fs::remove(scratch, ec) && ec)
            throw DaoError(ErrorNumber::IoError, "Cannot delete the stale '" + scratch + "': " + ec.message());
        return;
    }
    if (!intact(scratch))
        return;   // nothing sound to restore: leave both as they are for the open to report
    renameOver(scratch, path);
}

// Compaction replaces the file, so it is for files the user lets us write, in a folder we may
// write: a read-only database (or one in a read-only folder) is left exactly as it is, and so
// is an empty file, which compacted would turn into a database of no tables.
bool worthCompacting(const std::string& path)
{
    std::error_code ec;
    if (fs::is_regular_file(path, ec) && fs::file_size(path, ec) == 0 && !ec)
        return false;
    return databaseAccess(path) == Access::Writable;
}

} // namespace

std::string scratchPath(const std::string& path)
{
    return folderOf(path) + kScratchName;
}

namespace {

// The target itself when `given` is a link to it, so that the file is replaced beside itself.
std::string resolved(const std::string& given)
{
    std::error_code ec;
    if (fs::is_symlink(fs::symlink_status(given, ec))) {
        fs::path target = fs::canonical(given, ec);
        if (!ec)
            return target.string();
    }
    return given;
}

// Writes a compacted copy of `source` beside `path` as "new.mdb", verifies and flushes it, and
// renames it over `path`, all under `path`'s write lock.
void replaceByCopy(const std::string& path, const std::string& source, const CompactionObserver& observe)
{
    std::string scratch = scratchPath(path);
    sortOutScratch(path, scratch);
    if (!present(path))
        throw DaoError(ErrorNumber::FileNotFound, "Could not find file '" + path + "'");

    if (!worthCompacting(path))
        return;   // opened as it is: the open and the checks report what is wrong with it

    dao::WriterLock lock(path);   // no other program commits while the copy is made and swapped
    dao::compactDatabase(source, scratch, [&] {
        if (observe)
            observe(CompactionStep::Copying);
        return true;
    });
    if (observe)
        observe(CompactionStep::CopyComplete);
    std::error_code ec;
    fs::permissions(scratch, fs::status(path, ec).permissions(), ec);
    try {
        renameOver(scratch, path);
    } catch (...) {
        fs::remove(scratch, ec);
        throw;
    }
    if (observe)
        observe(CompactionStep::Replaced);
}

} // namespace

void compactInPlace(const std::string& given, const CompactionObserver& observe)
{
    if (given.empty())
        throw DaoError(ErrorNumber::FileNotFound, "Could not find file ''");
    std::string path = resolved(given);
    if (fs::path(path).filename() == kScratchName)
        return;   // the database carries the scratch name itself: it is opened as it is
    replaceByCopy(path, path, observe);
}

void replaceDatabase(const std::string& given, const std::string& source, const CompactionObserver& observe)
{
    if (!present(source))
        throw DaoError(ErrorNumber::FileNotFound, "Could not find file '" + source + "'");
    std::string path = resolved(given);
    if (fs::path(path).filename() == kScratchName)
        throw DaoError(ErrorNumber::IoError, "Cannot replace a database named '" + std::string(kScratchName) + "'");
    replaceByCopy(path, source, observe);
}

} // namespace vyr::vtx
