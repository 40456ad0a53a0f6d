#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "formats/format_ranking.h"

// "Check Card": whether the card on the reader is the credential that was typed, and if not,
// what differs, in words an operator can act on at the enrolment desk.
namespace morvane {

// What Data Input shows: its prox data and the format and facility code it was built under.
struct TypedCredential {
    std::string_view proxData;
    std::string_view format;
    std::int32_t facilityCode = 0;
};

struct CardCheck {
    bool matches = false;
    // "matches", "facility code 124 on the card, 123 typed", "the card is not a 26 Bit
    // credential (most likely 37 Bit)", or why the card data could not be compared.
    std::string summary;
    std::uint64_t differingBits = 0;  // bits of the 48-bit word where card and typed differ
};

// The differing bits named, for the map that marks them: "Bits 25, 19..17 differ from the
// card (marked ^)"; empty when none do.
std::string differingBitsText(const CardCheck& check);

// `cardData` is what the reader or lock gave; `inputs` weigh the card's likely format.
CardCheck checkCard(const TypedCredential& typed, std::string_view cardData,
                    const RankingInputs& inputs);

}  // namespace morvane
