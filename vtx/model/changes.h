#pragma once
// Changes to the configuration written as NAME=VALUE, for scripts: nt1, nt2, manualMirror,
// can1 to can4, transmittedLight, reflectedLight, and HOLDER.N=FILTER for place N of a holder.
// Each goes through the same editing handlers as a click in the diagram.
#include "vtx/model/editor.h"

#include <string>

namespace vyr::vtx {

// Applies one change; the empty string on success, else why it was refused (nothing changed).
std::string applyChange(ConfigurationEditor& editor, const std::string& assignment);

} // namespace vyr::vtx
