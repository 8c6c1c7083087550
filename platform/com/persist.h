#pragma once
// IPersist, IPersistStream and IPersistStreamInit in standard method order.
#include "platform/com/stream.h"

struct IPersist : IUnknown {
    STDMETHOD(GetClassID)(CLSID* clsid) = 0;
};

struct IPersistStream : IPersist {
    STDMETHOD(IsDirty)() = 0;
    STDMETHOD(Load)(IStream* stream) = 0;
    STDMETHOD(Save)(IStream* stream, BOOL clearDirty) = 0;
    STDMETHOD(GetSizeMax)(ULARGE_INTEGER* size) = 0;
};

struct IPersistStreamInit : IPersist {
    STDMETHOD(IsDirty)() = 0;
    STDMETHOD(Load)(IStream* stream) = 0;
    STDMETHOD(Save)(IStream* stream, BOOL clearDirty) = 0;
    STDMETHOD(GetSizeMax)(ULARGE_INTEGER* size) = 0;
    STDMETHOD(InitNew)() = 0;
};

constexpr IID IID_IPersist = vyr::com::guidOf("0000010C-0000-0000-C000-000000000046");
constexpr IID IID_IPersistStream = vyr::com::guidOf("00000109-0000-0000-C000-000000000046");
constexpr IID IID_IPersistStreamInit = vyr::com::guidOf("7FD52380-4E07-101B-AE2D-08002B2EC713");
