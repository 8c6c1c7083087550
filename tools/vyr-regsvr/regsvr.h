#pragma once
// vyr-regsvr: loads a control server library and calls its DllRegisterServer (or, with /u,
// DllUnregisterServer), reporting the result.
#include <iosfwd>
#include <string>
#include <vector>

namespace vyr::tools {

// Exit codes, as the Windows tool uses them.
enum RegsvrExit : int {
    kRegsvrOk = 0,
    kRegsvrBadArguments = 1,
    kRegsvrLoadFailed = 3,
    kRegsvrNoEntryPoint = 4,
    kRegsvrCallFailed = 5,
};

// Arguments after the program name: [/u] [/s] LIB. /s leaves out the success message.
int runRegsvr(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace vyr::tools
