#include "controls/values/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace vyr::values {

std::optional<double> readNumber(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // from_chars takes no sign of its own after ours: "--1" must not read.
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        return std::nullopt;
    double v = 0;
    const char* first = text.data() + i;
    const auto [end, ec] = std::from_chars(first, text.data() + text.size(), v);
    if (ec != std::errc() || end == first || std::isnan(v))
        return std::nullopt;
    return negative ? -v : v;
}

bool isNumberTokenChar(char c)
{
    return (c >= '0' && c <= '9') || c == '.' || c == 'e';
}

std::vector<double> numberTokens(std::string_view text)
{
    std::vector<double> out;
    size_t i = 0;
    while (i < text.size()) {
        if (!isNumberTokenChar(text[i])) {
            ++i;
            continue;
        }
        size_t j = i;
        while (j < text.size() && isNumberTokenChar(text[j]))
            ++j;
        if (auto v = readNumber(text.substr(i, j - i)); v && std::isfinite(*v))
            out.push_back(*v);
        i = j;
    }
    return out;
}

std::string formatShort(double v)
{
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 6);
    return std::string(buf, r.ptr);
}

std::string joinShort(const std::vector<double>& values)
{
    std::string out;
    for (double v : values) {
        if (!out.empty())
            out += ' ';
        out += formatShort(v);
    }
    return out;
}

std::string formatFixed(double v, long decimals)
{
    const int digits = decimals < 0 ? 6 : int(std::min(decimals, kMaxDecimals));
    // The largest double has 309 integer digits; sign, point and decimals fit beside them.
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, digits);
    return std::string(buf, r.ptr);
}

std::string stripTrailingZeros(std::string text)
{
    if (text.find_first_of(".,") == std::string::npos)
        return text;
    while (!text.empty() && text.back() == '0')
        text.pop_back();
    if (!text.empty() && (text.back() == '.' || text.back() == ','))
        text.pop_back();
    return text;
}

std::string formatButtonNumber(double v)
{
    return stripTrailingZeros(formatFixed(v, 6));
}

} // namespace vyr::values
