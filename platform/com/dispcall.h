#pragma once
// The calling side of IDispatch: property get/put and method calls by dispid or by name,
// with the argument conventions automation clients use (arguments in reverse order, a put
// value named DISPID_PROPERTYPUT).
#include "platform/com/dispatch.h"
#include <vector>

namespace vyr::com {

HRESULT getProperty(IDispatch* d, DISPID id, Variant& out);
HRESULT putProperty(IDispatch* d, DISPID id, const Variant& value, bool byRef = false);
// Arguments in their natural order; they are reversed for Invoke.
HRESULT callMethod(IDispatch* d, DISPID id, const std::vector<Variant>& args = {}, Variant* result = nullptr);

// The dispid of a member name, DISPID_UNKNOWN when absent.
DISPID dispidOf(IDispatch* d, std::string_view name);
HRESULT getProperty(IDispatch* d, std::string_view name, Variant& out);
HRESULT putProperty(IDispatch* d, std::string_view name, const Variant& value, bool byRef = false);
HRESULT callMethod(IDispatch* d, std::string_view name, const std::vector<Variant>& args = {},
                   Variant* result = nullptr);

} // namespace vyr::com
