#include "vtx/model/session.h"

#include "platform/dao/error.h"
#include "vtx/model/access.h"
#include "vtx/model/checks.h"

#include <filesystem>

namespace vyr::vtx {

Session::Session(MessageBoxes& boxes, std::string commandLine, CompactionObserver observe)
    : boxes_(boxes), commandLine_(std::move(commandLine)), launch_(parseCommandLine(commandLine_)),
      observe_(std::move(observe))
{
}

dao::Database Session::openCompacted(const std::string& path)
{
    std::error_code ec;
    bool openItself = db_.isOpen() && std::filesystem::equivalent(path, db_.path(), ec);
    // Replacing the file under the tool's own open connection would strand that connection
    // on the old file; the open database was compacted when it was opened.
    if (!openItself)
        compactInPlace(path, observe_);
    return dao::Database::open(path);
}

Session::Start Session::start(const std::string& path)
{
    // Checked before anything touches the database, so a mistyped switch changes nothing.
    if (launch_ == Launch::Invalid) {
        boxes_.inform(kInvalidArgument);
        return Start::Quit;
    }
    path_ = path;
    changed_ = false;
    readOnlyNote_ = vtx::readOnlyNote(databaseAccess(path));
    try {
        db_ = openCompacted(path);
        CheckOutcome outcome = runChecks(db_, boxes_);
        version_ = outcome.version;
        if (!outcome.passed)
            return launch_ == Launch::Fixed ? Start::Quit : Start::Restricted;
        return Start::Ready;
    } catch (const std::exception& e) {
        boxes_.report(e);
        return Start::Quit;
    }
}

Session::Pick Session::browse(FileDialog& dialog)
{
    std::string pick = dialog.pickDatabase(path_);
    if (pick.empty())
        return Pick::Unchanged;
    dao::Database candidate;
    CheckOutcome outcome;
    try {
        candidate = openCompacted(pick);
        outcome = runChecks(candidate, boxes_);
    } catch (const std::exception& e) {
        boxes_.report(e);
        return Pick::Unchanged;
    }
    // A refused pick leaves the previous database open with its diagram; Store is disabled
    // and the changed flag cleared with it, so that Close does not offer to store either.
    if (!outcome.passed) {
        changed_ = false;
        return Pick::Refused;
    }
    db_ = std::move(candidate);
    path_ = pick;
    readOnlyNote_ = vtx::readOnlyNote(databaseAccess(pick));
    version_ = outcome.version;
    return Pick::Loaded;
}

} // namespace vyr::vtx
