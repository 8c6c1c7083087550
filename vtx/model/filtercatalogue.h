#pragma once
// The filter catalogue editor apart from its dialog: the customer-added rows of
// [Potential Filters], the validation of a new filter, the records collected by Apply until
// Close writes them, Remove with its placement check, and the main form's catalogue lists
// kept in step. It works on the program's one open database.
#include "platform/dao/database.h"
#include "vtx/model/editor.h"
#include "vtx/model/messages.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace vyr::vtx {

inline constexpr std::array<const char*, 4> kFilterTypes{"BP", "LP", "KP", "FT"};
inline constexpr std::array<const char*, 3> kSpectralTypes{"BP", "LP", "KP"};
inline constexpr const char* kHalvern = "Halvern";

// What the description boxes hold; wavelengths as typed.
struct FilterEntry {
    std::string name;
    std::string code;      // series number, [Halvern Code No]
    std::string summary;
    std::string lower;
    std::string center;
    std::string upper;
    std::string cutOff;
    std::string producer = kHalvern;
    std::string type = "BP";       // "BP", "LP", "KP" or "FT"
    std::string spectral = "BP";

    bool operator==(const FilterEntry&) const = default;
};

// A record kept by Apply until Close: a cut-off is already turned into lower and upper.
struct PendingFilter {
    std::string name;
    std::string code;
    std::string summary;
    std::string lower;
    std::string center;
    std::string upper;
    std::string producer;
    std::string type;
    std::string spectral;

    bool operator==(const PendingFilter&) const = default;
};

struct ListedFilter {
    std::string name;
    std::string summary;
    bool operator==(const ListedFilter&) const = default;
};

// Which wavelength boxes a type uses: "BP" the band edges and centre, "LP" and "KP" the cut-off,
// "FT" none.
struct WavelengthBoxes {
    bool band = false;
    bool cutOff = false;
};
WavelengthBoxes wavelengthBoxes(const std::string& type);

// The record Apply keeps for a valid entry ("LP": cut-off to 1000; "KP": 200 to cut-off).
PendingFilter pendingFrom(const FilterEntry& e);
// The [Type] a record is written with: "FT", or the type followed by "-VTX".
std::string catalogueType(const std::string& type);

class FilterCatalogue {
public:
    // `editor`, when given, holds the main form's catalogue lists that follow every change.
    explicit FilterCatalogue(dao::Database& db, ConfigurationEditor* editor = nullptr);

    // Reads the customer-added rows into the list; pending records are dropped.
    void load();
    const std::vector<ListedFilter>& listed() const { return listed_; }
    const std::vector<PendingFilter>& pending() const { return pending_; }
    bool hasPending() const { return !pending_.empty(); }

    // The first refusal of `e`, checked in the fixed order; nothing when it is valid.
    std::optional<std::string> refusal(const FilterEntry& e) const;
    // Apply: a valid entry joins the list and the pending records; a refusal is shown.
    bool apply(const FilterEntry& e, MessageBoxes& boxes);

    // The boxes for a listed name: from its pending record, else from its row.
    std::optional<FilterEntry> entryFor(const std::string& name) const;

    enum class Removal { Refused, DroppedPending, Deleted, NotListed };
    // Remove: refused (with its message) while the name is placed in any holder.
    Removal remove(const std::string& name, MessageBoxes& boxes);

    // Close: writes the pending records in one transaction and adds the names to the
    // catalogue lists. On a database error nothing is written, the records stay pending, and
    // the error is shown; false then.
    bool writePending(MessageBoxes& boxes);

private:
    std::optional<std::string> duplicate(const FilterEntry& e) const;

    dao::Database& db_;
    ConfigurationEditor* editor_;
    std::vector<ListedFilter> listed_;
    std::vector<PendingFilter> pending_;
};

} // namespace vyr::vtx
