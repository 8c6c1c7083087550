#pragma once
// Copies of the System Database kept beside it before each Store, so that a store can be
// undone: "<database file name>.<yyyymmdd-hhmmss-mmm>.bak" in the database's folder, the
// newest kKeptBackups of them. A restore puts one back with the safety of compaction.
#include "vtx/model/compaction.h"

#include <cstddef>
#include <string>
#include <vector>

namespace vyr::vtx {

inline constexpr size_t kKeptBackups = 10;

// Copies the database now (a consistent, verified copy even while others read or hold a
// write transaction open), drops the oldest copies beyond kKeptBackups, and returns the
// copy's path. Throws dao::DaoError when the copy cannot be made; the database is untouched.
std::string keepBackup(const std::string& databasePath);
// The two halves of keepBackup, for a Store that drops the oldest copies only once it has
// succeeded: a failed Store removes its own copy (dropBackup) and leaves the others.
std::string copyBackup(const std::string& databasePath);
void pruneBackups(const std::string& databasePath);
// Removes a backup and the row changes kept with it.
void dropBackup(const std::string& backup);

// The backups of the database, oldest first.
std::vector<std::string> listBackups(const std::string& databasePath);

// Puts `backup` back as the database, after keeping a backup of the current state (so that a
// restore can be undone too). A crash leaves either the old or the restored database.
void restoreBackup(const std::string& databasePath, const std::string& backup,
                   const CompactionObserver& observe = {});

} // namespace vyr::vtx
