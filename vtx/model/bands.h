#pragma once
// The detection bands at a glance: for each detector channel shown, the pass band of the
// emission filter fitted in front of it (its holder's first place), and the edges of the beam
// splitters in the splitter holders in use. Wavelengths come from the catalogue: a band pass
// from its lower to its upper wavelength, a long pass from its cut-off to 1000, a short pass
// from 200 to its cut-off.
#include "platform/dao/database.h"
#include "vtx/model/configuration.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vyr::vtx {

inline constexpr double kShortestWavelength = 200;
inline constexpr double kLongestWavelength = 1000;

// A catalogue row's wavelengths, as far as it has them.
struct FilterSpectrum {
    std::string spectralType;   // "BP", "LP", "KP", ...
    std::optional<double> lower, center, upper;
};
using SpectrumCatalogue = std::map<std::string, FilterSpectrum>;
SpectrumCatalogue readSpectra(dao::Database& db);   // every row of [Potential Filters]

struct PassBand {
    int channel = 0;
    std::string filter;
    double from = 0, to = 0;
};
// Nothing for a filter that is "None", unknown, or lacks the wavelengths its type needs.
std::optional<PassBand> passBand(int channel, const std::string& filter, const SpectrumCatalogue& catalogue);

struct SplitterEdge {
    std::string holder;    // "VTX_NT1" or "VTX_NT2"
    std::string splitter;
    double wavelength = 0;
    bool longPass = true;  // passes above the edge (reflects below it)
};

struct DetectionBands {
    std::vector<PassBand> bands;      // channel order
    std::vector<SplitterEdge> edges;  // NT2's places, then NT1's
};
DetectionBands detectionBands(const Configuration& c, const SpectrumCatalogue& catalogue);

// Laser lines as the user types them: numbers between 200 and 1000 separated by blanks,
// commas or semicolons; anything else is left out. Sorted, without repeats.
std::vector<double> parseLaserLines(const std::string& text);
std::string formatLaserLines(const std::vector<double>& lines);

} // namespace vyr::vtx
