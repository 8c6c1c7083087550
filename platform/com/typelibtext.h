#pragma once
// An IDL-like listing of type information, read through ITypeLib and ITypeInfo alone: the
// readable form of a type library for container authors and for tests.
#include "platform/com/typeinfo.h"
#include <string>
#include <vector>

namespace vyr::com {

// The whole library, or only the types named in `only` (a coclass also lists the interfaces
// it implements); names compare without regard to case.
std::string typeLibText(ITypeLib* lib, const std::vector<std::string>& only = {});
// One type.
std::string typeInfoText(ITypeInfo* info);
// The declaration of a type as it is used in a member (long, BSTR, OLE_COLOR, Font* ...).
std::string typeDescText(ITypeInfo* info, const TYPEDESC& type);

} // namespace vyr::com
