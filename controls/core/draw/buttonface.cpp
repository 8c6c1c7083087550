// The button face: drawn straight onto the target, or composed into an image at the size of the
// bounds and copied (disabled, focused, round and diamond faces, whose last steps depend on what
// is drawn or clipped).
#include "controls/core/draw/drawing.h"
#include "platform/gdi/devicepixels.h"
#include "platform/gdi/edge.h"
#include "platform/gdi/plaindrawing.h"
#include <QPainter>
#include <QPolygon>
#include <QRegion>

namespace vyr::controls::draw {
namespace {

using namespace gdi;

// The back colour fills the face unless a bitmap back picture covers it.
bool backColourFills(IUnknown* backPicture)
{
    const SHORT type = com::pictureType(backPicture);
    return type == PICTYPE_NONE || type == PICTYPE_UNINITIALIZED || type == PICTYPE_ICON;
}

QRegion shapeOf(int style, const QRect& square)
{
    if (style == kStyleCircle)
        return QRegion(square, QRegion::Ellipse);
    const int l = square.left(), t = square.top(), r = l + square.width(), b = t + square.height();
    const int mx = (l + r) / 2, my = (t + b) / 2;
    return QRegion(QPolygon({QPoint(l, my), QPoint(mx, t), QPoint(r, my), QPoint(mx, b)}), Qt::WindingFill);
}

void compose(QPainter& q, const QRect& outer, int style, int captionPosition, int picturePosition,
             const std::string& caption, OLE_COLOR foreColor, OLE_COLOR backColor, const QFont* font,
             IUnknown* picture, IUnknown* backPicture, bool pressed, bool enabled, bool focused)
{
    const QColor back = ColorOf(backColor);
    if (style == kStyleFlat) {
        if (backColourFills(backPicture))
            FillSolid(q, outer, back);
        TileBackPicture(q, backPicture, outer, outer, false);
        PlacePicture(q, picture, outer, outer, picturePosition, false, pressed);
    } else if (style == kStyleCircle || style == kStyleRhomb) {
        const QRect inner = outer.adjusted(kFaceInset, kFaceInset, -kFaceInset, -kFaceInset);
        const int side = inner.height() & ~1;
        const QRect square(inner.topLeft(), QSize(side, side));
        FillSolid(q, outer, SysColor(COLOR_BTNFACE));
        q.save();
        q.setClipRegion(shapeOf(style, square));
        if (backColourFills(backPicture))
            FillSolid(q, outer, back);
        TileBackPicture(q, backPicture, square, outer, false);
        PlacePicture(q, picture, square, outer, picturePosition, false, pressed);
        q.restore();
        if (style == kStyleCircle)
            DrawCircleEdge(q, square, pressed);
        else
            DrawRhombEdge(q, square, pressed);
    } else {
        // Normal, and any unknown style, which would otherwise leave the face unpainted.
        const QRect inner = outer.adjusted(kFaceInset, kFaceInset, -kFaceInset, -kFaceInset);
        if (backColourFills(backPicture))
            FillSolid(q, outer, back);
        TileBackPicture(q, backPicture, inner, outer, false);
        PlacePicture(q, picture, inner, outer, picturePosition, false, pressed);
        DrawEdge3D(q, outer, enabled, pressed);
    }
    if (!caption.empty())
        DrawCaptionText(q, caption, font, outer.adjusted(kFaceInset, kFaceInset, -kFaceInset, -kFaceInset),
                        captionPosition, foreColor, style, pressed, enabled, false);
    DrawFocusMark(q, outer.adjusted(kPictureMargin, kPictureMargin, -kPictureMargin, -kPictureMargin), focused);
}

} // namespace

void DrawButtonFaceImage(QPainter& painter, const QRect& bounds, const QRect& update, int style,
                         int captionPosition, int picturePosition, const std::string& caption,
                         OLE_COLOR foreColor, OLE_COLOR backColor, const QFont* font, IUnknown* picture,
                         IUnknown* backPicture, bool pressed, bool enabled, bool focused)
{
    // At the target's device pixel ratio, so that text, edges and the emboss keep the target's
    // resolution instead of being scaled up from logical pixels.
    const qreal dpr = deviceScale(painter);
    auto render = [&](IUnknown* back) {
        QImage face = imageAtScale(bounds.size(), dpr, QImage::Format_RGB32);
        face.fill(SysColor(COLOR_BTNFACE));
        QPainter q(&face);
        q.setFont(font ? *font : painter.font());
        compose(q, QRect(QPoint(0, 0), bounds.size()), style, captionPosition, picturePosition, caption, foreColor,
                backColor, font, picture, back, pressed, enabled, focused);
        return face;
    };
    const QImage face = render(backPicture);
    const QRect copied = (update.isNull() ? bounds : update) & bounds;
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    if (!copied.isEmpty()) {
        const QRectF source = QRectF(copied.translated(-bounds.topLeft()));
        painter.drawImage(QRectF(copied), face,
                          QRectF(source.topLeft() * dpr, source.size() * dpr));
    }
    painter.restore();
    if (!enabled) {
        // A back picture is background to the emboss as the back colour is: the mask comes from
        // the face drawn on its back colour, so that the caption, picture and edge stand out
        // instead of the whole picture turning into shadow.
        const QImage embossed = backColourFills(backPicture) ? face : render(nullptr);
        DrawDisabledBitmap(painter, bounds.left(), bounds.top(), bounds.width(), bounds.height(), embossed, 0, 0,
                           ColorOf(backColor));
        DrawEdge(painter, bounds, EDGE_ETCHED, BF_RECT);
    }
}

void DrawButtonFace(QPainter& painter, const QRect& bounds, const QRect& update, int style, int captionPosition,
                    int picturePosition, const std::string& caption, OLE_COLOR foreColor, OLE_COLOR backColor,
                    const QFont* font, IUnknown* picture, IUnknown* backPicture, bool pressed, bool enabled,
                    bool focused, bool* dirty)
{
    if (dirty)
        *dirty = false;
    if (bounds.isEmpty())
        return;
    // Round and diamond edges end where their pixels leave the painter's clip, which on the
    // image is the whole face; they keep the image too.
    if (!enabled || focused || style == kStyleCircle || style == kStyleRhomb || plainDrawing()) {
        DrawButtonFaceImage(painter, bounds, update, style, captionPosition, picturePosition, caption, foreColor,
                            backColor, font, picture, backPicture, pressed, enabled, focused);
        return;
    }
    // The same steps on the target, clipped to what the image would have covered and with the
    // state a fresh painter has: the same pixels without an image and a painter per paint.
    const QRect copied = (update.isNull() ? bounds : update) & bounds;
    if (copied.isEmpty())
        return;
    const QFont chosen = font ? *font : painter.font();
    painter.save();
    painter.setClipRect(copied, Qt::IntersectClip);
    painter.translate(bounds.topLeft());
    painter.setPen(QPen());
    painter.setBrush(Qt::NoBrush);
    painter.setBackground(Qt::white);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setOpacity(1.0);
    painter.setBrushOrigin(0, 0);
    painter.setRenderHints(painter.renderHints(), false);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(chosen);
    const QRect outer(QPoint(0, 0), bounds.size());
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(outer, SysColor(COLOR_BTNFACE));
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    compose(painter, outer, style, captionPosition, picturePosition, caption, foreColor, backColor, font, picture,
            backPicture, pressed, enabled, focused);
    painter.restore();
}

} // namespace vyr::controls::draw
