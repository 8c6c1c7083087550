// Pictures on a face: placed at one of nine positions, tiled, drawn with the transparency key,
// and scaled to fit.
#include "controls/core/draw/drawing.h"
#include "platform/gdi/sysmetrics.h"
#include <QPainter>
#include <algorithm>

namespace vyr::controls::draw {
namespace {

using namespace gdi;

struct PictureInfo {
    com::ComPtr<IPicture> picture;
    SHORT type = PICTYPE_NONE;
    OLE_XSIZE_HIMETRIC himetricWidth = 0;
    OLE_YSIZE_HIMETRIC himetricHeight = 0;
    bool drawable() const { return picture && type != PICTYPE_NONE && type != PICTYPE_UNINITIALIZED; }
};

PictureInfo infoOf(IUnknown* unk)
{
    PictureInfo i;
    if (!unk || FAILED(unk->QueryInterface(IID_IPicture, i.picture.putVoid())) || !i.picture)
        return i;
    if (FAILED(i.picture->get_Type(&i.type)) || FAILED(i.picture->get_Width(&i.himetricWidth)) ||
        FAILED(i.picture->get_Height(&i.himetricHeight)))
        i.type = PICTYPE_NONE;
    return i;
}

// The picture's pixels: ours directly; a foreign picture rendered at its placement size.
QImage pixelsOf(const PictureInfo& info, IUnknown* unk)
{
    QImage image = com::qimageOf(unk);
    if (!image.isNull() || !info.drawable())
        return image;
    const int w = info.himetricWidth / com::kHimetricPerPixel, h = info.himetricHeight / com::kHimetricPerPixel;
    if (w <= 0 || h <= 0 || w > 4096 || h > 4096)
        return image;
    image = QImage(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter q(&image);
    info.picture->Render(reinterpret_cast<HDC>(&q), 0, 0, w, h, 0, info.himetricHeight, info.himetricWidth,
                         -info.himetricHeight, nullptr);
    return image;
}

QRect within(const QRect& area, const QRect& clip) { return clip.isNull() ? area : area & clip; }

QImage iconImage(const QImage& image)
{
    const QSize size(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
    return image.size() == size ? image : image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

void drawPicture(QPainter& p, const QRect& target, const QRect& clip, SHORT type, const QImage& image,
                 bool transparent)
{
    if (image.isNull() || target.isEmpty())
        return;
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (!clip.isNull())
        p.setClipRect(clip, Qt::IntersectClip);
    if (type == PICTYPE_ICON) {
        p.drawImage(target.topLeft(), iconImage(image));
    } else if (!transparent) {
        const QRect part = within(target, clip).translated(-target.topLeft()) & image.rect();
        if (!part.isEmpty())
            p.drawImage(target.topLeft() + part.topLeft(), image, part);
    } else {
        // The bitmap centred on the key colour; every key pixel then shows the button face.
        QImage keyed(target.size(), QImage::Format_RGB32);
        keyed.fill(kTransparentKey);
        {
            QPainter k(&keyed);
            k.drawImage(QPoint((target.width() - image.width()) / 2, (target.height() - image.height()) / 2), image);
        }
        const QRgb face = SysColor(COLOR_BTNFACE).rgb();
        for (int y = 0; y < keyed.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(keyed.scanLine(y));
            for (int x = 0; x < keyed.width(); ++x)
                if (row[x] == kTransparentKey)
                    row[x] = face;
        }
        const QRect part = within(target, clip).translated(-target.topLeft());
        if (!part.isEmpty())
            p.drawImage(target.topLeft() + part.topLeft(), keyed, part);
    }
    p.restore();
}

} // namespace

void DrawPictureTransparent(QPainter& painter, const QRect& target, const QRect& clip, IUnknown* picture,
                            bool transparent)
{
    const PictureInfo info = infoOf(picture);
    if (info.drawable())
        drawPicture(painter, target, clip, info.type, pixelsOf(info, picture), transparent);
}

void PlacePicture(QPainter& painter, IUnknown* picture, const QRect& rect, const QRect& clip, int position,
                  bool renderDirect, bool pressed)
{
    const PictureInfo info = infoOf(picture);
    if (!info.drawable())
        return;
    const int w = info.himetricWidth / com::kHimetricPerPixel, h = info.himetricHeight / com::kHimetricPerPixel;
    const int l = rect.left(), t = rect.top(), r = l + rect.width(), b = t + rect.height();
    int x = l, y = t;
    if (position >= 0 && position <= 8) {
        const int row = position / 3, column = position % 3;
        y = row == 0 ? t + kPictureMargin : row == 1 ? t + (b - t - h) / 2 : b - h - 1;
        x = column == 0 ? l + kPictureMargin : column == 1 ? l + (r - l - w) / 2 : r - w - 1;
    }
    if (pressed) {
        ++x;
        ++y;
    }
    if (!renderDirect) {
        drawPicture(painter, QRect(x, y, w, h), clip, info.type, pixelsOf(info, picture), true);
        return;
    }
    // The source rectangle runs bottom-up in HIMETRIC: start at the top, go down by the height.
    painter.save();
    if (!clip.isNull())
        painter.setClipRect(clip, Qt::IntersectClip);
    info.picture->Render(reinterpret_cast<HDC>(&painter), x, y, w, h, 0, info.himetricHeight, info.himetricWidth,
                         -info.himetricHeight, nullptr);
    painter.restore();
}

void TileBackPicture(QPainter& painter, IUnknown* picture, const QRect& rect, const QRect& clip,
                     bool alignToTopLevel, std::optional<QPoint> topLevelOffset)
{
    const PictureInfo info = infoOf(picture);
    if (!info.drawable())
        return;
    QImage tile = pixelsOf(info, picture);
    if (info.type == PICTYPE_ICON && !tile.isNull())
        tile = iconImage(tile);
    const int bw = tile.width(), bh = tile.height();
    if (bw <= 0 || bh <= 0)
        return;
    int x0 = rect.left(), y0 = rect.top();
    if (alignToTopLevel && topLevelOffset) {
        const int dx = topLevelOffset->x(), dy = topLevelOffset->y();
        x0 = bw * ((rect.left() + dx) / bw) - dx;
        while (x0 > rect.left())
            x0 -= bw;
        while (x0 + bw < rect.left())
            x0 += bw;
        y0 = bh * ((rect.top() + dy) / bh) - dy;
        while (y0 > rect.top())
            y0 -= bh;
        while (y0 + bh < rect.top())
            y0 += bh;
    }
    // The grid of tiles from (x0, y0) - columns rect width / bw + 1, one more when aligned -
    // always covers rect, so one textured fill of rect from that origin draws the same pixels
    // as the tiles one by one.
    const QRect area = within(rect, clip);
    if (area.isEmpty())
        return;
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setBrushOrigin(x0, y0);
    painter.fillRect(area, QBrush(tile));
    painter.restore();
}

com::ComPtr<IPictureDisp> ScalePictureToFit(IUnknown* source, int width, int height)
{
    const PictureInfo info = infoOf(source);
    if (info.type != PICTYPE_BITMAP || width <= 0 || height <= 0)
        return {};
    const QImage image = pixelsOf(info, source);
    if (image.isNull())
        return {};
    const int64_t bw = image.width(), bh = image.height();
    int w = width, h = height;
    if (bw > 0 && bh > 0) {
        if (bh * width < bw * height)
            h = int(std::max<int64_t>(1, bh * width / bw));
        else
            w = int(std::max<int64_t>(1, bw * height / bh));
    }
    com::ComPtr<IPictureDisp> scaled;
    com::createPicture(image.scaled(w, h, Qt::IgnoreAspectRatio, Qt::FastTransformation), scaled.put());
    return scaled;
}

} // namespace vyr::controls::draw
