#pragma once
// IPicture/IPictureDisp in standard method order, and the picture object over QImage that
// implements them (class StdPicture). Pictures load BMP, ICO and PNG files; BMP and PNG become
// bitmap pictures, ICO an icon picture. The object persists in the standard picture stream
// layout: the tag "lt\0\0", a 4-byte byte count, then the file's bytes. A loaded file keeps
// its bytes (unless KeepOriginalFormat is turned off); a picture made from pixels saves as BMP.
//
// Size: one pixel is 25 HIMETRIC units (kHimetricPerPixel), so that the controls' rule "pixels =
// HIMETRIC / 25" gives back the exact pixel size. (The 96-dpi figure, 26.46 units a pixel, would
// make every picture 6% larger when placed: a 32-pixel picture would be laid out as 33 pixels,
// a 100-pixel one as 105, and pictures at the right or bottom would miss their margin.)
//
// Loading never trusts the stream: a wrong tag or undecodable data gives CTL_E_INVALIDPICTURE,
// a byte count beyond the end of the stream STG_E_READFAULT (nothing is allocated for it), and
// images beyond 16384 pixels a side or 64 MB of pixels are refused; the picture keeps its state.
// Render takes a QPainter* as its HDC.
#include "platform/com/object.h"
#include <string>

class QImage;

struct IPicture : IUnknown {
    STDMETHOD(get_Handle)(OLE_HANDLE* handle) = 0;
    STDMETHOD(get_hPal)(OLE_HANDLE* palette) = 0;
    STDMETHOD(get_Type)(SHORT* type) = 0;
    STDMETHOD(get_Width)(OLE_XSIZE_HIMETRIC* width) = 0;
    STDMETHOD(get_Height)(OLE_YSIZE_HIMETRIC* height) = 0;
    STDMETHOD(Render)(HDC dc, LONG x, LONG y, LONG cx, LONG cy, OLE_XPOS_HIMETRIC xSrc, OLE_YPOS_HIMETRIC ySrc,
                      OLE_XSIZE_HIMETRIC cxSrc, OLE_YSIZE_HIMETRIC cySrc, LPCRECT bounds) = 0;
    STDMETHOD(set_hPal)(OLE_HANDLE palette) = 0;
    STDMETHOD(get_CurDC)(HDC* dc) = 0;
    STDMETHOD(SelectPicture)(HDC dcIn, HDC* dcOut, OLE_HANDLE* bitmapOut) = 0;
    STDMETHOD(get_KeepOriginalFormat)(BOOL* keep) = 0;
    STDMETHOD(put_KeepOriginalFormat)(BOOL keep) = 0;
    STDMETHOD(PictureChanged)() = 0;
    STDMETHOD(SaveAsFile)(IStream* stream, BOOL saveMemCopy, LONG* size) = 0;
    STDMETHOD(get_Attributes)(DWORD* attributes) = 0;
};

struct IPictureDisp : IDispatch {};

constexpr IID IID_IPicture = vyr::com::guidOf("7BF80980-BF32-101A-8BBB-00AA00300CAB");
constexpr IID IID_IPictureDisp = vyr::com::guidOf("7BF80981-BF32-101A-8BBB-00AA00300CAB");
constexpr CLSID CLSID_StdPicture = vyr::com::guidOf("0BE35204-8F91-11CE-9DE3-00AA004BB851");

VYR_DECLARE_INTERFACE(IPicture, IID_IPicture, IUnknown)
VYR_DECLARE_INTERFACE(IPictureDisp, IID_IPictureDisp, IDispatch)

// Dispatch identifiers of IPictureDisp.
constexpr DISPID DISPID_PICT_HANDLE = 0;
constexpr DISPID DISPID_PICT_HPAL = 2;
constexpr DISPID DISPID_PICT_TYPE = 3;
constexpr DISPID DISPID_PICT_WIDTH = 4;
constexpr DISPID DISPID_PICT_HEIGHT = 5;

// IPicture::get_Attributes bits.
constexpr DWORD PICTURE_SCALABLE = 0x1;
constexpr DWORD PICTURE_TRANSPARENT = 0x2;

namespace vyr::com {

constexpr LONG kHimetricPerPixel = 25;

// A new picture from a BMP, ICO or PNG file; CTL_E_INVALIDPICTURE when it is none of these,
// STG_E_FILENOTFOUND or E_ACCESSDENIED when it cannot be read.
HRESULT loadPictureFile(const std::string& path, IPictureDisp** out);
// A new picture from the bytes of such a file.
HRESULT loadPictureBytes(const uint8_t* data, size_t size, IPictureDisp** out);
// A new bitmap picture (PICTYPE_BITMAP) owning a copy of `image`; PICTYPE_NONE for a null image.
HRESULT createPicture(const QImage& image, IPictureDisp** out);
// The picture's pixels (null image for none, foreign objects or null) and its type.
QImage qimageOf(IUnknown* picture);
SHORT pictureType(IUnknown* picture); // PICTYPE_NONE for null

} // namespace vyr::com
