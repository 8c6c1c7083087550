#include "controls/spectra/wavelengthcolor.h"
#include <cmath>

namespace vyr::spectra {
namespace {

struct Row {
    int nm;
    Rgb rgb;
};

// Reference rows; the table is black below the first and above the last.
constexpr Row kRows[] = {
    {172, {0, 0, 0}},     {173, {0, 0, 1}},     {250, {1, 0, 4}},     {300, {4, 0, 12}},
    {350, {12, 0, 33}},   {380, {23, 0, 60}},   {400, {34, 0, 90}},   {420, {51, 0, 136}},
    {440, {76, 0, 217}},  {450, {80, 0, 255}},  {460, {57, 0, 255}},  {470, {0, 65, 255}},
    {480, {0, 128, 255}}, {490, {0, 196, 255}}, {500, {0, 241, 222}}, {510, {0, 255, 176}},
    {520, {0, 255, 133}}, {530, {0, 255, 96}},  {540, {42, 255, 0}},  {550, {114, 255, 0}},
    {560, {161, 255, 0}}, {570, {209, 255, 0}}, {580, {245, 232, 0}}, {590, {255, 183, 0}},
    {600, {255, 128, 0}}, {610, {255, 68, 0}},  {620, {255, 0, 65}},  {640, {254, 0, 100}},
    {660, {210, 0, 90}},  {680, {169, 0, 74}},  {700, {132, 0, 58}},  {750, {72, 0, 32}},
    {800, {40, 0, 17}},   {900, {12, 0, 5}},    {1000, {3, 0, 1}},    {1113, {1, 0, 0}},
    {1114, {0, 0, 0}},
};

uint8_t lerp(uint8_t a, uint8_t b, int num, int den)
{
    return uint8_t(std::lround(a + double(b - a) * num / den));
}

std::array<Rgb, kColorTableSize> buildTable()
{
    std::array<Rgb, kColorTableSize> table{};
    for (size_t i = 0; i + 1 < std::size(kRows); ++i) {
        const Row& a = kRows[i];
        const Row& b = kRows[i + 1];
        const int span = b.nm - a.nm;
        for (int nm = a.nm; nm <= b.nm; ++nm) {
            const int t = nm - a.nm;
            table[nm] = {lerp(a.rgb.r, b.rgb.r, t, span), lerp(a.rgb.g, b.rgb.g, t, span),
                         lerp(a.rgb.b, b.rgb.b, t, span)};
        }
    }
    return table;
}

} // namespace

const std::array<Rgb, kColorTableSize>& wavelengthTable()
{
    static const std::array<Rgb, kColorTableSize> table = buildTable();
    return table;
}

Rgb wavelengthColor(double nm)
{
    // Compare before converting: a cast of NaN or of a huge value to int is undefined.
    if (!(nm + 0.5 >= kFirstColoredNm && nm + 0.5 < kLastColoredNm + 1))
        return {0, 0, 0};
    return wavelengthTable()[size_t(nm + 0.5)];
}

} // namespace vyr::spectra
