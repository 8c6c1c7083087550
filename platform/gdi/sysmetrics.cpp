#include "platform/gdi/sysmetrics.h"

namespace vyr::gdi {

int GetSystemMetrics(int index)
{
    switch (index) {
    case SM_CXVSCROLL: case SM_CYHSCROLL: return 16;
    case SM_CXBORDER: case SM_CYBORDER: return 1;
    case SM_CXICON: case SM_CYICON: return 32;
    case SM_CXEDGE: case SM_CYEDGE: return 2;
    case SM_CXSMICON: case SM_CYSMICON: return 16;
    case SM_CXDRAG: case SM_CYDRAG: return 4;
    default: return 0;
    }
}

} // namespace vyr::gdi
