#pragma once
// Loading the configuration form from the System Database: channels, lamps, splitter
// positions, placements, catalogue, stand and the filter-wheel splitter, in that order.
#include "platform/dao/database.h"
#include "vtx/model/configuration.h"

#include <cstdint>

namespace vyr::vtx {

// The configuration as this database holds it, built from the database alone (at start, after
// Browse, after Undo or a restore alike). Database errors propagate as dao::DaoError.
Configuration loadConfiguration(dao::Database& db, int32_t version);

} // namespace vyr::vtx
