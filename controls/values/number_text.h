#pragma once
// Reading and writing numbers as the value controls show and store them. Independent of the
// process locale: the decimal point is always ".", whatever LC_NUMERIC the host set.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vyr::values {

// Reads a number at the start of text as "%lf" would: leading blanks and one sign are
// allowed, trailing characters are ignored. "inf" reads as infinity; NaN and out-of-range
// numbers are refused, so no caller has to guard against them.
std::optional<double> readNumber(std::string_view text);

// The character set of number tokens in the list properties: digits, '.' and 'e'.
bool isNumberTokenChar(char c);

// The numbers in text: maximal runs of number-token characters, each read as a number;
// runs that do not read as a finite number are dropped. Every other character (blanks,
// signs, letters) separates tokens, so "-3" yields 3.
std::vector<double> numberTokens(std::string_view text);

// "%.6lg".
std::string formatShort(double v);
// The numbers formatted "%.6lg", joined by single blanks.
std::string joinShort(const std::vector<double>& values);
// "%.*lf" with the given number of decimals; a negative count means 6, as printf does, and
// counts beyond kMaxDecimals are capped (a double carries no more digits than that).
std::string formatFixed(double v, long decimals);
constexpr long kMaxDecimals = 30;
// Removes trailing '0' characters and then one trailing '.' or ','. Only for text that
// holds a decimal separator, so an integer's own zeros survive.
std::string stripTrailingZeros(std::string text);
// A number as a value button labels it: "%.6lf" with trailing zeros stripped (0.5, 100).
std::string formatButtonNumber(double v);

} // namespace vyr::values
