#include "formats/split_data.h"

#include <algorithm>

#include "formats/split_catalogue.h"
#include "formats/split_checks.h"
#include "formats/split_decoders.h"

namespace morvane {

namespace {

using Check = bool (*)(std::string_view);
using Decoder = void (*)(std::string_view, ResultBoxes&);

// Indexed by SplitFormatId.
constexpr std::array<Check, kSplitFormatCount> kChecks{
    IsFormat26,  IsFormat34, IsFormat35,     IsFormat35V,  IsFormat36V,
    IsFormat37V, IsFormat37, IsFormatProxif, IsFormatCasi,
};
constexpr std::array<Decoder, kSplitFormatCount> kDecoders{
    SplitFormat26,  SplitFormat34, SplitFormat35,     SplitFormat35V,  SplitFormat36V,
    SplitFormat37V, SplitFormat37, SplitFormatProxif, SplitFormatCasi,
};

// Each card data digit becomes three bits, leading bit first.
constexpr std::array<std::string_view, 8> kOctalDigitBits{
    "000", "001", "010", "011", "100", "101", "110", "111",
};

}  // namespace

bool SplitResult::anyMatch() const {
    return std::any_of(matches.begin(), matches.end(), [](bool m) { return m; });
}

SplitResult SplitData(std::string_view cardData) {
    SplitResult result;
    result.bitData.reserve(cardData.size() * 3);
    for (char c : cardData) {
        // Nothing is trimmed or folded: a blank, an "8" or a letter ends the run with the page
        // emptied, exactly as the card data was typed.
        if (c < '0' || c > '7') {
            result.bitData.clear();
            result.state = SplitState::Rejected;
            return result;
        }
        result.bitData.append(kOctalDigitBits[static_cast<std::size_t>(c - '0')]);
    }

    // Every check sees the bit data before any box is written.
    for (std::size_t i = 0; i < kSplitFormatCount; ++i)
        result.matches[i] = kChecks[i](result.bitData);
    for (SplitFormatId id : splitWriteOrder()) {
        const auto i = static_cast<std::size_t>(id);
        if (result.matches[i]) {
            kDecoders[i](result.bitData, result.boxes);
        } else {
            writeRefusal(id, result.boxes);
        }
    }
    result.state = SplitState::Split;
    return result;
}

}  // namespace morvane
