#pragma once
// The Slider control: one numeric value of the host application on a horizontal or vertical
// track, with arrow buttons, a value field, units and value buttons. The logic lives in
// SliderLogic; this class feeds it Qt input and the command server's state, carries out what
// it answers and paints what it computes.
#include "controls/values/slider_logic.h"
#include "controls/values/unit_selector.h"
#include "controls/values/value_control.h"
#include "controls/values/value_field.h"

#include <QPointer>

namespace vyr::controls {


class Slider final : public ValueControl<values::SliderLogic> {
public:
    Slider();
    static const ClassDescriptor& classDescriptor();

    void onDraw(QPainter& painter, const QRect& bounds) override;
    void onMouseMove(QMouseEvent* e) override;
    void onFocusOut() override;
    void onWindowCreated() override;

    void relayout() override;
    // After a change of the units: refills the unit selector and lays out again.
    void unitsChanged();
    // After `SliderMode` changed: takes the discrete values anew and reads the server again.
    void modeChanged();

    // The child fields, once they are shown for the first time (null before).
    values::ValueField* valueField() const { return edit_; }
    values::UnitSelector* unitSelector() const { return units_; }

protected:
    values::ReadPlan readPlan() const override;
    void applyToChildren(const values::ValueEffects& fx, bool committed) override;

private:
    void placeChildren();
    // Each child field is built the first time it is to be shown, and only moved, shown or
    // hidden from then on.
    void makeValueField();
    void makeUnitSelector();
    std::vector<std::string> unitNames() const;
    void showValueText(bool evenIfTyped);

    QPointer<values::ValueField> edit_;
    QPointer<values::UnitSelector> units_;
    // The unit chosen while no selector exists: what a selector refilled with the same units
    // would hold.
    int unitChoice_ = -1;
};

} // namespace vyr::controls
