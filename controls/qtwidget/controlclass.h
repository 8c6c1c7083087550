#pragma once
// What a Qt program sees of one control class: the properties and events its type information
// describes, and a QMetaObject made from them at run time, so that QObject::setProperty,
// QMetaProperty, Qt Designer and QUiLoader reach the control's properties by name. Built once
// per class identifier and kept for the life of the process.
#include "platform/com/comptr.h"
#include "platform/com/typeinfo.h"
#include <QByteArray>
#include <QMetaObject>
#include <QString>
#include <map>
#include <vector>

namespace vyr {

enum class PropertyKind { String, Bool, Int, Double, Color, Font, Enum };

struct ControlProperty {
    QByteArray name;
    DISPID id = 0;
    PropertyKind kind = PropertyKind::String;
    bool writable = false;
    QByteArray enumName; // PropertyKind::Enum: the enumeration's type name
};

struct ControlEnum {
    QByteArray name;
    // Keys and values in type order. A key is the value's display string made an identifier
    // ("Raised Dot" -> "RaisedDot"), read from the control's per-property browsing where it
    // offers one, else the type library's constant name.
    std::vector<std::pair<QByteArray, int>> keys;
    int valueOf(const QByteArray& key, bool* ok) const;
};

struct ControlEventParam {
    QByteArray name;
    VARTYPE type = VT_I4;
};

struct ControlClass {
    CLSID clsid{};
    QByteArray widgetClassName;                 // "Vyr" + the class name: VyrButton, VyrFrame ...
    std::vector<ControlProperty> properties;    // in interface order
    std::vector<ControlEnum> enums;
    std::map<DISPID, QString> events;           // the default source interface's members
    std::map<DISPID, std::vector<ControlEventParam>> eventParams; // their parameters in order
    const ControlProperty* property(DISPID id) const;
    const ControlEnum* enumeration(const QByteArray& name) const;
    const QMetaObject* metaObject = nullptr;    // derived from `super`; never freed
};

// The properties a control's dispatch type information offers: getters with no parameters that
// are neither hidden nor restricted, with a type Qt can carry (strings and commands, booleans,
// integers, floating point, OLE_COLOR, fonts and enumerations); pictures and variants are left
// out. `events` may be null (a control without events).
ControlClass describeControl(ITypeInfo* dispatchInfo, ITypeInfo* eventInfo, const QByteArray& className);

// A display string as an enumerator key: letters, digits and underscores, each word begun
// with a capital ("No Frame" -> "NoFrame", "curve in spectra" -> "CurveInSpectra"); a
// leading digit gets an underscore before it ("3D Banner" -> "_3DBanner").
QByteArray enumKey(const QString& display);

// Replaces the keys of `c`'s enumerations by the display strings the control's per-property
// browsing gives (cookie = value). Keys of values it does not name stay.
void useDisplayKeys(ControlClass& c, IDispatch* control);

// The C++ type of a property's value in Qt ("QString", "bool", ...); an enumeration's value
// is named `enumType` (the run-time class keeps it a QVariant, generated classes their enum).
QByteArray qtValueType(const ControlProperty& p, const QByteArray& enumType);

// The widget class name of a class table row's class name ("Button" -> "VyrButton",
// "VyrEdit" stays).
QByteArray widgetClassName(const char* className);

// The described class of the control behind `dispatch` (its type information and, through
// IProvideClassInfo, its events), with its meta-object derived from `super`. Cached by class
// identifier; null when the control offers no type information.
const ControlClass* controlClass(REFCLSID clsid, IDispatch* dispatch, const QMetaObject* super);

} // namespace vyr
