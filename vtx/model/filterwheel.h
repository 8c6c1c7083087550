#pragma once
// The filter-wheel position dialog apart from its window: the places it offers, and OK, which
// checks the typed place. The dialog only chooses: Store writes "VTX LP680" into the chosen
// place later, in its own short transaction, so that no lock is held while the dialog is open.
#include "platform/dao/database.h"
#include "vtx/model/messages.h"

#include <optional>
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

    // OK with the place typed in `position`: the place, and the dialog closes; nothing after
    // a refusal message (the dialog stays open). Reads the wheel, writes nothing.
    std::optional<int> accept(const std::string& position, MessageBoxes& boxes);

private:
    dao::Database& db_;
    std::vector<std::string> items_;
    std::vector<int> positions_;
};

// Store's view of the dialog: shows it modally; the place OK accepted, or nothing when the
// dialog was closed any other way (cancelled).
class FilterWheelDialog {
public:
    virtual ~FilterWheelDialog() = default;
    virtual std::optional<int> choosePlace(dao::Database& db, MessageBoxes& boxes) = 0;
};

} // namespace vyr::vtx
