#include "controls/values/piece_cache.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <algorithm>
#include <cmath>
#include <vector>

namespace vyr::values {

namespace {

struct Composed {
    PieceKey key;
    qint64 palette; // system colours come from the application's palette
    QImage image;
};

// A form shows few distinct pieces; the oldest gives way beyond this many. A piece larger than
// kMaxPixels is drawn in place: it is no repeated detail, and its copy would cost memory.
constexpr size_t kPieces = 32;
constexpr qint64 kMaxPixels = 1 << 14;

std::vector<Composed>& composed()
{
    static std::vector<Composed> pieces;
    return pieces;
}

bool copiesExactly(const QPainter& painter)
{
    if (painter.compositionMode() != QPainter::CompositionMode_SourceOver || painter.opacity() != 1.0)
        return false;
    const QTransform t = painter.deviceTransform();
    return t.type() <= QTransform::TxTranslate && t.dx() == std::floor(t.dx()) && t.dy() == std::floor(t.dy());
}

} // namespace

void drawPiece(QPainter& painter, const QRect& target, const PieceKey& key, const PieceDrawing& draw)
{
    if (target.isEmpty() || qint64(target.width()) * target.height() > kMaxPixels || key.size != target.size() ||
        !copiesExactly(painter)) {
        draw(painter, target);
        return;
    }
    const qint64 palette = qGuiApp ? QGuiApplication::palette().cacheKey() : 0;
    std::vector<Composed>& pieces = composed();
    auto it = std::find_if(pieces.begin(), pieces.end(),
                           [&](const Composed& c) { return c.key == key && c.palette == palette; });
    if (it == pieces.end()) {
        // A piece that does not cover its rectangle is transparent where it draws nothing, so
        // that a copy leaves what lies below.
        QImage image(target.size(), key.opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter p(&image);
            draw(p, QRect(QPoint(0, 0), target.size()));
        }
        if (pieces.size() >= kPieces)
            pieces.erase(pieces.begin());
        pieces.push_back({key, palette, std::move(image)});
        it = pieces.end() - 1;
    }
    painter.drawImage(target.topLeft(), it->image);
}

} // namespace vyr::values
