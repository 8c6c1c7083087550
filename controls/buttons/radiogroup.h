#pragma once
// Group exclusivity of radio buttons: before a control switches itself on, every other control
// of its container that has the same "GroupNumber" and is on is switched off, through the
// controls' dispatch interfaces (so any control type with these two members takes part).
#include "platform/com/comptr.h"
#include "platform/com/dispatch.h"
#include <vector>

struct IVyrSite;

namespace vyr::controls {

// Switches off every control of `controls` whose "GroupNumber" (as a 4-byte integer) equals
// `group` and whose "Value" (as a boolean) is on. Controls without these members are skipped.
void switchOffGroup(const std::vector<com::ComPtr<IUnknown>>& controls, LONG group);

// The running controls of the container holding `site`'s control (none without a site).
std::vector<com::ComPtr<IUnknown>> containerControls(IVyrSite* site);

} // namespace vyr::controls
