#pragma once
// What Close does with unsaved changes: ask "Do you want to save the changes you made?"
// with Yes, No and Cancel, or close at once when nothing changed.
#include "vtx/model/messages.h"

namespace vyr::vtx {

inline constexpr const char* kSaveQuestion = "Do you want to save the changes you made?";

enum class CloseAction { Close, StoreThenClose, Stay };

CloseAction decideClose(bool changed, MessageBoxes& boxes);

} // namespace vyr::vtx
