#pragma once
// The raster steps of the embossed (disabled) look: a colour image reduced to a 1-bit mask, and
// the mask blitted with a brush under raster operation 0xB8074A.
#include "platform/com/types.h"
#include <QColor>
#include <QImage>
#include <initializer_list>

class QPainter;

namespace vyr::gdi {

// "PSDPxax": D ^ (S & (P ^ D)), i.e. the brush P where the source S is 0, the destination D
// where S is 1.
constexpr DWORD ROP_PSDPXAX = 0xB8074A;

// The 1-bit image (Format_Mono, palette entry 0 black, 1 white) of `area` of `source`: 1 where
// the pixel's colour is one of `background`, 0 elsewhere; outside the source counts as 1.
QImage MonoMask(const QImage& source, const QRect& area, std::initializer_list<QColor> background);

// Blits `mask` with its top-left at (x, y) using ROP_PSDPXAX with a solid `brush`: paints the
// brush where the mask is 0 and keeps the destination where it is 1.
void BlitMaskWithBrush(QPainter& painter, int x, int y, const QImage& mask, const QColor& brush);

} // namespace vyr::gdi
