#include "platform/gdi/invert.h"
#include <QPainter>

namespace vyr::gdi {
namespace {

// Runs `draw` with the NOT raster operation, leaving the painter as it was.
template <class F>
void inverting(QPainter& p, F draw)
{
    const auto mode = p.compositionMode();
    p.setCompositionMode(QPainter::RasterOp_NotDestination);
    draw();
    p.setCompositionMode(mode);
}

// The outline's pixels as up to four disjoint runs: full top and bottom rows, then the sides
// between them.
template <class F>
void forOutline(const QRect& r, F run)
{
    if (r.isEmpty())
        return;
    run(QRect(r.left(), r.top(), r.width(), 1));
    if (r.height() > 1)
        run(QRect(r.left(), r.bottom(), r.width(), 1));
    if (r.height() > 2) {
        run(QRect(r.left(), r.top() + 1, 1, r.height() - 2));
        if (r.width() > 1)
            run(QRect(r.right(), r.top() + 1, 1, r.height() - 2));
    }
}

} // namespace

void InvertRect(QPainter& p, const QRect& rect)
{
    if (!rect.isEmpty())
        inverting(p, [&] { p.fillRect(rect, Qt::black); });
}

void DrawNotRect(QPainter& p, const QRect& rect)
{
    inverting(p, [&] { forOutline(rect, [&](const QRect& run) { p.fillRect(run, Qt::black); }); });
}

void DrawFocusRect(QPainter& p, const QRect& rect)
{
    // The checkerboard is fixed to device pixels, whatever translation the painter carries.
    const QPoint origin = p.deviceTransform().map(QPoint(0, 0));
    inverting(p, [&] {
        forOutline(rect, [&](const QRect& run) {
            for (int y = run.top(); y <= run.bottom(); ++y)
                for (int x = run.left(); x <= run.right(); ++x)
                    if (((x + origin.x() + y + origin.y()) & 1) == 0)
                        p.fillRect(QRect(x, y, 1, 1), Qt::black);
        });
    });
}

} // namespace vyr::gdi
