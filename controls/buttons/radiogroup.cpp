#include "controls/buttons/radiogroup.h"
#include "controls/core/vyrcontrols.h"
#include "platform/com/dispcall.h"

namespace vyr::controls {

using com::ComPtr;
using com::Variant;

namespace {
// A property read through IDispatch and converted to `type`; nullopt when either fails.
std::optional<Variant> readAs(IDispatch* d, DISPID id, VARTYPE type, Variant* raw = nullptr)
{
    Variant v, converted;
    if (FAILED(com::getProperty(d, id, v)))
        return std::nullopt;
    // An object converts through its default member, as automation converts it.
    Variant inner;
    const VARIANT* from = &v.get();
    if (v.type() == VT_DISPATCH && v.get().pdispVal && SUCCEEDED(com::getProperty(v.get().pdispVal, DISPID_VALUE, inner)))
        from = &inner.get();
    if (FAILED(VariantChangeType(converted.put(), from, 0, type)))
        return std::nullopt;
    if (raw)
        *raw = std::move(v);
    return converted;
}
} // namespace

void switchOffGroup(const std::vector<ComPtr<IUnknown>>& controls, LONG group)
{
    for (const ComPtr<IUnknown>& unknown : controls) {
        ComPtr<IDispatch> d;
        if (!unknown || FAILED(unknown->QueryInterface(IID_IDispatch, d.putVoid())))
            continue;
        const DISPID groupId = com::dispidOf(d.get(), "GroupNumber");
        const DISPID valueId = com::dispidOf(d.get(), "Value");
        if (groupId == DISPID_UNKNOWN || valueId == DISPID_UNKNOWN)
            continue;
        const auto number = readAs(d.get(), groupId, VT_I4);
        if (!number || number->get().lVal != group)
            continue;
        Variant raw;
        const auto on = readAs(d.get(), valueId, VT_BOOL, &raw);
        if (!on || !on->get().boolVal)
            continue;
        // A value that came as an object is put by reference first, then by value.
        if (raw.type() == VT_DISPATCH || raw.type() == VT_UNKNOWN)
            com::putProperty(d.get(), valueId, Variant::fromBool(false), true);
        com::putProperty(d.get(), valueId, Variant::fromBool(false));
    }
}

std::vector<ComPtr<IUnknown>> containerControls(IVyrSite* site)
{
    std::vector<ComPtr<IUnknown>> out;
    ComPtr<IVyrSite2> siblings;
    if (!site || FAILED(site->QueryInterface(IID_IVyrSite2, siblings.putVoid())) || !siblings)
        return out;
    constexpr ULONG kMost = 100000; // a site that never ends its list cannot hold us
    for (ULONG i = 0; i < kMost; ++i) {
        IUnknown* control = nullptr;
        if (siblings->GetSibling(i, &control) != S_OK || !control)
            break;
        out.push_back(ComPtr<IUnknown>::attach(control));
    }
    return out;
}

} // namespace vyr::controls
