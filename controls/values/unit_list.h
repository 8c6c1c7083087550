#pragma once
// The Slider's units: `UnitStrings` gives the names, `UnitFactors` the factors by which the
// value is multiplied for display in that unit.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vyr::values {

struct Unit {
    std::string name;
    double factor = 1.0;
    friend bool operator==(const Unit&, const Unit&) = default;
};

// Unit names are maximal runs of alphanumeric characters. Bytes of multi-byte UTF-8
// characters count as name characters so that names such as "µm" stay whole.
std::vector<std::string> unitNames(std::string_view text);

// Entry i takes the i-th name and the i-th factor; the list is as long as the longer of
// the two, missing names stay empty and missing factors stay 1.
std::vector<Unit> parseUnits(std::string_view names, std::string_view factors);
// The rewritten property texts: names joined by blanks; factors as "%.6lg" joined by blanks.
std::string unitNamesText(const std::vector<Unit>& units);
std::string unitFactorsText(const std::vector<Unit>& units);

// The unit shown when the user has not picked one: the one giving the smallest displayed
// magnitude not below 1, else (every unit shows less than 1) the one giving the largest.
// Ties go to the earlier unit; 0 for an empty list, a zero or a non-finite value.
size_t automaticUnit(const std::vector<Unit>& units, double value);

} // namespace vyr::values
