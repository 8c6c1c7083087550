// Painting of the Frame: background, caption band, border, caption and the button bar, all from
// the one geometry that hit-testing and page layout use too.
#include "controls/core/draw/drawing.h"
#include "controls/frames/backpicture.h"
#include "controls/frames/frame.h"
#include "platform/gdi/edge.h"
#include "platform/gdi/fill.h"
#include "platform/gdi/syscolors.h"
#include "platform/gdi/text.h"
#include <QPainter>
#include <QWidget>

namespace vyr::controls {

namespace {

QRect toQRect(const RECT& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }

// Edges drawn one inside the other, 2 pixels apart; returns what is left inside.
QRect drawEdges(QPainter& p, QRect r, std::initializer_list<UINT> edges)
{
    for (UINT edge : edges)
        r = gdi::DrawEdge(p, r, edge, gdi::BF_RECT);
    return r;
}

void drawBorder(QPainter& p, const QRect& r, int frameStyle)
{
    switch (frameStyle) {
    case 1: drawEdges(p, r, {gdi::EDGE_ETCHED}); break;
    case 2: drawEdges(p, r, {gdi::EDGE_RAISED}); break;
    case 3: drawEdges(p, r, {gdi::EDGE_SUNKEN}); break;
    case 4: drawEdges(p, r, {gdi::EDGE_RAISED, gdi::EDGE_SUNKEN}); break;
    case 5: drawEdges(p, r, {gdi::EDGE_SUNKEN, gdi::EDGE_RAISED}); break;
    default: break;
    }
}

// The band of the banner caption styles; styles 1 and 7 to 11 draw none.
void drawCaptionBand(QPainter& p, const QRect& r, int captionStyle, OLE_COLOR color)
{
    QRect inside;
    switch (captionStyle) {
    case 2: inside = r; break;
    case 3: inside = drawEdges(p, r, {gdi::EDGE_SUNKEN}); break;
    case 4: inside = drawEdges(p, r, {gdi::EDGE_RAISED}); break;
    case 5: inside = drawEdges(p, r, {gdi::EDGE_RAISED, gdi::EDGE_SUNKEN}); break;
    case 6: inside = drawEdges(p, r, {gdi::EDGE_SUNKEN, gdi::EDGE_RAISED}); break;
    default: return;
    }
    gdi::FillSolid(p, inside, gdi::ColorOf(color));
}


} // namespace

void Frame::onDraw(QPainter& p, const QRect& bounds)
{
    if (draw::IsClipBoxEmpty(p))
        return;
    const frames::FrameGeometry g = geometry();
    const OLE_COLOR back = inner_->backColor();
    const bool opaque = backStyle_ == 1;
    if (opaque)
        gdi::FillSolid(p, bounds, gdi::ColorOf(back));

    // 1. The band above the border, when the caption sits on it.
    if (!frames::isEmpty(g.captionBand))
        gdi::FillSolid(p, toQRect(g.captionBand), gdi::ColorOf(back));

    // 2. The page area, while no button bar covers part of it.
    const bool anyButton = std::any_of(g.buttons.begin(), g.buttons.end(), [](const RECT& r) { return !frames::isEmpty(r); });
    if (opaque && !anyButton)
        frames::paintBackground(p, window(), toQRect(g.page), back, inner_->backPicture(), true);

    // 3. Border and 4. caption.
    drawBorder(p, toQRect(g.frame), frameStyle_);
    const QRect caption = toQRect(g.caption);
    drawCaptionBand(p, caption, captionStyle_, captionBackColor_);
    if (captionStyle_ != 0 && !captionText().empty()) {
        p.save();
        p.setFont(qfont());
        p.setPen(gdi::ColorOf(captionTextColor_));
        // On the border line the Normal caption blanks the line out behind its text.
        const bool blank = captionStyle_ == 1 && captionTop_;
        p.setBackgroundMode(blank ? Qt::OpaqueMode : Qt::TransparentMode);
        p.setBackground(gdi::ColorOf(back));
        QRect text = caption;
        gdi::DrawText(p, QString::fromStdString("  " + captionText() + "  "), text,
                      gdi::DT_LEFT | gdi::DT_VCENTER | gdi::DT_SINGLELINE | gdi::DT_NOCLIP);
        p.restore();
    }

    // 5. The button bar.
    if (buttonCount_ <= 1)
        return;
    const QFont buttonFont = com::qfontOf(buttonFontRef());
    for (size_t i = 0; i < g.buttons.size() && i < buttons_.size(); ++i) {
        const QRect r = toQRect(g.buttons[i]);
        if (r.isEmpty())
            continue;
        if (!inner_->page(LONG(i))) {
            gdi::FillSolid(p, r, gdi::ColorOf(back));
            continue;
        }
        const frames::ButtonData& d = buttons_[i]->data;
        const bool pressed = LONG(i) == buttonCurrent();
        const bool focused = int(i) == focusedButton_;
        draw::DrawButtonFace(p, r, QRect(), 0, buttonCaptionPosition_, buttonPicturePosition_, d.caption,
                             buttonTextColor_, back, &buttonFont, d.picture.get(), d.backPicture.get(), pressed, true,
                             focused, nullptr);
    }
}

} // namespace vyr::controls
