#pragma once
// Reading and writing the standard stream forms: exact reads, little-endian integers, the
// VARIANT stream form (VARTYPE, then the value; a BSTR as a 4-byte byte count that includes
// the 2-byte terminator, 0 for a null string, then UTF-16LE text and terminator; an object as
// its CLSID and its own stream, a null object as the all-zero CLSID), and persisted objects.
// Readers never allocate more than the stream still holds.
#include "platform/com/stream.h"
#include "platform/com/variant.h"
#include <string>

namespace vyr::com {

// Reads exactly `size` bytes: the stream's error, or STG_E_READFAULT when it ends early.
HRESULT readExact(IStream* s, void* buffer, ULONG size);
HRESULT writeAll(IStream* s, const void* buffer, ULONG size);

template <class T>
HRESULT readValue(IStream* s, T& v) { return readExact(s, &v, sizeof v); }
template <class T>
HRESULT writeValue(IStream* s, const T& v) { return writeAll(s, &v, sizeof v); }

HRESULT readGuid(IStream* s, GUID& g);
HRESULT writeGuid(IStream* s, const GUID& g);

// Bytes between the current position and the end (0 when the stream cannot tell).
uint64_t remainingBytes(IStream* s);

HRESULT writeVariant(IStream* s, const VARIANT& v);
// Reads one VARIANT into `out` (cleared first). Unknown or unsupported VARTYPEs give
// DISP_E_BADVARTYPE; lengths beyond the stream give STG_E_READFAULT.
HRESULT readVariant(IStream* s, VARIANT* out);

// Persisted objects: CLSID then the object's IPersistStream(Init) data.
HRESULT saveObject(IStream* s, IUnknown* object);
// Creates a standard object (StdFont, StdPicture) by its CLSID and loads it; a null CLSID
// gives a null object and S_OK; an unknown CLSID REGDB_E_CLASSNOTREG.
HRESULT loadObject(IStream* s, IUnknown** out);

// Creates one of the standard objects this platform knows by CLSID.
HRESULT createStdObject(REFCLSID clsid, REFIID iid, void** out);

} // namespace vyr::com
