#pragma once
// The rows of a browsed object, read from its type information alone: every property getter
// of its dispatch interface that is neither hidden nor restricted and whose type a browser can
// show, with its kind (the interface or alias its type refers to), name, documentation string,
// enumeration constants and current value.
#include "platform/com/comptr.h"
#include "platform/com/typeinfo.h"
#include "platform/com/variant.h"
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vyr::controls::browser {

// Kind identifiers: the interface or alias the property's type refers to.
extern const GUID kKindPlain;   // IUnknown's identifier: everything else
extern const GUID kKindFont;    // IFontDisp
extern const GUID kKindPicture; // IPictureDisp
extern const GUID kKindColor;   // OLE_COLOR
extern const GUID kKindCommand; // VYR_COMMAND
extern const GUID kKindThird;   // an alias of other libraries whose rows are kept apart

struct EnumConst {
    std::string name; // the display name (documentation string, else the constant's name)
    int32_t value = 0;
};

struct Row {
    com::ComPtr<IDispatch> object;
    DISPID id = 0;
    GUID kind{};
    com::Variant value;
    bool readOk = false; // the getter answered
    std::string name;
    std::string doc;
    com::ComPtr<ITypeInfo> enumInfo; // set for enumerations
    std::vector<EnumConst> constants;
    bool readOnly = true; // no put or putref in the type information
};

// Reads the rows of `object`: plain rows to `rows`, rows of the third alias kind to `third`.
// A getter that fails leaves its row with an empty value (readOk false). Fails (and leaves
// both lists as they were) when the object has no usable type information.
HRESULT readRows(IDispatch* object, std::vector<Row>& rows, std::vector<Row>& third);

// Reads the row's value again through its getter.
void refreshValue(Row& row);

// The constants of an enumeration's type information, in declaration order.
std::vector<EnumConst> enumConstants(ITypeInfo* info);

// The colour of an OLE_COLOR value, whether it travels as VT_UI4 or VT_I4.
std::optional<OLE_COLOR> colorValue(const com::Variant& value);

// "&H%08lX&".
std::string colorText(OLE_COLOR color);
// The text a row shows for a value: enumerations by constant name, colours as colorText,
// booleans as "True"/"False", fonts by family and size, pictures as "(Picture)" or "(None)".
std::string valueText(const Row& row, const com::Variant& value);

// The value of `text` for the row's property: enumeration names, numbers, "&H..&" colours;
// false when the text does not convert.
bool parseValue(const Row& row, const std::string& text, com::Variant& out);

} // namespace vyr::controls::browser
