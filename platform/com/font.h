#pragma once
// IFont/IFontDisp in standard method order, and the font object over QFont that implements
// them (class StdFont). The object persists in the standard OLE font stream layout.
#include "platform/com/object.h"
#include <string_view>

class QFont;

struct TEXTMETRICOLE {
    LONG tmHeight, tmAscent, tmDescent, tmInternalLeading, tmExternalLeading;
    LONG tmAveCharWidth, tmMaxCharWidth, tmWeight, tmOverhang;
    LONG tmDigitizedAspectX, tmDigitizedAspectY;
    OLECHAR tmFirstChar, tmLastChar, tmDefaultChar, tmBreakChar;
    BYTE tmItalic, tmUnderlined, tmStruckOut, tmPitchAndFamily, tmCharSet;
};

struct IFont : IUnknown {
    STDMETHOD(get_Name)(BSTR* name) = 0;
    STDMETHOD(put_Name)(BSTR name) = 0;
    STDMETHOD(get_Size)(CY* size) = 0;
    STDMETHOD(put_Size)(CY size) = 0;
    STDMETHOD(get_Bold)(BOOL* bold) = 0;
    STDMETHOD(put_Bold)(BOOL bold) = 0;
    STDMETHOD(get_Italic)(BOOL* italic) = 0;
    STDMETHOD(put_Italic)(BOOL italic) = 0;
    STDMETHOD(get_Underline)(BOOL* underline) = 0;
    STDMETHOD(put_Underline)(BOOL underline) = 0;
    STDMETHOD(get_Strikethrough)(BOOL* strike) = 0;
    STDMETHOD(put_Strikethrough)(BOOL strike) = 0;
    STDMETHOD(get_Weight)(SHORT* weight) = 0;
    STDMETHOD(put_Weight)(SHORT weight) = 0;
    STDMETHOD(get_Charset)(SHORT* charset) = 0;
    STDMETHOD(put_Charset)(SHORT charset) = 0;
    STDMETHOD(get_hFont)(HFONT* font) = 0;
    STDMETHOD(Clone)(IFont** clone) = 0;
    STDMETHOD(IsEqual)(IFont* other) = 0;
    STDMETHOD(SetRatio)(LONG logical, LONG himetric) = 0;
    STDMETHOD(QueryTextMetrics)(TEXTMETRICOLE* metrics) = 0;
    STDMETHOD(AddRefHfont)(HFONT font) = 0;
    STDMETHOD(ReleaseHfont)(HFONT font) = 0;
    STDMETHOD(SetHdc)(HDC dc) = 0;
};

struct IFontDisp : IDispatch {};

constexpr IID IID_IFont = vyr::com::guidOf("BEF6E002-A874-101A-8BBA-00AA00300CAB");
constexpr IID IID_IFontDisp = vyr::com::guidOf("BEF6E003-A874-101A-8BBA-00AA00300CAB");
constexpr CLSID CLSID_StdFont = vyr::com::guidOf("0BE35203-8F91-11CE-9DE3-00AA004BB851");

VYR_DECLARE_INTERFACE(IFont, IID_IFont, IUnknown)
VYR_DECLARE_INTERFACE(IFontDisp, IID_IFontDisp, IDispatch)

// Dispatch identifiers of IFontDisp.
constexpr DISPID DISPID_FONT_NAME = 0;
constexpr DISPID DISPID_FONT_SIZE = 2;
constexpr DISPID DISPID_FONT_BOLD = 3;
constexpr DISPID DISPID_FONT_ITALIC = 4;
constexpr DISPID DISPID_FONT_UNDER = 5;
constexpr DISPID DISPID_FONT_STRIKE = 6;
constexpr DISPID DISPID_FONT_WEIGHT = 7;
constexpr DISPID DISPID_FONT_CHARSET = 8;

namespace vyr::com {

// A new font object (reference count 1) describing `font`.
HRESULT createFont(const QFont& font, IFontDisp** out);
// A new font object from a face name and a size in points (the library's default description
// is "MS Sans Serif", 8 pt).
HRESULT createFont(std::string_view name, double points, IFontDisp** out);
// The QFont an IFont/IFontDisp describes (a foreign IFont is read through its properties);
// the application default for null or objects without IFont.
QFont qfontOf(IUnknown* font);
// The QFont behind a handle from IFont::get_hFont. The handle stays valid while its font object
// lives and its description is unchanged, or until ReleaseHfont after AddRefHfont.
QFont qfontOf(HFONT font);
QFont qfontOf(std::nullptr_t); // the application default

} // namespace vyr::com
