#pragma once
// Construction of the standard objects in their initial state, for createStdObject: a font
// with the library's default description, and a picture of type PICTYPE_UNINITIALIZED.
#include "platform/com/unknown.h"

namespace vyr::com {

HRESULT newStdFont(REFIID iid, void** out);
HRESULT newStdPicture(REFIID iid, void** out);

} // namespace vyr::com
