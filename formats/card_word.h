#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

// Card data (octal digits, as the card data box holds them) read once into a word.
namespace morvane {

// The card data box holds at most this many characters.
inline constexpr std::size_t kMaxCardDataLength = 16;

// Card data is an octal number: fewer than 16 digits are the same 48-bit word with its leading
// zeros left off, as locks and people drop them. `length` is the bit count of the bit data:
// 48, or 0 when there is no card data, which no format accepts.
struct CardWord {
    std::uint64_t bits = 0;
    int length = 0;
};

// No value when a character is not "0" to "7" or there are more than kMaxCardDataLength.
std::optional<CardWord> parseCardData(std::string_view cardData);

}  // namespace morvane
