#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

// Card data (octal digits, as the card data box holds them) read once into a word.
namespace morvane {

// The card data box holds at most this many characters.
inline constexpr std::size_t kMaxCardDataLength = 16;

// The bits of the card data, its last digit lowest; `length` is the bit count (three per
// digit), which the checks and decoders need because they also read short card data.
struct CardWord {
    std::uint64_t bits = 0;
    int length = 0;
};

// No value when a character is not "0" to "7" or there are more than kMaxCardDataLength.
std::optional<CardWord> parseCardData(std::string_view cardData);

}  // namespace morvane
