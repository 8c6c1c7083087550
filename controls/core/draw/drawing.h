#pragma once
// The drawing helpers of the controls: the button face and the pieces it is made of (edges of
// the three face shapes, picture placement at nine positions, tiled back pictures, transparent
// bitmaps, captions, the embossed disabled look). They own no state and draw on a QPainter in
// its coordinates; rectangles are QRects whose right and bottom edges are x + width and
// y + height (exclusive, as a Windows RECT). Colours are OLE_COLORs, translated on use.
// Pictures are IPicture objects of platform/com (IPictureDisp* converts to the IUnknown*
// taken here).
#include "platform/com/comptr.h"
#include "platform/com/picture.h"
#include "platform/gdi/fill.h"
#include "platform/gdi/syscolors.h"
#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <optional>
#include <string>

class QFont;
class QPainter;

namespace vyr::controls::draw {

// One colour translation and one fill for everything that draws.
using gdi::ColorOf;        // OLE_COLOR -> QColor (black when it does not translate)
using gdi::FillSolid;      // (painter, rect, colour)
using gdi::TranslateColor; // (OLE_COLOR, COLORREF*) -> HRESULT

// ButtonStyle values, and the flat face drawn without an edge.
constexpr int kStyleNormal = 0;
constexpr int kStyleCircle = 1;
constexpr int kStyleRhomb = 2;
constexpr int kStyleFlat = 3;

constexpr QRgb kTransparentKey = 0xFFC0C0C0; // bitmap pixels of this colour show the button face
constexpr int kFaceInset = 2;                // face inset, caption box inset
constexpr int kPictureMargin = 3;            // picture margin, focus-mark inset
constexpr int kCaptionGrowth = 4;            // the measured caption box grows by this
constexpr int kScaledPictureMargin = 8;      // a server picture is fitted into the bounds less this

// True when nothing drawn on the painter could show: inactive, an empty device, or a clip set
// on the painter that is empty (in the painter's logical coordinates; the region of a paint
// event is not looked at, the window already skips empty ones). Every control's drawing entry
// point does nothing then.
bool IsClipBoxEmpty(const QPainter& painter);

// The dotted focus rectangle, drawn when `focused`.
void DrawFocusMark(QPainter& painter, const QRect& rect, bool focused);

// The rectangular button edge: raised, sunken when pressed, etched when disabled; a rectangle
// narrower or lower than 2 px is filled with the button face instead.
void DrawEdge3D(QPainter& painter, const QRect& rect, bool enabled, bool pressed);

// The diamond edge within `square`: four one-pixel polylines through the mid-points of the
// sides (the last point of each left out), outer and inner upper, then outer and inner lower, in
// white, 3D light, shadow, black, or when pressed shadow, black, white, 3D light.
void DrawRhombEdge(QPainter& painter, const QRect& square, bool pressed);

// The round edge within `square`: two midpoint-circle rings (radius R = centre y - top, and
// R - 1) whose pixels blend colours A and B by their angle t around the centre (y downwards):
// c = (|cos(-3pi/4 - t)| + 1) / 2, colour = c A + (1 - c) B, channels truncated. Outer ring
// A/B = 3D dark shadow/highlight, inner ring shadow/3D light; pressed swaps A and B. A ring
// stops at its first pixel outside the painter's clip box.
void DrawCircleEdge(QPainter& painter, const QRect& square, bool pressed);

// Places a picture at `position` (ItemPosition 0-8) in `rect`: its size is the HIMETRIC size
// / 25; rows 0-2 at top + 3, 3-5 centred, 6-8 at bottom - height - 1; columns 0/3/6 at
// left + 3, 1/4/7 centred, 2/5/8 at right - width - 1; other positions at the top-left corner
// without margin; one pixel right and down when pressed. `renderDirect` lets the picture render
// itself, clipped to `clip`; otherwise it is drawn with DrawPictureTransparent (transparency on).
// Nothing for no picture or a picture of type none or uninitialised. A null `clip` (QRect())
// clips to nothing beyond the painter's own clip, here and below.
void PlacePicture(QPainter& painter, IUnknown* picture, const QRect& rect, const QRect& clip, int position,
                  bool renderDirect, bool pressed);

// Tiles a picture over `rect`, clipped to rect and `clip`, each tile at the picture's pixel
// size (32 x 32 for icons) drawn without transparency. With `alignToTopLevel` the tiles line up
// with a grid anchored at the top-level window's client origin: `topLevelOffset` is the painted
// widget's client origin in its top-level window's client coordinates (for a QWidget:
// widget->mapTo(widget->window(), QPoint(0, 0))); without it the grid starts at rect's corner.
void TileBackPicture(QPainter& painter, IUnknown* picture, const QRect& rect, const QRect& clip,
                     bool alignToTopLevel, std::optional<QPoint> topLevelOffset = std::nullopt);

// Draws a picture into `target`, clipped to `clip`. Bitmap without transparency: its pixels
// from the target's top-left corner, unscaled. Bitmap with transparency: centred in the target
// on the button-face colour, with pixels of kTransparentKey (and transparent ones) showing the
// button face. Icon: at the target's top-left, 32 x 32, with its own transparency.
void DrawPictureTransparent(QPainter& painter, const QRect& target, const QRect& clip, IUnknown* picture,
                            bool transparent);

// Draws a caption (UTF-8; the two characters backslash and n break the line) in `font` (the
// painter's font when null) at `position` in `rect`. The text is measured (word-wrapped to
// rect's width when `multiLine`), the box grown by 4 px and placed: columns 0/3/6 left, 2/5/8
// right, others centred; rows 0-2 top, 6-8 bottom, others centred. The text goes into rect
// and box intersected, deflated by 2, one pixel right and down when pressed, in `colour`;
// Circle and Rhomb faces draw a disabled caption first in white and then one pixel right and
// down in `colour`. Returns whether any text was drawn. The painter's state is kept.
bool DrawCaptionText(QPainter& painter, const std::string& text, const QFont* font, const QRect& rect,
                     int position, OLE_COLOR colour, int style, bool pressed, bool enabled, bool multiLine);

// The embossed (disabled) rendering of the width x height area of `bitmap` at (srcX, srcY), drawn
// at (x, y): the area is filled with the button face, then every pixel that is not of the
// `background` colour (nor the button face) is drawn in the highlight colour one pixel right and
// down and in the shadow colour in place.
void DrawDisabledBitmap(QPainter& painter, int x, int y, int width, int height, const QImage& bitmap, int srcX,
                        int srcY, const QColor& background);

// A new bitmap picture of a bitmap picture scaled to fit width x height keeping its aspect
// ratio (each side at least 1 px; a bitmap with an empty side fills the box), by nearest-pixel
// sampling. Null for anything but a bitmap picture, or an empty box.
com::ComPtr<IPictureDisp> ScalePictureToFit(IUnknown* source, int width, int height);

// The whole button face: background (back colour, or the back picture tiled), picture, the edge
// of the style (Normal 3D edge, Circle, Rhomb, or none for flat; other values draw as Normal),
// caption (single line, at captionPosition) and focus mark. Only `update` (in the painter's
// coordinates; QRect() for the whole of `bounds`) is drawn. Disabled, the bounds are then drawn
// embossed and framed with an etched edge. `dirty`, when given, is cleared: drawing brings the
// control up to date. Enabled Normal and Flat faces without focus are drawn straight onto the
// target; the others are composed off-screen and copied once (DrawButtonFaceImage), which gives
// the same pixels.
void DrawButtonFace(QPainter& painter, const QRect& bounds, const QRect& update, int style, int captionPosition,
                    int picturePosition, const std::string& caption, OLE_COLOR foreColor, OLE_COLOR backColor,
                    const QFont* font, IUnknown* picture, IUnknown* backPicture, bool pressed, bool enabled,
                    bool focused, bool* dirty);
void DrawButtonFaceImage(QPainter& painter, const QRect& bounds, const QRect& update, int style,
                         int captionPosition, int picturePosition, const std::string& caption,
                         OLE_COLOR foreColor, OLE_COLOR backColor, const QFont* font, IUnknown* picture,
                         IUnknown* backPicture, bool pressed, bool enabled, bool focused);

} // namespace vyr::controls::draw
