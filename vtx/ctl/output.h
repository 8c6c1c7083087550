#pragma once
// How vtxctl reports: messages as the tool words them; with --verbose also the details (the
// SQL text, the engine's words) on standard error.
#include "vtx/model/printed_messages.h"

#include <exception>
#include <ostream>

namespace vyr::vtx::ctl {

void setVerbose(bool verbose);
// Where details go: standard error with --verbose, else nowhere.
std::ostream* detailsStream();
// A failure on standard error: its message, and its details with --verbose.
void printError(const std::exception& e);

} // namespace vyr::vtx::ctl
