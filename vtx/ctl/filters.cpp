#include "vtx/ctl/filters.h"

#include "vtx/ctl/output.h"

#include "vtx/model/filtercatalogue.h"
#include "vtx/model/printed_messages.h"

#include <algorithm>
#include <iostream>
#include <map>

namespace vyr::vtx::ctl {

namespace {

// The entry's box each NAME= field fills.
const std::map<std::string, std::string FilterEntry::*> kFields{
    {"NAME", &FilterEntry::name},       {"CODE", &FilterEntry::code},     {"SUMMARY", &FilterEntry::summary},
    {"TYPE", &FilterEntry::type},       {"SPECTRAL", &FilterEntry::spectral}, {"LOWER", &FilterEntry::lower},
    {"CENTER", &FilterEntry::center},   {"UPPER", &FilterEntry::upper},   {"CUTOFF", &FilterEntry::cutOff},
    {"PRODUCER", &FilterEntry::producer},
};

template <size_t N>
bool offered(const std::array<const char*, N>& list, const std::string& s)
{
    return std::find(list.begin(), list.end(), s) != list.end();
}

// The entry the fields describe, or a complaint. The type and spectral boxes offer only
// their lists (the spectral box may stay empty); the band and the cut-off exclude each other.
std::string parseEntry(const std::vector<std::string>& fields, FilterEntry& e)
{
    e.spectral.clear();
    bool band = false;
    bool cutOff = false;
    for (const std::string& f : fields) {
        size_t eq = f.find('=');
        auto field = eq == std::string::npos ? kFields.end() : kFields.find(f.substr(0, eq));
        if (field == kFields.end())
            return "unknown field '" + f + "'";
        e.*(field->second) = f.substr(eq + 1);
        band |= field->first == "LOWER" || field->first == "CENTER" || field->first == "UPPER";
        cutOff |= field->first == "CUTOFF";
    }
    if (!offered(kFilterTypes, e.type))
        return "TYPE must be BP, LP, KP or FT";
    if (!e.spectral.empty() && !offered(kSpectralTypes, e.spectral))
        return "SPECTRAL must be BP, LP or KP";
    if (band && cutOff)
        return "give LOWER, CENTER and UPPER or CUTOFF, not both";
    return "";
}

} // namespace

int listFilters(const std::string& path)
{
    try {
        dao::Database db = dao::Database::open(path);
        FilterCatalogue catalogue(db);
        catalogue.load();
        for (const ListedFilter& f : catalogue.listed())
            std::cout << f.name << "\t" << f.summary << "\n";
        return 0;
    } catch (const std::exception& e) {
        printError(e);
        return 1;
    }
}

int addFilter(const std::string& path, const std::vector<std::string>& fields)
{
    FilterEntry entry;
    std::string problem = parseEntry(fields, entry);
    if (!problem.empty()) {
        std::cerr << "vtxctl: " << problem << "\n";
        return 2;
    }
    PrintedMessages messages(std::cout, detailsStream());
    try {
        dao::Database db = dao::Database::open(path);
        FilterCatalogue catalogue(db);
        catalogue.load();
        if (!catalogue.apply(entry, messages))
            return 3;
        return catalogue.writePending(messages) ? 0 : 1;
    } catch (const std::exception& e) {
        printError(e);
        return 1;
    }
}

int removeFilter(const std::string& path, const std::string& name)
{
    PrintedMessages messages(std::cout, detailsStream());
    try {
        dao::Database db = dao::Database::open(path);
        FilterCatalogue catalogue(db);
        catalogue.load();
        switch (catalogue.remove(name, messages)) {
        case FilterCatalogue::Removal::Refused:
            return 3;
        case FilterCatalogue::Removal::NotListed:
            std::cerr << "vtxctl: " << name << " is not a filter added by a customer\n";
            return 1;
        default:
            return 0;
        }
    } catch (const std::exception& e) {
        printError(e);
        return 1;
    }
}

} // namespace vyr::vtx::ctl
