#include "platform/com/dispcall.h"

namespace vyr::com {

HRESULT getProperty(IDispatch* d, DISPID id, Variant& out)
{
    if (!d)
        return E_POINTER;
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    return d->Invoke(id, GUID_NULL, 0, DISPATCH_PROPERTYGET, &none, out.put(), nullptr, nullptr);
}

HRESULT putProperty(IDispatch* d, DISPID id, const Variant& value, bool byRef)
{
    if (!d)
        return E_POINTER;
    VARIANT arg = value.get(); // shallow: `value` keeps ownership
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&arg, &named, 1, 1};
    return d->Invoke(id, GUID_NULL, 0, byRef ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT, &params, nullptr,
                     nullptr, nullptr);
}

HRESULT callMethod(IDispatch* d, DISPID id, const std::vector<Variant>& args, Variant* result)
{
    if (!d)
        return E_POINTER;
    std::vector<VARIANT> reversed;
    for (auto it = args.rbegin(); it != args.rend(); ++it)
        reversed.push_back(it->get());
    DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(), nullptr, UINT(reversed.size()), 0};
    Variant ignored;
    return d->Invoke(id, GUID_NULL, 0, DISPATCH_METHOD, &params, (result ? result : &ignored)->put(), nullptr,
                     nullptr);
}

DISPID dispidOf(IDispatch* d, std::string_view name)
{
    if (!d)
        return DISPID_UNKNOWN;
    std::u16string n = utf16(name);
    LPOLESTR names[1] = {n.data()};
    DISPID id = DISPID_UNKNOWN;
    if (FAILED(d->GetIDsOfNames(GUID_NULL, names, 1, 0, &id)))
        return DISPID_UNKNOWN;
    return id;
}

HRESULT getProperty(IDispatch* d, std::string_view name, Variant& out)
{
    const DISPID id = dispidOf(d, name);
    return id == DISPID_UNKNOWN ? DISP_E_UNKNOWNNAME : getProperty(d, id, out);
}

HRESULT putProperty(IDispatch* d, std::string_view name, const Variant& value, bool byRef)
{
    const DISPID id = dispidOf(d, name);
    return id == DISPID_UNKNOWN ? DISP_E_UNKNOWNNAME : putProperty(d, id, value, byRef);
}

HRESULT callMethod(IDispatch* d, std::string_view name, const std::vector<Variant>& args, Variant* result)
{
    const DISPID id = dispidOf(d, name);
    return id == DISPID_UNKNOWN ? DISP_E_UNKNOWNNAME : callMethod(d, id, args, result);
}

} // namespace vyr::com
