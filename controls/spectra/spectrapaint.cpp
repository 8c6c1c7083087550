#include "controls/spectra/spectrapaint.h"
#include "platform/gdi/devicepixels.h"
#include "platform/gdi/fill.h"
#include "platform/gdi/invert.h"
#include "platform/gdi/plaindrawing.h"
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace vyr::spectra {
namespace {

// Where band column 0 lands on screen: the column at the area's left edge is the window start.
int bandOrigin(const SpectraScene& s) { return s.layout.area.left() - s.map.bandOffset(); }

// One-pixel lines of the scale, the ticks and the frame, drawn in whole device pixels: every
// line as wide as a logical pixel rounds to, at its side's rounded place.
class DeviceLines {
public:
    explicit DeviceLines(QPainter& p) : p_(p), device_(p), width_(std::max(1, device_.dx(1))) {}
    // Column x from row top to row bottom (exclusive).
    void vertical(int x, int top, int bottom, const QColor& c)
    {
        if (bottom <= top)
            return;
        const QRect r = device_.map(QRect(x, top, 1, bottom - top));
        p_.fillRect(QRect(r.left(), r.top(), width_, r.height()), c);
    }
    // The outline of `rect`, inside it.
    void frame(const QRect& rect, const QColor& c)
    {
        const QRect r = device_.map(rect);
        const int w = std::min({width_, r.width(), r.height()});
        p_.fillRect(QRect(r.left(), r.top(), r.width(), w), c);
        p_.fillRect(QRect(r.left(), r.bottom() - w + 1, r.width(), w), c);
        p_.fillRect(QRect(r.left(), r.top(), w, r.height()), c);
        p_.fillRect(QRect(r.right() - w + 1, r.top(), w, r.height()), c);
    }

private:
    QPainter& p_;
    gdi::DevicePixels device_;
    int width_;
};

void paintScale(QPainter& p, const SpectraScene& s, const TextMeasure& measure)
{
    const ScalePlan plan = planScale(s.layout, s.map, s.spacing, measure);
    const int top = s.layout.area.top();
    {
        DeviceLines lines(p);
        for (const ScaleTick& t : plan.ticks)
            lines.vertical(t.x, top - t.length, top, s.textColor);
    }
    p.setPen(s.textColor);
    for (const ScaleLabel& l : plan.labels)
        p.drawText(l.rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, QString::fromStdString(l.text));
}

void paintLaserLabels(QPainter& p, const SpectraScene& s, const TextMeasure& measure)
{
    if (!s.laserLines)
        return;
    const std::vector<LaserLabel> labels = planLaserLabels(s.layout, s.map, *s.laserLines, measure);
    {
        DeviceLines lines(p);
        for (const LaserLabel& l : labels)
            lines.vertical(l.x, l.tickTop, l.tickBottom, s.textColor);
    }
    p.setPen(s.textColor);
    for (const LaserLabel& l : labels) {
        // The vertical font: the text runs upwards from the box's bottom edge.
        p.save();
        p.translate(l.textBox.left(), l.textBox.top() + l.textBox.height());
        p.rotate(-90);
        p.drawText(QRect(0, 0, l.textBox.height(), l.textBox.width()), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                   QString::fromStdString(l.text));
        p.restore();
    }
}

// The band bitmap holds device pixels; it and the curves are placed in device pixels, the
// band's column 0 on the device pixel nearest its logical place.
void paintBand(QPainter& p, const SpectraScene& s)
{
    const gdi::DevicePixels device(p);
    const double scale = device.active() ? device.ratio() : 1;
    if (std::abs(s.band->devicePixelRatio() - scale) > 1e-9)
        return; // composed for another target: the control builds it again for this one
    const int originX = int(std::floor(bandOrigin(s) * scale + 0.5));
    const int originY = device.map(QRect(0, s.layout.area.top(), 1, 1)).top();
    const QRect onScreen(originX, originY, s.band->width(), s.band->height());
    const QRect shown = onScreen.intersected(device.map(s.layout.band));
    if (shown.isEmpty())
        return;
    p.drawImage(QRectF(shown), *s.band, QRectF(shown.translated(-originX, -originY)));
    if (!s.curves)
        return;
    // Curves are drawn as into the band bitmap (clipped to it) and shown through the window.
    p.save();
    p.setClipRect(shown);
    p.translate(originX, originY);
    const PlotGeometry geometry{curveFrame(s.look, s.map.bandColumns(), s.map.bandImageSize().height()),
                                s.map.lo(), s.map.hi(), s.drawMode, scale};
    const ColumnRange columns{shown.left() - originX, shown.right() - originX};
    if (s.plotCache && !gdi::plainDrawing()) {
        const ColumnRange band{0, s.band->width() - 1};
        drawPlots(p, s.plotCache->plots(*s.curves, geometry, columns, band), scale, s.colorOf);
    } else {
        drawPlots(p, plotCurves(*s.curves, geometry, columns), scale, s.colorOf);
    }
    p.restore();
}

} // namespace

void paintSpectra(QPainter& p, const SpectraScene& s)
{
    const SpectraLayout& l = s.layout;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setFont(s.font);
    // Background everywhere; the band, scale and labels are drawn over it.
    gdi::FillSolid(p, l.client, s.backColor);
    const bool haveBand = s.map.valid() && s.band && !s.band->isNull();
    if (haveBand) {
        const TextMeasure measure = measureWith(QFontMetrics(s.font, p.device()));
        paintScale(p, s, measure);
        paintLaserLabels(p, s, measure);
        paintBand(p, s);
    }
    if (l.area.width() > 0 && l.area.height() > 0)
        DeviceLines(p).frame(l.area, QColor(0, 0, 0));
    if (s.focused)
        gdi::DrawFocusRect(p, l.client);
    p.restore();
}

} // namespace vyr::spectra
