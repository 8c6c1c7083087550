#include "controls/values/unit_list.h"

#include "controls/values/number_text.h"

#include <cctype>
#include <cmath>

namespace vyr::values {

namespace {

bool isNameChar(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x80 || std::isalnum(u);
}

} // namespace

std::vector<std::string> unitNames(std::string_view text)
{
    std::vector<std::string> out;
    size_t i = 0;
    while (i < text.size()) {
        if (!isNameChar(text[i])) {
            ++i;
            continue;
        }
        size_t j = i;
        while (j < text.size() && isNameChar(text[j]))
            ++j;
        out.emplace_back(text.substr(i, j - i));
        i = j;
    }
    return out;
}

std::vector<Unit> parseUnits(std::string_view names, std::string_view factors)
{
    std::vector<std::string> n = unitNames(names);
    const std::vector<double> f = numberTokens(factors);
    std::vector<Unit> out(std::max(n.size(), f.size()));
    for (size_t i = 0; i < n.size(); ++i)
        out[i].name = std::move(n[i]);
    for (size_t i = 0; i < f.size(); ++i)
        out[i].factor = f[i];
    return out;
}

std::string unitNamesText(const std::vector<Unit>& units)
{
    std::string out;
    for (size_t i = 0; i < units.size(); ++i) {
        if (i)
            out += ' ';
        out += units[i].name;
    }
    return out;
}

std::string unitFactorsText(const std::vector<Unit>& units)
{
    std::vector<double> f;
    f.reserve(units.size());
    for (const Unit& u : units)
        f.push_back(u.factor);
    return joinShort(f);
}

size_t automaticUnit(const std::vector<Unit>& units, double value)
{
    if (units.empty() || value == 0.0 || !std::isfinite(value))
        return 0;
    size_t best = 0;
    double bestShown = std::abs(value * units[0].factor);
    for (size_t i = 1; i < units.size(); ++i) {
        const double shown = std::abs(value * units[i].factor);
        if (!std::isfinite(shown))
            continue;
        const bool bestReaches = bestShown >= 1.0 && std::isfinite(bestShown);
        if (shown >= 1.0 ? (!bestReaches || shown < bestShown) : (!bestReaches && shown > bestShown))
            best = i, bestShown = shown;
    }
    return best;
}

} // namespace vyr::values
