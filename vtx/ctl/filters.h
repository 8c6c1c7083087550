#pragma once
// vtxctl filters: the filter catalogue editor without a window.
#include <string>
#include <vector>

namespace vyr::vtx::ctl {

int listFilters(const std::string& path);                                      // 0, 1 on error
int addFilter(const std::string& path, const std::vector<std::string>& fields);  // 0 added, 3 refused, 2 bad field, 1 error
int removeFilter(const std::string& path, const std::string& name);             // 0 removed, 3 refused, 1 not listed or error

} // namespace vyr::vtx::ctl
