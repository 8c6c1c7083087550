#include "controls/core/descriptor.h"
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
    case PropType::String: return VT_BSTR;
    case PropType::Font:
    case PropType::Picture: return VT_DISPATCH;
    }
    return VT_EMPTY;
}

const EnumNames& boolNames()
{
    static const EnumNames n{{"False", "True"}, VT_I2};
    return n;
}

const EnumNames& itemPositionNames()
{
    static const EnumNames n{{"LeftTop", "CenterTop", "RightTop", "LeftCenter", "CenterCenter", "RightCenter",
                              "LeftBottom", "CenterBottom", "RightBottom"},
                             VT_I4};
    return n;
}

const EnumNames& buttonStyleNames()
{
    static const EnumNames n{{"Normal", "Circle", "Rhomb"}, VT_I2};
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
