#include "vtx/model/changes.h"

#include <algorithm>
#include <charconv>

namespace vyr::vtx {

namespace {

bool oneOf(const std::string& v, std::initializer_list<const char*> names)
{
    return std::any_of(names.begin(), names.end(), [&](const char* n) { return v == n; });
}

std::string applyPlacement(ConfigurationEditor& editor, const std::string& name, const std::string& value)
{
    size_t dot = name.rfind('.');
    std::string holder = name.substr(0, dot);
    std::string placeText = name.substr(dot + 1);
    if (std::find(kHolders.begin(), kHolders.end(), holder) == kHolders.end())
        return "unknown holder " + holder;
    int place = 0;
    auto [end, ec] = std::from_chars(placeText.data(), placeText.data() + placeText.size(), place);
    int places = holder == "VTX_NT1" ? 4 : 3;
    if (ec != std::errc() || end != placeText.data() + placeText.size() || place < 1 || place > places)
        return holder + " has no place " + placeText + " (1 to " + std::to_string(places) + ")";
    const Configuration& c = editor.configuration();
    const auto& catalogue = isSplitterHolder(holder) ? c.splitters : c.emissionFilters;
    bool known = value == kNone || std::find(catalogue.begin(), catalogue.end(), value) != catalogue.end() ||
                 (holder == "VTX_NT2" && value == kHalMirror);
    if (!known)
        return value + " is not in the catalogue for " + holder;
    editor.setPlacement(holder, place, value);
    return {};
}

} // namespace

std::string applyChange(ConfigurationEditor& editor, const std::string& assignment)
{
    size_t eq = assignment.find('=');
    if (eq == std::string::npos || eq == 0)
        return "not NAME=VALUE: " + assignment;
    std::string name = assignment.substr(0, eq);
    std::string value = assignment.substr(eq + 1);
    auto bad = [&] { return "bad value for " + name + ": " + value; };

    if (name == "nt1") {
        if (!oneOf(value, {"Nothing", "Cube"}))
            return bad();
        editor.setNt1(value == "Cube" ? Nt1::Cube : Nt1::Nothing);
    } else if (name == "nt2") {
        if (!oneOf(value, {"Nothing", "Cube", "Mirror"}))
            return bad();
        editor.setNt2(value == "Cube" ? Nt2::Cube : value == "Mirror" ? Nt2::Mirror : Nt2::Nothing);
    } else if (name == "manualMirror") {
        if (!oneOf(value, {"true", "false"}))
            return bad();
        editor.setManualMirror(value == "true");
    } else if (name.size() == 4 && name.rfind("can", 0) == 0 && name[3] >= '1' && name[3] <= '4') {
        if (!oneOf(value, {"None", "CANB", "CANK", "CANL", "CANM"}))
            return bad();
        editor.setCan(name[3] - '0', value);
    } else if (name == "transmittedLight") {
        if (!oneOf(value, {"None", "HAL"}))
            return bad();
        editor.setLight(LightSide::Transmitted, value == "HAL" ? 1 : 0);
    } else if (name == "reflectedLight") {
        if (!oneOf(value, {"None", "HAL Refl", "HBO"}))
            return bad();
        if (value == "HAL Refl" && editor.configuration().stand == 2)
            return "the FS stand has no HAL Refl";
        editor.setLight(LightSide::Reflected, value == "HBO" ? 2 : value == "None" ? 0 : 1);
    } else if (name.find('.') != std::string::npos) {
        return applyPlacement(editor, name, value);
    } else {
        return "unknown setting " + name;
    }
    return {};
}

} // namespace vyr::vtx
