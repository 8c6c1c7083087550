#pragma once
// vtxctl show, store, undo and demo: the configuration form's load, edits, Store and Undo
// without a window.
#include <optional>
#include <string>
#include <vector>

namespace vyr::vtx::ctl {

struct StoreOptions {
    std::vector<std::string> changes;   // NAME=VALUE, applied in order
    bool yes = false;                   // the answer to Store's question
    std::string fw1 = "cancel";         // the place typed into the filter-wheel dialog
    bool dryRun = false;                // print the row changes instead of writing them
};

std::optional<StoreOptions> parseStoreOptions(const std::vector<std::string>& args);

int show(const std::string& path);                         // 0, or 1 when it cannot load
int store(const std::string& path, const StoreOptions& o);  // 0 stored, 3 refused, 1 error, 2 bad change
// Undo of the last Store by rows: 0 undone, 3 refused (the changed rows are printed, and the
// restore command that would put the whole file back), 1 error.
int undo(const std::string& path);
// A demo System Database at `path` (which must not exist), named in the registry store and
// opened as the tool would open it: 0, or 1 on failure.
int demo(const std::string& path);

} // namespace vyr::vtx::ctl
