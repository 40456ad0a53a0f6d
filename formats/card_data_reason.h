#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "formats/split_data.h"

// Why card data could not be split, in the words an operator reads: the window's bit map and
// morvane-cli say the same.
namespace morvane {

// "17 characters, more than the 16 the card data box holds" or "\"a\" at character 3 is not an
// octal digit"; empty when the card data was split.
std::string rejectionReason(std::string_view cardData, const SplitResult& result);

// Characters as a person counts them: UTF-8 sequences count once.
std::size_t characterCount(std::string_view text);

// A byte as it may be shown anywhere: a quote and a backslash behind a backslash, control and
// non-ASCII bytes as "\x01", so that nothing reaches a terminal that it might act on.
void appendEscaped(std::string& out, unsigned char c);

}  // namespace morvane
