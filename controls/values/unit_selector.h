#pragma once
// The Slider's unit selector: a drop-down list of the unit names whose items the control
// draws itself (highlight colours when selected, window colours otherwise, indented, centred
// vertically, with a focus rectangle on the focused item).
#include <QComboBox>
#include <cstddef>
#include <string>
#include <vector>

namespace vyr::values {

// The selection a refill of `count` names keeps: `kept` while it is still an entry, else the
// first entry; -1 for an empty list.
int keptSelection(int kept, size_t count);

class UnitSelector final : public QComboBox {
public:
    explicit UnitSelector(QWidget* parent);
    // Replaces the names, keeping the selection (see keptSelection); returns the selected
    // index, -1 for an empty list.
    int refill(const std::vector<std::string>& names);
};

} // namespace vyr::values
