// The standard objects this platform can create by class identifier.
#include "platform/com/stdobjects.h"
#include "platform/com/font.h"
#include "platform/com/picture.h"
#include "platform/com/streamio.h"

namespace vyr::com {

HRESULT createStdObject(REFCLSID clsid, REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (clsid == CLSID_StdFont)
        return newStdFont(iid, out);
    if (clsid == CLSID_StdPicture)
        return newStdPicture(iid, out);
    return REGDB_E_CLASSNOTREG;
}

} // namespace vyr::com
