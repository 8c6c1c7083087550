#pragma once
// The configuration as JSON text, for review by service staff: version, splitter positions,
// CAN names, placements, lamps and stand.
#include "vtx/model/configuration.h"

#include <string>

namespace vyr::vtx {

std::string configurationJson(const Configuration& c);

} // namespace vyr::vtx
