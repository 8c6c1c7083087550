#pragma once
// Loading the configuration form from the System Database: channels, lamps, splitter
// positions, placements, catalogue, stand and the filter-wheel splitter, in that order.
#include "platform/dao/database.h"
#include "vtx/model/configuration.h"

#include <cstdint>

namespace vyr::vtx {

// `previous` is what the form held before: a channel whose DIO row is missing keeps its CAN.
// Database errors propagate as dao::DaoError.
Configuration loadConfiguration(dao::Database& db, int32_t version, Configuration previous = {});

} // namespace vyr::vtx
