#include "vtx/model/filtercatalogue.h"

#include "platform/dao/error.h"
#include "vtx/model/error_text.h"
#include "vtx/model/rows.h"
#include "vtx/model/transaction.h"

#include <algorithm>

namespace vyr::vtx {

namespace {

constexpr const char* kFilters = "Potential Filters";
constexpr const char* kPlacements = "Available FilterPlacement";
constexpr const char* kVtxSuffix = "-VTX";

// A wavelength as a number; text that is not one is refused with the error's description.
class NotANumber {
public:
    explicit NotANumber(std::string message) : message(std::move(message)) {}
    std::string message;
};

double wavelength(const std::string& text)
{
    try {
        return dao::Value(text).number();
    } catch (const dao::DaoError& e) {
        throw NotANumber("Wavelength value:   " + e.description());
    }
}

std::optional<std::string> wavelengthRefusal(const FilterEntry& e)
{
    WavelengthBoxes boxes = wavelengthBoxes(e.type);
    if (boxes.cutOff) {
        if (e.cutOff.empty())
            return "No Cut Off Wavelength !";
        if (!(wavelength(e.cutOff) > 0))
            return "No correct value for Cut Off Wavelength !";
    }
    if (boxes.band) {
        if (e.lower.empty())
            return "No Lower Wavelength !";
        double lower = wavelength(e.lower);
        if (!(lower > 0))
            return "No correct value for Lower Wavelength !";
        if (e.center.empty())
            return "No Center Wavelength !";
        double center = wavelength(e.center);
        if (!(center > 0))
            return "No correct value for Center Wavelength !";
        if (e.upper.empty())
            return "No Upper Wavelength !";
        double upper = wavelength(e.upper);
        if (upper < 1)
            return "No correct value for Upper Wavelength !";
        if (center < lower)
            return "Lower Wavelength greater then Center Wavelength !";
        if (upper < center)
            return "Center Wavelength greater then Upper Wavelength !";
    }
    return std::nullopt;
}

// The duplicate message for one existing name, series number and summary, checked in that order.
std::optional<std::string> sameAs(const FilterEntry& e, const std::string& name, const std::string& code,
                                  const std::string& summary)
{
    if (name == e.name)
        return "No new Filter Name !";
    if (code == e.code)
        return "No new Series Number !";
    if (summary == e.summary)
        return "No new Summary !";
    return std::nullopt;
}

void setIfGiven(dao::Recordset& r, const std::string& field, const std::string& wavelengthText)
{
    if (!wavelengthText.empty())
        r.setValue(field, dao::Value(wavelengthText).number());
}

std::string wavelengthText(const dao::Recordset& r, const std::string& field)
{
    dao::Value v = r.value(field);
    return v.isNull() ? std::string() : v.text();
}

} // namespace

WavelengthBoxes wavelengthBoxes(const std::string& type)
{
    if (type == "BP")
        return {true, false};
    if (type == "LP" || type == "KP")
        return {false, true};
    return {};
}

PendingFilter pendingFrom(const FilterEntry& e)
{
    PendingFilter p{e.name, e.code, e.summary, e.lower, e.center, e.upper, e.producer, e.type, e.spectral};
    if (e.type == "LP") {
        p.lower = e.cutOff;
        p.upper = "1000";
    } else if (e.type == "KP") {
        p.lower = "200";
        p.upper = e.cutOff;
    } else if (e.type != "BP") {
        p.lower = p.center = p.upper = "";   // a splitter is written without wavelengths
    }
    if (e.type != "BP")
        p.center = "";
    return p;
}

std::string catalogueType(const std::string& type)
{
    return type == "FT" ? type : type + kVtxSuffix;
}

FilterCatalogue::FilterCatalogue(dao::Database& db, ConfigurationEditor* editor) : db_(db), editor_(editor) {}

void FilterCatalogue::load()
{
    listed_.clear();
    pending_.clear();
    dao::Recordset r = db_.openRecordset(kFilters);
    for (; !r.eof(); r.moveNext()) {
        dao::Value added = r.value("Customer Added");
        if (!added.isNull() && added.boolean())
            listed_.push_back({rows::text(r, "ID Potential"), rows::text(r, "Summary")});
    }
}

std::optional<std::string> FilterCatalogue::duplicate(const FilterEntry& e) const
{
    dao::Recordset r = db_.openRecordset(kFilters);
    for (; !r.eof(); r.moveNext()) {
        if (auto m = sameAs(e, rows::text(r, "ID Potential"), rows::text(r, "Halvern Code No"), rows::text(r, "Summary")))
            return m;
    }
    for (const PendingFilter& p : pending_) {
        if (auto m = sameAs(e, p.name, p.code, p.summary))
            return m;
    }
    return std::nullopt;
}

std::optional<std::string> FilterCatalogue::refusal(const FilterEntry& e) const
{
    if (e.name.empty())
        return "No Filter Name !";
    if (e.code.empty())
        return "No Series Number !";
    if (e.summary.empty())
        return "No Summary !";
    if (auto m = duplicate(e))
        return m;
    if (e.spectral.empty())
        return "No Spectral Type !";
    try {
        return wavelengthRefusal(e);
    } catch (const NotANumber& n) {
        return n.message;
    }
}

bool FilterCatalogue::apply(const FilterEntry& e, MessageBoxes& boxes)
{
    if (auto m = refusal(e)) {
        boxes.inform(*m);
        return false;
    }
    listed_.push_back({e.name, e.summary});
    pending_.push_back(pendingFrom(e));
    return true;
}

std::optional<FilterEntry> FilterCatalogue::entryFor(const std::string& name) const
{
    FilterEntry e;
    auto p = std::find_if(pending_.begin(), pending_.end(), [&](const PendingFilter& f) { return f.name == name; });
    if (p != pending_.end()) {
        e = {p->name, p->code, p->summary, p->lower, p->center, p->upper, "", p->producer, p->type, p->spectral};
    } else {
        dao::Recordset r = db_.openRecordset(kFilters);
        for (; !r.eof() && rows::text(r, "ID Potential") != name; r.moveNext()) {
        }
        if (r.eof())
            return std::nullopt;
        e.name = name;
        e.code = rows::text(r, "Halvern Code No");
        e.summary = rows::text(r, "Summary");
        e.producer = rows::text(r, "Producer");
        e.spectral = rows::text(r, "Spectral Type");
        // Rows carry the written type ("LP-VTX"); the type box offers it without the suffix.
        e.type = rows::text(r, "Type");
        if (e.type.ends_with(kVtxSuffix))
            e.type.resize(e.type.size() - std::string(kVtxSuffix).size());
        e.lower = wavelengthText(r, "Lower Wavelength");
        e.center = wavelengthText(r, "Center Wavelength");
        e.upper = wavelengthText(r, "Upper Wavelength");
    }
    if (e.type == "LP")
        e.cutOff = e.lower;
    else if (e.type == "KP")
        e.cutOff = e.upper;
    // The boxes a type disables are shown empty.
    WavelengthBoxes boxes = wavelengthBoxes(e.type);
    if (!boxes.band)
        e.lower = e.center = e.upper = "";
    if (!boxes.cutOff)
        e.cutOff = "";
    return e;
}

FilterCatalogue::Removal FilterCatalogue::remove(const std::string& name, MessageBoxes& boxes)
{
    auto item = std::find_if(listed_.begin(), listed_.end(), [&](const ListedFilter& f) { return f.name == name; });
    if (item == listed_.end())
        return Removal::NotListed;
    // Walked rather than queried, so that a name with quotes is compared as it stands.
    for (dao::Recordset r = db_.openRecordset(kPlacements); !r.eof(); r.moveNext()) {
        if (rows::text(r, "ID Potential") == name) {
            boxes.inform(name + " is in 'Available FilterPlacement' !");
            return Removal::Refused;
        }
    }
    Removal done = Removal::DroppedPending;
    auto p = std::find_if(pending_.begin(), pending_.end(), [&](const PendingFilter& f) { return f.name == name; });
    if (p != pending_.end()) {
        pending_.erase(p);
    } else {
        done = Removal::Deleted;
        for (dao::Recordset r = db_.openRecordset(kFilters); !r.eof(); r.moveNext()) {
            dao::Value added = r.value("Customer Added");
            if (rows::text(r, "ID Potential") == name && !added.isNull() && added.boolean()) {
                r.remove();
                break;
            }
        }
    }
    if (editor_)
        editor_->removeFromCatalogue(name);
    listed_.erase(item);
    return done;
}

bool FilterCatalogue::writePending(MessageBoxes& boxes)
{
    if (pending_.empty())
        return true;
    try {
        Transaction transaction(db_);
        dao::Recordset r = db_.openRecordset(kFilters);
        for (const PendingFilter& p : pending_) {
            r.addNew();
            r.setValue("ID Potential", p.name);
            r.setValue("Halvern Code No", p.code);
            r.setValue("Summary", p.summary);
            setIfGiven(r, "Lower Wavelength", p.lower);
            setIfGiven(r, "Center Wavelength", p.center);
            setIfGiven(r, "Upper Wavelength", p.upper);
            r.setValue("Customer Added", true);
            r.setValue("Producer", p.producer);
            r.setValue("Spectral Type", p.spectral);
            r.setValue("Type", catalogueType(p.type));
            r.update();
        }
        r.close();
        transaction.commit();
    } catch (const dao::DaoError& e) {
        ErrorText t = errorText(e);
        boxes.showDetailed("The new filters were not written and are kept: " + t.message, t.details, kDefaultCaption,
                           Buttons::Ok);
        return false;
    }
    if (editor_) {
        for (const PendingFilter& p : pending_) {
            if (p.type == "FT")
                editor_->addSplitter(p.name);
            else
                editor_->addEmissionFilter(p.name);
        }
    }
    pending_.clear();
    return true;
}

} // namespace vyr::vtx
