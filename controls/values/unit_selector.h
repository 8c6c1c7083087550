#pragma once
// The Slider's unit selector: a drop-down list of the unit names whose items the control
// draws itself (highlight colours when selected, window colours otherwise, indented, centred
// vertically, with a focus rectangle on the focused item).
#include <QComboBox>
#include <string>
#include <vector>

namespace vyr::values {

class UnitSelector final : public QComboBox {
public:
    explicit UnitSelector(QWidget* parent);
    // Replaces the names, keeping the selection (the first entry when there was none or it is
    // gone); returns the selected index, -1 for an empty list.
    int refill(const std::vector<std::string>& names);
};

} // namespace vyr::values
