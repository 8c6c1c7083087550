#include "platform/com/streamio.h"
#include "platform/com/persist.h"
#include "platform/com/comptr.h"
#include "platform/com/memstream.h"
#include <vector>

namespace vyr::com {

HRESULT readExact(IStream* s, void* buffer, ULONG size)
{
    if (!s)
        return E_POINTER;
    ULONG got = 0;
    HRESULT hr = s->Read(buffer, size, &got);
    if (FAILED(hr))
        return hr;
    return got == size ? S_OK : STG_E_READFAULT;
}

HRESULT writeAll(IStream* s, const void* buffer, ULONG size)
{
    if (!s)
        return E_POINTER;
    ULONG done = 0;
    HRESULT hr = s->Write(buffer, size, &done);
    if (FAILED(hr))
        return hr;
    return done == size ? S_OK : STG_E_MEDIUMFULL;
}

HRESULT readGuid(IStream* s, GUID& g)
{
    uint8_t b[16];
    HRESULT hr = readExact(s, b, 16);
    if (SUCCEEDED(hr))
        g = guidFromBytes(b);
    return hr;
}

HRESULT writeGuid(IStream* s, const GUID& g)
{
    const auto b = guidBytes(g);
    return writeAll(s, b.data(), 16);
}

uint64_t remainingBytes(IStream* s)
{
    ULARGE_INTEGER pos{};
    STATSTG st{};
    if (FAILED(s->Seek({0}, STREAM_SEEK_CUR, &pos)) || FAILED(s->Stat(&st, STATFLAG_NONAME)))
        return 0;
    return st.cbSize.QuadPart > pos.QuadPart ? st.cbSize.QuadPart - pos.QuadPart : 0;
}

namespace {

size_t fixedSize(VARTYPE vt)
{
    switch (vt) {
    case VT_I1: case VT_UI1: return 1;
    case VT_I2: case VT_UI2: case VT_BOOL: return 2;
    case VT_I4: case VT_UI4: case VT_INT: case VT_UINT: case VT_R4: case VT_ERROR: return 4;
    case VT_I8: case VT_UI8: case VT_R8: case VT_CY: case VT_DATE: return 8;
    default: return 0;
    }
}

} // namespace

HRESULT writeVariant(IStream* s, const VARIANT& v)
{
    // Checked before anything is written, so that no half record is left in the stream.
    const bool object = v.vt == VT_UNKNOWN || v.vt == VT_DISPATCH;
    if (v.vt != VT_EMPTY && v.vt != VT_NULL && !fixedSize(v.vt) && v.vt != VT_BSTR && !object)
        return DISP_E_BADVARTYPE;
    HRESULT hr = S_OK;
    if (object) {
        // An object's own Save may fail part way, so it is written whole or not at all.
        auto buffer = MemoryStream::create();
        if (FAILED(hr = writeValue(buffer.get(), v.vt)) || FAILED(hr = saveObject(buffer.get(), v.punkVal)))
            return hr;
        return writeAll(s, buffer->bytes().data(), ULONG(buffer->bytes().size()));
    }
    if (FAILED(hr = writeValue(s, v.vt)))
        return hr;
    if (const size_t n = fixedSize(v.vt))
        return writeAll(s, &v.llVal, ULONG(n));
    if (v.vt != VT_BSTR)
        return S_OK; // VT_EMPTY, VT_NULL: the type alone
    if (!v.bstrVal)
        return writeValue(s, uint32_t(0));
    const uint32_t bytes = SysStringByteLen(v.bstrVal) + 2;
    if (FAILED(hr = writeValue(s, bytes)))
        return hr;
    return writeAll(s, v.bstrVal, bytes);
}

HRESULT readVariant(IStream* s, VARIANT* out)
{
    if (!out)
        return E_POINTER;
    VariantClear(out);
    VARTYPE vt = 0;
    HRESULT hr = readValue(s, vt);
    if (FAILED(hr))
        return hr;
    VARIANT v;
    VariantInit(&v);
    v.vt = vt;
    if (vt == VT_EMPTY || vt == VT_NULL) {
        *out = v;
        return S_OK;
    }
    if (const size_t n = fixedSize(vt)) {
        if (FAILED(hr = readExact(s, &v.llVal, ULONG(n))))
            return hr;
        *out = v;
        return S_OK;
    }
    if (vt == VT_BSTR) {
        uint32_t bytes = 0;
        if (FAILED(hr = readValue(s, bytes)))
            return hr;
        if (bytes == 0) {
            v.bstrVal = nullptr;
            *out = v;
            return S_OK;
        }
        // The count includes a 2-byte terminator and is whole characters.
        if (bytes < 2 || bytes % 2 || bytes > remainingBytes(s))
            return STG_E_READFAULT;
        std::vector<OLECHAR> text(bytes / 2);
        if (FAILED(hr = readExact(s, text.data(), bytes)))
            return hr;
        v.bstrVal = SysAllocStringLen(text.data(), UINT(text.size() - 1));
        if (!v.bstrVal)
            return E_OUTOFMEMORY;
        *out = v;
        return S_OK;
    }
    if (vt == VT_UNKNOWN || vt == VT_DISPATCH) {
        ComPtr<IUnknown> obj;
        if (FAILED(hr = loadObject(s, obj.put())))
            return hr;
        if (vt == VT_DISPATCH && obj) {
            if (FAILED(hr = obj->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&v.pdispVal))))
                return DISP_E_TYPEMISMATCH;
        } else {
            v.punkVal = obj.detach();
        }
        *out = v;
        return S_OK;
    }
    return DISP_E_BADVARTYPE;
}

HRESULT saveObject(IStream* s, IUnknown* object)
{
    if (!object)
        return writeGuid(s, GUID_NULL);
    ComPtr<IPersistStream> ps;
    ComPtr<IPersistStreamInit> psi;
    object->QueryInterface(IID_IPersistStream, ps.putVoid());
    if (!ps)
        object->QueryInterface(IID_IPersistStreamInit, psi.putVoid());
    if (!ps && !psi)
        return E_NOINTERFACE;
    CLSID clsid{};
    HRESULT hr = ps ? ps->GetClassID(&clsid) : psi->GetClassID(&clsid);
    if (FAILED(hr) || FAILED(hr = writeGuid(s, clsid)))
        return hr;
    return ps ? ps->Save(s, FALSE) : psi->Save(s, FALSE);
}

HRESULT loadObject(IStream* s, IUnknown** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    CLSID clsid{};
    HRESULT hr = readGuid(s, clsid);
    if (FAILED(hr))
        return hr;
    if (clsid == GUID_NULL)
        return S_OK;
    ComPtr<IUnknown> obj;
    if (FAILED(hr = createStdObject(clsid, IID_IUnknown, obj.putVoid())))
        return hr;
    ComPtr<IPersistStream> ps = obj.as<IPersistStream>(IID_IPersistStream);
    if (!ps)
        return E_NOINTERFACE;
    if (FAILED(hr = ps->Load(s)))
        return hr;
    *out = obj.detach();
    return S_OK;
}

} // namespace vyr::com
