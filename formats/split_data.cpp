#include "formats/split_data.h"

#include <algorithm>
#include <cstring>

#include "formats/split_catalogue.h"
#include "formats/split_checks.h"
#include "formats/split_decoders.h"

namespace morvane {

namespace {

using Check = bool (*)(CardWord);

// Indexed by SplitFormatId.
constexpr std::array<Check, kSplitFormatCount> kChecks{
    IsFormat26,  IsFormat34, IsFormat35,     IsFormat35V,  IsFormat36V,
    IsFormat37V, IsFormat37, IsFormatProxif, IsFormatCasi,
};

// Three characters per card data digit, leading bit first.
constexpr std::array<std::string_view, 8> kOctalDigitBits{
    "000", "001", "010", "011", "100", "101", "110", "111",
};

void writeBitData(CardWord w, std::string& text) {
    text.resize(static_cast<std::size_t>(w.length));
    for (std::size_t i = text.size(); i > 0; i -= 3, w.bits >>= 3) {
        std::memcpy(&text[i - 3], kOctalDigitBits[w.bits & 7U].data(), 3);
    }
}

}  // namespace

bool SplitResult::anyMatch() const {
    return std::any_of(matches.begin(), matches.end(), [](bool m) { return m; });
}

SplitResult SplitData(std::string_view cardData) {
    SplitResult result;
    SplitData(cardData, result);
    return result;
}

void SplitData(std::string_view cardData, SplitResult& result) {
    result.bitData.clear();
    for (std::string& box : result.boxes) box.clear();
    result.matches = {};
    const auto word = parseCardData(cardData);
    if (!word) {
        result.state = SplitState::Rejected;
        return;
    }
    writeBitData(*word, result.bitData);

    // Every check sees the card data before any box is written.
    for (std::size_t i = 0; i < kSplitFormatCount; ++i) result.matches[i] = kChecks[i](*word);
    for (SplitFormatId id : splitWriteOrder()) {
        const auto i = static_cast<std::size_t>(id);
        if (result.matches[i]) {
            decodeColumn(id, *word, result.boxes);
        } else {
            writeRefusal(id, result.boxes);
        }
    }
    result.state = SplitState::Split;
}

}  // namespace morvane
