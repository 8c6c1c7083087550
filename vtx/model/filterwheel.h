#pragma once
// The filter-wheel position dialog apart from its window: the places it offers, and OK, which
// checks the typed place and writes "VTX LP680" into it.
#include "platform/dao/database.h"
#include "vtx/model/messages.h"

#include <string>
#include <vector>

namespace vyr::vtx {

class FilterWheelChoice {
public:
    explicit FilterWheelChoice(dao::Database& db);

    // Menu captions: place number, three blanks, the filter at that place; the designed
    // "Item1" to "Item4" (places 1 to 4) when the wheel has fewer than four places on offer.
    const std::vector<std::string>& items() const { return items_; }
    // The place number menu item `item` puts into the position box.
    std::string positionText(size_t item) const { return std::to_string(positions_.at(item)); }

    // OK with the place typed in `position`: true when "VTX LP680" was written and the
    // dialog closes; false after a refusal message (the dialog stays open).
    bool accept(const std::string& position, MessageBoxes& boxes);

private:
    dao::Database& db_;
    std::vector<std::string> items_;
    std::vector<int> positions_;
};

// Store's view of the dialog: shows it modally; true only when OK wrote a place. Any other way
// of closing it counts as cancelled.
class FilterWheelDialog {
public:
    virtual ~FilterWheelDialog() = default;
    virtual bool choosePlace(dao::Database& db, MessageBoxes& boxes) = 0;
};

} // namespace vyr::vtx
