#pragma once
// The reference of the controls as Markdown pages, read from the type library alone: per
// coclass its CLSID and ProgID, its properties (dispatch identifier, type, help string, the
// enumeration's names and values), methods and events with their arguments.
#include "platform/com/typeinfo.h"
#include <functional>
#include <map>
#include <string>

namespace vyr::tlb {

// The pages by file name ("Slider.md" ...) and "README.md", an index of them. `progIdOf`
// gives a class identifier's ProgID ("" when it has none).
std::map<std::string, std::string> referencePages(ITypeLib* lib,
                                                  const std::function<std::string(const GUID&)>& progIdOf);

} // namespace vyr::tlb
