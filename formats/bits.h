#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Conversions between whole numbers, bit strings and octal text.
namespace morvane {

// Decimal text of a bit string (leading bit first): "1011" gives "11", "0000" gives "0" and
// the empty text gives the empty text. Characters other than '1' count as 0 bits. Exact for
// any length.
std::string GetNumber(std::string_view sBinaryValue);

// Value of a bit string of at most 64 characters; characters other than '1' count as 0.
std::uint64_t bitStringValue(std::string_view bits);

// The word's octal digits without leading zeros (the empty text for 0).
std::string significantOctal(std::uint64_t word);

// The lowest `digits` octal digits of the word, leading zeros kept.
std::string octalField(std::uint64_t value, int digits);

}  // namespace morvane
