#include "vtx/model/bands.h"

#include "vtx/model/rows.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>

namespace vyr::vtx {

namespace {

std::optional<double> number(const dao::Recordset& r, const char* column)
{
    dao::Value v = r.value(column);
    if (v.isNull())
        return std::nullopt;
    try {
        double d = v.number();
        return std::isfinite(d) ? std::optional<double>(d) : std::nullopt;
    } catch (const std::exception&) {
        return std::nullopt;   // a wavelength that is no number shows no band
    }
}

} // namespace

SpectrumCatalogue readSpectra(dao::Database& db)
{
    SpectrumCatalogue out;
    dao::Recordset r = db.openRecordset("Potential Filters", dao::RecordsetType::Snapshot);
    for (; !r.eof(); r.moveNext()) {
        FilterSpectrum s;
        s.spectralType = rows::text(r, "Spectral Type");
        s.lower = number(r, "Lower Wavelength");
        s.center = number(r, "Center Wavelength");
        s.upper = number(r, "Upper Wavelength");
        out.emplace(rows::text(r, "ID Potential"), s);   // the first row of a name counts
    }
    return out;
}

std::optional<PassBand> passBand(int channel, const std::string& filter, const SpectrumCatalogue& catalogue)
{
    auto found = catalogue.find(filter);
    if (filter == kNone || found == catalogue.end())
        return std::nullopt;
    const FilterSpectrum& s = found->second;
    PassBand b{channel, filter};
    if (s.spectralType == "LP" && s.lower) {
        b.from = *s.lower;
        b.to = kLongestWavelength;
    } else if (s.spectralType == "KP" && s.upper) {
        b.from = kShortestWavelength;
        b.to = *s.upper;
    } else if (s.lower && s.upper) {
        b.from = *s.lower;
        b.to = *s.upper;
    } else {
        return std::nullopt;
    }
    b.from = std::clamp(b.from, kShortestWavelength, kLongestWavelength);
    b.to = std::clamp(b.to, kShortestWavelength, kLongestWavelength);
    if (b.to <= b.from)
        return std::nullopt;
    return b;
}

DetectionBands detectionBands(const Configuration& c, const SpectrumCatalogue& catalogue)
{
    DetectionBands out;
    for (int n = 1; n <= 4; ++n) {
        // The transmission detector without the mirror has no emission filter in front of it.
        if (!c.channelShown(n) || (n == 1 && c.transmissionDetector() && c.nt2 != Nt2::Mirror))
            continue;
        auto list = c.placements.find(emissionHolder(n));
        if (list == c.placements.end() || list->second.empty())
            continue;
        if (auto b = passBand(n, list->second.front(), catalogue))
            out.bands.push_back(*b);
    }
    auto edges = [&](const char* holder) {
        auto list = c.placements.find(holder);
        if (list == c.placements.end())
            return;
        for (const std::string& name : list->second) {
            auto found = catalogue.find(name);
            if (name == kNone || found == catalogue.end())
                continue;
            const FilterSpectrum& s = found->second;
            if (s.spectralType == "KP" && s.upper)
                out.edges.push_back({holder, name, *s.upper, false});
            else if (s.lower)
                out.edges.push_back({holder, name, *s.lower, true});
            else if (s.center)
                out.edges.push_back({holder, name, *s.center, true});
        }
    };
    if (c.nt2 == Nt2::Cube)
        edges("VTX_NT2");
    if (c.nt1 == Nt1::Cube)
        edges("VTX_NT1");
    return out;
}

std::vector<double> parseLaserLines(const std::string& text)
{
    std::string spaced = text;
    std::replace_if(spaced.begin(), spaced.end(), [](char ch) { return ch == ',' || ch == ';'; }, ' ');
    std::istringstream in(spaced);
    std::vector<double> out;
    for (std::string word; in >> word;) {
        char* end = nullptr;
        double d = std::strtod(word.c_str(), &end);
        if (end && *end == '\0' && std::isfinite(d) && d >= kShortestWavelength && d <= kLongestWavelength)
            out.push_back(d);
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

std::string formatLaserLines(const std::vector<double>& lines)
{
    std::ostringstream out;
    for (size_t i = 0; i < lines.size(); ++i)
        out << (i ? " " : "") << lines[i];
    return out.str();
}

} // namespace vyr::vtx
