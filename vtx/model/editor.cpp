#include "vtx/model/editor.h"

#include "vtx/model/rows.h"

namespace vyr::vtx {

void ConfigurationEditor::reset(Configuration c)
{
    // Nothing of what was shown before stays, the light menu last opened included.
    c_ = std::move(c);
    changed_ = false;
    lastLightSide_.reset();
}

void ConfigurationEditor::stored(Configuration c)
{
    c_ = std::move(c);
    changed_ = false;
}

std::vector<MenuEntry> ConfigurationEditor::canMenu(int channel) const
{
    const std::string& can = c_.channel(channel).can;
    std::vector<MenuEntry> menu{{kNone, can == kNone}};
    for (const char* name : kCanChoices)
        menu.push_back({name, can == name});
    return menu;
}

void ConfigurationEditor::setCan(int n, const std::string& can)
{
    Channel& ch = c_.channel(n);
    bool transmission = n == 1 && c_.nt2 == Nt2::Mirror && can == "CANK";
    Channel next = ch;
    next.can = can;
    if (can == kNone) {
        next.fill = Fill::NoCan;
        next.letterShown = false;
    } else if (transmission) {
        next.fill = Fill::Transmission;
        next.letter = "K";
        next.letterShown = false;
    } else {
        next.fill = Fill::Can;
        next.letter = can.substr(can.size() - 1);
        next.letterShown = true;
    }
    if (ch.can != can)
        change();
    ch = next;
}

std::vector<MenuEntry> ConfigurationEditor::openLightMenu(LightSide side)
{
    if (lastLightSide_ != side)
        change();
    lastLightSide_ = side;
    int light = side == LightSide::Reflected ? c_.reflectedLight : c_.transmittedLight;
    std::vector<MenuEntry> menu{{kNone, light == 0}};
    if (side == LightSide::Transmitted) {
        menu.push_back({"HAL", light == 1});
    } else if (c_.stand == 2) {
        menu.push_back({"HBO", light == 2});
    } else {
        menu.push_back({"HALRefl", light == 1});
        menu.push_back({"HBO", light == 2});
    }
    return menu;
}

bool ConfigurationEditor::lightSideEnabled(LightSide side) const
{
    return side == LightSide::Reflected || c_.stand != 2;
}

void ConfigurationEditor::setLight(LightSide side, int light)
{
    int& target = side == LightSide::Reflected ? c_.reflectedLight : c_.transmittedLight;
    if (side == LightSide::Reflected && light != 0 && c_.stand == 2)
        light = 2;   // the FS stand has no reflected halogen lamp
    int limit = side == LightSide::Reflected ? 2 : 1;
    if (light < 0 || light > limit)
        return;
    if (target != light)
        change();
    target = light;
}

std::string ConfigurationEditor::lightLabel(LightSide side) const
{
    if (side == LightSide::Transmitted)
        return c_.transmittedLight == 1 ? "HAL" : "Transmitted Light";
    switch (c_.reflectedLight) {
    case 1: return "HALRefl";
    case 2: return "HBO";
    default: return "Reflected Light";
    }
}

void ConfigurationEditor::setNt1(Nt1 v)
{
    if (c_.nt1 != v)
        change();
    c_.nt1 = v;
}

void ConfigurationEditor::setNt2(Nt2 v)
{
    if (c_.nt2 != v)
        change();
    c_.nt2 = v;
    Channel& first = c_.channel(1);
    bool real = first.can != kNone && !first.can.empty();
    if (v == Nt2::Mirror && first.can == "CANK") {
        first.fill = Fill::Transmission;
        first.letterShown = false;
    } else {
        // The fill says whether the channel has a CAN, whichever position shows it.
        first.fill = real ? Fill::Can : Fill::NoCan;
        first.letterShown = real;
    }
}

void ConfigurationEditor::setManualMirror(bool manual)
{
    if (c_.manualMirror != manual)
        change();
    c_.manualMirror = manual;
}

FilterMenu ConfigurationEditor::filterMenu(dao::Database& db, const std::string& holder) const
{
    FilterMenu menu;
    menu.holder = holder;
    menu.items.resize(4);
    auto found = c_.placements.find(holder);
    const std::vector<std::string> none;
    const std::vector<std::string>& list = found == c_.placements.end() ? none : found->second;
    bool splitter = isSplitterHolder(holder);
    for (const rows::Place& p : rows::places(db, rows::holderSql(holder))) {
        if (p.position < 1 || p.position > 4)
            continue;
        std::string name = size_t(p.position) <= list.size() ? list[size_t(p.position - 1)] : std::string(kNone);
        menu.items[size_t(p.position - 1)] = splitter ? "Pos " + std::to_string(p.position) + ":   " + name : name;
    }
    menu.selection.push_back(kNone);
    const auto& cat = splitter ? c_.splitters : c_.emissionFilters;
    menu.selection.insert(menu.selection.end(), cat.begin(), cat.end());
    return menu;
}

void ConfigurationEditor::setPlacement(const std::string& holder, int place, const std::string& name)
{
    if (place < 1 || place > 4)
        return;
    std::vector<std::string>& list = c_.placements[holder];
    if (list.size() < size_t(place))
        list.resize(size_t(place), kNone);
    if (list[size_t(place - 1)] != name)
        change();
    list[size_t(place - 1)] = name;
}

void ConfigurationEditor::addSplitter(const std::string& name)
{
    c_.splitters.push_back(name);
}

void ConfigurationEditor::addEmissionFilter(const std::string& name)
{
    c_.emissionFilters.push_back(name);
}

void ConfigurationEditor::removeFromCatalogue(const std::string& name)
{
    std::erase(c_.splitters, name);
    std::erase(c_.emissionFilters, name);
}

} // namespace vyr::vtx
