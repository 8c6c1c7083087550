#pragma once
// The ValueEdit control: one numeric value of the host application in an edit field, with
// spin buttons and value buttons beside it, shown multiplied by a fixed unit factor. The
// logic lives in ValueEditLogic; this class feeds it Qt input and the command server's
// state, carries out what it answers and paints what it computes.
#include "controls/values/value_control.h"
#include "controls/values/value_edit_logic.h"
#include "controls/values/value_field.h"

#include <QPointer>

namespace vyr::controls {


class VyrValueEdit final : public ValueControl<values::ValueEditLogic> {
public:
    VyrValueEdit();
    static const ClassDescriptor& classDescriptor();

    void onDraw(QPainter& painter, const QRect& bounds) override;
    void onFocusIn() override;
    void onFocusOut() override;
    void onWindowCreated() override;

    void relayout() override;
    // Shows the current value in the edit field again (after `ValuePrecision` changed).
    void showValueText();

    values::ValueField* valueField() const { return edit_; }

protected:
    void applyToChildren(const values::ValueEffects& fx, bool committed) override;

private:
    void placeEdit();

    QPointer<values::ValueField> edit_;
};

} // namespace vyr::controls
