#pragma once
// Reading and changing single rows of the System Database the way the configuration form and
// Store do: a row found by its [ID Available] key (the first in table order), snapshots of the
// fixed statements, and the row-update helpers. A key that is not found changes nothing.
#include "platform/dao/database.h"

#include <optional>
#include <string>
#include <vector>

namespace vyr::vtx::rows {

inline constexpr const char* kDoNotUse = "Do not use";

// Text of a field, with Null read as the empty string.
std::string text(const dao::Recordset& r, const std::string& field);

// The [Status] of row `key` of `table` (by the statement "SELECT * FROM [table] WHERE
// [ID Available] = 'key'"); nothing when the row is missing. Null reads as the empty string.
std::optional<std::string> status(dao::Database& db, const std::string& table, const std::string& key);
// A field of row `key`, as above.
std::optional<std::string> field(dao::Database& db, const std::string& table, const std::string& key,
                                 const std::string& column);
bool exists(dao::Database& db, const std::string& sql);

// Writes `values` (column, value pairs) into the first row of `table` whose [ID Available] is
// `key`. False when there is no such row.
bool write(dao::Database& db, const std::string& table, const std::string& key,
           const std::vector<std::pair<std::string, dao::Value>>& values);

// [Status] "Do not use" when `can` is "None", else the empty string.
void setStatus(dao::Database& db, const std::string& table, const std::string& key, const std::string& can);
void setStatusText(dao::Database& db, const std::string& table, const std::string& key, const std::string& status);
void inUse(dao::Database& db, const std::string& table, const std::string& key);
void doNotUse(dao::Database& db, const std::string& table, const std::string& key);
void setDioControl(dao::Database& db, const std::string& key, const std::string& can);
void setDacControl(dao::Database& db, const std::string& key, const std::string& can);
void setHolderControl(dao::Database& db, const std::string& key, const std::string& can);
// Place n of `holder` gets names[n - 1], for n from 1 to the list's length; other places stay.
void setPlacement(dao::Database& db, const std::string& holder, const std::vector<std::string>& names);

enum class DetectorMode { Vtx, Transmission };
void setDetectorType(dao::Database& db, DetectorMode mode);

// Rows of the placement holder `holder` as [Position] and [ID Potential], in table order.
struct Place {
    int position = 0;
    std::string name;
};
std::vector<Place> places(dao::Database& db, const std::string& sql);
std::string holderSql(const std::string& holder);

} // namespace vyr::vtx::rows
