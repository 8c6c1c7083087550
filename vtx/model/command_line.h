#pragma once
// The tool's command line: empty, or exactly "/S" or "/s".
#include <string>

namespace vyr::vtx {

enum class Launch {
    Fixed,        // empty: the database is the one the registry names; a refused one ends the tool
    Selectable,   // "/S" or "/s": Browse is offered and a refused database does not end the tool
    Invalid,      // anything else: "Invalid command line argument"
};

inline constexpr const char* kInvalidArgument = "Invalid command line argument";

Launch parseCommandLine(const std::string& commandLine);
// The arguments after the program name, joined by single blanks.
std::string joinArguments(int argc, const char* const* argv);

} // namespace vyr::vtx
