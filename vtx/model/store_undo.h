#pragma once
// Store and Undo as the window and vtxctl run them, with the backup between them: Store takes
// a backup inside its write transaction and keeps its row changes beside it; Undo puts those
// rows back (undo.h), or names what changed since so that the caller can offer the backup's
// whole-file restore instead.
#include "vtx/model/store.h"
#include "vtx/model/undo.h"

#include <string>
#include <vector>

namespace vyr::vtx {

// writeStore with a backup of the database taken just before the first write and the row
// changes kept with it. The oldest backups beyond the kept number go only after the Store
// completed; a Store that fails removes the backup it made. `backup` receives the backup's
// path when the Store completed.
StoreResult storeKeepingUndo(dao::Database& db, int32_t version, ConfigurationEditor& editor, const StorePlan& plan,
                             MessageBoxes& boxes, std::string* backup = nullptr);

enum class UndoResult {
    Undone,          // the Store's rows hold their earlier values again
    Refused,         // rows changed since: nothing was written (see conflicts)
    NothingToUndo,   // the backup holds no Store's row changes (or they were undone)
};
struct UndoAttempt {
    UndoResult result = UndoResult::NothingToUndo;
    std::vector<UndoConflict> conflicts;
};

// Undoes the Store that made `backup`, on the open database. After an Undo the row changes are
// no longer kept; the backup itself stays for a restore. Database errors propagate.
UndoAttempt undoStore(dao::Database& db, const std::string& backup);

inline constexpr const char* kNothingToUndo = "There is no Store to undo.";

} // namespace vyr::vtx
