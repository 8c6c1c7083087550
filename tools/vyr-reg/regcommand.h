#pragma once
// The vyr-reg command line: query, add, delete and export keys of the registry store.
#include <iosfwd>
#include <string>
#include <vector>

namespace vyr::tools {

// Runs one command (the arguments after the program name) and returns the exit code: 0 on
// success, 1 on any error. Confirmations (without /f) are read from `in`.
int runReg(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err);

} // namespace vyr::tools
