#pragma once
// A control class is described once by a ClassDescriptor: its dispatch members (properties
// with their accessors, methods), the enumeration names its properties browse with, and the
// order in which it saves its properties. IDispatch, per-property browsing and the property
// stream of the control base are all derived from this one table.
#include "platform/com/variant.h"
#include "platform/com/guid.h"
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct DISPPARAMS;

namespace vyr::controls {

class ControlBase;

// The value kinds of properties; each has its stream and dispatch VARTYPE.
// Color travels as the OLE_COLOR alias and Command as the VYR_COMMAND alias of the type
// library; Object is any automation object (IDispatch).
enum class PropType { Bool, Short, Long, Color, Double, String, Font, Picture, Command, Object };
VARTYPE varTypeOf(PropType t);

// How a property is assigned: by value (pictures and fonts are copied) or by reference.
enum class PutKind { ByValue, ByRef };

// Display strings of an enumerated property: cookie == value.
struct EnumNames {
    std::vector<std::string> names;
    VARTYPE predefinedType = VT_I4; // type of GetPredefinedValue's answer
    std::vector<int32_t> values = {}; // explicit values; empty means 0, 1, 2, ...
    // The enumeration's type in the type library; none keeps the property a plain number.
    const char* typeName = nullptr;
    // Names of the type library's constants where they differ from the display strings.
    std::vector<std::string> constants = {};
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
    // Help string of the type information.
    std::string help = {};
    // Described as hidden: property browsers leave it out.
    bool hidden = false;
};

struct MethodParam {
    std::string name;
    PropType type;
    // An [out] parameter: the type information describes a pointer to `type`.
    bool out = false;
};

struct MethodDesc {
    DISPID id;
    std::string name;
    std::function<HRESULT(ControlBase&, DISPPARAMS*, VARIANT*)> call;
    std::vector<MethodParam> params = {};
    std::optional<PropType> result = std::nullopt;
    std::string help = {};
};

// One slot of a control's dual interface: a member and how it is accessed.
enum class Access { Get, Put, PutRef, Call };
struct Slot {
    DISPID id;
    Access access;
};

// Slots written as the members and their accesses in order, each access list like
// "get/put", "put/get", "get/putref/put" or "call".
std::vector<Slot> slotList(std::initializer_list<std::pair<DISPID, std::string_view>> members);

// An entry of a property map: the name the property-page framework knows the property by,
// its dispid and the page that edits it (GUID_NULL: none).
struct MapEntry {
    const char* name;
    DISPID id;
    CLSID page;
};

struct ClassDescriptor {
    CLSID clsid;
    IID dispatchIid;   // the control's dispatch interface
    IID eventIid;      // its outgoing event interface (GUID_NULL: none)
    std::vector<PropertyDesc> properties;
    std::vector<MethodDesc> methods;
    std::vector<DISPID> saveOrder; // persisted properties, in stream order
    // The dual interface's name; empty: "I" followed by the class-table name.
    std::string interfaceName = {};
    // Its slots after IDispatch; empty: each property in table order (get, putref for fonts
    // and pictures, put), then the methods.
    std::vector<Slot> interfaceSlots = {};
    // The property map, where the control declares one; pages are then answered from it.
    std::vector<MapEntry> propertyMap = {};
    // The control's own property page (GUID_NULL: none).
    CLSID ownPage = GUID_NULL;

    // The dual interface's slots as declared or derived.
    std::vector<Slot> slotOrder() const;

    const PropertyDesc* property(DISPID id) const;
    const MethodDesc* method(DISPID id) const;
    // Case-insensitive lookup of a member name; DISPID_UNKNOWN when absent.
    DISPID idOfName(std::string_view name) const;
};

} // namespace vyr::controls
