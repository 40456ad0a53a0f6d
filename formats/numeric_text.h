#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Numeric text as the whole program reads it: blanks around, an optional sign, digits with at
// most one decimal point, an optional exponent. Hexadecimal, thousands separators, "Infinity"
// and "NaN" are not numbers, nor is a value too large for a double.
namespace morvane {

// Leading and trailing space characters removed (nothing else counts as a blank here).
std::string_view trimSpaces(std::string_view text);

bool IsNumeric(std::string_view text);
std::optional<double> parseNumber(std::string_view text);

// Nearest whole number, a half going to the even neighbour.
double roundHalfEven(double value);

// Round half to even; no value when the result does not fit.
std::optional<std::int16_t> fitInt16(double value);
std::optional<std::int32_t> fitInt32(double value);

// As above, but NumericError 6 "Overflow" when the result does not fit: the window reports it.
std::int16_t toInt16(double value);
std::int32_t toInt32(double value);

// As above from a text; NumericError 13 "Type mismatch" when the text is not numeric.
std::int16_t textToInt16(std::string_view text);
std::int32_t textToInt32(std::string_view text);

// A number's decimal text as messages show it: whole numbers below 10^15 in plain digits,
// anything else with 15 significant digits ("1E+300", "1.5").
std::string formatNumber(double value);

// Appends a whole number's decimal digits.
std::string& appendDecimal(std::string& out, std::uint64_t value);

}  // namespace morvane
