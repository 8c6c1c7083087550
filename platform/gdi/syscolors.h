#pragma once
// The system colours (indices 0-30 with Windows' numbering: the application's palette, the
// classic default scheme without one) and the OLE colour translation that resolves
// 0x80000000 | n to system colour n.
#include "platform/com/types.h"
#include <QColor>
#include <QPalette>
#include <optional>
#include <utility>

namespace vyr::gdi {

using COLORREF = DWORD; // 0x00BBGGRR

constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) { return COLORREF(r) | COLORREF(g) << 8 | COLORREF(b) << 16; }
constexpr BYTE GetRValue(COLORREF c) { return BYTE(c); }
constexpr BYTE GetGValue(COLORREF c) { return BYTE(c >> 8); }
constexpr BYTE GetBValue(COLORREF c) { return BYTE(c >> 16); }

constexpr int COLOR_SCROLLBAR = 0;
constexpr int COLOR_BACKGROUND = 1;
constexpr int COLOR_DESKTOP = 1;
constexpr int COLOR_ACTIVECAPTION = 2;
constexpr int COLOR_INACTIVECAPTION = 3;
constexpr int COLOR_MENU = 4;
constexpr int COLOR_WINDOW = 5;
constexpr int COLOR_WINDOWFRAME = 6;
constexpr int COLOR_MENUTEXT = 7;
constexpr int COLOR_WINDOWTEXT = 8;
constexpr int COLOR_CAPTIONTEXT = 9;
constexpr int COLOR_ACTIVEBORDER = 10;
constexpr int COLOR_INACTIVEBORDER = 11;
constexpr int COLOR_APPWORKSPACE = 12;
constexpr int COLOR_HIGHLIGHT = 13;
constexpr int COLOR_HIGHLIGHTTEXT = 14;
constexpr int COLOR_BTNFACE = 15;
constexpr int COLOR_3DFACE = 15;
constexpr int COLOR_BTNSHADOW = 16;
constexpr int COLOR_3DSHADOW = 16;
constexpr int COLOR_GRAYTEXT = 17;
constexpr int COLOR_BTNTEXT = 18;
constexpr int COLOR_INACTIVECAPTIONTEXT = 19;
constexpr int COLOR_BTNHIGHLIGHT = 20;
constexpr int COLOR_BTNHILIGHT = 20;
constexpr int COLOR_3DHIGHLIGHT = 20;
constexpr int COLOR_3DHILIGHT = 20;
constexpr int COLOR_3DDKSHADOW = 21;
constexpr int COLOR_3DLIGHT = 22;
constexpr int COLOR_INFOTEXT = 23;
constexpr int COLOR_INFOBK = 24;
constexpr int COLOR_HOTLIGHT = 26;
constexpr int COLOR_GRADIENTACTIVECAPTION = 27;
constexpr int COLOR_GRADIENTINACTIVECAPTION = 28;
constexpr int COLOR_MENUHILIGHT = 29;
constexpr int COLOR_MENUBAR = 30;
constexpr int kSysColorCount = 31;

// The colour of system colour `index`; 0 (black) for an index outside 0-30, as Windows gives.
// While an application runs, the entries that have a palette counterpart (SysColorRole) come
// from the application's QPalette, so the desktop's theme reaches every control; the others,
// and every entry before the application exists, come from the classic table.
COLORREF GetSysColor(int index);
// The classic table's entry, whatever the palette says.
COLORREF ClassicSysColor(int index);
// The palette group and role system colour `index` is read from; none for the entries that
// keep their classic values.
std::optional<std::pair<QPalette::ColorGroup, QPalette::ColorRole>> SysColorRole(int index);
// A palette that gives back the classic table through GetSysColor (the look tests check
// pixels against).
QPalette ClassicPalette();
// The colour to draw text of colour `text` with on `background`: when both are system colours
// and the palette pairs another text role with the background's role (button text on the
// window background gives the window's text colour), that one; otherwise `text` translated.
// Text thus never ends in a colour the desktop's theme did not choose for that background.
QColor TextColorOn(OLE_COLOR text, OLE_COLOR background);
// A display name for system colour `index` ("Button Face" ...); null outside 0-30 and for the
// unnamed index 25.
const char* SysColorName(int index);

// OLE colour translation without a palette: 0x00BBGGRR and 0x02BBGGRR (palette-relative) give
// that colour; 0x80000000 | n gives system colour n. A system index beyond 30, a palette index
// (0x01......) or any other high byte gives E_INVALIDARG and leaves *rgb alone.
HRESULT TranslateColor(OLE_COLOR color, COLORREF* rgb);
// The translated colour as a QColor; black when the colour does not translate.
QColor ColorOf(OLE_COLOR color);

inline QColor toQColor(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }
inline COLORREF toColorRef(const QColor& c) { return RGB(BYTE(c.red()), BYTE(c.green()), BYTE(c.blue())); }
inline QColor SysColor(int index) { return toQColor(GetSysColor(index)); }

} // namespace vyr::gdi
