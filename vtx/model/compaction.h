#pragma once
// Compacting the System Database in place without ever putting its only copy at risk.
//
// The compacted copy is written beside the database as "new.mdb", verified, flushed, and
// then renamed over the database in one atomic step, all under the database's write lock.
// A crash at any moment leaves either the old database or the new one, never neither.
//
// A "new.mdb" found beforehand is sorted out first: when it is the only copy (the database is
// missing, empty or damaged, as an interrupted compaction of older versions of the tool could
// leave it) and it is itself intact, it becomes the database again; beside an intact database
// it is stale and is removed.
#include <functional>
#include <string>

namespace vyr::vtx {

inline constexpr const char* kScratchName = "new.mdb";

enum class CompactionStep {
    Copying,        // now and then while the copy is being written
    CopyComplete,   // the copy is complete and verified; the database is not yet replaced
    Replaced,       // the copy has taken the database's place
};
using CompactionObserver = std::function<void(CompactionStep)>;

// "new.mdb" in the folder of `path` (the part up to and including its last '/').
std::string scratchPath(const std::string& path);

// Throws dao::DaoError with a description when the database is missing, locked, not a
// database, or cannot be compacted; the database is then as it was.
void compactInPlace(const std::string& path, const CompactionObserver& observe = {});

// Puts a compacted copy of the database `source` in the place of the database `path`, with the
// same safety: a crash leaves either the old database or the new one. Fails like
// compactInPlace, and when `source` is missing or not a sound database.
void replaceDatabase(const std::string& path, const std::string& source, const CompactionObserver& observe = {});

} // namespace vyr::vtx
