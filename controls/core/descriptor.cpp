#include "controls/core/descriptor.h"
#include <algorithm>
#include <strings.h>

namespace vyr::controls {

VARTYPE varTypeOf(PropType t)
{
    switch (t) {
    case PropType::Bool: return VT_BOOL;
    case PropType::Short: return VT_I2;
    case PropType::Long: return VT_I4;
    case PropType::Color: return VT_UI4;
    case PropType::Double: return VT_R8;
    case PropType::String:
    case PropType::Command: return VT_BSTR;
    case PropType::Font:
    case PropType::Picture:
    case PropType::Object: return VT_DISPATCH;
    }
    return VT_EMPTY;
}

const EnumNames& boolNames()
{
    static const EnumNames n{{"False", "True"}, VT_I2, {}, nullptr, {"eFalse", "eTrue"}};
    return n;
}

const EnumNames& itemPositionNames()
{
    static const EnumNames n{{"LeftTop", "CenterTop", "RightTop", "LeftCenter", "CenterCenter", "RightCenter",
                              "LeftBottom", "CenterBottom", "RightBottom"},
                             VT_I4, {}, "ItemPosition",
                             {"eLeftTop", "eCenterTop", "eRightTop", "eLeftCenter", "eCenterCenter", "eRightCenter",
                              "eLeftBottom", "eCenterBottom", "eRightBottom"}};
    return n;
}

const EnumNames& buttonStyleNames()
{
    static const EnumNames n{{"Normal", "Circle", "Rhomb"}, VT_I2, {}, "ButtonStyle", {"eStyleNormal", "eStyleCircle", "eStyleRhomb"}};
    return n;
}

const PropertyDesc* ClassDescriptor::property(DISPID id) const
{
    for (const PropertyDesc& p : properties)
        if (p.id == id)
            return &p;
    return nullptr;
}

const MethodDesc* ClassDescriptor::method(DISPID id) const
{
    for (const MethodDesc& m : methods)
        if (m.id == id)
            return &m;
    return nullptr;
}

std::vector<Slot> slotList(std::initializer_list<std::pair<DISPID, std::string_view>> members)
{
    std::vector<Slot> out;
    for (const auto& [id, accesses] : members) {
        size_t start = 0;
        while (start <= accesses.size()) {
            const size_t end = std::min(accesses.find('/', start), accesses.size());
            const std::string_view a = accesses.substr(start, end - start);
            const Access access = a == "get"      ? Access::Get
                                  : a == "put"    ? Access::Put
                                  : a == "putref" ? Access::PutRef
                                                  : Access::Call;
            out.push_back({id, access});
            start = end + 1;
        }
    }
    return out;
}

std::vector<Slot> ClassDescriptor::slotOrder() const
{
    if (!interfaceSlots.empty())
        return interfaceSlots;
    std::vector<Slot> out;
    for (const PropertyDesc& p : properties) {
        if (!p.dispatchable)
            continue;
        out.push_back({p.id, Access::Get});
        if (!p.put)
            continue;
        if (p.type == PropType::Font || p.type == PropType::Picture)
            out.push_back({p.id, Access::PutRef});
        out.push_back({p.id, Access::Put});
    }
    for (const MethodDesc& m : methods)
        out.push_back({m.id, Access::Call});
    return out;
}

DISPID ClassDescriptor::idOfName(std::string_view name) const
{
    const std::string n(name);
    for (const PropertyDesc& p : properties)
        if (p.dispatchable && strcasecmp(p.name.c_str(), n.c_str()) == 0)
            return p.id;
    for (const MethodDesc& m : methods)
        if (strcasecmp(m.name.c_str(), n.c_str()) == 0)
            return m.id;
    return DISPID_UNKNOWN;
}

} // namespace vyr::controls
