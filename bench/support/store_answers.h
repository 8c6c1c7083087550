#pragma once
// Store's user answers for benchmarks: every question answered No, the filter-wheel dialog
// cancelled, so a Store runs without windows.
#include "vtx/model/store.h"

namespace vyr::bench {

class Silent : public vtx::MessageBoxes {
public:
    vtx::Answer show(const std::string&, const std::string&, vtx::Buttons) override { return vtx::Answer::No; }
};

class NoWheel : public vtx::FilterWheelDialog {
public:
    std::optional<int> choosePlace(dao::Database&, vtx::MessageBoxes&) override { return std::nullopt; }
};

} // namespace vyr::bench
