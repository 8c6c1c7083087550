#pragma once
// The ValueEdit's geometry: value buttons at the right edge, the spin column left of them,
// and the edit area taking the rest.
#include "controls/values/pixel_geometry.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vyr::values {

constexpr int kSpinColumnWidth = 25;

enum class ValueEditPart { None, UpButton, DownButton, ValueButton };

struct ValueEditHit {
    ValueEditPart part = ValueEditPart::None;
    int button = -1;
};

struct ValueEditGeometry {
    PixelRect client;
    PixelRect editArea;  // framed with a sunken edge
    PixelRect spinGap;   // the 4 pixels left of the spin column, filled with the back colour
    PixelRect upButton;  // empty without spin buttons
    PixelRect downButton;
    std::vector<PixelRect> valueButtons;

    ValueEditHit hitTest(PixelPoint p) const;
    PixelRect editBox(int textHeight) const { return editBoxIn(editArea, textHeight); }
};

ValueEditGeometry layoutValueEdit(const PixelRect& client, bool spinButtons, size_t buttonCount,
                                  int32_t buttonWidth);

} // namespace vyr::values
