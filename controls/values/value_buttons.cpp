#include "controls/values/value_buttons.h"

#include "controls/values/number_text.h"

#include <cctype>

namespace vyr::values {

namespace {

bool startsWithWord(std::string_view text, size_t at, std::string_view word)
{
    if (text.size() - at < word.size())
        return false;
    for (size_t k = 0; k < word.size(); ++k) {
        if (std::tolower(static_cast<unsigned char>(text[at + k])) != word[k])
            return false;
    }
    return true;
}

} // namespace

std::vector<ValueButton> parseValueButtons(std::string_view text, RangeButtons range)
{
    if (range == RangeButtons::NumbersOnly) {
        std::vector<ValueButton> out;
        for (double v : numberTokens(text))
            out.push_back({ValueButton::Kind::Number, v});
        return out;
    }
    std::vector<ValueButton> out;
    size_t i = 0;
    while (i < text.size()) {
        if (startsWithWord(text, i, "min") || startsWithWord(text, i, "max")) {
            const bool min = std::tolower(static_cast<unsigned char>(text[i + 1])) == 'i';
            out.push_back({min ? ValueButton::Kind::Minimum : ValueButton::Kind::Maximum, 0.0});
            i += 3;
            continue;
        }
        if (!isNumberTokenChar(text[i])) {
            ++i;
            continue;
        }
        size_t j = i;
        while (j < text.size() && isNumberTokenChar(text[j]))
            ++j;
        // One token at a time keeps "Min"/"Max" and numbers in their written order.
        for (double v : numberTokens(text.substr(i, j - i)))
            out.push_back({ValueButton::Kind::Number, v});
        i = j;
    }
    return out;
}

std::string valueButtonsText(const std::vector<ValueButton>& buttons)
{
    std::string out;
    for (const ValueButton& b : buttons) {
        if (!out.empty())
            out += ' ';
        switch (b.kind) {
        case ValueButton::Kind::Minimum: out += "Min"; break;
        case ValueButton::Kind::Maximum: out += "Max"; break;
        case ValueButton::Kind::Number: out += formatShort(b.number); break;
        }
    }
    return out;
}

std::string valueButtonLabel(const ValueButton& button, double unitFactor)
{
    switch (button.kind) {
    case ValueButton::Kind::Minimum: return "Min";
    case ValueButton::Kind::Maximum: return "Max";
    case ValueButton::Kind::Number: break;
    }
    return formatButtonNumber(button.number * unitFactor);
}

double valueButtonTarget(const ValueButton& button, double minimum, double maximum)
{
    switch (button.kind) {
    case ValueButton::Kind::Minimum: return minimum;
    case ValueButton::Kind::Maximum: return maximum;
    case ValueButton::Kind::Number: break;
    }
    return button.number;
}

} // namespace vyr::values
