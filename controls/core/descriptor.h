#pragma once
// A control class is described once by a ClassDescriptor: its dispatch members (properties
// with their accessors, methods), the enumeration names its properties browse with, and the
// order in which it saves its properties. IDispatch, per-property browsing and the property
// stream of the control base are all derived from this one table.
#include "platform/com/variant.h"
#include "platform/com/guid.h"
#include <functional>
#include <string>
#include <vector>

struct DISPPARAMS;

namespace vyr::controls {

class ControlBase;

// The value kinds of properties; each has its stream and dispatch VARTYPE.
enum class PropType { Bool, Short, Long, Color, Double, String, Font, Picture };
VARTYPE varTypeOf(PropType t);

// How a property is assigned: by value (pictures and fonts are copied) or by reference.
enum class PutKind { ByValue, ByRef };

// Display strings of an enumerated property: cookie == value.
struct EnumNames {
    std::vector<std::string> names;
    VARTYPE predefinedType = VT_I4; // type of GetPredefinedValue's answer
    std::vector<int32_t> values = {}; // explicit values; empty means 0, 1, 2, ...
    int32_t valueAt(size_t i) const { return values.empty() ? int32_t(i) : values[i]; }
};

// Shared enumerations.
const EnumNames& boolNames();       // "False", "True"; VT_I2
const EnumNames& itemPositionNames(); // "LeftTop" ... "RightBottom"; VT_I4
const EnumNames& buttonStyleNames();  // "Normal", "Circle", "Rhomb"; VT_I2

struct PropertyDesc {
    DISPID id;
    std::string name;
    PropType type;
    // Current value as a VARIANT of varTypeOf(type).
    std::function<vyr::com::Variant(ControlBase&)> get;
    // Assigns a value already converted to varTypeOf(type); null for read-only properties.
    std::function<HRESULT(ControlBase&, const VARIANT&, PutKind)> put;
    const EnumNames* names = nullptr;
    // False for entries that only browse (no dispatch access), such as a face style that no
    // interface exposes.
    bool dispatchable = true;
};

struct MethodDesc {
    DISPID id;
    std::string name;
    std::function<HRESULT(ControlBase&, DISPPARAMS*, VARIANT*)> call;
};

struct ClassDescriptor {
    CLSID clsid;
    IID dispatchIid;   // the control's dispatch interface
    IID eventIid;      // its outgoing event interface (GUID_NULL: none)
    std::vector<PropertyDesc> properties;
    std::vector<MethodDesc> methods;
    std::vector<DISPID> saveOrder; // persisted properties, in stream order

    const PropertyDesc* property(DISPID id) const;
    const MethodDesc* method(DISPID id) const;
    // Case-insensitive lookup of a member name; DISPID_UNKNOWN when absent.
    DISPID idOfName(std::string_view name) const;
};

} // namespace vyr::controls
