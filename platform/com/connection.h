#pragma once
// Connection points (IConnectionPointContainer, IConnectionPoint, their enumerators) and
// IPropertyNotifySink, in standard method order.
#include "platform/com/unknown.h"

struct CONNECTDATA {
    IUnknown* pUnk;
    DWORD dwCookie;
};

struct IConnectionPoint;
struct IConnectionPointContainer;

struct IEnumConnections : IUnknown {
    STDMETHOD(Next)(ULONG count, CONNECTDATA* out, ULONG* fetched) = 0;
    STDMETHOD(Skip)(ULONG count) = 0;
    STDMETHOD(Reset)() = 0;
    STDMETHOD(Clone)(IEnumConnections** clone) = 0;
};

struct IEnumConnectionPoints : IUnknown {
    STDMETHOD(Next)(ULONG count, IConnectionPoint** out, ULONG* fetched) = 0;
    STDMETHOD(Skip)(ULONG count) = 0;
    STDMETHOD(Reset)() = 0;
    STDMETHOD(Clone)(IEnumConnectionPoints** clone) = 0;
};

struct IConnectionPoint : IUnknown {
    STDMETHOD(GetConnectionInterface)(IID* iid) = 0;
    STDMETHOD(GetConnectionPointContainer)(IConnectionPointContainer** container) = 0;
    STDMETHOD(Advise)(IUnknown* sink, DWORD* cookie) = 0;
    STDMETHOD(Unadvise)(DWORD cookie) = 0;
    STDMETHOD(EnumConnections)(IEnumConnections** connections) = 0;
};

struct IConnectionPointContainer : IUnknown {
    STDMETHOD(EnumConnectionPoints)(IEnumConnectionPoints** points) = 0;
    STDMETHOD(FindConnectionPoint)(REFIID riid, IConnectionPoint** point) = 0;
};

struct IPropertyNotifySink : IUnknown {
    STDMETHOD(OnChanged)(DISPID id) = 0;
    STDMETHOD(OnRequestEdit)(DISPID id) = 0;
};

constexpr IID IID_IEnumConnections = vyr::com::guidOf("B196B287-BAB4-101A-B69C-00AA00341D07");
constexpr IID IID_IEnumConnectionPoints = vyr::com::guidOf("B196B285-BAB4-101A-B69C-00AA00341D07");
constexpr IID IID_IConnectionPoint = vyr::com::guidOf("B196B286-BAB4-101A-B69C-00AA00341D07");
constexpr IID IID_IConnectionPointContainer = vyr::com::guidOf("B196B284-BAB4-101A-B69C-00AA00341D07");
constexpr IID IID_IPropertyNotifySink = vyr::com::guidOf("9BFBBC02-EFF1-101A-84ED-00AA00341D07");
