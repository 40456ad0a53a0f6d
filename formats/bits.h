#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Conversions between whole numbers and bit strings.
namespace morvane {

// Decimal text of a bit string (leading bit first): "1011" gives "11", "0000" gives "0" and
// the empty text gives the empty text. Characters other than '1' count as 0 bits. Exact for
// any length.
std::string GetNumber(std::string_view sBinaryValue);

// Value of a bit string of at most 64 characters; characters other than '1' count as 0.
std::uint64_t bitStringValue(std::string_view bits);

}  // namespace morvane
