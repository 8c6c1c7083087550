#pragma once
// What a failure tells service staff, apart from what it tells a developer: the message in the
// tool's own words, and the SQL text and the engine's words as details (shown on request in
// the message box, printed by vtxctl with --verbose).
#include <exception>
#include <string>

namespace vyr::vtx {

struct ErrorText {
    std::string message;
    std::string details;   // empty when the description holds nothing more
};

ErrorText errorText(const std::exception& e);
ErrorText errorText(const std::string& description);

} // namespace vyr::vtx
