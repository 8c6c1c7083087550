#include "controls/values/value_pieces.h"

#include "controls/values/arrow_glyph.h"
#include "controls/values/piece_cache.h"
#include "controls/values/value_window.h"
#include "platform/gdi/edge.h"
#include "platform/gdi/fill.h"
#include "platform/gdi/syscolors.h"

namespace vyr::values {

namespace {

enum Kind { kArrow, kThumb, kSlot, kSpin, kEditFrame };

unsigned bits(std::initializer_list<bool> flags)
{
    unsigned b = 0, i = 0;
    for (bool f : flags)
        b |= unsigned(f) << i++;
    return b;
}

} // namespace

void drawSliderArrow(QPainter& painter, const QRect& button, Axis axis, bool lower, bool pressed, bool enabled)
{
    drawPiece(painter, button, {kArrow, button.size(), bits({axis.vertical(), lower, pressed, enabled})},
              [=](QPainter& p, const QRect& r) {
                  gdi::FillSolid(p, r, gdi::SysColor(gdi::COLOR_BTNFACE));
                  gdi::DrawEdge(p, r, gdi::EDGE_RAISED, gdi::BF_RECT | (pressed ? gdi::BF_FLAT : 0));
                  drawGlyph(
                      p, toPixelRect(r), [axis, lower](const PixelRect& b) { return sliderArrowGlyph(b, axis, lower); },
                      arrowGlyphColor(enabled), pressed ? QPoint(1, 1) : QPoint());
              });
}

void drawSliderThumb(QPainter& painter, const QRect& thumb, bool lit)
{
    drawPiece(painter, thumb, {kThumb, thumb.size(), bits({lit})}, [=](QPainter& p, const QRect& r) {
        const QRect inside = gdi::DrawEdge(p, r, gdi::EDGE_RAISED, gdi::BF_RECT);
        gdi::FillSolid(p, inside, gdi::SysColor(lit ? gdi::COLOR_BTNFACE : gdi::COLOR_3DHILIGHT));
    });
}

void drawSliderSlot(QPainter& painter, const QRect& slot)
{
    drawPiece(painter, slot, {kSlot, slot.size(), 0, false},
              [](QPainter& p, const QRect& r) { gdi::DrawEdge(p, r, gdi::EDGE_SUNKEN, gdi::BF_RECT); });
}

void drawSpinButton(QPainter& painter, const QRect& button, bool up, bool pressed, bool enabled)
{
    drawPiece(painter, button, {kSpin, button.size(), bits({up, pressed, enabled})}, [=](QPainter& p, const QRect& r) {
        gdi::FillSolid(p, r, gdi::SysColor(gdi::COLOR_BTNFACE));
        gdi::DrawEdge(p, r, pressed ? gdi::EDGE_SUNKEN : gdi::EDGE_RAISED, gdi::BF_RECT);
        drawGlyph(
            p, toPixelRect(r), [up](const PixelRect& b) { return spinArrowGlyph(b, up); }, arrowGlyphColor(enabled),
            pressed ? QPoint(1, 1) : QPoint());
    });
}

void drawEditFrame(QPainter& painter, const QRect& area, bool enabled)
{
    drawPiece(painter, area, {kEditFrame, area.size(), bits({enabled})}, [=](QPainter& p, const QRect& r) {
        const QRect inside = gdi::DrawEdge(p, r, gdi::EDGE_SUNKEN, gdi::BF_RECT);
        gdi::FillSolid(p, inside, gdi::SysColor(enabled ? gdi::COLOR_WINDOW : gdi::COLOR_BTNFACE));
    });
}

} // namespace vyr::values
