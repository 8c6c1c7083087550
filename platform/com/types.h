#pragma once
// The fixed-width types, result codes and constants of the COM binary standard, with the
// values Windows defines. COM's LONG/ULONG/DWORD are 32-bit everywhere; `long` is not.
#include <cstdint>
#include <cstddef>

using HRESULT = int32_t;
using SCODE = int32_t;
using LONG = int32_t;
using ULONG = uint32_t;
using DWORD = uint32_t;
using WORD = uint16_t;
using BYTE = uint8_t;
using SHORT = int16_t;
using USHORT = uint16_t;
using INT = int32_t;
using UINT = uint32_t;
using BOOL = int32_t;
using LCID = uint32_t;
using DISPID = int32_t;
using MEMBERID = DISPID;
using VARTYPE = uint16_t;
using VARIANT_BOOL = int16_t;
using OLECHAR = char16_t;
using LPOLESTR = OLECHAR*;
using LPCOLESTR = const OLECHAR*;
using BSTR = OLECHAR*;
using OLE_COLOR = uint32_t;
using OLE_HANDLE = uint32_t;
using OLE_XPOS_HIMETRIC = int32_t;
using OLE_YPOS_HIMETRIC = int32_t;
using OLE_XSIZE_HIMETRIC = int32_t;
using OLE_YSIZE_HIMETRIC = int32_t;
using DATE = double;

struct CY { int64_t int64; };
struct LARGE_INTEGER { int64_t QuadPart; };
struct ULARGE_INTEGER { uint64_t QuadPart; };
struct FILETIME { DWORD dwLowDateTime; DWORD dwHighDateTime; };
struct RECT { LONG left, top, right, bottom; };
using LPCRECT = const RECT*;
struct SIZEL { LONG cx, cy; };

// Opaque drawing handles. On this platform an HDC is a QPainter* and an HFONT a QFont*,
// handed across interfaces the way Windows hands out GDI handles.
struct HDC__; using HDC = HDC__*;
struct HFONT__; using HFONT = HFONT__*;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;
constexpr VARIANT_BOOL VARIANT_TRUE = -1;
constexpr VARIANT_BOOL VARIANT_FALSE = 0;

constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001);
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003);
constexpr HRESULT E_ABORT = static_cast<HRESULT>(0x80004004);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005);
constexpr HRESULT E_UNEXPECTED = static_cast<HRESULT>(0x8000FFFF);
constexpr HRESULT E_ACCESSDENIED = static_cast<HRESULT>(0x80070005);
constexpr HRESULT E_HANDLE = static_cast<HRESULT>(0x80070006);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000E);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);
constexpr HRESULT CLASS_E_NOAGGREGATION = static_cast<HRESULT>(0x80040110);
constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = static_cast<HRESULT>(0x80040111);
constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154);
constexpr HRESULT SELFREG_E_TYPELIB = static_cast<HRESULT>(0x80040200);
constexpr HRESULT SELFREG_E_CLASS = static_cast<HRESULT>(0x80040201);
constexpr HRESULT CONNECT_E_NOCONNECTION = static_cast<HRESULT>(0x80040200);
constexpr HRESULT CONNECT_E_ADVISELIMIT = static_cast<HRESULT>(0x80040201);
constexpr HRESULT CONNECT_E_CANNOTCONNECT = static_cast<HRESULT>(0x80040202);
constexpr HRESULT DISP_E_UNKNOWNINTERFACE = static_cast<HRESULT>(0x80020001);
constexpr HRESULT DISP_E_MEMBERNOTFOUND = static_cast<HRESULT>(0x80020003);
constexpr HRESULT DISP_E_PARAMNOTFOUND = static_cast<HRESULT>(0x80020004);
constexpr HRESULT DISP_E_TYPEMISMATCH = static_cast<HRESULT>(0x80020005);
constexpr HRESULT DISP_E_UNKNOWNNAME = static_cast<HRESULT>(0x80020006);
constexpr HRESULT DISP_E_NONAMEDARGS = static_cast<HRESULT>(0x80020007);
constexpr HRESULT DISP_E_BADVARTYPE = static_cast<HRESULT>(0x80020008);
constexpr HRESULT DISP_E_EXCEPTION = static_cast<HRESULT>(0x80020009);
constexpr HRESULT DISP_E_OVERFLOW = static_cast<HRESULT>(0x8002000A);
constexpr HRESULT DISP_E_BADINDEX = static_cast<HRESULT>(0x8002000B);
constexpr HRESULT DISP_E_BADPARAMCOUNT = static_cast<HRESULT>(0x8002000E);
constexpr HRESULT TYPE_E_ELEMENTNOTFOUND = static_cast<HRESULT>(0x8002802B);
constexpr HRESULT STG_E_INVALIDFUNCTION = static_cast<HRESULT>(0x80030001);
constexpr HRESULT STG_E_FILENOTFOUND = static_cast<HRESULT>(0x80030002);
constexpr HRESULT STG_E_INVALIDPOINTER = static_cast<HRESULT>(0x80030009);
constexpr HRESULT STG_E_READFAULT = static_cast<HRESULT>(0x8003001E);
constexpr HRESULT STG_E_WRITEFAULT = static_cast<HRESULT>(0x8003001D);
constexpr HRESULT STG_E_MEDIUMFULL = static_cast<HRESULT>(0x80030070);
constexpr HRESULT STG_E_INVALIDHEADER = static_cast<HRESULT>(0x800300FB);
constexpr HRESULT STG_E_DOCFILECORRUPT = static_cast<HRESULT>(0x80030109);
constexpr HRESULT CTL_E_INVALIDPROPERTYVALUE = static_cast<HRESULT>(0x800A017C);
constexpr HRESULT CTL_E_INVALIDPICTURE = static_cast<HRESULT>(0x800A01E1);

enum VARENUM : VARTYPE {
    VT_EMPTY = 0, VT_NULL = 1, VT_I2 = 2, VT_I4 = 3, VT_R4 = 4, VT_R8 = 5, VT_CY = 6,
    VT_DATE = 7, VT_BSTR = 8, VT_DISPATCH = 9, VT_ERROR = 10, VT_BOOL = 11, VT_VARIANT = 12,
    VT_UNKNOWN = 13, VT_DECIMAL = 14, VT_I1 = 16, VT_UI1 = 17, VT_UI2 = 18, VT_UI4 = 19,
    VT_I8 = 20, VT_UI8 = 21, VT_INT = 22, VT_UINT = 23, VT_VOID = 24, VT_HRESULT = 25,
    VT_ARRAY = 0x2000, VT_BYREF = 0x4000,
};

// IDispatch::Invoke flags and the standard dispatch identifiers used by the controls.
constexpr WORD DISPATCH_METHOD = 1;
constexpr WORD DISPATCH_PROPERTYGET = 2;
constexpr WORD DISPATCH_PROPERTYPUT = 4;
constexpr WORD DISPATCH_PROPERTYPUTREF = 8;
constexpr DISPID DISPID_UNKNOWN = -1;
constexpr DISPID DISPID_VALUE = 0;
constexpr DISPID DISPID_PROPERTYPUT = -3;
constexpr DISPID DISPID_BACKCOLOR = -501;
constexpr DISPID DISPID_BORDERSTYLE = -504;
constexpr DISPID DISPID_FONT = -512;
constexpr DISPID DISPID_FORECOLOR = -513;
constexpr DISPID DISPID_ENABLED = -514;
constexpr DISPID DISPID_HWND = -515;
constexpr DISPID DISPID_TEXT = -517;
constexpr DISPID DISPID_CAPTION = -518;
constexpr DISPID DISPID_REFRESH = -550;
constexpr DISPID DISPID_DOCLICK = -551;
constexpr DISPID DISPID_ABOUTBOX = -552;
constexpr DISPID DISPID_CLICK = -600;
constexpr DISPID DISPID_DBLCLICK = -601;
constexpr DISPID DISPID_KEYDOWN = -602;
constexpr DISPID DISPID_KEYPRESS = -603;
constexpr DISPID DISPID_KEYUP = -604;
constexpr DISPID DISPID_MOUSEDOWN = -605;
constexpr DISPID DISPID_MOUSEMOVE = -606;
constexpr DISPID DISPID_MOUSEUP = -607;
constexpr DISPID DISPID_AMBIENT_BACKCOLOR = -701;
constexpr DISPID DISPID_AMBIENT_FONT = -703;
constexpr DISPID DISPID_AMBIENT_FORECOLOR = -704;
constexpr DISPID DISPID_AMBIENT_USERMODE = -709;
constexpr DISPID DISPID_AMBIENT_UIDEAD = -710;

// Picture types.
constexpr SHORT PICTYPE_UNINITIALIZED = -1;
constexpr SHORT PICTYPE_NONE = 0;
constexpr SHORT PICTYPE_BITMAP = 1;
constexpr SHORT PICTYPE_METAFILE = 2;
constexpr SHORT PICTYPE_ICON = 3;

// IStream::Seek origins.
constexpr DWORD STREAM_SEEK_SET = 0;
constexpr DWORD STREAM_SEEK_CUR = 1;
constexpr DWORD STREAM_SEEK_END = 2;
