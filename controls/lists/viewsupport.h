#pragma once
// What the controls built on Qt's item views share: descriptor rows whose change also reaches
// the view, and the colours of a view by the command's enabled state.
#include "controls/core/descriptor.h"
#include "platform/com/types.h"

class QWidget;

namespace vyr::controls::lists {

// `row` with `after` run once its put succeeded (e.g. to hand a new font to the view).
PropertyDesc withAfter(PropertyDesc row, void (*after)(ControlBase&));

// Text in `fore` on `back` while the command is enabled, else on the system button face.
void applyViewColors(QWidget* view, OLE_COLOR fore, OLE_COLOR back, bool enabled);
// After a palette change: every view under `root` (itself included) given colours takes them
// again, so that system colours translate through the new palette.
void reapplyViewColors(QWidget* root);

} // namespace vyr::controls::lists
