#include "vtx/model/version.h"

#include "platform/dao/error.h"

#include <cmath>

namespace vyr::vtx {

int32_t versionNumber(const dao::Value& versionName)
{
    double scaled = std::nearbyint(versionName.number() * 10000.0);
    // Held in 32 bits, so that versions from 3.2768 on still read (16 bits would overflow).
    if (scaled > 2147483647.0 || scaled < -2147483648.0)
        throw dao::DaoError(dao::ErrorNumber::QueryFailed,
                            "Overflow: the database version '" + versionName.text() + "' is out of range");
    return int32_t(scaled);
}

std::optional<std::string> versionProblem(const std::string& versionText, int32_t version)
{
    if (version >= kMinimumVersion)
        return std::nullopt;
    return "Current System Database version " + versionText + " not valid (should be at least " +
           kMinimumVersionText + " )!";
}

} // namespace vyr::vtx
