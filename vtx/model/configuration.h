#pragma once
// The detector module as the configuration form holds it between load and Store: the two
// beam-splitter positions, the four channels with their CAN nodes, the filter placements, the
// lamps, the stand, and the catalogue the menus offer.
#include <array>
#include <map>
#include <string>
#include <vector>

namespace vyr::vtx {

enum class Nt1 { Nothing, Cube };
enum class Nt2 { Nothing, Cube, Mirror };

// The detector shape's fill: no CAN (light grey), CAN assigned, plain transmission detector.
enum class Fill : unsigned { NoCan = 12632256, Can = 14737632, Transmission = 16777215 };

inline constexpr const char* kNone = "None";
inline constexpr const char* kLp680 = "VTX LP680";
inline constexpr const char* kHalMirror = "HAL Mirror";

// Placement holders: the emission holders of channels 1 to 4, then NT2 and NT1.
inline constexpr std::array<const char*, 6> kHolders{"VTX_EF5", "VTX_EF6", "VTX_EF7", "VTX_EF8", "VTX_NT2", "VTX_NT1"};
std::string emissionHolder(int channel);   // "VTX_EF" followed by channel + 4
bool isSplitterHolder(const std::string& holder);

struct Channel {
    std::string can;            // "None", a CAN node name, or empty: the database names none
    std::string letter;         // the text of the channel's CAN letter label
    bool letterShown = false;
    Fill fill = Fill::NoCan;
    bool dioMissing = false;    // the channel's digital I/O row is not in the database

    bool hasCan() const { return !can.empty() && can != "None"; }
    // The letter label is shown only for a channel that has a CAN.
    bool showsLetter() const { return letterShown && hasCan(); }
    bool operator==(const Channel&) const = default;
};

struct Configuration {
    Nt1 nt1 = Nt1::Nothing;
    Nt2 nt2 = Nt2::Nothing;
    bool manualMirror = false;
    std::array<Channel, 4> channels;
    std::map<std::string, std::vector<std::string>> placements;   // holder → names by place
    std::vector<std::string> splitters;         // catalogue of type "FT"
    std::vector<std::string> emissionFilters;   // "BP-VTX", then "LP-VTX", then "KP-VTX"
    int transmittedLight = 0;   // 0 none, 1 "HAL"
    int reflectedLight = 0;     // 0 none, 1 "HAL Refl", 2 "HBO"
    int stand = 0;              // 1 upright stands, 2 "FS", 0 other
    std::string lp680Text;      // the filter-wheel splitter's text in the diagram
    std::string versionText;

    const Channel& channel(int n) const { return channels[size_t(n - 1)]; }
    Channel& channel(int n) { return channels[size_t(n - 1)]; }
    bool transmissionDetector() const { return channels[0].fill == Fill::Transmission; }
    // Which channels the diagram shows for the chosen splitter positions.
    bool channelShown(int n) const;
    std::string channelName(int n) const;   // "VTX 1" … "VTX 4", or "Transmission"

    bool operator==(const Configuration&) const = default;
};

// What is wrong with a shown channel whose CAN is empty (its digital I/O row is missing, or
// names no CAN); empty when the channel has a CAN or "None". Store refuses with this text.
std::string canProblem(const Configuration& c, int channel);

// Names of the choices as texts and back (for the command-line companion).
const char* nt1Name(Nt1 v);
const char* nt2Name(Nt2 v);
const char* transmittedName(int light);
const char* reflectedName(int light);

} // namespace vyr::vtx
