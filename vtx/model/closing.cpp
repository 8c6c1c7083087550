#include "vtx/model/closing.h"

namespace vyr::vtx {

CloseAction decideClose(bool changed, MessageBoxes& boxes)
{
    if (!changed)
        return CloseAction::Close;
    switch (boxes.show(kSaveQuestion, kDefaultCaption, Buttons::YesNoCancel)) {
    case Answer::Yes: return CloseAction::StoreThenClose;
    case Answer::No: return CloseAction::Close;
    default: return CloseAction::Stay;
    }
}

} // namespace vyr::vtx
