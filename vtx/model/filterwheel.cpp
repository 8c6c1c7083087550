#include "vtx/model/filterwheel.h"

#include "vtx/model/configuration.h"
#include "vtx/model/rows.h"

#include <algorithm>
#include <charconv>

namespace vyr::vtx {

FilterWheelChoice::FilterWheelChoice(dao::Database& db) : db_(db)
{
    std::vector<rows::Place> places = rows::places(
        db, "SELECT * FROM [Available FilterPlacement] WHERE [ID Available] = 'FW1'AND [Not Include] = False ");
    if (places.size() < 4) {
        items_ = {"Item1", "Item2", "Item3", "Item4"};
        positions_ = {1, 2, 3, 4};
        return;
    }
    // Each item is numbered by its row's own place, so that the number shown, the number typed
    // and the row written agree even when a place that is not on offer comes first.
    for (const rows::Place& p : places) {
        items_.push_back(std::to_string(p.position) + "   " + p.name);
        positions_.push_back(p.position);
    }
}

std::optional<int> FilterWheelChoice::accept(const std::string& position, MessageBoxes& boxes)
{
    if (position.empty()) {
        boxes.inform("No position select !");
        return std::nullopt;
    }
    int n = 0;
    auto [end, ec] = std::from_chars(position.data(), position.data() + position.size(), n);
    if (ec != std::errc() || end != position.data() + position.size() ||
        std::find(positions_.begin(), positions_.end(), n) == positions_.end()) {
        boxes.inform("Incorrect Position !");
        return std::nullopt;
    }
    dao::Recordset r = db_.openRecordset("Available FilterPlacement");
    for (; !r.eof(); r.moveNext()) {
        dao::Value pos = r.value("Position");
        if (!r.value("ID Available").isText("FW1") || pos.isNull() || pos.number() != double(n))
            continue;
        if (r.value("ID Potential").isText(kNone)) {
            boxes.inform("Position is None for QSX-Mode !");
            return std::nullopt;
        }
        return n;
    }
    // The wheel has no such place: nothing could be written there.
    boxes.inform("Incorrect Position !");
    return std::nullopt;
}

} // namespace vyr::vtx
