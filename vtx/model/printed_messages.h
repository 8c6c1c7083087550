#pragma once
// Messages written one per line instead of shown in boxes; every question gets its default
// answer. Used where there is nobody to click: the command-line companion and offscreen runs.
#include "vtx/model/messages.h"

#include <ostream>

namespace vyr::vtx {

class PrintedMessages : public MessageBoxes {
public:
    // Details of failures go to `details` when given (vtxctl --verbose: standard error).
    explicit PrintedMessages(std::ostream& out, std::ostream* details = nullptr) : out_(out), details_(details) {}
    Answer show(const std::string& text, const std::string& caption, Buttons buttons) override;
    Answer showDetailed(const std::string& text, const std::string& details, const std::string& caption,
                        Buttons buttons) override;

private:
    std::ostream& out_;
    std::ostream* details_;
};

} // namespace vyr::vtx
