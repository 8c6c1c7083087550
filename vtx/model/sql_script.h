#pragma once
// Building a System Database from SQL scripts (the schema, then data), as the demo and the
// tests do.
#include <string>
#include <vector>

namespace vyr::vtx {

// Creates `path` from the scripts, run in order. The database is built under a temporary
// name beside `path` and renamed into place only when every script has run, so a failing
// script leaves no file. Fails when `path` exists or a script cannot be read or run.
void createDatabaseFromScripts(const std::string& path, const std::vector<std::string>& scripts);

} // namespace vyr::vtx
