#include "controls/spectra/slicepaint.h"
#include "platform/gdi/fill.h"
#include <QPainter>

namespace vyr::spectra {
namespace {

void paintBar(QPainter& p, const SliceBar& bar, const QColor& color, int lineDistance, bool rising, const QRect& clip)
{
    p.setPen(color);
    for (const QLine& line : hatchLines(bar, lineDistance, rising, clip))
        p.drawLine(line);
    if (bar.right <= bar.left)
        return;
    if (bar.bottom <= bar.top) // a thickness of 0: the frame collapses to one line
        p.drawLine(bar.left, bar.top, bar.right - 1, bar.top);
    else
        p.drawRect(bar.left, bar.top, bar.right - bar.left - 1, bar.bottom - bar.top - 1);
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
