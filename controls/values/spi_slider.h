#pragma once
// The SpiSlider control: a band on one axis between a lower and an upper thumb, each value
// bound to its own command, with range, step, band colour and a veto from further commands.
// The band rules live in SpiSliderLogic; this class reads the five commands, feeds the logic
// Qt input and paints what it computes.
#include "controls/core/control.h"
#include "controls/values/spi_logic.h"

namespace vyr::controls {

class SpiSlider final : public ControlBase {
public:
    SpiSlider();
    static const ClassDescriptor& classDescriptor();

    // The property map: the persisted properties by name, in stream order, with their pages.
    static const std::vector<MapEntry>& propertyMap();

    values::SpiSliderLogic logic;
    // `CommandLeft` is the base's main binding.
    CommandBinding rightCommand;
    CommandBinding allowedCommand;
    CommandBinding colorCommand;
    CommandBinding stepCommand;
    OLE_COLOR backColor = 0x8000000F;
    OLE_COLOR scaleColor = 0x00000000;

    // After a command name changed: registers all five again and reads them.
    void reregister() { SetCommandServer(server()); }
    void relayout();
    // After `ToolTip` changed: a dropped tool tip is hidden at once.
    void toolTipChanged();

    void onDraw(QPainter& painter, const QRect& bounds) override;
    void refreshFromServer() override;
    void onMousePress(QMouseEvent* e) override;
    void onMouseMove(QMouseEvent* e) override;
    void onMouseRelease(QMouseEvent* e) override;
    bool onKeyPress(QKeyEvent* e) override;
    void onFocusOut() override;
    void onResize() override { relayout(); }
    void onWindowCreated() override;
    bool onEvent(QEvent* e) override;
    void onTimer(int id) override;
    // The value is the band's lower end; the description names both ends.
    void describe(AccessFacts& facts) const override;
    bool accessibleAction(AccessAction action) override;

    // The pointer rests this long over an inactive window before its tip shows.
    static constexpr int kTipDelayMs = 500;

private:
    class Port;
    void act(const values::SpiAction& action, QPoint at);
    bool readServer();
    void showTip(QPoint at);
    // A shown tip takes the new text of its tool, in place.
    void updateTip();

    std::optional<values::SpiTool> tipTool_; // the tool whose tip was shown last
    QPoint tipAt_;                           // where, in client coordinates
};

HRESULT createSpiSlider(REFIID iid, void** out);

} // namespace vyr::controls
