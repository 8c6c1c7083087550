#pragma once
// The database writes the reliability tests break: each runs on its own copy of a database
// and reports whether it succeeded and what the user was told.
#include <string>

namespace vyr::reliability {

struct Result {
    bool ok = false;
    std::string message;   // what the user sees (message boxes, one per line)
};

// The tool's start-up on `path`: compaction, then the checks.
Result startTool(const std::string& path);
// Store as `vtxctl store DB nt1=Nothing nt2=Nothing --yes` runs it (the same code, in this
// process): start-up with compaction, two changes, Store answering its question with Yes.
Result storeConfiguration(const std::string& path);
// Restore as `vtxctl restore DB BACKUP` runs it: `backup` (a name in the database's folder) is
// put back as the database.
Result restoreBackup(const std::string& path, const std::string& backup);
// Undo as `vtxctl undo DB` runs it: the last Store's rows put back from the row changes kept
// with its backup (which must lie beside the database).
Result undoStore(const std::string& path);
// The filter editor's Close with one new filter pending: the catalogue write.
Result closeFilterEditor(const std::string& path);
// A registry write on the store at `path`: a new key with its default value, in one call.
Result writeRegistry(const std::string& path);
// The next program's read of the store: a key the store held before the write, through a new
// handle; fails with the registry's error code.
Result readRegistry(const std::string& path);
// Builds a registry store at `path` with a few keys, checkpointed into the file alone.
void makeRegistryStore(const std::string& path);

} // namespace vyr::reliability
