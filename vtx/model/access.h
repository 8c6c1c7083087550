#pragma once
// Whether the tool may write a System Database: the file and its folder must both be writable
// (SQLite writes its journal beside the file, and compaction replaces the file). A file or
// folder without any write permission counts as read-only even for a user the system would
// let through (root): its owner has said it is not to be changed.
#include <string>

namespace vyr::vtx {

enum class Access { Writable, ReadOnlyFile, ReadOnlyFolder };

// Writable also for a path that does not exist: opening it reports that.
Access databaseAccess(const std::string& path);

// The note the form shows and vtxctl prints for a read-only database; empty when writable.
std::string readOnlyNote(Access access);

} // namespace vyr::vtx
