#pragma once
// Undo of a Store by rows. A completed Store keeps the row changes it made beside its backup
// ("<backup>.undo"); Undo writes each changed cell's earlier value back, in one short
// transaction, but only when every cell it would touch still holds what the Store wrote.
// Changes made since to other rows and columns (a filter added in the catalogue, a column the
// instrument's software wrote) stay. When a cell changed since, nothing is written and the
// changed cells are returned; the whole-file restore of the backup is then the caller's
// second choice.
#include "platform/dao/database.h"
#include "vtx/model/row_changes.h"

#include <optional>
#include <string>
#include <vector>

namespace vyr::vtx {

inline constexpr const char* kUndoSuffix = ".undo";

std::string undoFile(const std::string& backup);   // backup + ".undo"

// Writes the list beside the backup: complete or not at all (a scratch file renamed into
// place). Throws dao::DaoError when it cannot be written.
void saveUndo(const std::string& backup, const std::vector<RowChange>& changes);
// The list kept with the backup; nothing when there is none or it cannot be read.
std::optional<std::vector<RowChange>> readUndo(const std::string& backup);

// A cell that no longer holds what the Store wrote.
struct UndoConflict {
    RowChange change;                  // what the Store did
    std::optional<dao::Value> now;     // what the cell holds now; nothing: the row is gone
};
// "[table] key: [column] Store wrote "X", now "Y""
std::string describe(const UndoConflict& conflict);

struct UndoOutcome {
    bool undone = false;                  // the earlier values are back (or already were)
    std::vector<UndoConflict> conflicts;  // when refused: every cell that changed since
};

// Applies the inverse of `changes` in one transaction after checking every cell. Database
// errors roll back and propagate as dao::DaoError.
UndoOutcome undoRows(dao::Database& db, const std::vector<RowChange>& changes);

// The refusal text: what changed since, then that nothing was undone.
std::string undoRefusal(const std::vector<UndoConflict>& conflicts);

inline constexpr const char* kUndoQuestion =
    "Undo the last Store? The rows it changed get their earlier values back; later changes stay.";
inline constexpr const char* kRestoreOffer =
    "Instead, put the whole System Database back as it was before that Store? "
    "Every change made since then, by this tool or by other programs, will be lost.";

} // namespace vyr::vtx
