#pragma once
// The two internal interfaces through which pages and the controls that hold pages (the
// MultiPageFrame and the Frame) reach each other across nesting: a page hosting such a control
// becomes its owner, so that locking and dragging work through nested pages.
#include "platform/com/dispatch.h"
#include "platform/com/object.h"

// Whoever holds a page: the page is locked (no drag, no drop) when its owner says so.
struct IControlPageOwner : IUnknown {
    STDMETHOD(IsLocked)(BOOL* locked) = 0;
};

// A hosted control that holds pages of its own.
struct INestedPage : IUnknown {
    // The page that hosts this control, or null.
    STDMETHOD(SetPageOwner)(IControlPageOwner* owner) = 0;
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

VYR_DECLARE_INTERFACE(IControlPageOwner, IID_IControlPageOwner, IUnknown)
VYR_DECLARE_INTERFACE(INestedPage, IID_INestedPage, IUnknown)
