#pragma once
// The database version: the text of [Version Name] read as a decimal number, times 10000,
// rounded ("2.08" gives 20800, "2.1" gives 21000).
#include "platform/dao/value.h"

#include <cstdint>
#include <optional>
#include <string>

namespace vyr::vtx {

inline constexpr int32_t kMinimumVersion = 20800;
inline constexpr const char* kMinimumVersionText = "2.08";

// Throws dao::DaoError for Null, for text that is not a number, and for a number too large
// to hold (the description says which).
int32_t versionNumber(const dao::Value& versionName);
// The message for a version below the minimum, or nothing.
std::optional<std::string> versionProblem(const std::string& versionText, int32_t version);

} // namespace vyr::vtx
