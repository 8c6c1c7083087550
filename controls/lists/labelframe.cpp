#include "controls/lists/labelframe.h"
#include "controls/core/draw/drawing.h"
#include "platform/gdi/edge.h"
#include <QWidget>

namespace vyr::controls::lists {

const EnumNames& frameStyleNames()
{
    static const EnumNames n{{"No Frame", "Normal", "Raised", "Sunken", "Raised Dot", "Sunken Dot"}, VT_I2, {}, nullptr,
                             {"eNoFrame", "eFrameNormal", "eFrameRaised", "eFrameSunken", "eFrameRaisedDot",
                              "eFrameSunkenDot"}};
    return n;
}

QRect drawLabelFrame(QPainter& painter, const QRect& bounds, int style)
{
    auto edges = [&](std::initializer_list<UINT> list) {
        QRect r = bounds;
        for (UINT e : list)
            r = gdi::DrawEdge(painter, r, e, gdi::BF_RECT);
        return r;
    };
    switch (style) {
    case 0: return bounds;
    case 2: return edges({gdi::EDGE_RAISED});
    case 3: return edges({gdi::EDGE_SUNKEN});
    case 4: return edges({gdi::EDGE_RAISED, gdi::EDGE_SUNKEN});
    case 5: return edges({gdi::EDGE_SUNKEN, gdi::EDGE_RAISED});
    default: return edges({gdi::EDGE_ETCHED});
    }
}

void fillLabelBackground(QPainter& painter, QWidget* widget, const QRect& rect, OLE_COLOR color, IUnknown* backPicture)
{
    if (rect.isEmpty())
        return;
    const SHORT type = com::pictureType(backPicture);
    if (type != PICTYPE_BITMAP && type != PICTYPE_METAFILE)
        draw::FillSolid(painter, rect, draw::ColorOf(color));
    std::optional<QPoint> offset;
    if (widget)
        offset = widget->mapTo(widget->window(), QPoint(0, 0));
    draw::TileBackPicture(painter, backPicture, rect, QRect(), true, offset);
}

} // namespace vyr::controls::lists
