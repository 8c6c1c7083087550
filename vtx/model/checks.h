#pragma once
// The version and system checks that decide whether an opened System Database is for this
// tool. Messages go to the message boxes with the caption "vtx.exe".
#include "platform/dao/database.h"
#include "vtx/model/messages.h"

#include <cstdint>

namespace vyr::vtx {

struct CheckOutcome {
    bool passed = false;
    int32_t version = 0;
};

// Reads the first rows of [System Versions] and [Available Systems]. Throws dao::DaoError
// (missing table or column, an empty table, a version that is no number) for the caller's
// error handler.
CheckOutcome runChecks(dao::Database& db, MessageBoxes& boxes);

} // namespace vyr::vtx
