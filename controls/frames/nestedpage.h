#pragma once
// The two internal interfaces through which pages and the controls that hold pages (the
// MultiPageFrame and the Frame) reach each other across nesting: a page hosting such a control
// becomes its owner, so that locking and dragging work through nested pages.
#include "platform/com/dispatch.h"
#include "platform/com/object.h"

// Whoever holds a page: the page is locked (no drag, no drop) when its owner says so.
struct IControlPageOwner : IUnknown {
    STDMETHOD(IsLocked)(BOOL* locked) = 0;
    // An ambient property the page's controls see: the one the owner's own container gives
    // (the container's font reaches controls inside pages so).
    STDMETHOD(GetAmbientProperty)(DISPID id, VARIANT* value) = 0;
    // The page hosts a new control (`control`), or gave its controls new ambients (null): the
    // owner tells its own site, whose container asks again for the keyboard information.
    STDMETHOD(OnPageChanged)(IUnknown* control) = 0;
};

// A hosted control that wants to know the page hosting it (so that it can ask whether that page
// is locked): the page announces itself to every such control it hosts.
struct IPageOwnerAware : IUnknown {
    // The page that hosts this control, or null.
    STDMETHOD(SetPageOwner)(IControlPageOwner* owner) = 0;
};

// A hosted control that holds pages of its own.
struct INestedPage : IPageOwnerAware {
    // Whether the point (client coordinates) lies on a hosted control of the current page, and
    // within that control's client area.
    STDMETHOD(PointTest)(LONG x, LONG y, BOOL* onControl, BOOL* inClient) = 0;
    // SetDispatch / AddDispatch for every property browser on the current page, and the same
    // call for every nested page on it.
    STDMETHOD(ForwardDispatch)(IDispatch* object) = 0;
    STDMETHOD(AddDispatch)(IDispatch* object) = 0;
    // Hosts a control created from its class identifier text on the current page.
    STDMETHOD(InsertControl)(BSTR classId, LONG x, LONG y, LONG width, LONG height) = 0;
    STDMETHOD(GetDragControls)(BOOL* drag) = 0;
};

constexpr IID IID_IControlPageOwner = vyr::com::guidOf("21EF9B08-1FDC-4605-BC41-8B7EB88A4FBA");
constexpr IID IID_INestedPage = vyr::com::guidOf("3C47A98A-3F52-4059-AE2D-6F5E898F3E52");
constexpr IID IID_IPageOwnerAware = vyr::com::guidOf("7814DBF1-2E19-4BA3-848E-2A1BEE0125C4");

VYR_DECLARE_INTERFACE(IControlPageOwner, IID_IControlPageOwner, IUnknown)
VYR_DECLARE_INTERFACE(IPageOwnerAware, IID_IPageOwnerAware, IUnknown)
VYR_DECLARE_INTERFACE(INestedPage, IID_INestedPage, IPageOwnerAware)
