#include "controls/values/value_edit_layout.h"

namespace vyr::values {

ValueEditGeometry layoutValueEdit(const PixelRect& client, bool spinButtons, size_t buttonCount,
                                  int32_t buttonWidth)
{
    ValueEditGeometry g;
    g.client = client;
    const int64_t n = int64_t(std::min(buttonCount, kMaxLaidOutButtons));
    const int64_t bw = std::clamp<int64_t>(buttonWidth, 0, kPixelLimit);
    const int64_t right = client.right;
    auto rect = [&](int64_t l, int64_t r) {
        return PixelRect{saturatePixels(l), client.top, saturatePixels(r), client.bottom};
    };
    g.valueButtons.reserve(size_t(n));
    for (int64_t i = 0; i < n; ++i)
        g.valueButtons.push_back(rect(right - (n - i) * bw, right - (n - i - 1) * bw));

    int64_t editRight = right - (n > 0 ? n * bw + 4 : 0);
    if (spinButtons) {
        const int64_t spinLeft = editRight - kSpinColumnWidth;
        const int middle = client.top + client.height() / 2;
        g.upButton = {saturatePixels(spinLeft), client.top, saturatePixels(editRight), middle};
        g.downButton = {saturatePixels(spinLeft), middle, saturatePixels(editRight), client.bottom};
        g.spinGap = rect(spinLeft - 4, spinLeft);
        editRight = spinLeft - 4;
    }
    g.editArea = rect(client.left, editRight);
    return g;
}

ValueEditHit ValueEditGeometry::hitTest(PixelPoint p) const
{
    if (upButton.contains(p))
        return {ValueEditPart::UpButton};
    if (downButton.contains(p))
        return {ValueEditPart::DownButton};
    for (size_t i = 0; i < valueButtons.size(); ++i) {
        if (valueButtons[i].contains(p))
            return {ValueEditPart::ValueButton, int(i)};
    }
    return {};
}

} // namespace vyr::values
