#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "formats/bit_roles.h"
#include "formats/card_format.h"
#include "formats/card_word.h"
#include "formats/split_catalogue.h"

// Why card data is, or is not, a credential of a format: the role of every bit and the first
// rule the card data breaks, in the words an operator uses. Read from the catalogue, in the
// order and with the reach of the Split Data checks, so that an explanation passes exactly
// when its check does.
namespace morvane {

struct CardExplanation {
    BitRoles roles{};
    int length = 0;  // bits of card data: the explanation covers bits length-1..0
    bool passes = false;
    std::uint64_t failingBits = 0;  // the bits the broken rule names
    std::string verdict;            // the decoded values, or the broken rule
};

// Under a column of the Split Data page; a passing verdict lists what its boxes show.
CardExplanation explainColumn(SplitFormatId id, CardWord w);

// Under a layout as the conversion builds it; a passing verdict lists the layout's fields.
CardExplanation explainLayout(const Layout& l, CardWord w);

// The layout the conversion builds for a card format code: "37" with facility code 0 is the
// layout without facility code. Null for an unknown code.
const Layout* builtLayout(std::string_view code, std::int32_t facilityCode);

// The role letters of the explained bits, leading bit first.
std::string roleLetters(const CardExplanation& e);

}  // namespace morvane
