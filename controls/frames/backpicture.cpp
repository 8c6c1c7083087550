#include "controls/frames/backpicture.h"
#include "controls/core/draw/drawing.h"
#include "platform/com/picture.h"
#include "platform/gdi/fill.h"
#include "platform/gdi/syscolors.h"
#include <QWidget>

namespace vyr::frames {

namespace {

// Bitmaps and metafiles hide the background colour; icons leave it showing between their pixels.
bool pictureCovers(IUnknown* picture)
{
    const SHORT type = com::pictureType(picture);
    return type == PICTYPE_BITMAP || type == PICTYPE_METAFILE;
}

} // namespace

void paintBackground(QPainter& painter, QWidget* widget, const QRect& rect, OLE_COLOR color, IUnknown* picture,
                     bool alignTopLevel)
{
    if (rect.isEmpty())
        return;
    if (!pictureCovers(picture))
        gdi::FillSolid(painter, rect, gdi::ColorOf(color));
    std::optional<QPoint> offset;
    if (widget)
        offset = widget->mapTo(widget->window(), QPoint(0, 0));
    controls::draw::TileBackPicture(painter, picture, rect, QRect(), alignTopLevel, offset);
}

} // namespace vyr::frames
