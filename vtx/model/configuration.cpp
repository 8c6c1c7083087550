#include "vtx/model/configuration.h"

#include "vtx/model/keys.h"

namespace vyr::vtx {

std::string emissionHolder(int channel)
{
    return "VTX_EF" + std::to_string(channel + 4);
}

bool isSplitterHolder(const std::string& holder)
{
    return holder == "VTX_NT1" || holder == "VTX_NT2";
}

bool Configuration::channelShown(int n) const
{
    switch (n) {
    case 1: return nt2 != Nt2::Nothing;
    case 2:
    case 3: return nt1 == Nt1::Cube;
    default: return nt2 == Nt2::Cube;
    }
}

std::string Configuration::channelName(int n) const
{
    if (n == 1 && transmissionDetector())
        return "Transmission";
    return "VTX " + std::to_string(n);
}

std::string canProblem(const Configuration& c, int n)
{
    const Channel& ch = c.channel(n);
    if (!ch.can.empty())
        return {};
    const std::string dio = keys::kDios[size_t(n - 1)];
    return "No CAN for " + c.channelName(n) + ": " + dio +
           (ch.dioMissing ? " is missing from Available DIOs !" : " in Available DIOs names none !");
}

const char* nt1Name(Nt1 v)
{
    return v == Nt1::Cube ? "Cube" : "Nothing";
}

const char* nt2Name(Nt2 v)
{
    switch (v) {
    case Nt2::Cube: return "Cube";
    case Nt2::Mirror: return "Mirror";
    default: return "Nothing";
    }
}

const char* transmittedName(int light)
{
    return light == 1 ? "HAL" : "None";
}

const char* reflectedName(int light)
{
    switch (light) {
    case 1: return "HAL Refl";
    case 2: return "HBO";
    default: return "None";
    }
}

} // namespace vyr::vtx
