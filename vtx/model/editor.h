#pragma once
// The editing handlers of the configuration form, apart from its widgets: each change of the
// configuration goes through here, and a change that really changes something sets the
// changed flag (which also enables Store). The popup menus' contents come from here too.
#include "platform/dao/database.h"
#include "vtx/model/configuration.h"

#include <optional>
#include <string>
#include <vector>

namespace vyr::vtx {

inline constexpr std::array<const char*, 4> kCanChoices{"CANB", "CANK", "CANL", "CANM"};

enum class LightSide { Reflected, Transmitted };

struct MenuEntry {
    std::string caption;
    bool checked = false;
};

// The filter menu of a holder: item k stands for place k + 1.
struct FilterMenu {
    std::string holder;
    std::vector<std::optional<std::string>> items;   // caption per place 1 to 4; empty: no row
    std::vector<std::string> selection;              // "None", then the catalogue
};

class ConfigurationEditor {
public:
    explicit ConfigurationEditor(Configuration c = {}) : c_(std::move(c)) {}

    const Configuration& configuration() const { return c_; }
    // A freshly loaded configuration: the changed flag is cleared.
    void reset(Configuration c);
    bool changed() const { return changed_; }
    void setChanged(bool changed) { changed_ = changed; }
    // After a completed store: the state Store left (channels set to "None"), flag cleared.
    void stored(Configuration c);

    // Detector menu: "None" and the CAN choices, the channel's current one ticked.
    std::vector<MenuEntry> canMenu(int channel) const;
    void setCan(int channel, const std::string& can);   // a name, or "None"

    // Light menus: opening one for the other side than last time counts as a change.
    std::vector<MenuEntry> openLightMenu(LightSide side);   // "None" first, then the lamps
    bool lightSideEnabled(LightSide side) const;
    void setLight(LightSide side, int light);               // 0 none, else the lamp
    std::string lightLabel(LightSide side) const;

    void setNt1(Nt1 v);
    void setNt2(Nt2 v);
    void setManualMirror(bool manual);

    // Filter menus read the holder's placement rows for their captions.
    FilterMenu filterMenu(dao::Database& db, const std::string& holder) const;
    // Place `place` (1 upward) of `holder` gets `name`.
    void setPlacement(const std::string& holder, int place, const std::string& name);

    // The catalogue the filter menus offer, as the filter catalogue editor changes it. These
    // are no change of the configuration: the changed flag stays.
    void addSplitter(const std::string& name);
    void addEmissionFilter(const std::string& name);
    void removeFromCatalogue(const std::string& name);   // from both lists

private:
    void change() { changed_ = true; }

    Configuration c_;
    bool changed_ = false;
    std::optional<LightSide> lastLightSide_;
};

} // namespace vyr::vtx
