#include "controls/frames/buttondata.h"

namespace vyr::frames {

namespace {

HRESULT readText(BlockReader& record, std::string& text)
{
    com::Variant v;
    HRESULT hr = record.variant(v);
    if (hr != S_OK)
        return hr;
    if (v.type() != VT_BSTR && v.type() != VT_EMPTY)
        return DISP_E_TYPEMISMATCH;
    text = v.type() == VT_BSTR ? com::utf8(v.get().bstrVal) : std::string();
    return S_OK;
}

HRESULT readPicture(BlockReader& record, com::ComPtr<IPictureDisp>& picture)
{
    com::Variant v;
    HRESULT hr = record.variant(v);
    if (hr != S_OK)
        return hr;
    if (v.type() != VT_DISPATCH && v.type() != VT_UNKNOWN && v.type() != VT_EMPTY)
        return DISP_E_TYPEMISMATCH;
    IUnknown* object = v.type() == VT_EMPTY ? nullptr : v.get().punkVal;
    com::ComPtr<IPictureDisp> read;
    if (object && FAILED(object->QueryInterface(IID_IPictureDisp, read.putVoid())))
        return DISP_E_TYPEMISMATCH;
    picture = read;
    return S_OK;
}

} // namespace

HRESULT writeButtonData(IStream* s, const ButtonData& data)
{
    BlockWriter record;
    HRESULT hr = record.open(s);
    if (FAILED(hr))
        return hr;
    const com::Variant values[] = {com::Variant::fromString(data.caption), com::Variant::fromDispatch(data.picture.get()),
                                   com::Variant::fromDispatch(data.backPicture.get()),
                                   com::Variant::fromString(data.command)};
    for (const com::Variant& v : values) {
        if (FAILED(hr = com::writeVariant(s, v.get())))
            return hr;
    }
    return record.close();
}

HRESULT readButtonData(IStream* s, const BlockReader& outer, ButtonData& data)
{
    BlockReader record;
    HRESULT hr = record.open(s, &outer);
    if (FAILED(hr) || FAILED(hr = readText(record, data.caption)) || FAILED(hr = readPicture(record, data.picture))
        || FAILED(hr = readPicture(record, data.backPicture)) || FAILED(hr = readText(record, data.command)))
        return hr;
    return record.close();
}

} // namespace vyr::frames
