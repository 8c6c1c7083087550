#pragma once
// FaceControl: the base of the button-like controls. It holds the appearance record they
// share (ButtonFace), draws it, and keeps the pressed state across focus changes.
#include "controls/core/control.h"

namespace vyr::controls {

// Appearance of a button-like control beyond what the control base keeps (caption, command,
// font, enabled, shown, focused, mnemonic, cookie and server live there).
struct ButtonFace {
    com::ComPtr<IPictureDisp> picture;
    com::ComPtr<IPictureDisp> backPicture;
    int picturePosition = 4; // CenterCenter
    int captionPosition = 4;
    int style = 0;           // ButtonStyle
    int reserved = 0;
    int pictureEnable = 1;
    int captionEnable = 1;
    OLE_COLOR foreColor = 0x80000012; // COLOR_BTNTEXT
    OLE_COLOR backColor = 0x8000000F; // COLOR_BTNFACE
    int pressed = 0;
    int executeOnRelease = 0;
    QRect textRect;
    // Non-zero while a picture supplied by the control (from the server) replaces `picture`.
    int imageSource = 0;
    com::ComPtr<IPictureDisp> sourcePicture;
};

class FaceControl : public ControlBase {
public:
    using ControlBase::ControlBase;

    ButtonFace face;

    void setPressed(bool pressed);
    // The pressed state the face returns to when no press is held: raised for a push button,
    // the held state for buttons that show one (an option set on the server, a radio's value).
    virtual int restingPressed() const { return 0; }
    void onDraw(QPainter& painter, const QRect& bounds) override;
    void onFocusOut() override;

    // Property rows shared by the button-like controls.
    static PropertyDesc foreColorProperty();
    static PropertyDesc backColorProperty();
    static PropertyDesc pictureProperty();
    static PropertyDesc backPictureProperty();
    static PropertyDesc captionPositionProperty();
    static PropertyDesc picturePositionProperty();
    static PropertyDesc pictureEnableProperty();
    static PropertyDesc captionEnableProperty();
    // The face style browses with the shared names but no interface exposes it.
    static PropertyDesc styleBrowseEntry();
};

} // namespace vyr::controls
