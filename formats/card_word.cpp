#include "formats/card_word.h"

#include "formats/card_format.h"

namespace morvane {

std::optional<CardWord> parseCardData(std::string_view cardData) {
    if (cardData.size() > kMaxCardDataLength) return std::nullopt;
    CardWord word;
    for (char c : cardData) {
        // Nothing is trimmed or folded: a blank, an "8" or a letter refuses the card data.
        if (c < '0' || c > '7') return std::nullopt;
        word.bits = word.bits << 3 | static_cast<std::uint64_t>(c - '0');
    }
    word.length = cardData.empty() ? 0 : kProxWordBits;
    return word;
}

}  // namespace morvane
