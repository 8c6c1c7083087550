#pragma once
// The system checks on the first row of [Available Systems]: each value upper-cased and
// searched for a word. A refusal stops the check; the Ostral notice only informs.
#include <optional>
#include <string>

namespace vyr::vtx {

struct SystemVerdict {
    std::optional<std::string> refusal;   // "is for VELDAN" or "is for FCS only"
    std::optional<std::string> notice;    // "is an Ostral"
};

// Missing (Null) values count as empty text.
SystemVerdict checkSystem(const std::string& scanUnit, const std::string& fcsUnit, const std::string& idAvailable);

} // namespace vyr::vtx
