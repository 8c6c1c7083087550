#pragma once
// Store: writes the configuration into the System Database in one transaction. A completed
// store commits; a refusal, a cancelled filter-wheel dialog or a database error rolls back, so
// that the database is exactly as before and the form keeps its unsaved changes.
#include "platform/dao/database.h"
#include "vtx/model/editor.h"
#include "vtx/model/filterwheel.h"
#include "vtx/model/messages.h"

#include <cstdint>

namespace vyr::vtx {

enum class StoreResult { Completed, Refused, Cancelled };

// On Completed the editor takes the stored state and its changed flag is cleared; otherwise the
// editor is left as it was. A database error rolls back and propagates as dao::DaoError.
StoreResult storeConfiguration(dao::Database& db, int32_t version, ConfigurationEditor& editor,
                               MessageBoxes& boxes, FilterWheelDialog& wheel);

} // namespace vyr::vtx
