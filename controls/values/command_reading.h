#pragma once
// What a value control read from its command server, in the order it reads: minimum,
// maximum, value, enabled flag, and list entries. A failed read ends the reading; the
// fields before it are filled, those after it are not.
#include <cstddef>
#include <optional>
#include <vector>

namespace vyr::values {

struct CommandReading {
    std::optional<double> minimum;
    std::optional<double> maximum;
    std::optional<double> value;
    std::optional<bool> enabled;
    std::optional<std::vector<double>> entries; // list mode only
    bool failed = false;
};

// A server's entry count beyond this is not believed: at most this many entries are read.
constexpr size_t kMaxListEntries = 65536;

} // namespace vyr::values
