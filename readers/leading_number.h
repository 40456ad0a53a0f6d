#pragma once

#include <optional>
#include <string_view>

namespace morvane {

// The decimal number a text starts with, the way reader configuration lines and the LUID box
// are read: blanks (spaces, tabs) before and inside the number are skipped, then an optional
// sign, digits with at most one decimal point and an optional exponent; reading stops at the
// first other character. A text that does not start with a number gives 0; a number beyond the
// range of a double gives no value.
std::optional<double> leadingNumber(std::string_view text);

}  // namespace morvane
