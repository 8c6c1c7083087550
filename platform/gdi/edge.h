#pragma once
// DrawEdge: the 3D borders of the classic look, one or two rings of one-pixel lines in the
// system colours, pixel for pixel as Windows draws them. Top and left lines are drawn first,
// then bottom and right, so the top-right and bottom-left corners take the bottom-right colour.
//
//                 outer ring                     inner ring
//                 top/left      bottom/right     top/left        bottom/right
// EDGE_RAISED     3D light      3D dark shadow   highlight       shadow
// EDGE_SUNKEN     shadow        highlight        3D dark shadow  3D light
// EDGE_ETCHED     shadow        highlight        highlight       shadow
// EDGE_BUMP       3D light      3D dark shadow   3D dark shadow  3D light
//
// A single inner border (BDR_RAISEDINNER or BDR_SUNKENINNER alone) is drawn in the outer ring.
#include "platform/com/types.h"
#include <QRect>

class QPainter;

namespace vyr::gdi {

constexpr UINT BDR_RAISEDOUTER = 0x0001;
constexpr UINT BDR_SUNKENOUTER = 0x0002;
constexpr UINT BDR_RAISEDINNER = 0x0004;
constexpr UINT BDR_SUNKENINNER = 0x0008;
constexpr UINT BDR_OUTER = 0x0003;
constexpr UINT BDR_INNER = 0x000C;
constexpr UINT EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
constexpr UINT EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
constexpr UINT EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
constexpr UINT EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;

constexpr UINT BF_LEFT = 0x0001;
constexpr UINT BF_TOP = 0x0002;
constexpr UINT BF_RIGHT = 0x0004;
constexpr UINT BF_BOTTOM = 0x0008;
constexpr UINT BF_TOPLEFT = BF_TOP | BF_LEFT;
constexpr UINT BF_TOPRIGHT = BF_TOP | BF_RIGHT;
constexpr UINT BF_BOTTOMLEFT = BF_BOTTOM | BF_LEFT;
constexpr UINT BF_BOTTOMRIGHT = BF_BOTTOM | BF_RIGHT;
constexpr UINT BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;
constexpr UINT BF_DIAGONAL = 0x0010;
constexpr UINT BF_MIDDLE = 0x0800;  // fill the inside with the button face (window colour with BF_MONO)
constexpr UINT BF_SOFT = 0x1000;    // the softer top-left colours of raised and sunken borders
constexpr UINT BF_ADJUST = 0x2000;  // kept for the Windows flag set; the inside is always returned
constexpr UINT BF_FLAT = 0x4000;    // shadow outer ring, face inner ring
constexpr UINT BF_MONO = 0x8000;    // window-frame outer ring, window inner ring

// Draws the edge on the sides named in `flags` and returns the rectangle inside it (what
// BF_ADJUST gives). Diagonal edges (BF_DIAGONAL) are not drawn: nothing is painted and `rect`
// is returned unchanged.
QRect DrawEdge(QPainter& painter, const QRect& rect, UINT edge, UINT flags);

} // namespace vyr::gdi
