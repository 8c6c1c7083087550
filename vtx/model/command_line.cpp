#include "vtx/model/command_line.h"

namespace vyr::vtx {

Launch parseCommandLine(const std::string& commandLine)
{
    if (commandLine.empty())
        return Launch::Fixed;
    if (commandLine == "/S" || commandLine == "/s")
        return Launch::Selectable;
    return Launch::Invalid;
}

std::string joinArguments(int argc, const char* const* argv)
{
    std::string line;
    for (int i = 1; i < argc; ++i)
        line += (i > 1 ? " " : "") + std::string(argv[i]);
    return line;
}

} // namespace vyr::vtx
