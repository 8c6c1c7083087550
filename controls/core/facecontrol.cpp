#include "controls/core/facecontrol.h"
#include "controls/core/draw/drawing.h"
#include "controls/core/properties.h"
#include <QPainter>

namespace vyr::controls {

void FaceControl::setPressed(bool pressed)
{
    const int p = pressed ? 1 : 0;
    if (face.pressed == p)
        return;
    face.pressed = p;
    invalidate();
}

void FaceControl::onFocusOut()
{
    face.pressed = restingPressed();
    ControlBase::onFocusOut();
}

void FaceControl::onDraw(QPainter& painter, const QRect& bounds)
{
    if (draw::IsClipBoxEmpty(painter))
        return;
    const bool caption = face.captionEnable != 0;
    com::ComPtr<IPictureDisp> picture;
    if (face.imageSource && face.sourcePicture) {
        // A server picture is scaled into the bounds less 8 px.
        picture = draw::ScalePictureToFit(face.sourcePicture.get(), std::max(1, bounds.width() - 8),
                                          std::max(1, bounds.height() - 8));
    } else if (face.pictureEnable) {
        picture = face.picture;
    }
    const QFont font = qfont();
    draw::DrawButtonFace(painter, bounds, painter.clipBoundingRect().toAlignedRect(), face.style,
                         face.captionPosition, face.picturePosition, caption ? captionText() : std::string(),
                         face.foreColor, face.backColor, caption ? &font : nullptr, picture.get(),
                         face.backPicture.get(), face.pressed != 0, enabledFlag(), focused(), nullptr);
    // Painting leaves the dirty mark alone: only a save clears it, or a container that saves
    // only dirty controls would lose changes made before a repaint.
}

PropertyDesc FaceControl::foreColorProperty()
{
    return props::colorField<FaceControl>(DISPID_FORECOLOR, "ForeColor", [](FaceControl& c) -> OLE_COLOR& {
        return c.face.foreColor;
    });
}

PropertyDesc FaceControl::backColorProperty()
{
    return props::colorField<FaceControl>(DISPID_BACKCOLOR, "BackColor", [](FaceControl& c) -> OLE_COLOR& {
        return c.face.backColor;
    });
}

PropertyDesc FaceControl::pictureProperty()
{
    return props::pictureField<FaceControl>(7, "Picture", [](FaceControl& c) -> com::ComPtr<IPictureDisp>& {
        return c.face.picture;
    });
}

PropertyDesc FaceControl::backPictureProperty()
{
    return props::pictureField<FaceControl>(8, "BackPicture", [](FaceControl& c) -> com::ComPtr<IPictureDisp>& {
        return c.face.backPicture;
    });
}

PropertyDesc FaceControl::captionPositionProperty()
{
    return props::shortField<FaceControl>(
        6, "CaptionPosition", [](FaceControl& c) -> int& { return c.face.captionPosition; }, &itemPositionNames());
}

PropertyDesc FaceControl::picturePositionProperty()
{
    return props::shortField<FaceControl>(
        5, "PicturePosition", [](FaceControl& c) -> int& { return c.face.picturePosition; }, &itemPositionNames());
}

PropertyDesc FaceControl::pictureEnableProperty()
{
    return props::boolField<FaceControl>(4, "PictureEnable", [](FaceControl& c) -> int& { return c.face.pictureEnable; });
}

PropertyDesc FaceControl::captionEnableProperty()
{
    return props::boolField<FaceControl>(3, "CaptionEnable", [](FaceControl& c) -> int& { return c.face.captionEnable; });
}

PropertyDesc FaceControl::styleBrowseEntry()
{
    return props::browseOnly<FaceControl>(9, "Style", [](FaceControl& c) -> int& { return c.face.style; },
                                          &buttonStyleNames());
}

} // namespace vyr::controls
