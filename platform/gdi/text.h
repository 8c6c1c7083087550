#pragma once
// DrawText: text placed in a rectangle by format flags, with the Windows meaning of each flag,
// drawn in the painter's font and pen colour. In opaque background mode each line's extent is
// first filled with the painter's background colour.
//
// - Lines break at CR LF, LF or CR unless DT_SINGLELINE (which drops those characters); a
//   final line break adds no empty line. DT_WORDBREAK also breaks at spaces where a line would
//   pass the right edge; the spaces at a break vanish, and a word wider than the rectangle
//   stands alone on its line, unbroken.
// - '&' underlines the character after it (the first one on each line) and "&&" is a literal
//   '&'; a lone '&' at the end is dropped. DT_NOPREFIX shows the text as it is, DT_HIDEPREFIX
//   drops the markers without underlining, DT_PREFIXONLY draws only the underline.
// - DT_EXPANDTABS expands tabs to stops every 8 average character widths. With DT_TABSTOP the
//   high byte of the low word (bits 8-15) is the number of characters per stop instead, and
//   so is not read as flags: DT_NOCLIP, DT_EXTERNALLEADING, DT_CALCRECT and DT_NOPREFIX cannot
//   be combined with DT_TABSTOP (0x1C0 means "tabs of one character", not "no clipping").
// - DT_VCENTER and DT_BOTTOM apply to DT_SINGLELINE only. The text is clipped to the rectangle
//   unless DT_NOCLIP.
// - DT_CALCRECT draws nothing and sets the rectangle's width to the widest line and its height
//   to the lines' height, keeping its top-left corner.
// Returns the height of the text.
#include "platform/com/types.h"
#include <QRect>
#include <QSize>
#include <QString>

class QFont;
class QPainter;
class QPaintDevice;

namespace vyr::gdi {

constexpr UINT DT_TOP = 0x00000000;
constexpr UINT DT_LEFT = 0x00000000;
constexpr UINT DT_CENTER = 0x00000001;
constexpr UINT DT_RIGHT = 0x00000002;
constexpr UINT DT_VCENTER = 0x00000004;
constexpr UINT DT_BOTTOM = 0x00000008;
constexpr UINT DT_WORDBREAK = 0x00000010;
constexpr UINT DT_SINGLELINE = 0x00000020;
constexpr UINT DT_EXPANDTABS = 0x00000040;
constexpr UINT DT_TABSTOP = 0x00000080;
constexpr UINT DT_NOCLIP = 0x00000100;
constexpr UINT DT_EXTERNALLEADING = 0x00000200;
constexpr UINT DT_CALCRECT = 0x00000400;
constexpr UINT DT_NOPREFIX = 0x00000800;
constexpr UINT DT_HIDEPREFIX = 0x00100000;
constexpr UINT DT_PREFIXONLY = 0x00200000;

int DrawText(QPainter& painter, const QString& text, QRect& rect, UINT format);

// Width and line height of `text` on one line in `font` (as measured for `device`, or for the
// screen when null), without tab or '&' processing.
QSize TextExtent(const QFont& font, const QString& text, const QPaintDevice* device = nullptr);

} // namespace vyr::gdi
