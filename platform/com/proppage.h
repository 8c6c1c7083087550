#pragma once
// Property pages in the standard layout: IPropertyPageSite, IPropertyPage and IPropertyPage2
// in the standard method order. A window handle crosses as the page's parent QWidget* and a
// message as an opaque pointer.
#include "platform/com/unknown.h"

using HWND = void*;
struct MSG;

struct PROPPAGEINFO {
    ULONG cb;
    LPOLESTR pszTitle;     // task memory, caller frees
    SIZEL size;            // pixels
    LPOLESTR pszDocString; // task memory or null
    LPOLESTR pszHelpFile;  // task memory or null
    DWORD dwHelpContext;
};

// OnStatusChange flags.
constexpr DWORD PROPPAGESTATUS_DIRTY = 0x1;
constexpr DWORD PROPPAGESTATUS_VALIDATE = 0x2;
constexpr DWORD PROPPAGESTATUS_CLEAN = 0x4;

// Show.
constexpr UINT SW_HIDE = 0;
constexpr UINT SW_SHOW = 5;

struct IPropertyPageSite : IUnknown {
    STDMETHOD(OnStatusChange)(DWORD flags) = 0;
    STDMETHOD(GetLocaleID)(LCID* lcid) = 0;
    STDMETHOD(GetPageContainer)(IUnknown** container) = 0;
    STDMETHOD(TranslateAccelerator)(MSG* msg) = 0;
};

struct IPropertyPage : IUnknown {
    STDMETHOD(SetPageSite)(IPropertyPageSite* site) = 0;
    STDMETHOD(Activate)(HWND parent, LPCRECT rect, BOOL modal) = 0;
    STDMETHOD(Deactivate)() = 0;
    STDMETHOD(GetPageInfo)(PROPPAGEINFO* info) = 0;
    STDMETHOD(SetObjects)(ULONG count, IUnknown** objects) = 0;
    STDMETHOD(Show)(UINT cmdShow) = 0;
    STDMETHOD(Move)(LPCRECT rect) = 0;
    STDMETHOD(IsPageDirty)() = 0;
    STDMETHOD(Apply)() = 0;
    STDMETHOD(Help)(LPCOLESTR helpDir) = 0;
    STDMETHOD(TranslateAccelerator)(MSG* msg) = 0;
};

struct IPropertyPage2 : IPropertyPage {
    STDMETHOD(EditProperty)(DISPID id) = 0;
};

constexpr IID IID_IPropertyPageSite = vyr::com::guidOf("B196B28C-BAB4-101A-B69C-00AA00341D07");
constexpr IID IID_IPropertyPage = vyr::com::guidOf("B196B28D-BAB4-101A-B69C-00AA00341D07");
constexpr IID IID_IPropertyPage2 = vyr::com::guidOf("01E44665-24AC-101B-84ED-08002B2EC713");
