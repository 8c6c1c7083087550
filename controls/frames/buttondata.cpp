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

HRESULT readObject(BlockReader& record, com::ComPtr<IUnknown>& object)
{
    com::Variant v;
    HRESULT hr = record.variant(v);
    if (hr != S_OK)
        return hr;
    if (v.type() != VT_DISPATCH && v.type() != VT_UNKNOWN && v.type() != VT_EMPTY)
        return DISP_E_TYPEMISMATCH;
    object = v.type() == VT_EMPTY ? nullptr : v.get().punkVal;
    return S_OK;
}

// Pictures travel as dispatch objects, as picture properties do.
com::Variant objectValue(const com::ComPtr<IUnknown>& object)
{
    com::ComPtr<IDispatch> disp = object.as<IDispatch>(IID_IDispatch);
    return disp || !object ? com::Variant::fromDispatch(disp.get()) : com::Variant::fromUnknown(object.get());
}

} // namespace

HRESULT writeButtonData(IStream* s, const ButtonData& data)
{
    BlockWriter record;
    HRESULT hr = record.open(s);
    if (FAILED(hr))
        return hr;
    const com::Variant values[] = {com::Variant::fromString(data.caption), objectValue(data.picture), objectValue(data.backPicture),
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
    if (FAILED(hr) || FAILED(hr = readText(record, data.caption)) || FAILED(hr = readObject(record, data.picture))
        || FAILED(hr = readObject(record, data.backPicture)) || FAILED(hr = readText(record, data.command)))
        return hr;
    return record.close();
}

} // namespace vyr::frames
