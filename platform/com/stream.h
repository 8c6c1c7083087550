#pragma once
// ISequentialStream and IStream in standard method order.
#include "platform/com/unknown.h"

struct STATSTG {
    LPOLESTR pwcsName;
    DWORD type;
    ULARGE_INTEGER cbSize;
    FILETIME mtime;
    FILETIME ctime;
    FILETIME atime;
    DWORD grfMode;
    DWORD grfLocksSupported;
    CLSID clsid;
    DWORD grfStateBits;
    DWORD reserved;
};
constexpr DWORD STGTY_STREAM = 2;
constexpr DWORD STATFLAG_DEFAULT = 0;
constexpr DWORD STATFLAG_NONAME = 1;

struct ISequentialStream : IUnknown {
    STDMETHOD(Read)(void* buffer, ULONG size, ULONG* read) = 0;
    STDMETHOD(Write)(const void* buffer, ULONG size, ULONG* written) = 0;
};

struct IStream : ISequentialStream {
    STDMETHOD(Seek)(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) = 0;
    STDMETHOD(SetSize)(ULARGE_INTEGER newSize) = 0;
    STDMETHOD(CopyTo)(IStream* target, ULARGE_INTEGER size, ULARGE_INTEGER* read, ULARGE_INTEGER* written) = 0;
    STDMETHOD(Commit)(DWORD flags) = 0;
    STDMETHOD(Revert)() = 0;
    STDMETHOD(LockRegion)(ULARGE_INTEGER offset, ULARGE_INTEGER size, DWORD lockType) = 0;
    STDMETHOD(UnlockRegion)(ULARGE_INTEGER offset, ULARGE_INTEGER size, DWORD lockType) = 0;
    STDMETHOD(Stat)(STATSTG* stat, DWORD flags) = 0;
    STDMETHOD(Clone)(IStream** clone) = 0;
};

constexpr IID IID_ISequentialStream = vyr::com::guidOf("0C733A30-2A1C-11CE-ADE5-00AA0044773D");
constexpr IID IID_IStream = vyr::com::guidOf("0000000C-0000-0000-C000-000000000046");
