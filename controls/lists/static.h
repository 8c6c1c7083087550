#pragma once
// Static: a label. A framed rectangle with a word-wrapped caption and a picture at chosen
// positions over a back colour or tiled back picture. Bound to a command it follows the
// command's visible state and shows CheckedPicture while the command's state is set.
#include "controls/core/control.h"

namespace vyr::controls {

class Static final : public ControlBase {
public:
    Static();
    static const ClassDescriptor& classDescriptor();

    OLE_COLOR textColor = 0x80000008; // COLOR_WINDOWTEXT
    OLE_COLOR backColor = 0x8000000F; // COLOR_BTNFACE
    com::ComPtr<IPictureDisp> picture, backPicture, checkedPicture;
    int picturePosition = 4;
    int captionPosition = 4;
    int frameStyle = 0;

    // The bound command's state is set.
    bool checked() const { return checked_; }
    // The picture drawn now: CheckedPicture while checked and set, else Picture.
    IPictureDisp* shownPicture() const;

    void onDraw(QPainter& painter, const QRect& bounds) override;
    void refreshFromServer() override;
    // A label's mnemonic fires Click.
    STDMETHOD(OnMnemonic)() override;
    void describe(AccessFacts& facts) const override;

private:
    bool checked_ = false;
};

HRESULT createStatic(REFIID iid, void** out);

} // namespace vyr::controls
