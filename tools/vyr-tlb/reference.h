#pragma once
// The reference of the controls as Markdown pages, read from the type library alone: per
// coclass its CLSID and ProgID, its properties (dispatch identifier, type, help string, the
// enumeration's names and values), methods and events with their arguments.
#include "platform/com/typeinfo.h"
#include <functional>
#include <map>
#include <string>

namespace vyr::tlb {

// What the reference reads beyond the type library: a class identifier's ProgID and name ("" when
// it has none), and a new object of a class (null when there is none) whose property values are
// the defaults and whose ISpecifyPropertyPages names the property pages.
struct ClassSources {
    std::function<std::string(const GUID&)> progIdOf;
    std::function<std::string(const GUID&)> nameOf;
    std::function<IDispatch*(const GUID&)> create; // a new reference, or null
    // Renders a new object of the class into a picture and gives its path relative to the pages
    // ("screenshots/Slider.png"), or "" when it has none.
    std::function<std::string(const GUID&, const std::string& className)> screenshot;
};

// The pages by file name ("Slider.md" ...) and "README.md", an index of them.
std::map<std::string, std::string> referencePages(ITypeLib* lib, const ClassSources& sources);

} // namespace vyr::tlb
