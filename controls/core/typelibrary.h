#pragma once
// The library's type library, generated from the class table and each control's descriptor:
// per control its dual interface, its event interface and its coclass, with the enumerations
// and the OLE_COLOR and VYR_COMMAND aliases its properties use.
#include "controls/core/descriptor.h"
#include "platform/com/typeinfo.h"
#include "platform/com/typelib.h"
#include "platform/com/vtablecall.h"
#include <memory>

namespace vyr::controls {

// The library (built once, on first use).
HRESULT controlsTypeLib(ITypeLib** out);
const com::typelib::Library& controlsLibrary();

// What a control needs of the library at run time, by its class identifier.
struct ClassTypeInfo {
    com::ComPtr<ITypeInfo> dispatch;     // the dual interface's dispatch view
    com::ComPtr<ITypeInfo> coclass;
    std::shared_ptr<const com::DualLayout> layout; // vtable of the dual interface
};
// Null when the class is not in the library.
const ClassTypeInfo* classTypeInfo(REFCLSID clsid);

// The description of one control's types, appended to `lib` (used by the library builder).
void describeClass(com::typelib::Library& lib, const char* className, const ClassDescriptor& d);

} // namespace vyr::controls

// The export through which LoadTypeLib finds the library in this module.
extern "C" HRESULT VyrLoadTypeLib(ITypeLib** out);
