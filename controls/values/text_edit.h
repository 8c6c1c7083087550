#pragma once
// The Edit control: the text of a command in a single-line field. The text and the enabled
// state come from the command server; Return (after a change) and the focus leaving the
// field send the field's text back.
#include "controls/core/control.h"
#include "controls/values/edit_logic.h"
#include "controls/values/text_field.h"

#include <QPointer>

namespace vyr::controls {

class VyrEdit final : public ControlBase {
public:
    VyrEdit();
    static const ClassDescriptor& classDescriptor();

    values::EditLogic logic;
    OLE_COLOR textColor = 0x80000012;
    OLE_COLOR backColor = 0x8000000F;

    values::TextField* field() const { return field_; }
    void placeFields();

    void onDraw(QPainter& painter, const QRect& bounds) override;
    void refreshFromServer() override;
    void onFocusIn() override;
    void onResize() override { placeFields(); }
    void onPaletteChange() override { placeFields(); }
    void onWindowCreated() override;

private:
    void apply(const values::TextRefresh& r);
    void commit(values::CommitCause cause);

    QPointer<values::TextField> field_;
};

HRESULT createEdit(REFIID iid, void** out);

} // namespace vyr::controls
