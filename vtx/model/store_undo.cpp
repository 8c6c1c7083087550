#include "vtx/model/store_undo.h"

#include "vtx/model/backups.h"

#include <filesystem>

namespace vyr::vtx {

StoreResult storeKeepingUndo(dao::Database& db, int32_t version, ConfigurationEditor& editor, const StorePlan& plan,
                             MessageBoxes& boxes, std::string* backup)
{
    std::string made;
    StoreResult result = StoreResult::Refused;
    try {
        result = writeStore(
            db, version, editor, plan, boxes, [&] { made = copyBackup(db.path()); },
            [&](const std::vector<RowChange>& changes) { saveUndo(made, changes); });
    } catch (...) {
        if (!made.empty())
            dropBackup(made);   // nothing of the Store was written: its backup would only push out others
        throw;
    }
    if (result != StoreResult::Completed) {
        if (!made.empty())
            dropBackup(made);
        return result;
    }
    pruneBackups(db.path());
    if (backup)
        *backup = made;
    return result;
}

UndoAttempt undoStore(dao::Database& db, const std::string& backup)
{
    UndoAttempt attempt;
    std::optional<std::vector<RowChange>> changes = backup.empty() ? std::nullopt : readUndo(backup);
    if (!changes)
        return attempt;
    UndoOutcome outcome = undoRows(db, *changes);
    if (!outcome.undone) {
        attempt.result = UndoResult::Refused;
        attempt.conflicts = std::move(outcome.conflicts);
        return attempt;
    }
    std::error_code ec;
    std::filesystem::remove(undoFile(backup), ec);
    attempt.result = UndoResult::Undone;
    return attempt;
}

} // namespace vyr::vtx
