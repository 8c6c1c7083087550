#pragma once
// CompactDatabase: writes a compacted copy of a database into a new file.
#include <functional>
#include <string>

namespace vyr::dao {

// Called now and then while the copy is being written; returning false abandons the copy.
// (Tests also use it to stop the process in the middle of a compaction.)
using CompactProgress = std::function<bool()>;

// Creates `destination` anew as a compacted copy of `source`. The destination must not exist.
// On return the copy is complete, has passed an integrity check, holds the same tables with
// the same row counts as the source, and is flushed to disk. On failure no destination file
// is left behind and the source is untouched.
void compactDatabase(const std::string& source, const std::string& destination,
                     const CompactProgress& progress = {});

} // namespace vyr::dao
