#pragma once
// vtxctl backups and restore: the copies Store keeps beside the System Database.
#include <string>

namespace vyr::vtx::ctl {

// Each backup's file name, oldest first, followed by the row changes from it to the next one
// (or to the database as it is now), indented. 0, or 1 when the database cannot be read.
int listBackupChanges(const std::string& path);
// Puts BACKUP (a path, or a name from the listing) back as the database. 0, or 1 on failure.
int restore(const std::string& path, const std::string& backup);

} // namespace vyr::vtx::ctl
