#include "vtx/ctl/output.h"

#include "vtx/model/error_text.h"

#include <iostream>

namespace vyr::vtx::ctl {

namespace {
bool verbose_ = false;
}

void setVerbose(bool verbose)
{
    verbose_ = verbose;
}

std::ostream* detailsStream()
{
    return verbose_ ? &std::cerr : nullptr;
}

void printError(const std::exception& e)
{
    ErrorText t = errorText(e);
    std::cerr << t.message << "\n";
    if (verbose_ && !t.details.empty())
        std::cerr << "  details: " << t.details << "\n";
}

} // namespace vyr::vtx::ctl
