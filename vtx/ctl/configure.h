#pragma once
// vtxctl show and store: the configuration form's load, edits and Store without a window.
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

} // namespace vyr::vtx::ctl
