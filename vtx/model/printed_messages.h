#pragma once
// Messages written one per line instead of shown in boxes; every question gets its default
// answer. Used where there is nobody to click: the command-line companion and offscreen runs.
#include "vtx/model/messages.h"

#include <ostream>

namespace vyr::vtx {

class PrintedMessages : public MessageBoxes {
public:
    explicit PrintedMessages(std::ostream& out) : out_(out) {}
    Answer show(const std::string& text, const std::string& caption, Buttons buttons) override;

private:
    std::ostream& out_;
};

} // namespace vyr::vtx
