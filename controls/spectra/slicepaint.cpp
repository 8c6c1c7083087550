#include "controls/spectra/slicepaint.h"
#include "platform/gdi/devicepixels.h"
#include "platform/gdi/fill.h"
#include <QPainter>
#include <algorithm>

namespace vyr::spectra {
namespace {

// A bar in device pixels: the hatch lines and the frame are as many device pixels thick as one
// logical pixel is wide, the hatch spacing scales with them, so at any ratio the hatching is as
// thick as the frame and steps by device pixels. At ratio 1 this is the logical drawing.
void paintBar(QPainter& p, const SliceBar& logicalBar, const QColor& color, int lineDistance, bool rising,
              const QRect& logicalClip)
{
    gdi::DevicePixels device(p);
    const QRect r = device.map(QRect(logicalBar.left, logicalBar.top, logicalBar.right - logicalBar.left,
                                     logicalBar.bottom - logicalBar.top));
    const SliceBar bar{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    const QRect clip = device.map(logicalClip);
    const int wx = std::max(1, device.dx(1)), wy = std::max(1, device.dy(1));
    p.setPen(QPen(color, 1));
    if (lineDistance > 0) {
        // The k-th copy is the pattern moved k pixels along x, kept inside the bar.
        const QRect inside = clip & QRect(bar.left, bar.top, bar.right - bar.left, bar.bottom - bar.top);
        const int spacing = device.dx(lineDistance);
        for (int k = 0; k < wx; ++k) {
            const SliceBar moved{bar.left + k, bar.top, bar.right + k, bar.bottom};
            for (const QLine& line : hatchLines(moved, spacing, rising, inside))
                p.drawLine(line);
        }
    }
    if (bar.right <= bar.left)
        return;
    if (bar.bottom <= bar.top) { // a thickness of 0: the frame collapses to one line
        gdi::FillSolid(p, QRect(bar.left, bar.top, bar.right - bar.left, wy), color);
        return;
    }
    const QRect frame(bar.left, bar.top, bar.right - bar.left, bar.bottom - bar.top);
    gdi::FillSolid(p, QRect(frame.left(), frame.top(), frame.width(), std::min(wy, frame.height())), color);
    gdi::FillSolid(p, QRect(frame.left(), std::max(frame.top(), frame.bottom() + 1 - wy), frame.width(),
                            std::min(wy, frame.height())), color);
    gdi::FillSolid(p, QRect(frame.left(), frame.top(), std::min(wx, frame.width()), frame.height()), color);
    gdi::FillSolid(p, QRect(std::max(frame.left(), frame.right() + 1 - wx), frame.top(),
                            std::min(wx, frame.width()), frame.height()), color);
}

} // namespace

void paintSlice(QPainter& p, const SliceScene& s)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    gdi::FillSolid(p, s.client, s.backColor);
    const SliceGeometry& g = s.geometry;
    for (const bool upper : {true, false}) {
        const std::vector<SliceBar>& bars = upper ? g.upper : g.lower;
        for (size_t i = 0; i < bars.size(); ++i) {
            const QColor color = i < s.channelColors.size() ? s.channelColors[i] : s.textColor;
            paintBar(p, bars[i], color, s.lineDistance, upper, s.client);
        }
    }
    p.setFont(s.font);
    p.setPen(s.textColor);
    p.setBackgroundMode(Qt::OpaqueMode);
    p.setBackground(s.backColor);
    const auto text = [&](const SliceText& t) {
        p.drawText(t.rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, QString::fromStdString(t.text));
    };
    for (const SliceText& t : g.names)
        text(t);
    for (const SliceText& t : g.values)
        text(t);
    if (g.unitFallback)
        text(g.unit);
    p.restore();
}

} // namespace vyr::spectra
